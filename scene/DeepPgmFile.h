#pragma once
// Grey Netpbm files (PGM) with more than 8 bits per sample. Qt's own reader scales their
// samples down to 8 bits, which would put an infrared channel into steps of 0.4 degrees;
// here they keep their depth as 16-bit levels.
#include <QByteArray>
#include <QString>
#include <optional>

#include "GreyImageFile.h"

namespace palettor {

// Nothing when `bytes` is not a PGM (binary "P5" or plain "P2") whose maximum sample exceeds
// 255: such files are left to Qt. Samples are scaled to 0 ... 65535 when the file's maximum
// is below it. `name` is what a message calls the file.
std::optional<GreyImageLoad> ReadDeepPgm(const QByteArray& bytes, const QString& name);

}  // namespace palettor
