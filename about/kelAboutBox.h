#pragma once
// TAboutBoxKel: the about box that fills itself from the executable's version resource each time it
// is shown, and offers the resource's web address as a link.
#include <QUrl>
#include <functional>
#include <memory>

#include "About.h"
#include "VersInfo.h"

namespace palettor {

class TQtLabelTarget;

class TAboutBoxKel : public TAboutBox {
  Q_OBJECT

 public:
  explicit TAboutBoxKel(QWidget* parent = nullptr);
  ~TAboutBoxKel() override;

  QLabel* WebSite;
  std::unique_ptr<TVersionInfoResource> VI;

  // Rebuilds the captions from the resource read at start-up; runs on every show.
  void FormShow();
  void WebSiteClick();

  // The address a WebSite caption leads to, or an empty URL when it must not be opened: only http
  // and https are handed to the desktop, whatever else a resource may name.
  static QUrl WebSiteAddress(const QString& caption);

  // Hands an address to the desktop's browser; its result is ignored. Replaceable for tests.
  std::function<void(const QUrl&)> OpenAddress;

  void setVisible(bool visible) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void PlaceWebSite();
};

}  // namespace palettor
