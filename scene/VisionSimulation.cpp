#include "VisionSimulation.h"

#include <algorithm>
#include <cmath>

namespace palettor {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

constexpr Matrix kProtanopia = {
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritanopia = {
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}};
constexpr Matrix kGreyscale = {{{0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}, {0.2126, 0.7152, 0.0722}}};

const Matrix* MatrixOf(VisionSimulation simulation) {
  switch (simulation) {
    case VisionSimulation::Protanopia: return &kProtanopia;
    case VisionSimulation::Deuteranopia: return &kDeuteranopia;
    case VisionSimulation::Tritanopia: return &kTritanopia;
    case VisionSimulation::Greyscale: return &kGreyscale;
    case VisionSimulation::Normal: break;
  }
  return nullptr;
}

// Linear light of each 8-bit level, worked out once.
const std::array<double, 256>& LinearOfLevel() {
  static const std::array<double, 256> linear = [] {
    std::array<double, 256> l{};
    for (int level = 0; level < 256; ++level) {
      const double c = level / 255.0;
      l[static_cast<std::size_t>(level)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return l;
  }();
  return linear;
}

int LevelOfLinear(double l) {
  l = std::clamp(l, 0.0, 1.0);
  const double c = l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1.0 / 2.4) - 0.055;
  return std::clamp(static_cast<int>(std::floor(c * 255.0 + 0.5)), 0, 255);
}

PackedColour Apply(const Matrix& m, PackedColour colour) {
  const auto& linear = LinearOfLevel();
  const double rgb[3] = {linear[static_cast<std::size_t>(RedOf(colour))],
                         linear[static_cast<std::size_t>(GreenOf(colour))],
                         linear[static_cast<std::size_t>(BlueOf(colour))]};
  int out[3];
  for (std::size_t i = 0; i < 3; ++i) out[i] = LevelOfLinear(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2]);
  return PackRGB(out[0], out[1], out[2]);
}

}  // namespace

std::string_view VisionSimulationName(VisionSimulation simulation) {
  switch (simulation) {
    case VisionSimulation::Normal: return "normal";
    case VisionSimulation::Protanopia: return "protanopia";
    case VisionSimulation::Deuteranopia: return "deuteranopia";
    case VisionSimulation::Tritanopia: return "tritanopia";
    case VisionSimulation::Greyscale: return "greyscale";
  }
  return {};
}

std::optional<VisionSimulation> VisionSimulationNamed(std::string_view name) {
  for (const VisionSimulation s : kVisionSimulations) {
    if (VisionSimulationName(s) == name) return s;
  }
  return std::nullopt;
}

PackedColour SimulateVision(PackedColour colour, VisionSimulation simulation) {
  const Matrix* m = MatrixOf(simulation);
  return m ? Apply(*m, colour) : colour;
}

void SimulateVision(const LutPixels& table, VisionSimulation simulation, LutPixels& simulated) {
  const Matrix* m = MatrixOf(simulation);
  for (std::size_t i = 0; i < table.size(); ++i) simulated[i] = m ? Apply(*m, table[i]) : table[i];
}

}  // namespace palettor
