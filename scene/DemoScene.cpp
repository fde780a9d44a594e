#include "DemoScene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace palettor {

namespace {

std::uint32_t Hash(std::int64_t x, std::int64_t y, std::uint32_t seed) {
  std::uint32_t h =
      static_cast<std::uint32_t>(x) * 0x8DA6B343u ^ static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

double Lattice(std::int64_t x, std::int64_t y, std::uint32_t seed) { return Hash(x, y, seed) / 4294967295.0; }

double Fade(double t) { return t * t * (3.0 - 2.0 * t); }

double Mix(double a, double b, double t) { return a + (b - a) * t; }

double SmoothStep(double edge0, double edge1, double x) {
  return Fade(std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0));
}

// Smooth value noise in 0 ... 1 with features about one unit apart.
double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
  const double tx = Fade(x - fx), ty = Fade(y - fy);
  const double top = Mix(Lattice(ix, iy, seed), Lattice(ix + 1, iy, seed), tx);
  const double bottom = Mix(Lattice(ix, iy + 1, seed), Lattice(ix + 1, iy + 1, seed), tx);
  return Mix(top, bottom, ty);
}

// Fractal noise in 0 ... 1: octaves of value noise, each finer and fainter.
double Fractal(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0, amplitude = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amplitude * ValueNoise(x, y, seed + static_cast<std::uint32_t>(o) * 101u);
    total += amplitude;
    amplitude *= 0.5;
    x = x * 2.03 + 17.1;
    y = y * 2.03 + 5.3;
  }
  return sum / total;
}

// A storm seen from above: an anvil blown out downwind (east) with a ragged edge, coldest
// over its core.
struct Storm {
  double u, v, radius, stretch;
  double edgeCelsius, coreCelsius;
};

constexpr Storm kStorms[] = {
    {0.40, 0.28, 0.10, 1.8, -38.0, -65.0},  {0.60, 0.60, 0.07, 1.5, -32.0, -57.0},
    {0.27, 0.70, 0.045, 1.3, -28.0, -50.0}, {0.50, 0.86, 0.035, 1.2, -24.0, -44.0},
    {0.88, 0.40, 0.11, 1.6, -36.0, -58.0},  // beyond the day/night line
};

// Temperature (Celsius) and reflectance (0 ... 1) of one layer where it covers the pixel.
struct Layer {
  double cover = 0;
  double celsius = 0;
  double reflectance = 0;
};

void Over(double& celsius, double& reflectance, const Layer& layer) {
  celsius = Mix(celsius, layer.celsius, layer.cover);
  reflectance = Mix(reflectance, layer.reflectance, layer.cover);
}

struct Pixel {
  double celsius;
  double brightness;  // visible level before rounding
};

Pixel ScenePixel(int x, int y) {
  const double u = (x + 0.5) / kDemoSceneWidth;
  const double v = (y + 0.5) / kDemoSceneHeight;
  const double ax = u * 4.0 / 3.0;  // noise coordinates with square features

  // Surface: a continent in the south-west, a few islands, sea elsewhere.
  const double landShape = Fractal(ax * 2.5, v * 2.5, 11, 7) + 0.9 * (0.32 - u) + 0.35 * (v - 0.45);
  const double land = SmoothStep(0.47, 0.48, landShape);
  const double inland = SmoothStep(0.48, 0.78, landShape);  // deserts, hot and bright far from the coast
  const double seaCelsius = 12.0 + 13.0 * v + 3.0 * (Fractal(ax * 6.0, v * 6.0, 23, 3) - 0.5);
  const double seaReflectance = 0.025 + 0.07 * Fractal(ax * 5.0, v * 5.0, 41, 3);
  double celsius = seaCelsius;
  double reflectance = seaReflectance;
  // Each layer's details are worked out only where the layer shows.
  if (land > 0) {
    const double hills = Fractal(ax * 9.0, v * 9.0, 31, 6);  // high ground is cooler and darker
    const double landCelsius = 27.0 + 16.0 * inland - 14.0 * SmoothStep(0.55, 0.8, hills);
    const double landReflectance =
        0.20 + 0.30 * inland - 0.08 * SmoothStep(0.55, 0.8, hills) + 0.16 * (Fractal(ax * 16.0, v * 16.0, 53, 5) - 0.5);
    celsius = Mix(seaCelsius, landCelsius, land);
    reflectance = Mix(seaReflectance, landReflectance, land);
  }

  // Low cloud: a broken deck of stratocumulus off the coast, thinning towards its edges.
  Layer low;
  const double deck =
      Fractal(ax * 6.0, v * 6.0, 61, 6) + 0.25 * (0.3 - std::abs(u - 0.68) - std::abs(v - 0.72)) - 0.3 * land;
  low.cover = SmoothStep(0.52, 0.64, deck);
  if (low.cover > 0) {
    const double cells = Fractal(ax * 40.0, v * 40.0, 63, 2);  // the deck breaks into cells
    low.cover *= SmoothStep(0.25, 0.55, cells + 0.6 * (deck - 0.5));
    low.celsius = 10.0 - 10.0 * SmoothStep(0.52, 0.8, deck);
    low.reflectance = 0.6 + 0.3 * SmoothStep(0.55, 0.8, deck);
    Over(celsius, reflectance, low);
  }

  // A cold front: a curved band of layered cloud, colder and brighter along its spine.
  Layer front;
  const double spine = 0.62 + 0.30 * (v - 0.1) * (v - 0.1) - 0.35 * v;
  if (std::abs(u - spine) < 0.16 && v > 0.05 && v < 0.8) {  // the wobble below moves it by 0.07 at most
    const double across = std::abs(u - spine) + 0.10 * (Fractal(ax * 5.0, v * 5.0, 67, 3) - 0.5) +
                          0.04 * (Fractal(ax * 24.0, v * 24.0, 68, 3) - 0.5);
    const double thick = SmoothStep(0.07, 0.0, across);
    front.cover = SmoothStep(0.085, 0.04, across) * SmoothStep(0.05, 0.2, v) * SmoothStep(0.8, 0.55, v);
    front.celsius = -8.0 - 30.0 * thick;
    front.reflectance = 0.5 + 0.3 * thick + 0.1 * (Fractal(ax * 20.0, v * 20.0, 69, 3) - 0.5);
    Over(celsius, reflectance, front);
  }

  // Thin cirrus: long streaks, cold and dim.
  Layer cirrus;
  const double cirrusBand =
      SmoothStep(0.12, 0.0, std::abs(v - 0.12 - 0.15 * u)) + SmoothStep(0.09, 0.0, std::abs(u - 0.12 - 0.2 * v));
  if (cirrusBand > 0) {
    const double streak = Fractal(ax * 1.2 + v * 0.8, v * 24.0 - ax * 5.0, 71, 5);
    cirrus.cover = 0.85 * SmoothStep(0.45, 0.75, streak) * std::min(cirrusBand, 1.0);
    cirrus.celsius = -38.0 - 16.0 * streak;
    cirrus.reflectance = 0.25;
    Over(celsius, reflectance, cirrus);
  }

  // Storms: cold bright anvils, all with the same ragged texture, which moves an edge by 0.55 at most.
  double distances[std::size(kStorms)];
  double nearest = 2.0;
  for (std::size_t i = 0; i < std::size(kStorms); ++i) {
    const Storm& s = kStorms[i];
    const double east = (u - s.u) * 4.0 / 3.0;
    const double du = east > 0 ? east / (s.stretch * 1.8) : east / s.stretch, dv = v - s.v;  // plume downwind
    distances[i] = std::sqrt(du * du + dv * dv) / s.radius;
    nearest = std::min(nearest, distances[i]);
  }
  const bool stormy = nearest < 1.6;
  const double texture =
      stormy ? 0.6 * (Fractal(ax * 9.0, v * 9.0, 83, 3) - 0.5) + 0.5 * (Fractal(ax * 30.0, v * 30.0, 87, 3) - 0.5) : 0;
  const double glint = stormy ? 0.08 * (Fractal(ax * 25.0, v * 25.0, 89, 3) - 0.5) : 0;
  for (std::size_t i = 0; i < std::size(kStorms) && stormy; ++i) {
    const Storm& s = kStorms[i];
    const double ragged = distances[i] + texture;
    Layer anvil;
    anvil.cover = SmoothStep(1.0, 0.85, ragged);
    const double core = SmoothStep(0.9, 0.1, ragged);
    anvil.celsius = Mix(s.edgeCelsius, s.coreCelsius, core);
    anvil.reflectance = 0.72 + 0.3 * core + glint;
    Over(celsius, reflectance, anvil);
  }

  // Daylight fades out across a wavy day/night line; the night side shows only sensor noise.
  const double terminator = 0.74 + 0.04 * (Fractal(v * 3.0, 0.5, 97, 3) - 0.5);
  const double daylight = SmoothStep(terminator + 0.06, terminator - 0.06, u);
  const double noise = 3.0 * Lattice(x, y, 101);
  return {celsius, std::min(255.0, 255.0 * reflectance * daylight + noise)};
}

std::uint8_t Level(double value) { return static_cast<std::uint8_t>(std::clamp(std::floor(value + 0.5), 0.0, 255.0)); }

}  // namespace

DemoScene MakeDemoScene() {
  DemoScene scene{GreyImage(kDemoSceneWidth, kDemoSceneHeight, GreyDepth::Eight),
                  GreyImage(kDemoSceneWidth, kDemoSceneHeight, GreyDepth::Eight)};
  for (int y = 0; y < kDemoSceneHeight; ++y) {
    std::uint8_t* ir = scene.ir.Row8(y);
    std::uint8_t* vis = scene.vis.Row8(y);
    for (int x = 0; x < kDemoSceneWidth; ++x) {
      const Pixel p = ScenePixel(x, y);
      // The default scale: +40 degrees at level 0, -60 at 255.
      ir[x] = Level((40.0 - p.celsius) * 2.55);
      vis[x] = Level(p.brightness);
    }
  }
  return scene;
}

}  // namespace palettor
