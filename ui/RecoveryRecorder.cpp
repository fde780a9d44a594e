#include "RecoveryRecorder.h"

#include "RecoveryRecord.h"
#include "RegistryBackend.h"

namespace palettor {

namespace {
constexpr int kRecordDelayMs = 500;
}  // namespace

RecoveryRecorder::RecoveryRecorder(const CurrentUserRegistry& registry, std::function<Palette()> shown, QObject* parent)
    : QObject(parent), registry_(registry), shown_(std::move(shown)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kRecordDelayMs);
  connect(&timer_, &QTimer::timeout, this, &RecoveryRecorder::Write);
}

void RecoveryRecorder::Start(const Palette& stored) {
  last_ = stored;
  running_ = true;
}

void RecoveryRecorder::Stop() {
  running_ = false;
  timer_.stop();
}

void RecoveryRecorder::Changed() {
  // Not restarted by each change: the first one of a burst is written within the delay.
  if (running_ && !timer_.isActive()) timer_.start();
}

void RecoveryRecorder::Flush() {
  if (!timer_.isActive()) return;
  timer_.stop();
  Write();
}

void RecoveryRecorder::Write() {
  if (!running_) return;
  const Palette shown = shown_();
  if (shown == last_) return;
  try {
    WriteRecoveryRecord(registry_, shown);
    last_ = shown;
    recorded_ = true;
  } catch (const ERegistryException&) {
    // The store stays as it was; the next change tries again.
  }
}

}  // namespace palettor
