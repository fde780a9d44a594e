#include "ColourisePairs.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "ColouriseScene.h"
#include "ControlCharacters.h"

namespace palettor::cli {

namespace {

struct PairLine {
  int number = 0;
  std::vector<std::string> fields;
};

std::string ReadList(const std::string& list) {
  std::ostringstream text;
  if (list == "-") {
    text << std::cin.rdbuf();
    if (std::cin.bad()) throw Failure("cannot read the list of scenes from standard input");
    return text.str();
  }
  std::ifstream file(list, std::ios::binary);
  if (!file) throw Failure("cannot read the list of scenes " + list + ": " + std::strerror(errno));
  text << file.rdbuf();
  if (file.bad()) throw Failure("cannot read the list of scenes " + list + ": " + std::strerror(errno));
  return text.str();
}

// Every line that is not blank, split at its tabs.
std::vector<PairLine> SplitLines(const std::string& text) {
  std::vector<PairLine> lines;
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    PairLine pair{number, {}};
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
      pair.fields.push_back(line.substr(start, tab - start));
    }
    pair.fields.push_back(line.substr(start));
    lines.push_back(std::move(pair));
  }
  return lines;
}

// What the run says on standard error, one writer at a time; on a terminal a progress line that
// each report replaces and then puts back.
class PairsReport {
 public:
  explicit PairsReport(std::size_t total) : total_(total), terminal_(::isatty(STDERR_FILENO) == 1) {}

  void Failed(int line, const std::string& message) {
    const std::lock_guard lock(mutex_);
    ++failed_;
    ++done_;
    ClearProgress();
    std::fprintf(stderr, "palettor-cli: line %d: %s\n", line, EscapeControlCharacters(message).c_str());
    ShowProgress();
  }
  void Done() {
    const std::lock_guard lock(mutex_);
    ++done_;
    ClearProgress();
    ShowProgress();
  }
  void Finish() {
    const std::lock_guard lock(mutex_);
    if (terminal_) std::fputs("\n", stderr);
  }
  std::size_t FailedCount() const { return failed_; }

 private:
  void ClearProgress() {
    if (terminal_) std::fputs("\r\033[K", stderr);
  }
  void ShowProgress() {
    if (!terminal_) return;
    std::fprintf(stderr, "palettor-cli: colourise: %zu of %zu scenes", done_, total_);
    if (failed_) std::fprintf(stderr, ", %zu failed", failed_);
    std::fflush(stderr);
  }

  std::mutex mutex_;
  const std::size_t total_;
  const bool terminal_;
  std::size_t done_ = 0, failed_ = 0;
};

void ColouriseLine(const PairLine& line, const SceneSettings& settings, const SceneColouriser& colouriser) {
  if (line.fields.size() != 3) {
    throw UsageError("expected IR, VIS and OUT separated by tabs, found " + std::to_string(line.fields.size()) +
                     (line.fields.size() == 1 ? " field" : " fields"));
  }
  const std::string &ir = line.fields[0], &vis = line.fields[1], &out = line.fields[2];
  if (ir.empty() || vis.empty() || out.empty()) throw UsageError("an empty file name");
  if (out == "-") throw UsageError("standard output takes one scene, not one of many");
  const std::string driver = DriverFor(out, settings);
  SceneChannel irChannel = OpenSceneChannel(ir, settings.irBand, "infrared image");
  SceneChannel visChannel = OpenSceneChannel(vis, settings.visBand, "visible image");
  ColouredScene scene = MakeScene(std::move(irChannel), std::move(visChannel), settings, colouriser);
  WriteScene(scene, driver, out);
}

}  // namespace

void ColourisePairs(const std::string& list, const SceneSettings& settings) {
  const std::vector<PairLine> lines = SplitLines(ReadList(list));
  SceneColouriser colouriser;
  SetUpColouriser(settings, colouriser);

  PairsReport report(lines.size());
  std::atomic<std::size_t> next = 0;
  const auto work = [&] {
    for (std::size_t i; (i = next++) < lines.size();) {
      try {
        ColouriseLine(lines[i], settings, colouriser);
        report.Done();
      } catch (const std::exception& error) {
        report.Failed(lines[i].number, error.what());
      }
    }
  };
  // One scene per core; each holds a few megabytes of buffers whatever its size.
  constexpr std::size_t kMostWorkers = 16;
  const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostWorkers);
  std::vector<std::jthread> threads;
  for (std::size_t t = 1; t < std::min(workers, lines.size()); ++t) threads.emplace_back(work);
  work();
  threads.clear();  // joins
  report.Finish();
  if (const std::size_t failed = report.FailedCount()) {
    throw Failure(std::to_string(failed) + " of " + std::to_string(lines.size()) +
                  (lines.size() == 1 ? " scene" : " scenes") + " could not be coloured");
  }
}

}  // namespace palettor::cli
