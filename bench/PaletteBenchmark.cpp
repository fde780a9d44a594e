// Reading palette files of 10 KiB and of 1 MiB (the largest read), each padded with unknown
// members of one shape. Reading is linear in the size when the larger file takes about 100 times
// as long; the run ends with that ratio for each shape.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "PaletteFile.h"
#include "RatioReporter.h"

namespace {

using namespace palettor;

constexpr std::int64_t kSmall = 10 * 1024;
constexpr std::int64_t kLarge = kMaxPaletteFileBytes;

const char kPalette[] =
    R"({"format": "palettor-palette", "version": 1, "whiteTop": true, "smoothColours": true, "tailPercent": 12,
"anchors": {"M70": {"hue": 220, "saturation": 70}, "M60": {"hue": 310, "saturation": 7},
"M50": {"hue": 270, "saturation": 12}, "M40": {"hue": 250, "saturation": 14},
"M30": {"hue": 225, "saturation": 14}, "M20": {"hue": 205, "saturation": 12},
"M10": {"hue": 185, "saturation": 9}, "O0": {"hue": 100, "saturation": 0},
"P10": {"hue": 85, "saturation": 12}, "P20": {"hue": 55, "saturation": 19},
"P30": {"hue": 35, "saturation": 25}, "P40": {"hue": 15, "saturation": 25}})";

// The palette followed by `item(i)` for i = 0, 1, ... as long as the file stays within `size`.
template <typename Item>
QByteArray Padded(std::int64_t size, Item item) {
  QByteArray text = kPalette;
  for (unsigned i = 0;; ++i) {
    const QByteArray next = item(i);
    if (text.size() + next.size() + 1 > size) break;
    text += next;
  }
  return text + '}';
}

// Names in no order: a reader that keeps an object's members sorted moves half of them per member.
QByteArray ShuffledMembers(std::int64_t size) {
  return Padded(size, [](unsigned i) {
    return ",\"m" + QByteArray::number((i * 2654435761u) % 100000000u).rightJustified(8, '0') + "\":0";
  });
}

QByteArray LongArray(std::int64_t size) {
  QByteArray text = Padded(size - 8, [](unsigned) { return QByteArray(",0"); });
  text.chop(1);  // the closing brace
  const qsizetype first = text.indexOf(",0", sizeof kPalette - 1);
  return text.replace(first, 1, ",\"a\":[") + "]}";
}

QByteArray NestedArrays(std::int64_t size) {
  return Padded(size, [](unsigned i) { return ",\"n" + QByteArray::number(i) + "\":[[[[[[[[1]]]]]]]]"; });
}

void Read(benchmark::State& state, QByteArray (*make)(std::int64_t)) {
  const QByteArray text = make(state.range(0));
  if (!ParsePalette(text).document) {
    state.SkipWithError("the padded palette does not read");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(ParsePalette(text));
  state.SetBytesProcessed(state.iterations() * text.size());
}

BENCHMARK_CAPTURE(Read, ShuffledMembers, &ShuffledMembers)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, LongArray, &LongArray)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, NestedArrays, &NestedArrays)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return palettor::bench::RunWithRatios(
      argc, argv,
      [](const benchmark::BenchmarkReporter::Run& run, palettor::bench::RunTimes& times) {
        times[run.benchmark_name()] = run.GetAdjustedCPUTime();
      },
      [](const palettor::bench::RunTimes& times) {
        for (const char* shape : {"ShuffledMembers", "LongArray", "NestedArrays"}) {
          const std::string name = std::string("Read/") + shape + "/";
          const auto small = times.find(name + std::to_string(kSmall));
          const auto large = times.find(name + std::to_string(kLarge));
          if (small == times.end() || large == times.end()) continue;
          std::printf("%s: 1 MiB takes %.0fx as long as 10 KiB (linear: about 100x)\n", shape,
                      large->second / small->second);
        }
      });
}
