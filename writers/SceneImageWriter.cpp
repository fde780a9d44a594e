#include "SceneImageWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <vector>

#include "OutputFile.h"

namespace palettor {

namespace {

// 96 dots per inch, stated rather than taken from the screen (or its absence), so that the
// window and the command line write the same bytes.
constexpr int kPixelsPerMetre = 3780;

const QString kUnknownFormat =
    QStringLiteral("unknown image format (the name should end in .png, .bmp, .tif or .tiff)");

}  // namespace

std::optional<SceneImageFormat> SceneImageFormatOf(const QString& target) {
  if (NamesStandardOutput(target)) return SceneImageFormat::Png;
  const auto endsWith = [&](const char* suffix) { return target.endsWith(QLatin1String(suffix), Qt::CaseInsensitive); };
  if (endsWith(".png")) return SceneImageFormat::Png;
  if (endsWith(".bmp")) return SceneImageFormat::Bmp;
  if (endsWith(".tif") || endsWith(".tiff")) return SceneImageFormat::Tiff;
  return std::nullopt;
}

const char* SceneImageFormatName(SceneImageFormat format) {
  switch (format) {
    case SceneImageFormat::Png: return "PNG";
    case SceneImageFormat::Bmp: return "BMP";
    case SceneImageFormat::Tiff: return "TIFF";
  }
  return "PNG";
}

QByteArray SceneImageWriter::Encode(const QImage& image, SceneImageFormat format) {
  if (image.isNull()) return {};
  QImage stamped = image;  // shares the pixels; only the resolution fields differ
  stamped.setDotsPerMeterX(kPixelsPerMetre);
  stamped.setDotsPerMeterY(kPixelsPerMetre);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, SceneImageFormatName(format));
  if (format == SceneImageFormat::Tiff) writer.setCompression(1);  // lossless LZW: satellite scenes are large
  if (!writer.write(stamped)) return {};
  return bytes;
}

bool SceneImageWriter::Write(const QImage& image, const QString& target) {
  const auto format = SceneImageFormatOf(target);
  if (!format) return Fail(kUnknownFormat);
  return Write(image, *format, target);
}

bool SceneImageWriter::Write(const QImage& image, SceneImageFormat format, const QString& target) {
  QByteArray bytes;
  return EncodeInto(image, format, bytes) && WriteBytes(bytes, target);
}

bool SceneImageWriter::Write(std::span<const SceneImageOutput> outputs) {
  std::vector<Output> files;
  for (const SceneImageOutput& output : outputs) {
    const auto format = SceneImageFormatOf(output.target);
    if (!format) return Fail(kUnknownFormat);
    files.push_back({output.target, {}});
    if (!EncodeInto(output.image, *format, files.back().bytes)) return false;
  }
  return WriteBytes(files);
}

bool SceneImageWriter::EncodeInto(const QImage& image, SceneImageFormat format, QByteArray& bytes) {
  if (image.isNull()) return Fail(QStringLiteral("there is no image to write"));
  bytes = Encode(image, format);
  if (bytes.isEmpty())
    return Fail(QStringLiteral("could not encode the image as %1").arg(QLatin1String(SceneImageFormatName(format))));
  return true;
}

}  // namespace palettor
