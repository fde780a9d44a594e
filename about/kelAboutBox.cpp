#include "kelAboutBox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ExecutablePath.h"
#include "LinkLabel.h"
#include "QtVersionTargets.h"

namespace palettor {

namespace {

// The web link's right edge stays here whatever the length of its text.
constexpr int kWebSiteRight = 273;
constexpr int kWebSiteTop = 136;

QString FileNamePart(const std::string& path) {
  const QString full = QString::fromStdString(path);
  return full.mid(full.lastIndexOf('/') + 1);
}

}  // namespace

TAboutBoxKel::TAboutBoxKel(QWidget* parent) : TAboutBox(parent) {
  setObjectName("AboutBoxKel");
  setWindowTitle("AboutBoxKel");

  ProgramIcon->setGeometry(16, 16, 32, 32);
  ProductName->move(64, ProductName->y());
  ProductName->resize(81, ProductName->height());
  QFont bold = ProductName->font();
  bold.setBold(true);
  ProductName->setFont(bold);
  ProductName->adjustSize();
  Version->move(64, Version->y());

  auto* link = new TLinkLabel(Panel1, QColor(0x00, 0x00, 0x80));  // navy where that reads
  link->setObjectName("WebSite");
  link->setAlignment(Qt::AlignRight | Qt::AlignTop);
  link->setCursor(Qt::PointingHandCursor);
  QFont underlined = font();
  underlined.setUnderline(true);
  link->setFont(underlined);
  link->setAccessibleDescription(QStringLiteral("Opens the web site in the browser"));
  link->OnActivate = [this] { WebSiteClick(); };
  WebSite = link;
  WebSite->setGeometry(232, kWebSiteTop, 41, 13);
  SetLabelCaption(WebSite, "WebSite");
  PlaceWebSite();
  WebSite->installEventFilter(this);

  SetCancelButton(OKButton);
  OpenAddress = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  // Built as if from a form description: the links are made first, then the component reads the
  // running executable once and fills the copyright and product-name labels.
  VI = std::make_unique<TVersionInfoResource>();
  VI->BeginLoading();
  VI->SetCopyrightLabel(new TQtLabelTarget(Copyright));
  VI->SetProductLabel(new TQtLabelTarget(ProductName));
  VI->SetShowResource({pdCompanyName, pdFileDescription, pdInternalName, pdLegalTrademarks, pdOriginalFilename,
                       pdProductVersion, pdComments, pdBuildFlags});
  VI->Loaded();
}

TAboutBoxKel::~TAboutBoxKel() = default;

void TAboutBoxKel::setVisible(bool visible) {
  if (visible && !isVisible()) FormShow();
  TAboutBox::setVisible(visible);
}

void TAboutBoxKel::FormShow() {
  setWindowTitle(QStringLiteral("About Orvin's ") + QString::fromStdString(VI->ProductName()));
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) ProgramIcon->setPixmap(icon.pixmap(32, 32));
  SetLabelCaption(Version, FileNamePart(RunningExecutablePath()) + QStringLiteral(", V") +
                               QString::fromStdString(VI->FileVersion().AsText()) + QStringLiteral(", ") +
                               QString::fromStdString(VI->Comments()));
  SetLabelCaption(WebSite, QString::fromStdString(VI->ValueByKey("Web site")));
  PlaceWebSite();
}

void TAboutBoxKel::PlaceWebSite() { WebSite->move(kWebSiteRight - WebSite->width(), kWebSiteTop); }

QUrl TAboutBoxKel::WebSiteAddress(const QString& caption) {
  if (caption.isEmpty()) return {};
  QString address = caption;
  if (!address.contains(QStringLiteral("http://"), Qt::CaseSensitive)) address.prepend(QStringLiteral("http://"));
  const QUrl url(address, QUrl::StrictMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) return {};
  return url;
}

void TAboutBoxKel::WebSiteClick() {
  const QUrl url = WebSiteAddress(WebSite->text());
  if (url.isEmpty() || !OpenAddress) return;
  OpenAddress(url);
}

bool TAboutBoxKel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == WebSite && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && WebSite->rect().contains(mouse->position().toPoint())) {
      WebSiteClick();
      return true;
    }
  }
  return TAboutBox::eventFilter(watched, event);
}

}  // namespace palettor
