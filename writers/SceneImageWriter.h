#pragma once
// Scene images on disk: a coloured scene (24-bit RGB) or a grey satellite channel (8 or 16-bit
// grey), as PNG, BMP or TIFF chosen by the file name's extension; "-" is PNG on standard output.
// Every front that writes a scene writes it through this class, so the same image gives the
// same bytes from the command line and from the window.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>
#include <span>

#include "FileWriter.h"

namespace palettor {

enum class SceneImageFormat { Png, Bmp, Tiff };

// The format a target name asks for: ".png", ".bmp", ".tif" or ".tiff" in any case, "-" for
// PNG; nothing for any other name.
std::optional<SceneImageFormat> SceneImageFormatOf(const QString& target);

// "PNG", "BMP", "TIFF".
const char* SceneImageFormatName(SceneImageFormat format);

struct SceneImageOutput {
  QImage image;
  QString target;
};

class SceneImageWriter final : public FileWriter {
 public:
  // The file's bytes; empty when the image is null or the encoder fails.
  static QByteArray Encode(const QImage& image, SceneImageFormat format);

  // In the format of `target`'s extension; a target without a known one is refused.
  bool Write(const QImage& image, const QString& target);
  bool Write(const QImage& image, SceneImageFormat format, const QString& target);
  // Images that belong together, each in the format of its target's extension: all of them
  // written or none (as FileWriter::WriteBytes keeps files together). Every image is encoded
  // before any file is touched.
  bool Write(std::span<const SceneImageOutput> outputs);

 private:
  // `image` encoded into `bytes`, or false with the reason.
  bool EncodeInto(const QImage& image, SceneImageFormat format, QByteArray& bytes);
};

}  // namespace palettor
