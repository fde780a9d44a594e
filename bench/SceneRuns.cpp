// palettor-cli colourise as a user runs it, measured from outside:
//  - the peak resident memory of colouring one large pair, 8192 x 8192 and 21696 x 21696 (a
//    full-disk visible channel), against the bound 128 MiB + 5 % of the output image, and of
//    scene-density on the same pair against 128 MiB, with its time beside colourise's;
//  - 100 scenes of 1024 x 1024 in one run of --pairs against 100 runs of their own, one after
//    the other, in the same run of this program.
// The scenes are made here through GDAL (compressed GeoTIFF, grey PNG) in a scratch folder
// that is removed at the end.
//
// palettor-scene-runs [--cli PATH] [--dir DIR] [--sides 8192,21696] [--scenes 100]
#include <gdal_priv.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Run {
  int status = -1;
  double seconds = 0;
  double peakMiB = 0;
};

// `work` done in a child process of its own, so that this process stays small: a child's
// peak resident memory as the system reports it includes its parent's at the time it started.
template <typename Work>
void InChild(const Work& work) {
  const pid_t pid = fork();
  if (pid == 0) {
    GDALAllRegister();
    work();
    std::_Exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "palettor-scene-runs: making the scenes failed\n");
    std::exit(1);
  }
}

// `args` run as a child process; its exit status, wall time and peak resident memory.
Run RunChild(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return {};
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  Run run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  return run;
}

// A tiled, compressed GeoTIFF of `side` x `side`, written a block row at a time.
template <typename Value>
void WriteChannel(const std::string& path, int side, GDALDataType type, const char* unit, double scale, double offset,
                  Value value) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
  CPLStringList options;
  for (const char* o :
       {"TILED=YES", "BLOCKXSIZE=512", "BLOCKYSIZE=512", "COMPRESS=DEFLATE", "ZLEVEL=1", "BIGTIFF=IF_SAFER"}) {
    options.AddString(o);
  }
  GDALDatasetUniquePtr dataset(driver->Create(path.c_str(), side, side, 1, type, options.List()));
  GDALRasterBand* band = dataset->GetRasterBand(1);
  band->SetUnitType(unit);
  band->SetScale(scale);
  band->SetOffset(offset);
  std::array<double, 6> transform = {-5500000.0, 11000000.0 / side, 0, 5500000.0, 0, -11000000.0 / side};
  dataset->SetGeoTransform(transform.data());
  const int rows = 512;
  std::vector<double> block(static_cast<std::size_t>(side) * static_cast<std::size_t>(rows));
  for (int y0 = 0; y0 < side; y0 += rows) {
    const int n = std::min(rows, side - y0);
    for (int y = 0; y < n; ++y) {
      for (int x = 0; x < side; ++x) {
        block[static_cast<std::size_t>(y) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x)] =
            value(x, y0 + y, side);
      }
    }
    if (band->RasterIO(GF_Write, 0, y0, side, n, block.data(), side, n, GDT_Float64, 0, 0, nullptr) != CE_None) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      std::exit(1);
    }
  }
}

double Infrared(int x, int y, int side) {
  // Raw counts of 0.01 K above 150 K: 190 ... 310 K.
  const double u = static_cast<double>(x) / side, v = static_cast<double>(y) / side;
  return std::round((250.0 + 55.0 * std::sin(u * 40.0) * std::cos(v * 30.0) - 150.0) * 100.0 + (x * 7 + y * 13) % 90);
}

double Visible(int x, int y, int side) {
  const double u = static_cast<double>(x) / side, v = static_cast<double>(y) / side;
  return std::round(50.0 + 45.0 * std::cos(u * 70.0 + v * 50.0)) + ((x ^ y) & 3);
}

void MeasurePair(const std::string& cli, const fs::path& dir, int side) {
  const std::string ir = (dir / "ir.tif").string(), vis = (dir / "vis.tif").string(), out = (dir / "out.tif").string();
  std::printf("%d x %d: writing the pair ...\n", side, side);
  std::fflush(stdout);
  InChild([&] {
    WriteChannel(ir, side, GDT_UInt16, "K", 0.01, 150.0, Infrared);
    WriteChannel(vis, side, GDT_Byte, "%", 1.0, 0.0, Visible);
  });
  const Run run = RunChild({cli, "colourise", "--ir", ir, "--vis", vis, "--out", out, "--factory"});
  const double outputMiB = 3.0 * side * side / (1024.0 * 1024.0);
  const double bound = 128.0 + 0.05 * outputMiB;
  std::printf("%d x %d: exit %d, %.1f s, peak resident %.1f MiB; bound 128 MiB + 5 %% of %.0f MiB = %.1f MiB: %s\n",
              side, side, run.status, run.seconds, run.peakMiB, outputMiB, bound,
              run.status == 0 && run.peakMiB < bound ? "within" : "BEYOND");
  std::fflush(stdout);
  const std::string csv = (dir / "density.csv").string();
  const Run density = RunChild({cli, "scene-density", "--ir", ir, "--vis", vis, "--out", csv, "--factory", "--json"});
  std::printf("%d x %d scene-density: exit %d, %.1f s (%.2f x colourise), peak resident %.1f MiB; bound 128 MiB: %s\n",
              side, side, density.status, density.seconds, density.seconds / run.seconds, density.peakMiB,
              density.status == 0 && density.peakMiB < 128.0 ? "within" : "BEYOND");
  for (const std::string& file : {ir, vis, out, csv}) fs::remove(file);
}

void MeasurePairs(const std::string& cli, const fs::path& dir, int scenes) {
  constexpr int kSide = 1024;
  std::ofstream list(dir / "pairs.txt");
  std::vector<std::string> files;
  for (int i = 0; i < scenes; ++i) {
    for (const char* channel : {"ir", "vis"}) {
      files.push_back((dir / (std::string(channel) + std::to_string(i) + ".png")).string());
    }
    const std::string out = (dir / ("batch" + std::to_string(i) + ".png")).string();
    list << files[files.size() - 2] << '\t' << files.back() << '\t' << out << '\n';
    files.push_back(out);
  }
  list.close();
  InChild([&] {
    GDALDriver* png = GetGDALDriverManager()->GetDriverByName("PNG");
    GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("MEM");
    for (std::size_t f = 0; f < files.size(); ++f) {
      if (f % 3 == 2) continue;  // an output
      GDALDatasetUniquePtr source(memory->Create("", kSide, kSide, 1, GDT_Byte, nullptr));
      std::vector<GByte> levels(static_cast<std::size_t>(kSide) * kSide);
      for (std::size_t p = 0; p < levels.size(); ++p) levels[p] = static_cast<GByte>((p * 2654435761u + f) >> 13);
      if (source->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, kSide, kSide, levels.data(), kSide, kSide, GDT_Byte, 0, 0,
                                             nullptr) != CE_None) {
        std::_Exit(1);
      }
      GDALDatasetUniquePtr(png->CreateCopy(files[f].c_str(), source.get(), FALSE, nullptr, nullptr, nullptr));
    }
  });
  const Run batch = RunChild({cli, "colourise", "--pairs", (dir / "pairs.txt").string(), "--factory"});
  double separate = 0;
  int failures = 0;
  for (int i = 0; i < scenes; ++i) {
    const std::string out = (dir / ("single" + std::to_string(i) + ".png")).string();
    const Run run = RunChild({cli, "colourise", "--ir", files[static_cast<std::size_t>(3 * i)], "--vis",
                              files[static_cast<std::size_t>(3 * i + 1)], "--out", out, "--factory"});
    separate += run.seconds;
    failures += run.status != 0;
    files.push_back(out);
  }
  std::printf("%d scenes of %d x %d: --pairs %.2f s (exit %d), %d runs of their own %.2f s (%d failed): %.2fx\n",
              scenes, kSide, kSide, batch.seconds, batch.status, scenes, separate, failures, separate / batch.seconds);
  for (const std::string& file : files) fs::remove(file);
  fs::remove(dir / "pairs.txt");
}

}  // namespace

int main(int argc, char** argv) {
  std::string cli = PALETTOR_CLI;
  fs::path base = fs::temp_directory_path();
  std::vector<int> sides = {8192, 21696};
  int scenes = 100;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--cli") {
      cli = value;
    } else if (option == "--dir") {
      base = value;
    } else if (option == "--sides") {
      sides.clear();
      for (std::size_t at = 0; at < value.size();) {
        const std::size_t comma = value.find(',', at);
        sides.push_back(std::atoi(value.substr(at, comma - at).c_str()));
        at = comma == std::string::npos ? value.size() : comma + 1;
      }
    } else if (option == "--scenes") {
      scenes = std::atoi(value.c_str());
    } else {
      std::fprintf(stderr, "usage: %s [--cli PATH] [--dir DIR] [--sides 8192,21696] [--scenes 100]\n", argv[0]);
      return 2;
    }
  }
  const fs::path dir = base / ("palettor-scene-runs-" + std::to_string(getpid()));
  fs::create_directories(dir);
  for (const int side : sides) {
    if (side > 0) MeasurePair(cli, dir, side);
  }
  if (scenes > 0) MeasurePairs(cli, dir, scenes);
  fs::remove_all(dir);
  return 0;
}
