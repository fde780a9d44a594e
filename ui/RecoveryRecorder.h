#pragma once
// Keeps the window's recovery record (RecoveryRecord.h) up to date while it runs: a change of
// the palette shown is written within half a second, and the changes of that half second (a
// spinner held down, a typed number) as one write.
#include <QObject>
#include <QTimer>
#include <functional>

#include "CurrentUserRegistry.h"
#include "Palette.h"

namespace palettor {

class RecoveryRecorder final : public QObject {
  Q_OBJECT
 public:
  // `shown` gives the palette the window shows.
  RecoveryRecorder(const CurrentUserRegistry& registry, std::function<Palette()> shown, QObject* parent);

  // From now on changes are recorded; `stored` is what the store holds for this session, which
  // needs no record.
  void Start(const Palette& stored);
  // No more writes: the window stores its palette, or leaves the record for the next start.
  void Stop();

  // The palette shown may have changed.
  void Changed();
  // Writes a change still waiting for its turn, now.
  void Flush();

  // Whether a record of this session may be in the store.
  bool Recorded() const { return recorded_; }

 private:
  void Write();

  CurrentUserRegistry registry_;
  std::function<Palette()> shown_;
  QTimer timer_;
  bool running_ = false;
  bool recorded_ = false;
  Palette last_{};  // what the record (or, before the first write, the store) holds
};

}  // namespace palettor
