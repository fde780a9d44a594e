#include "CompareSplit.h"

#include <QLabel>

#include "SceneColouriser.h"
#include "SceneView.h"
#include "SplitDivider.h"

namespace palettor {

CompareSplit::CompareSplit(SceneView& view)
    : QObject(&view),
      view_(view),
      colouriser_(std::make_unique<SceneColouriser>()),
      table_(std::make_unique<LutPixels>()),
      simulated_(std::make_unique<LutPixels>()) {
  divider_ = new SplitDivider(view);
  divider_->hide();
  label_ = new QLabel(view.viewport());
  label_->setObjectName(QStringLiteral("ComparedPalette"));
  label_->setAccessibleName(tr("Palette of the right half"));
  label_->setStyleSheet(QStringLiteral("QLabel { background: rgba(0, 0, 0, 170); color: white; padding: 2px 6px; }"));
  label_->setAttribute(Qt::WA_TransparentForMouseEvents);
  label_->hide();
  connect(divider_, &SplitDivider::ColumnChanged, this, [this](int column) {
    view_.SetSplit(colouriser_.get(), column);
    PlaceLabel();
  });
  connect(&view_, &SceneView::Moved, this, &CompareSplit::PlaceLabel);
}

CompareSplit::~CompareSplit() = default;

void CompareSplit::Start(const QString& name, const Palette& palette, int column, int sceneWidth) {
  name_ = name;
  palette_ = palette;
  on_ = true;
  label_->setText(name);
  label_->adjustSize();
  divider_->SetSceneWidth(sceneWidth);
  divider_->SetColumn(column);
  view_.SetSplit(colouriser_.get(), divider_->Column());
  divider_->show();
  label_->show();
  PlaceLabel();
}

void CompareSplit::Stop() {
  on_ = false;
  view_.SetSplit(nullptr, 0);
  divider_->hide();
  label_->hide();
}

void CompareSplit::Recolour(int sceneWidth, IrScale scale, VisionSimulation simulation) {
  if (!on_) return;
  GenerateTable(TableInputsOf(palette_), *table_);
  if (simulation == VisionSimulation::Normal) {
    colouriser_->SetTable(*table_);
  } else {
    SimulateVision(*table_, simulation, *simulated_);
    colouriser_->SetTable(*simulated_);
  }
  colouriser_->SetScale(scale);
  divider_->SetSceneWidth(sceneWidth);  // a narrower scene holds it nearer
  view_.SetSplit(colouriser_.get(), divider_->Column());
}

void CompareSplit::PlaceLabel() {
  if (!on_) return;
  // Just right of the divider, kept inside the view; gone while the right half is out of it.
  const int divider = view_.ViewportXOfColumn(divider_->Column());
  const int x = std::min(divider + SplitDivider::kWidth, view_.viewport()->width() - label_->width() - 4);
  label_->move(std::max(0, x), 8);
  label_->setVisible(divider < view_.viewport()->width());
}

}  // namespace palettor
