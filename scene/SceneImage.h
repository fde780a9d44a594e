#pragma once
// Coloured scenes and grey channels as QImages, written through scan lines.
#include <QImage>

#include "GreyImage.h"
#include "SceneColouriser.h"

namespace palettor {

// The coloured scene as a new Format_RGB888 image; a null image when it cannot be allocated.
// Throws std::invalid_argument when the two images differ in size.
QImage ColouriseToImage(const SceneColouriser& colouriser, const GreyImage& ir, const GreyImage& vis);

// Into `target`, which is reallocated only when it is not already an RGB888 image of the
// scene's size (so a preview repainting on every change allocates nothing). `target` is null
// afterwards when it could not be allocated (or the scene has no pixels).
// Throws std::invalid_argument when the two images differ in size.
void ColouriseInto(const SceneColouriser& colouriser, const GreyImage& ir, const GreyImage& vis, QImage& target);

// Format_Grayscale8 or Format_Grayscale16, level for level; a null image when it cannot be allocated.
QImage GreyToImage(const GreyImage& grey);

}  // namespace palettor
