#include "GreyImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DeepPgmFile.h"
#include "NativeFileName.h"

#include <QFile>
#include <QImageReader>
#include <QRgba64>
#include <cerrno>
#include <cstring>
#include <type_traits>
#include <utility>

namespace palettor {

namespace {

GreyImageLoad Failure(GreyLoadProblem problem, const QString& name, const QString& reason) {
  GreyImageLoad load;
  load.problem = problem;
  load.error = QStringLiteral("%1: %2").arg(name, reason);
  return load;
}

GreyImageLoad NotGrey(const QString& name, int x, int y, int red, int green, int blue) {
  return Failure(GreyLoadProblem::NotGrey, name,
                 QStringLiteral("not a grey image: pixel (%1, %2) has red %3, green %4, blue %5")
                     .arg(x)
                     .arg(y)
                     .arg(red)
                     .arg(green)
                     .arg(blue));
}

bool HasMoreThanEightBitsPerChannel(QImage::Format format) {
  switch (format) {
    case QImage::Format_BGR30:
    case QImage::Format_A2BGR30_Premultiplied:
    case QImage::Format_RGB30:
    case QImage::Format_A2RGB30_Premultiplied:
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
    case QImage::Format_RGBX16FPx4:
    case QImage::Format_RGBA16FPx4:
    case QImage::Format_RGBA16FPx4_Premultiplied:
    case QImage::Format_RGBX32FPx4:
    case QImage::Format_RGBA32FPx4:
    case QImage::Format_RGBA32FPx4_Premultiplied: return true;
    default: return false;
  }
}

GreyImageLoad CopyGrey8(const QImage& image) {
  GreyImageLoad load;
  load.image = GreyImage(image.width(), image.height(), GreyDepth::Eight);
  for (int y = 0; y < image.height(); ++y) {
    std::copy_n(image.constScanLine(y), image.width(), load.image.Row8(y));
  }
  return load;
}

GreyImageLoad CopyGrey16(const QImage& image) {
  GreyImageLoad load;
  load.image = GreyImage(image.width(), image.height(), GreyDepth::Sixteen);
  for (int y = 0; y < image.height(); ++y) {
    std::copy_n(reinterpret_cast<const quint16*>(image.constScanLine(y)), image.width(), load.image.Row16(y));
  }
  return load;
}

GreyImageLoad FromPalette(const QImage& image, const QString& name) {
  const QList<QRgb> palette = image.colorTable();
  GreyImageLoad load;
  load.image = GreyImage(image.width(), image.height(), GreyDepth::Eight);
  for (int y = 0; y < image.height(); ++y) {
    const uchar* in = image.constScanLine(y);
    std::uint8_t* out = load.image.Row8(y);
    for (int x = 0; x < image.width(); ++x) {
      const qsizetype index = in[x];
      if (index >= palette.size()) {
        return Failure(GreyLoadProblem::Unreadable, name,
                       QStringLiteral("damaged image: pixel (%1, %2) uses colour %3 of a palette of %4")
                           .arg(x)
                           .arg(y)
                           .arg(index)
                           .arg(palette.size()));
      }
      const QRgb c = palette[index];
      if (qRed(c) != qGreen(c) || qRed(c) != qBlue(c)) return NotGrey(name, x, y, qRed(c), qGreen(c), qBlue(c));
      out[x] = static_cast<std::uint8_t>(qRed(c));
    }
  }
  return load;
}

struct Channels {
  int red, green, blue;
};
Channels ChannelsOf(QRgb c) { return {qRed(c), qGreen(c), qBlue(c)}; }
Channels ChannelsOf(QRgba64 c) { return {c.red(), c.green(), c.blue()}; }

// From 32-bit (QRgb) or 64-bit (QRgba64) pixels to levels of the same depth.
template <typename Pixel, GreyDepth kDepth>
GreyImageLoad FromRgb(const QImage& image, const QString& name) {
  using Level = std::conditional_t<kDepth == GreyDepth::Eight, std::uint8_t, std::uint16_t>;
  GreyImageLoad load;
  load.image = GreyImage(image.width(), image.height(), kDepth);
  for (int y = 0; y < image.height(); ++y) {
    const Pixel* in = reinterpret_cast<const Pixel*>(image.constScanLine(y));
    Level* out;
    if constexpr (kDepth == GreyDepth::Eight) {
      out = load.image.Row8(y);
    } else {
      out = load.image.Row16(y);
    }
    for (int x = 0; x < image.width(); ++x) {
      const auto [red, green, blue] = ChannelsOf(in[x]);
      if (red != green || red != blue) return NotGrey(name, x, y, red, green, blue);
      out[x] = static_cast<Level>(red);
    }
  }
  return load;
}

constexpr auto FromRgb8 = FromRgb<QRgb, GreyDepth::Eight>;
constexpr auto FromRgb16 = FromRgb<QRgba64, GreyDepth::Sixteen>;

// A conversion Qt could not allocate gives a null image.
GreyImageLoad Converted(const QImage& image, QImage::Format format, const QString& name,
                        GreyImageLoad (*read)(const QImage&, const QString&)) {
  const QImage converted = image.convertToFormat(format);
  if (converted.isNull()) return Failure(GreyLoadProblem::Unreadable, name, QStringLiteral("not enough memory"));
  return read(converted, name);
}

}  // namespace

GreyImageLoad GreyImageFromQImage(const QImage& image, const QString& name) {
  switch (image.format()) {
    case QImage::Format_Grayscale8: return CopyGrey8(image);
    case QImage::Format_Grayscale16: return CopyGrey16(image);
    case QImage::Format_Indexed8: return FromPalette(image, name);
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return Converted(image, QImage::Format_Indexed8, name, FromPalette);
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32: return FromRgb8(image, name);
    case QImage::Format_RGBX64:
    case QImage::Format_RGBA64: return FromRgb16(image, name);
    case QImage::Format_Invalid: return Failure(GreyLoadProblem::Unreadable, name, QStringLiteral("no image"));
    default: break;
  }
  if (HasMoreThanEightBitsPerChannel(image.format())) return Converted(image, QImage::Format_RGBA64, name, FromRgb16);
  return Converted(image, QImage::Format_ARGB32, name, FromRgb8);
}

GreyImageLoad LoadGreyImage(const QString& path) {
  // Opened here rather than by the reader, so a missing or unreadable file gets the
  // system's reason instead of a generic "file not found".
  const QByteArray name = EncodeFileName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode))
    return Failure(GreyLoadProblem::Unreadable, path, QStringLiteral("is a folder"));
  QFile file;
  const int descriptor = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return Failure(GreyLoadProblem::Unreadable, path, QString::fromLocal8Bit(std::strerror(errno)));
  if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return Failure(GreyLoadProblem::Unreadable, path, file.errorString());
  }
  if (file.peek(2) == "P5" || file.peek(2) == "P2") {
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return Failure(GreyLoadProblem::Unreadable, path, file.errorString());
    if (auto deep = ReadDeepPgm(bytes, path)) return std::move(*deep);
    file.seek(0);
  }
  QImageReader reader(&file);
  reader.setAutoTransform(false);  // a channel's pixels stay where the file has them
  const QImage image = reader.read();
  if (image.isNull()) return Failure(GreyLoadProblem::Unreadable, path, reader.errorString());
  return GreyImageFromQImage(image, path);
}

}  // namespace palettor
