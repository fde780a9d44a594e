// Colouring a 4096 x 4096 scene against copying its 48 MiB of output, in the same run: the
// colouring should stay within about three copies.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "SceneColouriser.h"

namespace {

using namespace palettor;

constexpr int kSide = 4096;
constexpr std::int64_t kOutputBytes = std::int64_t{kSide} * kSide * 3;

// Levels that change from pixel to pixel, so the table is read all over.
GreyImage Channel(unsigned seed) {
  GreyImage image(kSide, kSide, GreyDepth::Eight);
  unsigned state = seed;
  for (int y = 0; y < kSide; ++y) {
    std::uint8_t* row = image.Row8(y);
    for (int x = 0; x < kSide; ++x) {
      state = state * 1664525u + 1013904223u;
      row[x] = static_cast<std::uint8_t>(state >> 24);
    }
  }
  return image;
}

void BM_MemcpySceneOutput(benchmark::State& state) {
  std::vector<std::uint8_t> from(static_cast<std::size_t>(kOutputBytes), 1),
      to(static_cast<std::size_t>(kOutputBytes), 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), to.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kOutputBytes);
}
BENCHMARK(BM_MemcpySceneOutput)->Unit(benchmark::kMillisecond);

void Colourise(benchmark::State& state, const GreyImage& ir, const GreyImage& vis) {
  const SceneColouriser colouriser;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kOutputBytes), 0);
  for (auto _ : state) {
    colouriser.Colourise(ir, vis, rgb.data(), kSide * 3);
    benchmark::DoNotOptimize(rgb.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kOutputBytes);
}

void BM_ColouriseScene8Bit(benchmark::State& state) { Colourise(state, Channel(1), Channel(2)); }
BENCHMARK(BM_ColouriseScene8Bit)->Unit(benchmark::kMillisecond);

void BM_ColouriseScene16Bit(benchmark::State& state) {
  GreyImage ir(kSide, kSide, GreyDepth::Sixteen), vis(kSide, kSide, GreyDepth::Sixteen);
  const GreyImage ir8 = Channel(3), vis8 = Channel(4);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      ir.Row16(y)[x] = static_cast<std::uint16_t>(ir8.Row8(y)[x] * 257 ^ x);
      vis.Row16(y)[x] = static_cast<std::uint16_t>(vis8.Row8(y)[x] * 257);
    }
  }
  Colourise(state, ir, vis);
}
BENCHMARK(BM_ColouriseScene16Bit)->Unit(benchmark::kMillisecond);

}  // namespace
