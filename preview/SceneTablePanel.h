#pragma once
// "Scene on the table": where the scene's pixels fall in the table and which anchors colour
// them, linked both ways with the scene. The table with the scene's density over it
// (DensityTableView) and under it the twelve anchors' shares (AnchorShareBars).
//
// Pointing at a cell describes it and, like pointing at a bar, asks for the pixels of the
// anchor it means to be highlighted in the scene; a click on either chooses that anchor.
#include <QString>
#include <QWidget>
#include <optional>

#include "AnchorShareBars.h"
#include "LutTable.h"
#include "SceneDensity.h"
#include "TableCell.h"

namespace palettor {

class DensityTableView;

class SceneTablePanel : public QWidget {
  Q_OBJECT
 public:
  explicit SceneTablePanel(QWidget* parent = nullptr);

  // The table shown and the inputs it was made from (which anchor governs which cell).
  void SetTable(const LutPixels& table, const TableInputs& inputs);
  // nullptr: no scene. The counts must outlive the panel or be replaced first.
  void SetCounts(const SceneDensity* counts);
  void SetShares(const std::optional<SharePercents>& shares);
  // The cell of the scene pixel under the pointer, or none.
  void MarkCell(std::optional<TableCell> cell);

  DensityTableView* Table() const { return table_; }
  AnchorShareBars* Bars() const { return bars_; }

 signals:
  void AnchorHighlighted(int anchor);
  void HighlightCleared();
  void AnchorChosen(int anchor);
  // What the cell under the pointer holds; empty when the pointer left the table.
  void CellDescribed(const QString& text);

 private:
  void HoverCell(TableCell cell);
  int AnchorOfCell(TableCell cell) const;

  DensityTableView* table_ = nullptr;
  AnchorShareBars* bars_ = nullptr;
  TableInputs inputs_;
  const SceneDensity* counts_ = nullptr;
};

// "−20 °C, brightness 168: 1234 pixels, 2.3 % of the scene"; without counts the place alone.
QString DescribeCell(TableCell cell, const SceneDensity* counts);

}  // namespace palettor
