#include "QtVersionTargets.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace palettor {

void SetLabelCaption(QLabel* label, const QString& caption) {
  // Resource texts come from files: never let a value be read as markup or a link.
  label->setTextFormat(Qt::PlainText);
  label->setText(caption);
  if (!label->wordWrap()) label->adjustSize();
}

TQtLabelTarget::TQtLabelTarget(QLabel* label) : QObject(label), label_(label) {}

void TQtLabelTarget::SetText(const std::string& text) { SetLabelCaption(label_, QString::fromStdString(text)); }

TQtListViewTarget::TQtListViewTarget(QTreeWidget* view) : QObject(view), view_(view) {}

void TQtListViewTarget::ClearColumns() {
  columns_ = 0;
  view_->setColumnCount(0);
  view_->setHeaderLabels({});
}

void TQtListViewTarget::ClearItems() { view_->clear(); }

void TQtListViewTarget::SetReportStyle() {
  view_->setRootIsDecorated(false);
  view_->setHeaderHidden(false);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->header()->setSectionsClickable(false);
  view_->setSortingEnabled(false);
}

void TQtListViewTarget::AddColumn(const std::string& caption, int width) {
  ++columns_;
  view_->setColumnCount(columns_);
  const int column = columns_ - 1;
  QTreeWidgetItem* header = view_->headerItem();
  header->setText(column, QString::fromStdString(caption));
  if (width >= 0) {
    view_->setColumnWidth(column, width);
  } else {
    // Negative widths ask for the column to fit its header text.
    view_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

void TQtListViewTarget::AddItem(const std::string& caption, const std::string& subItem) {
  auto* item = new QTreeWidgetItem(view_);
  item->setText(0, QString::fromStdString(caption));
  item->setText(1, QString::fromStdString(subItem));
}

}  // namespace palettor
