#pragma once
// Reads a satellite channel from any image file Qt decodes (PNG, TIFF, BMP, PGM ...) as a grey
// image: 8-bit from grey, palette and 24/32-bit RGB files, 16-bit from 16-bit grey and
// 48/64-bit RGB files. A colour image is refused: a channel has one level per pixel, so every
// pixel's red, green and blue must be equal. Alpha is ignored.
#include <QImage>
#include <QString>

#include "GreyImage.h"

namespace palettor {

enum class GreyLoadProblem {
  None,
  Unreadable,  // missing, not readable, or not an image Qt can decode
  NotGrey,     // decoded, but a pixel's red, green and blue differ
};

struct GreyImageLoad {
  GreyImage image;
  GreyLoadProblem problem = GreyLoadProblem::None;
  QString error;  // names the file and the reason; empty on success
  bool Ok() const { return problem == GreyLoadProblem::None; }
};

GreyImageLoad LoadGreyImage(const QString& path);

// The same for an image already decoded; `name` is what the message calls it.
GreyImageLoad GreyImageFromQImage(const QImage& image, const QString& name);

}  // namespace palettor
