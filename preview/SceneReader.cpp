#include "SceneReader.h"

#include <cstdio>

#include "RasterError.h"

namespace palettor {

SceneReader::SceneReader(Opener open) : open_(std::move(open)), thread_([this] { Run(); }) {}

SceneReader::~SceneReader() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
  }
  wake_.notify_one();
  thread_.join();
}

void SceneReader::Request(const PixelWindow& region, int width, int height) {
  {
    const std::lock_guard lock(mutex_);
    pending_ = Wanted{region, width, height};
  }
  wake_.notify_one();
}

void SceneReader::Run() {
  // The scene's own colouriser: cells do not depend on the table.
  const SceneColouriser colouriser;
  std::optional<ColouredScene> scene;
  for (;;) {
    Wanted wanted;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_; });
      if (stopping_) return;
      wanted = *std::exchange(pending_, std::nullopt);
    }
    try {
      if (!scene) scene.emplace(open_(colouriser));
      auto cells = std::make_shared<const SceneCells>(scene->ReadCells(wanted.region, wanted.width, wanted.height));
      QMetaObject::invokeMethod(
          this, [this, cells] { emit CellsRead(cells); }, Qt::QueuedConnection);
    } catch (const RasterError& error) {
      // The view keeps the cells it has; the file changed since it was opened.
      std::fprintf(stderr, "palettor: the part of the scene in view could not be read: %s\n", error.what());
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "palettor: not enough memory to read the part of the scene in view\n");
    }
  }
}

}  // namespace palettor
