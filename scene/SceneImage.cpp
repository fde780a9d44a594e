#include "SceneImage.h"

#include <algorithm>
#include <stdexcept>

namespace palettor {

QImage ColouriseToImage(const SceneColouriser& colouriser, const GreyImage& ir, const GreyImage& vis) {
  QImage image;
  ColouriseInto(colouriser, ir, vis, image);
  return image;
}

void ColouriseInto(const SceneColouriser& colouriser, const GreyImage& ir, const GreyImage& vis, QImage& target) {
  if (!SameSize(ir, vis)) throw std::invalid_argument("the infrared and visible images differ in size");
  if (target.format() != QImage::Format_RGB888 || target.width() != ir.Width() || target.height() != ir.Height())
    target = QImage(ir.Width(), ir.Height(), QImage::Format_RGB888);
  if (!target.isNull()) colouriser.Colourise(ir, vis, target.bits(), target.bytesPerLine());
}

QImage GreyToImage(const GreyImage& grey) {
  const bool eight = grey.Depth() == GreyDepth::Eight;
  QImage image(grey.Width(), grey.Height(), eight ? QImage::Format_Grayscale8 : QImage::Format_Grayscale16);
  if (image.isNull()) return image;
  for (int y = 0; y < grey.Height(); ++y) {
    if (eight) {
      std::copy_n(grey.Row8(y), grey.Width(), image.scanLine(y));
    } else {
      std::copy_n(grey.Row16(y), grey.Width(), reinterpret_cast<quint16*>(image.scanLine(y)));
    }
  }
  return image;
}

}  // namespace palettor
