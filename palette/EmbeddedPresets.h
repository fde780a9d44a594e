#pragma once
// The palette files of presets/, compiled in by the build (EmbedPresets.cmake).
#include <QByteArrayView>
#include <vector>

namespace palettor {

struct EmbeddedPreset {
  const char* name;     // the file name without ".json"
  QByteArrayView text;  // the file's bytes
};

// In the order the build lists them.
const std::vector<EmbeddedPreset>& EmbeddedPresets();

}  // namespace palettor
