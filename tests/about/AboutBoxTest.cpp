// The About box on the offscreen platform; this test program carries the version resource.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QAccessible>
#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <type_traits>

#include "AboutLUT.h"
#include "CaptionFit.h"
#include "CaseName.h"
#include "ExecutablePath.h"
#include "LinkLabel.h"
#include "QtVersionTargets.h"
#include "RunProcess.h"
#include "WindowWaits.h"

// Fontconfig keeps its caches for the life of the process; they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace palettor {
namespace {

static_assert(std::is_base_of_v<TAboutBoxKel, TAboutBoxKel1>);
static_assert(std::is_base_of_v<TAboutBox, TAboutBoxKel>);
static_assert(std::is_base_of_v<QDialog, TAboutBox>);

// The executable's own file name, as the Version label starts with it.
constexpr const char* kExeName = "palettor-about-test";

class AboutBox : public ::testing::Test {};

TEST_F(AboutBox, ComponentFillsTheLinkedLabelsWhenCreated) {
  TAboutBoxKel1 box;
  EXPECT_EQ(box.windowTitle(), "AboutBoxKel1");
  EXPECT_EQ(box.Copyright->text(), QString::fromUtf8("Copyright \xC2\xA9 2001 Quillon"));
  EXPECT_EQ(box.ProductName->text(), "Palettor");
  EXPECT_EQ(box.Version->text(), "Version");
  EXPECT_EQ(box.WebSite->text(), "WebSite");
  EXPECT_EQ(box.VI->ShowResource(), (TPreDefs{pdCompanyName, pdFileDescription, pdInternalName, pdLegalTrademarks,
                                              pdOriginalFilename, pdProductVersion, pdComments, pdBuildFlags}));
}

TEST_F(AboutBox, ShowingFillsTheCaptions) {
  TAboutBoxKel1 box;
  box.show();
  EXPECT_EQ(box.windowTitle(), "About Orvin's Palettor");
  EXPECT_EQ(box.Version->text(), QString(kExeName) + ", V1.0.6.8, 2001 Dec 12");
  EXPECT_EQ(box.WebSite->text(), "www.quillon.example/palettor");
  EXPECT_EQ(box.Comments->text(), "Comments");
  EXPECT_EQ(box.WebSite->geometry().right() + 1, 273);
  EXPECT_EQ(box.WebSite->y(), 136);
  EXPECT_FALSE(box.ProgramIcon->pixmap().isNull());
}

// A package upgrade replaces the executable while it runs: the box still names it plainly and
// still reads its version from it. Runs a copy of this program that removes itself first.
TEST_F(AboutBox, AReplacedExecutableKeepsItsNameAndItsVersion) {
  if (std::getenv("PALETTOR_ABOUT_SELF_DELETE")) {
    ASSERT_EQ(::unlink(RunningExecutablePath().c_str()), 0);
    TAboutBoxKel1 box;
    box.show();
    EXPECT_EQ(box.Version->text(), "copy-of-about-test, V1.0.6.8, 2001 Dec 12");
    return;
  }
  std::string folder = (std::filesystem::temp_directory_path() / "palettor-about-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string copy = folder + "/copy-of-about-test";
  std::filesystem::copy_file(RunningExecutablePath(), copy);
  const test::ProcessResult run =
      test::RunProcess(copy, {"--gtest_filter=AboutBox.AReplacedExecutableKeepsItsNameAndItsVersion"},
                       {.env = {"PALETTOR_ABOUT_SELF_DELETE=1"}});
  EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
  EXPECT_FALSE(std::filesystem::exists(copy));
  std::filesystem::remove_all(folder);
}

TEST_F(AboutBox, ShowingTwiceGivesTheSameCaptions) {
  TAboutBoxKel1 box;
  box.show();
  const QString title = box.windowTitle();
  const QString version = box.Version->text();
  const QRect link = box.WebSite->geometry();
  box.hide();
  box.show();
  EXPECT_EQ(box.windowTitle(), title);
  EXPECT_EQ(box.Version->text(), version);
  EXPECT_EQ(box.WebSite->geometry(), link);
}

TEST_F(AboutBox, WithoutAResourceShowsEmptyPieces) {
  TAboutBoxKel1 box;
  box.VI->SetFilename("/nonexistent/palettor");
  box.show();
  EXPECT_EQ(box.windowTitle(), "About Orvin's ");
  EXPECT_EQ(box.Version->text(), QString(kExeName) + ", V, ");
  EXPECT_EQ(box.Copyright->text(), "");
  EXPECT_EQ(box.ProductName->text(), "");
  EXPECT_EQ(box.WebSite->text(), "");
  int opened = 0;
  box.OpenAddress = [&](const QUrl&) { ++opened; };
  box.WebSiteClick();
  EXPECT_EQ(opened, 0);
}

struct Placement {
  const char* control;
  QRect geometry;  // width or height 0: not checked
};

void PrintTo(const Placement& c, std::ostream* os) { *os << c.control; }

class AboutBoxLayout : public AboutBox, public ::testing::WithParamInterface<Placement> {};

TEST_P(AboutBoxLayout, ControlSitsWhereTheFormPutsIt) {
  TAboutBoxKel1 box;
  const auto* widget = box.findChild<QWidget*>(GetParam().control);
  ASSERT_NE(widget, nullptr) << GetParam().control;
  const QRect want = GetParam().geometry;
  EXPECT_EQ(widget->pos(), want.topLeft()) << GetParam().control;
  if (want.width() > 0) {
    EXPECT_EQ(widget->width(), want.width()) << GetParam().control;
  }
  if (want.height() > 0) {
    EXPECT_EQ(widget->height(), want.height()) << GetParam().control;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Controls, AboutBoxLayout,
    ::testing::Values(Placement{"Panel1", QRect(8, 8, 281, 161)}, Placement{"ProgramIcon", QRect(16, 16, 32, 32)},
                      Placement{"ProductName", QRect(64, 16, 0, 0)}, Placement{"Version", QRect(64, 40, 0, 0)},
                      Placement{"Copyright", QRect(8, 80, 0, 0)}, Placement{"Comments", QRect(8, 104, 0, 0)},
                      Placement{"OKButton", QRect(111, 180, 75, 25)}),
    test::CaseName<Placement>);

TEST_F(AboutBox, FormIsAFixedDialogWithTheOkButtonAsDefault) {
  TAboutBoxKel1 box;
  EXPECT_EQ(box.size(), QSize(298, 213));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());
  EXPECT_EQ(box.OKButton->text(), "OK");
  EXPECT_TRUE(box.OKButton->isDefault());
  EXPECT_TRUE(box.ProductName->font().bold());
  EXPECT_TRUE(box.WebSite->font().underline());
  EXPECT_EQ(box.WebSite->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(box.Comments->wordWrap());
}

TEST_F(AboutBox, BaseBoxHasItsOwnCaptions) {
  TAboutBox plain;
  EXPECT_EQ(plain.windowTitle(), "About");
  EXPECT_EQ(plain.ProductName->text(), "Product Name");
  EXPECT_EQ(plain.ProductName->pos(), QPoint(88, 16));
  EXPECT_EQ(plain.ProgramIcon->geometry(), QRect(8, 8, 65, 57));
  EXPECT_EQ(plain.findChild<QLabel*>("WebSite"), nullptr);
}

class CloseKey : public AboutBox, public ::testing::WithParamInterface<int> {};

TEST_P(CloseKey, ClosesWithResultOk) {
  TAboutBoxKel1 box;
  box.show();
  box.OKButton->setFocus();
  QKeyEvent press(QEvent::KeyPress, GetParam(), Qt::NoModifier);
  QApplication::sendEvent(&box, &press);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, CloseKey, ::testing::Values(int{Qt::Key_Escape}, int{Qt::Key_Return}),
                         [](const auto& c) { return std::string(c.param == Qt::Key_Escape ? "Escape" : "Return"); });

TEST_F(AboutBox, PlainBoxIgnoresEscape) {
  TAboutBox plain;
  plain.show();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&plain, &press);
  EXPECT_TRUE(plain.isVisible());
}

struct AddressCase {
  const char* caption;
  const char* opened;  // null: not opened
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << (*c.caption == 0 ? "(empty)" : c.caption); }

class WebSiteAddress : public AboutBox, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(WebSiteAddress, OpensOnlyWebAddresses) {
  TAboutBoxKel1 box;
  std::vector<QUrl> opened;
  box.OpenAddress = [&](const QUrl& url) { opened.push_back(url); };
  box.show();
  SetLabelCaption(box.WebSite, QString::fromUtf8(GetParam().caption));
  box.WebSiteClick();
  if (GetParam().opened == nullptr) {
    EXPECT_TRUE(opened.empty()) << opened.front().toString().toStdString();
  } else {
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front().toString(), GetParam().opened);
  }
  EXPECT_TRUE(box.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Captions, WebSiteAddress,
    ::testing::Values(AddressCase{"www.quillon.example/palettor", "http://www.quillon.example/palettor"},
                      AddressCase{"http://www.quillon.example", "http://www.quillon.example"},
                      AddressCase{"see http://www.quillon.example", nullptr},
                      // No exact "http://" in it: the prefix goes in front, as the box always did, and the
                      // result is still a plain web address (host "https").
                      AddressCase{"https://www.quillon.example", "http://https//www.quillon.example"},
                      AddressCase{"HTTP://www.quillon.example", "http://http//www.quillon.example"},
                      AddressCase{"https://www.quillon.example/?from=http://x",
                                  "https://www.quillon.example/?from=http://x"},
                      AddressCase{"file:///etc/passwd?http://", nullptr},
                      AddressCase{"file:///home/user/evil.desktop#http://x", nullptr},
                      AddressCase{"javascript:alert(1)//http://", nullptr},
                      AddressCase{"smb://server/share/http://", nullptr}, AddressCase{"", nullptr}),
    test::CaseName<AddressCase>);

TEST_F(AboutBox, ClickOnTheLinkOpensIt) {
  TAboutBoxKel1 box;
  std::vector<QUrl> opened;
  box.OpenAddress = [&](const QUrl& url) { opened.push_back(url); };
  box.show();
  const QPoint inside = box.WebSite->rect().center();
  QMouseEvent press(QEvent::MouseButtonPress, inside, box.WebSite->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, box.WebSite->mapToGlobal(inside), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(box.WebSite, &press);
  QApplication::sendEvent(box.WebSite, &release);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened.front().toString(), "http://www.quillon.example/palettor");
}

TEST_F(AboutBox, CaptionsFitInTheFormsFont) {
  TAboutBoxKel1 box;
  box.show();
  test::ExpectEveryCaptionFits(&box);
}

// WCAG 2's contrast ratio, worked out here from its definition.
double Contrast(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& c) {
    const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  };
  const double la = luminance(a) + 0.05, lb = luminance(b) + 0.05;
  return la > lb ? la / lb : lb / la;
}

TEST_F(AboutBox, LinkIsNavyAndUnderlinedOnTheUsualPalette) {
  TAboutBoxKel1 box;
  box.show();
  EXPECT_EQ(box.WebSite->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
  EXPECT_TRUE(box.WebSite->font().underline());
}

TEST_F(AboutBox, LinkStaysReadableOnADarkOrGreyTheme) {
  for (const QColor background :
       {QColor(0x35, 0x35, 0x35), QColor(0x1E, 0x1E, 0x2E), QColor(Qt::black), QColor(0x80, 0x80, 0x80)}) {
    TAboutBoxKel1 box;
    QPalette theme = box.palette();
    theme.setColor(QPalette::Window, background);
    theme.setColor(QPalette::WindowText, Qt::white);
    box.setPalette(theme);
    box.show();
    const QColor link = box.WebSite->palette().color(QPalette::WindowText);
    EXPECT_GE(Contrast(link, background), 4.5) << background.name().toStdString() << " " << link.name().toStdString();
    EXPECT_EQ(link.hslHue(), 240) << "still the link's blue: " << link.name().toStdString();
    // Back to a light theme while it is open: navy again.
    box.setPalette(QPalette(QColor(0xEF, 0xEF, 0xEF)));
    EXPECT_EQ(box.WebSite->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
  }
}

TEST_F(AboutBox, LinkIsReachedWithTabAndOpenedWithEnterOrSpace) {
  TAboutBoxKel1 box;
  std::vector<QUrl> opened;
  box.OpenAddress = [&](const QUrl& url) { opened.push_back(url); };
  box.show();
  box.activateWindow();
  ASSERT_TRUE(test::WaitUntilActive(&box));
  box.OKButton->setFocus();
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QApplication::sendEvent(box.OKButton, &tab);
  ASSERT_EQ(box.focusWidget(), box.WebSite);
  for (const int key : {int{Qt::Key_Return}, int{Qt::Key_Space}, int{Qt::Key_Enter}}) {
    QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QApplication::sendEvent(box.WebSite, &press);
  }
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened.front().toString(), "http://www.quillon.example/palettor");
  EXPECT_TRUE(box.isVisible()) << "Enter on the link does not press OK";
  // Focused, the link is framed: its picture differs from the unfocused one.
  const QImage focused = box.WebSite->grab().toImage();
  box.OKButton->setFocus();
  EXPECT_NE(box.WebSite->grab().toImage(), focused);
}

TEST_F(AboutBox, LinkIsALinkToAssistiveTechnology) {
  TAboutBoxKel1 box;
  int opened = 0;
  box.OpenAddress = [&](const QUrl&) { ++opened; };
  box.show();
  QAccessibleInterface* link = QAccessible::queryAccessibleInterface(box.WebSite);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->role(), QAccessible::Link);
  EXPECT_EQ(link->text(QAccessible::Name), "www.quillon.example/palettor");
  ASSERT_NE(link->actionInterface(), nullptr);
  link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(opened, 1);
}

TEST_F(AboutBox, LabelsNeverShowResourceTextAsMarkup) {
  QLabel label;
  SetLabelCaption(&label, "<img src='file:///etc/passwd'><a href='x'>y</a>");
  EXPECT_EQ(label.textFormat(), Qt::PlainText);
}

TEST_F(AboutBox, ListViewTargetFillsATreeWidget) {
  QTreeWidget tree;
  auto* target = new TQtListViewTarget(&tree);
  TVersionInfoResource info;
  info.SetVersionListView(target);
  info.Loaded();
  ASSERT_EQ(tree.columnCount(), 2);
  EXPECT_EQ(tree.headerItem()->text(0), "Resource");
  EXPECT_EQ(tree.headerItem()->text(1), "Value");
  ASSERT_EQ(tree.topLevelItemCount(), 10);
  EXPECT_EQ(tree.topLevelItem(0)->text(0), "Product Name");
  EXPECT_EQ(tree.topLevelItem(0)->text(1), "Palettor");
  EXPECT_EQ(tree.topLevelItem(9)->text(0), "Comments");
}

TEST_F(AboutBox, DestroyedLabelUnlinksItself) {
  TVersionInfoResource info;
  auto* label = new QLabel;
  info.SetProductLabel(new TQtLabelTarget(label));
  EXPECT_NE(info.ProductLabel(), nullptr);
  delete label;
  EXPECT_EQ(info.ProductLabel(), nullptr);
  info.Loaded();
}

}  // namespace
}  // namespace palettor
