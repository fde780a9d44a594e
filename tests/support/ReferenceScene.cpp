#include "ReferenceScene.h"

#include <algorithm>
#include <cmath>

namespace palettor::test {

PackedColour ReferenceSceneColour(const LutPixels& table, IrScale scale, int irLevel, int irMax, int visLevel,
                                  int visMax) {
  const double t = scale.black + ((scale.white - scale.black) * irLevel) / irMax;
  const int c = static_cast<int>(std::min(std::max(std::floor(t + 0.5), -60.0), 39.0)) + 60;
  const int b = visMax == 255 ? visLevel : visLevel / 256;
  return table[static_cast<std::size_t>((255 - b) * 100 + c)];
}

PackedColour ReferenceCalibratedColour(const LutPixels& table, double celsius, double reflectance, double gamma) {
  const int c = static_cast<int>(std::min(std::max(std::floor(celsius + 0.5), -60.0), 39.0)) + 60;
  const double r = std::pow(std::min(std::max(reflectance, 0.0), 1.0), 1.0 / gamma);
  const int b = static_cast<int>(std::min(std::max(std::floor(255.0 * r + 0.5), 0.0), 255.0));
  return table[static_cast<std::size_t>((255 - b) * 100 + c)];
}

std::array<std::uint8_t, 3> ReferenceScenePixel(const LutPixels& table, IrScale scale, int irLevel, int irMax,
                                                int visLevel, int visMax) {
  const PackedColour colour = ReferenceSceneColour(table, scale, irLevel, irMax, visLevel, visMax);
  return {static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
          static_cast<std::uint8_t>((colour >> 16) & 0xFF)};
}

namespace {

struct Matrix {
  VisionSimulation simulation;
  float m[3][3];
};

const Matrix kMatrices[] = {
    {VisionSimulation::Protanopia,
     {{0.152286f, 1.052583f, -0.204868f}, {0.114503f, 0.786281f, 0.099216f}, {-0.003882f, -0.048116f, 1.051998f}}},
    {VisionSimulation::Deuteranopia,
     {{0.367322f, 0.860646f, -0.227968f}, {0.280085f, 0.672501f, 0.047413f}, {-0.011820f, 0.042940f, 0.968881f}}},
    {VisionSimulation::Tritanopia,
     {{1.255528f, -0.076749f, -0.178779f}, {-0.078411f, 0.930809f, 0.147602f}, {0.004733f, 0.691367f, 0.303900f}}},
    {VisionSimulation::Greyscale,
     {{0.2126f, 0.7152f, 0.0722f}, {0.2126f, 0.7152f, 0.0722f}, {0.2126f, 0.7152f, 0.0722f}}},
};

float ToLinear(int level) {
  const float c = static_cast<float>(level) / 255.0f;
  return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

int ToLevel(float l) {
  l = std::fmin(std::fmax(l, 0.0f), 1.0f);
  const float c = l <= 0.0031308f ? 12.92f * l : 1.055f * std::pow(l, 1.0f / 2.4f) - 0.055f;
  return static_cast<int>(std::lround(c * 255.0f));
}

}  // namespace

PackedColour ReferenceSimulation(PackedColour colour, VisionSimulation simulation) {
  for (const Matrix& matrix : kMatrices) {
    if (matrix.simulation != simulation) continue;
    const float rgb[3] = {ToLinear(RedOf(colour)), ToLinear(GreenOf(colour)), ToLinear(BlueOf(colour))};
    int out[3];
    for (int i = 0; i < 3; ++i)
      out[i] = ToLevel(matrix.m[i][0] * rgb[0] + matrix.m[i][1] * rgb[1] + matrix.m[i][2] * rgb[2]);
    return PackRGB(out[0], out[1], out[2]);
  }
  return colour;  // normal vision
}

}  // namespace palettor::test
