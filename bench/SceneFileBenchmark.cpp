// Colouring a 4096 x 4096 scene of calibrated data into a GeoTIFF - a Float32 infrared channel
// in kelvin and a Float32 visible reflectance, read, coloured and written through GDAL - against
// what GDAL's own colouring of one channel costs in the same run: gdaldem color-relief turning
// the infrared channel alone into an RGB GeoTIFF with an 11-entry colour table. Both outputs
// are LZW-compressed GeoTIFFs. The aim is 1.5x; the ratio is printed at the end.
//
// Beside them, scene-density's pass over the same pair: reading and mapping as colouring does,
// counting instead of colouring and writing. It should cost no more than colouring; that ratio
// is printed too.
//
// The files go to $PALETTOR_BENCH_DIR (default: the system's temporary folder) and are removed.
#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <gdal_utils.h>

#include <cpl_string.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ColouredScene.h"
#include "GdalSession.h"
#include "RatioReporter.h"
#include "ScannedDensity.h"
#include "SceneChannel.h"
#include "SceneColouriser.h"
#include "SceneFileCopy.h"

namespace {

using namespace palettor;

constexpr int kSide = 4096;

struct BenchFiles {
  std::string dir, ir, vis, colours, out;

  BenchFiles() {
    UseGdal();
    const char* base = std::getenv("PALETTOR_BENCH_DIR");
    std::string templ = std::string(base ? base : "/tmp") + "/palettor-scene-bench-XXXXXX";
    if (!mkdtemp(templ.data())) std::abort();
    dir = templ;
    ir = dir + "/ir.tif";
    vis = dir + "/vis.tif";
    colours = dir + "/colours.txt";
    out = dir + "/out.tif";
    WriteChannel(ir, "K", [](int x, int y) {
      // Brightness temperatures from 190 to 310 K: cloud tops, sea and land.
      return static_cast<float>(250.0 + 60.0 * std::sin(x * 0.0031) * std::cos(y * 0.0023) + (x * 7 + y * 13) % 11);
    });
    WriteChannel(vis, "1", [](int x, int y) {
      return static_cast<float>(0.5 + 0.45 * std::cos(x * 0.0017 + y * 0.0029) + ((x ^ y) & 7) * 0.003);
    });
    // 11 entries over the infrared range, as a forecaster's colour table for one channel would have.
    std::ofstream table(colours);
    for (int i = 0; i <= 10; ++i)
      table << 190 + 12 * i << ' ' << (i * 97) % 256 << ' ' << (i * 53) % 256 << ' ' << (255 - i * 23) << '\n';
  }
  ~BenchFiles() {
    for (const std::string& file : {ir, vis, colours, out}) std::remove(file.c_str());
    std::remove(dir.c_str());
  }

  template <typename Value>
  static void WriteChannel(const std::string& path, const char* unit, Value value) {
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDatasetUniquePtr dataset(driver->Create(path.c_str(), kSide, kSide, 1, GDT_Float32, nullptr));
    GDALRasterBand* band = dataset->GetRasterBand(1);
    band->SetUnitType(unit);
    std::vector<float> row(kSide);
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) row[static_cast<std::size_t>(x)] = value(x, y);
      if (band->RasterIO(GF_Write, 0, y, kSide, 1, row.data(), kSide, 1, GDT_Float32, 0, 0, nullptr) != CE_None) {
        std::abort();
      }
    }
  }
};

BenchFiles& Files() {
  static BenchFiles files;
  return files;
}

void BM_ColouriseToGeoTiff(benchmark::State& state) {
  BenchFiles& files = Files();
  SceneColouriser colouriser;
  for (auto _ : state) {
    ColouredScene scene(SceneChannel::Open({files.ir, 0, {}}), SceneChannel::Open({files.vis, 0, {}}), SceneOptions{},
                        colouriser);
    std::string reason;
    if (!CopySceneToFile(scene, "GTiff", files.out, reason)) state.SkipWithError(reason.c_str());
  }
}
BENCHMARK(BM_ColouriseToGeoTiff)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SceneDensity(benchmark::State& state) {
  BenchFiles& files = Files();
  SceneColouriser colouriser;
  for (auto _ : state) {
    ColouredScene scene(SceneChannel::Open({files.ir, 0, {}}), SceneChannel::Open({files.vis, 0, {}}), SceneOptions{},
                        colouriser);
    const SceneDensity density = DensityOfScene(scene);
    benchmark::DoNotOptimize(density.Pixels());
  }
}
BENCHMARK(BM_SceneDensity)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GdaldemColorRelief(benchmark::State& state) {
  BenchFiles& files = Files();
  CPLStringList arguments;
  for (const char* a : {"-of", "GTiff", "-co", "COMPRESS=LZW"}) arguments.AddString(a);
  GDALDEMProcessingOptions* options = GDALDEMProcessingOptionsNew(arguments.List(), nullptr);
  for (auto _ : state) {
    GDALDatasetH source = GDALOpen(files.ir.c_str(), GA_ReadOnly);
    GDALDatasetH out =
        GDALDEMProcessing(files.out.c_str(), source, "color-relief", files.colours.c_str(), options, nullptr);
    if (!out) state.SkipWithError("gdaldem color-relief failed");
    GDALClose(out);
    GDALClose(source);
  }
  GDALDEMProcessingOptionsFree(options);
}
BENCHMARK(BM_GdaldemColorRelief)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return palettor::bench::RunWithRatios(
      argc, argv,
      [](const benchmark::BenchmarkReporter::Run& run, palettor::bench::RunTimes& times) {
        using Run = benchmark::BenchmarkReporter::Run;
        if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
          times[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
      },
      [](const palettor::bench::RunTimes& times) {
        const auto ours = times.find("BM_ColouriseToGeoTiff"), theirs = times.find("BM_GdaldemColorRelief");
        if (ours != times.end() && theirs != times.end()) {
          std::printf("colourise / gdaldem color-relief: %.2f (aim 1.5 or less)\n", ours->second / theirs->second);
        }
        const auto density = times.find("BM_SceneDensity");
        if (ours != times.end() && density != times.end()) {
          std::printf("scene-density / colourise: %.2f (aim 1 or less)\n", density->second / ours->second);
        }
      });
}
