// One full table, and one table encoded as the bitmap file in memory.
#include <benchmark/benchmark.h>

#include "LutTable.h"
#include "TableBitmapWriter.h"

namespace {

using namespace palettor;

void BM_GenerateTable(benchmark::State& state) {
  const TableInputs inputs = FactoryTableInputs();
  static LutPixels pixels;
  for (auto _ : state) {
    GenerateTable(inputs, pixels);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kTablePixels);
}
BENCHMARK(BM_GenerateTable);

void BM_GenerateTableNoSmoothNoWhiteTop(benchmark::State& state) {
  const TableInputs inputs = FactoryTableInputs(100, false, false);
  static LutPixels pixels;
  for (auto _ : state) {
    GenerateTable(inputs, pixels);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GenerateTableNoSmoothNoWhiteTop);

// Against BM_GenerateTable: the raised brightness ramp is built once per table.
void BM_GenerateTableNightFloor(benchmark::State& state) {
  TableInputs inputs = FactoryTableInputs();
  inputs.nightFloorPercent = 30;
  static LutPixels pixels;
  for (auto _ : state) {
    GenerateTable(inputs, pixels);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kTablePixels);
}
BENCHMARK(BM_GenerateTableNightFloor);

void BM_RenderToBmpInMemory(benchmark::State& state) {
  const TableInputs inputs = FactoryTableInputs();
  static LutPixels pixels;
  for (auto _ : state) {
    GenerateTable(inputs, pixels);
    QByteArray bytes = TableBitmapWriter::Encode(pixels);
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_RenderToBmpInMemory);

}  // namespace
