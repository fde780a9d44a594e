#pragma once
// Two tables on one scene: left of a divider the scene as the view shows it, right of it the
// same scene coloured with another palette, labelled with that palette's name. Both halves
// share the view's zoom and scroll; the divider (SplitDivider) moves with the mouse and the keys.
#include <QImage>
#include <QObject>
#include <QString>
#include <memory>

#include "ColumnMap.h"
#include "LutTable.h"
#include "Palette.h"
#include "VisionSimulation.h"

class QLabel;

namespace palettor {

class SceneColouriser;
class SceneView;
class SplitDivider;

class CompareSplit : public QObject {
  Q_OBJECT
 public:
  explicit CompareSplit(SceneView& view);
  ~CompareSplit() override;

  // Shows `palette` right of `column` of a scene `sceneWidth` wide; Recolour() must follow.
  void Start(const QString& name, const Palette& palette, int column, int sceneWidth);
  void Stop();
  bool IsOn() const { return on_; }
  const QString& Name() const { return name_; }

  // The other palette's table, for a new scene (`sceneWidth` wide), scale or simulation.
  void Recolour(int sceneWidth, IrScale scale, VisionSimulation simulation);
  // What colours the right half (its table simulated as the view's).
  const SceneColouriser& Colouriser() const { return *colouriser_; }

  SplitDivider* Divider() const { return divider_; }
  QLabel* Label() const { return label_; }

 private:
  void PlaceLabel();

  SceneView& view_;
  SplitDivider* divider_ = nullptr;
  QLabel* label_ = nullptr;
  std::unique_ptr<SceneColouriser> colouriser_;
  std::unique_ptr<LutPixels> table_, simulated_;
  Palette palette_;
  QString name_;
  bool on_ = false;
};

}  // namespace palettor
