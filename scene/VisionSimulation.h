#pragma once
// How a person with a colour-vision deficiency, or a greyscale print, shows a colour.
//
// Each channel level / 255 is taken to linear light with the sRGB transfer function
// (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055)^2.4); a deficiency applies its
// severity-1.0 matrix of Machado, Oliveira and Fernandes (2009) there, greyscale the Rec. 709
// luminance 0.2126 R + 0.7152 G + 0.0722 B on all three channels; the result is clipped to
// 0 ... 1, encoded again (l <= 0.0031308 ? 12.92 l : 1.055 l^(1/2.4) - 0.055) and rounded to
// the nearest level.
#include <array>
#include <optional>
#include <string_view>

#include "LutTable.h"
#include "PackedColour.h"

namespace palettor {

enum class VisionSimulation { Normal, Protanopia, Deuteranopia, Tritanopia, Greyscale };

constexpr std::array<VisionSimulation, 5> kVisionSimulations = {
    VisionSimulation::Normal, VisionSimulation::Protanopia, VisionSimulation::Deuteranopia,
    VisionSimulation::Tritanopia, VisionSimulation::Greyscale};

// "normal", "protanopia", "deuteranopia", "tritanopia", "greyscale".
std::string_view VisionSimulationName(VisionSimulation simulation);
std::optional<VisionSimulation> VisionSimulationNamed(std::string_view name);

PackedColour SimulateVision(PackedColour colour, VisionSimulation simulation);

// The whole table at once: a scene coloured with the simulated table is the simulated scene,
// at the cost of 25,600 colours instead of one per pixel.
void SimulateVision(const LutPixels& table, VisionSimulation simulation, LutPixels& simulated);

}  // namespace palettor
