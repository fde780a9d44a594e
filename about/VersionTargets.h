#pragma once
// What the version component writes to: labels and a report-style list view, seen only through these
// few operations so that the component builds and runs without a GUI toolkit. A target tells every
// component that asked (FreeNotification) when it is destroyed, so no component keeps a dangling link.
#include <string>
#include <vector>

namespace palettor {

class TVersionTarget;

enum class TOperation { opInsert, opRemove };

class TFreeNotifiable {
 public:
  virtual void Notification(TVersionTarget* target, TOperation operation) = 0;

 protected:
  ~TFreeNotifiable() = default;
};

class TVersionTarget {
 public:
  TVersionTarget() = default;
  TVersionTarget(const TVersionTarget&) = delete;
  TVersionTarget& operator=(const TVersionTarget&) = delete;
  virtual ~TVersionTarget();

  // `who` is told (opRemove) when this target is destroyed; asking twice registers once.
  void FreeNotification(TFreeNotifiable* who);
  void RemoveFreeNotification(TFreeNotifiable* who);

 private:
  std::vector<TFreeNotifiable*> notified_;
};

class TLabelTarget : public TVersionTarget {
 public:
  virtual void SetText(const std::string& text) = 0;
};

class TListViewTarget : public TVersionTarget {
 public:
  virtual void ClearColumns() = 0;
  virtual void ClearItems() = 0;
  // Report view, read-only, headers that do not react to clicks.
  virtual void SetReportStyle() = 0;
  // `width` −2 sizes the column to its header text.
  virtual void AddColumn(const std::string& caption, int width) = 0;
  virtual void AddItem(const std::string& caption, const std::string& subItem) = 0;
};

}  // namespace palettor
