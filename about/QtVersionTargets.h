#pragma once
// The version component's targets over Qt widgets: a QLabel and a QTreeWidget used as a report-style
// list view. Each adapter is a child of its widget, so destroying the widget destroys the adapter, and
// that tells the component to drop the link.
#include <QObject>
#include <string>

#include "VersionTargets.h"

class QLabel;
class QTreeWidget;

namespace palettor {

class TQtLabelTarget final : public QObject, public TLabelTarget {
 public:
  explicit TQtLabelTarget(QLabel* label);
  // Plain text only, and a label that sizes itself keeps fitting its text.
  void SetText(const std::string& text) override;

 private:
  QLabel* label_;
};

class TQtListViewTarget final : public QObject, public TListViewTarget {
 public:
  explicit TQtListViewTarget(QTreeWidget* view);
  void ClearColumns() override;
  void ClearItems() override;
  void SetReportStyle() override;
  void AddColumn(const std::string& caption, int width) override;
  void AddItem(const std::string& caption, const std::string& subItem) override;

 private:
  QTreeWidget* view_;
  int columns_ = 0;
};

// Sets a label's caption as plain text; a label without word wrap is resized to fit it.
void SetLabelCaption(QLabel* label, const QString& caption);

}  // namespace palettor
