#pragma once
// The benchmark programs that end with a ratio: the usual console report, each run's time kept
// by a name the program chooses, then the program's ratios once every run is done.
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace palettor::bench {

using RunTimes = std::map<std::string, double>;

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using Keep = std::function<void(const Run&, RunTimes&)>;
  using Summarise = std::function<void(const RunTimes&)>;

  RatioReporter(Keep keep, Summarise summarise) : keep_(std::move(keep)), summarise_(std::move(summarise)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) keep_(run, times_);
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    summarise_(times_);
  }

 private:
  Keep keep_;
  Summarise summarise_;
  RunTimes times_;
};

// The whole program: runs the benchmarks the command line selects, then `summarise`.
inline int RunWithRatios(int argc, char** argv, RatioReporter::Keep keep, RatioReporter::Summarise summarise) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(std::move(keep), std::move(summarise));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

}  // namespace palettor::bench
