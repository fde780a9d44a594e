#include "VersionTargets.h"

#include <algorithm>

namespace palettor {

TVersionTarget::~TVersionTarget() {
  // A component may unregister itself while being told; work on a copy.
  const std::vector<TFreeNotifiable*> notified = std::move(notified_);
  notified_.clear();
  for (TFreeNotifiable* who : notified) who->Notification(this, TOperation::opRemove);
}

void TVersionTarget::FreeNotification(TFreeNotifiable* who) {
  if (who != nullptr && std::find(notified_.begin(), notified_.end(), who) == notified_.end()) {
    notified_.push_back(who);
  }
}

void TVersionTarget::RemoveFreeNotification(TFreeNotifiable* who) {
  notified_.erase(std::remove(notified_.begin(), notified_.end(), who), notified_.end());
}

}  // namespace palettor
