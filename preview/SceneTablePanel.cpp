#include "SceneTablePanel.h"

#include <QVBoxLayout>
#include <cstdlib>

#include "CellAnchors.h"
#include "DensityTableView.h"

namespace palettor {

namespace {

AnchorColours ColoursOf(const TableInputs& inputs) {
  AnchorColours colours{};
  colours[AnchorSlot(kBlueTailAnchor)] = DeriveAnchorColour(inputs.tailHue, inputs.tailSaturation);
  for (std::size_t i = 0; i < inputs.anchorColours.size(); ++i) colours[i + 1] = inputs.anchorColours[i];
  return colours;
}

}  // namespace

QString DescribeCell(TableCell cell, const SceneDensity* counts) {
  const int celsius = cell.column + kTableFirstCelsius;
  QString text = SceneTablePanel::tr("%1%2 \u00b0C, brightness %3")
                     .arg(celsius < 0   ? QStringLiteral("\u2212")
                          : celsius > 0 ? QStringLiteral("+")
                                        : QString())
                     .arg(std::abs(celsius))
                     .arg(cell.brightness);
  if (!counts) return text;
  const std::uint64_t n = counts->Count(cell.column, cell.brightness);
  const double percent =
      counts->Pixels() ? 100.0 * static_cast<double>(n) / static_cast<double>(counts->Pixels()) : 0.0;
  return text + SceneTablePanel::tr(": %1 pixels, %2 % of the scene").arg(n).arg(percent, 0, 'f', 1);
}

SceneTablePanel::SceneTablePanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("SceneTablePanel"));
  table_ = new DensityTableView(this);
  bars_ = new AnchorShareBars(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(table_, 0, Qt::AlignHCenter);
  layout->addWidget(bars_);
  layout->addStretch(1);

  connect(table_, &DensityTableView::CellHovered, this, &SceneTablePanel::HoverCell);
  connect(table_, &DensityTableView::CellClicked, this,
          [this](TableCell cell) { emit AnchorChosen(AnchorOfCell(cell)); });
  connect(table_, &DensityTableView::HoverLeft, this, [this] {
    emit CellDescribed({});
    emit HighlightCleared();
  });
  connect(bars_, &AnchorShareBars::AnchorHovered, this, &SceneTablePanel::AnchorHighlighted);
  connect(bars_, &AnchorShareBars::AnchorClicked, this, &SceneTablePanel::AnchorChosen);
  connect(bars_, &AnchorShareBars::HoverLeft, this, &SceneTablePanel::HighlightCleared);
}

void SceneTablePanel::SetTable(const LutPixels& table, const TableInputs& inputs) {
  inputs_ = inputs;
  table_->SetTable(table);
  bars_->SetColours(ColoursOf(inputs));
}

void SceneTablePanel::SetCounts(const SceneDensity* counts) {
  counts_ = counts;
  table_->SetCounts(counts);
}

void SceneTablePanel::SetShares(const std::optional<SharePercents>& shares) { bars_->SetShares(shares); }

void SceneTablePanel::MarkCell(std::optional<TableCell> cell) { table_->MarkCell(cell); }

int SceneTablePanel::AnchorOfCell(TableCell cell) const {
  return AnchorsOfCell(cell.column, cell.brightness, inputs_).selected;
}

void SceneTablePanel::HoverCell(TableCell cell) {
  emit CellDescribed(DescribeCell(cell, counts_));
  emit AnchorHighlighted(AnchorOfCell(cell));
}

}  // namespace palettor
