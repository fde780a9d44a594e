#include "SceneImage.h"

#include <algorithm>
#include <stdexcept>

namespace palettor {

QImage ColouriseToImage(const SceneColouriser& colouriser, const GreyImage& ir, const GreyImage& vis) {
  QImage image;
  ColouriseInto(colouriser, ir, vis, image);
  return image;
}

bool ColouriseInto(const SceneColouriser& colouriser, const GreyImage& ir, const GreyImage& vis, QImage& target) {
  if (!SameSize(ir, vis)) throw std::invalid_argument("the infrared and visible images differ in size");
  if (target.format() != QImage::Format_RGB888 || target.width() != ir.width() || target.height() != ir.height()) {
    target = QImage(ir.width(), ir.height(), QImage::Format_RGB888);
    if (target.isNull() && !ir.isEmpty()) return false;
  }
  if (ir.isEmpty()) return true;
  colouriser.colourise(ir, vis, target.bits(), target.bytesPerLine());
  return true;
}

QImage GreyToImage(const GreyImage& grey) {
  const bool eight = grey.depth() == GreyDepth::Eight;
  QImage image(grey.width(), grey.height(), eight ? QImage::Format_Grayscale8 : QImage::Format_Grayscale16);
  if (image.isNull()) return image;
  for (int y = 0; y < grey.height(); ++y) {
    if (eight) {
      std::copy_n(grey.row8(y), grey.width(), image.scanLine(y));
    } else {
      std::copy_n(grey.row16(y), grey.width(), reinterpret_cast<quint16*>(image.scanLine(y)));
    }
  }
  return image;
}

}  // namespace palettor
