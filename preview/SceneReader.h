#pragma once
// Reads cells of a scene on a thread of its own, so that the window stays responsive while the
// part in view is read at full resolution from a large file. The thread opens the scene's files
// again: a GDAL dataset is used by one thread at a time.
//
// Only the latest request counts: one not begun when another comes is dropped. The cells arrive
// through CellsRead on the thread the reader lives in.
#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "ColouredScene.h"
#include "SceneCells.h"

namespace palettor {

class SceneReader : public QObject {
  Q_OBJECT
 public:
  // `open` makes the scene on the reader's thread, over the colouriser it is given.
  using Opener = std::function<ColouredScene(const SceneColouriser&)>;
  explicit SceneReader(Opener open);
  ~SceneReader() override;  // waits for a read under way

  void Request(const PixelWindow& region, int width, int height);

 signals:
  void CellsRead(std::shared_ptr<const SceneCells> cells);

 private:
  struct Wanted {
    PixelWindow region;
    int width = 0, height = 0;
  };
  void Run();

  Opener open_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Wanted> pending_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace palettor
