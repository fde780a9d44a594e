// Start-up and shutdown: every way of closing runs the close query and the destroy handler
// once each and stores the 27 values in the catalogue's order; the next start loads them.
#include <sqlite3.h>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>

#include "CurrentUserRegistry.h"
#include "GoldenSettings.h"
#include "StoreHolder.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

enum class ClosePath { CloseBox, CloseButton, FileExitByMouse, FileExitByKeys, EnterInEditBox, EnterOnCheckBox };

const char* Name(ClosePath p) {
  switch (p) {
    case ClosePath::CloseBox: return "CloseBox";
    case ClosePath::CloseButton: return "CloseButton";
    case ClosePath::FileExitByMouse: return "FileExitByMouse";
    case ClosePath::FileExitByKeys: return "FileExitByKeys";
    case ClosePath::EnterInEditBox: return "EnterInEditBox";
    case ClosePath::EnterOnCheckBox: return "EnterOnCheckBox";
  }
  return "?";
}

const QStringList kCatalogue = [] {
  QStringList names;
  for (const std::string& name : golden::kShutdownOrder) names << QString::fromStdString(name);
  return names;
}();

// The value names of the window's key in the order the store received them.
QStringList WriteOrder() {
  const QByteArray path = qgetenv("XDG_CONFIG_HOME") + "/Quillon/registry.sqlite3";
  QStringList names;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT name FROM registry_values WHERE key_path = 'Software\\Quillon\\Palettor' "
                       "ORDER BY write_seq",
                       -1, &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
      names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return names;
}

class Lifecycle : public WindowTest {
 protected:
  TFormPalettor& OpenTraced() {
    Open();
    Form().OnLifecycle = [this](const char* handler) { trace_ << QString::fromLatin1(handler); };
    return Form();
  }
  void Destroy() { form_.reset(); }
  std::int32_t Stored(const std::string& name, std::int32_t absent) {
    TRegistryInteger setting(store_.Registry(), name, absent);  // loads; freeing it writes the same value back
    return setting.Value;
  }
  void Store(const std::string& name, std::int32_t value) {
    TRegistryInteger setting(store_.Registry(), name, 0);
    setting.Value = value;
  }
  QStringList trace_;
};

class ClosePaths : public Lifecycle, public testing::WithParamInterface<ClosePath> {
 protected:
  void CloseBy(ClosePath path) {
    switch (path) {
      case ClosePath::CloseBox: Form().windowHandle()->close(); break;
      case ClosePath::CloseButton: Click(Form().ButtonClose); break;
      case ClosePath::FileExitByMouse: {
        QTest::mouseClick(Form().MainMenu1, Qt::LeftButton, {},
                          Form().MainMenu1->actionGeometry(Form().File1->menuAction()).center());
        ASSERT_TRUE(Form().File1->isVisible());
        QTest::mouseClick(Form().File1, Qt::LeftButton, {}, Form().File1->actionGeometry(Form().FileExit).center());
        break;
      }
      case ClosePath::FileExitByKeys:
        QTest::keyClick(&Form(), Qt::Key_F, Qt::AltModifier);
        ASSERT_TRUE(Form().File1->isVisible());
        QTest::keyClick(Form().File1, Qt::Key_X);
        break;
      case ClosePath::EnterInEditBox:
        Form().EditTailPercent->setFocus();
        QTest::keyClick(Form().EditTailPercent, Qt::Key_Return);
        break;
      case ClosePath::EnterOnCheckBox:
        Form().CheckBoxSmooth->setFocus();
        QTest::keyClick(Form().CheckBoxSmooth, Qt::Key_Enter, Qt::KeypadModifier);
        break;
    }
  }
};

TEST_P(ClosePaths, ClosingStoresEverythingOnceAndTheNextStartLoadsIt) {
  OpenTraced();
  Click(Form().CheckBoxWhiteTop);
  TypeInto(Form().EditTailPercent, "45");  // typed, never stepped: stored as the spinner reads it
  Click(Form().PaintBoxP20);
  TypeInto(Form().EditHue, "100");
  Click(Form().ButtonUpdateColour);

  CloseBy(GetParam());
  EXPECT_FALSE(Form().isVisible());
  EXPECT_EQ(trace_, QStringList{"FormCloseQuery"});
  EXPECT_EQ(Form().Table(), nullptr);
  Destroy();
  EXPECT_EQ(trace_, QStringList({"FormCloseQuery", "FormDestroy"}));

  const auto names = store_.Store().ValueNames("Software\\Quillon\\Palettor");
  QStringList written;
  for (const std::string& n : names) written << QString::fromStdString(n);
  written.sort(Qt::CaseInsensitive);
  QStringList catalogue = kCatalogue;
  catalogue.sort(Qt::CaseInsensitive);
  EXPECT_EQ(written, catalogue) << "all 27 values, nothing else";
  EXPECT_EQ(WriteOrder(), kCatalogue) << "written in the catalogue's shutdown order";
  EXPECT_EQ(Stored(golden::WhiteTop(), -5), 0);
  EXPECT_EQ(Stored(golden::SmoothColours(), -5), 1);
  EXPECT_EQ(Stored(golden::TailPercent(), -5), 45);
  EXPECT_EQ(Stored(golden::Hue("P20"), -5), 100);
  EXPECT_EQ(Stored(golden::Saturation("P20"), -5), 19);
  EXPECT_EQ(Stored(golden::Hue("M70"), -5), 220);

  Open();
  EXPECT_FALSE(Form().CheckBoxWhiteTop->isChecked());
  EXPECT_TRUE(Form().CheckBoxSmooth->isChecked());
  EXPECT_EQ(Form().EditTailPercent->text(), "45");
  EXPECT_EQ(Form().AnchorValueOf(2).hue, 100);
  EXPECT_EQ(Form().AnchorValueOf(2).saturation, 19);
  EXPECT_EQ(Form().AnchorValueOf(3).hue, 35);
  AnchorValues values = FactoryPalette();
  values[AnchorSlot(2)] = {100, 19};
  ExpectShownTableEquals(
      *Table(MakeTableInputs(DeriveAnchorColours(values), values[AnchorSlot(kBlueTailAnchor)], 45, false, true)));
}

INSTANTIATE_TEST_SUITE_P(Paths, ClosePaths,
                         testing::Values(ClosePath::CloseBox, ClosePath::CloseButton, ClosePath::FileExitByMouse,
                                         ClosePath::FileExitByKeys, ClosePath::EnterInEditBox,
                                         ClosePath::EnterOnCheckBox),
                         [](const auto& p) { return std::string(Name(p.param)); });

TEST_F(Lifecycle, DestroyWithoutCloseStillStoresOnce) {
  OpenTraced();
  Click(Form().CheckBoxSmooth);
  Destroy();
  EXPECT_EQ(trace_, QStringList{"FormDestroy"});
  EXPECT_EQ(Stored(golden::SmoothColours(), -5), 0);
}

TEST_F(Lifecycle, StoredTailHueOfMinusOneRestoresTheFactoryAnchors) {
  Store(golden::Hue("M70"), -1);
  Store(golden::Saturation("M70"), 10);
  Store(golden::Hue("M60"), 5);
  Store(golden::Saturation("M60"), 50);
  Open();
  EXPECT_EQ(Form().AnchorValueOf(-6).hue, 310);
  EXPECT_EQ(Form().AnchorValueOf(-6).saturation, 7);
  EXPECT_EQ(Form().AnchorValueOf(-7).saturation, 70);
  CloseWindow();
  EXPECT_EQ(Stored(golden::Hue("M60"), -5), 310);
}

TEST_F(Lifecycle, MissingAnchorsAfterAStoredTailAreWhite) {
  Store(golden::Hue("M70"), 200);
  Store(golden::Saturation("M70"), 80);
  Open();
  EXPECT_EQ(Form().AnchorValueOf(-6).hue, 0);
  EXPECT_EQ(Form().AnchorValueOf(-6).saturation, 0);
  EXPECT_EQ(Form().AnchorColourOf(-6), 0xFFFFFFu);
  EXPECT_EQ(Form().AnchorColourOf(4), 0xFFFFFFu);
  AnchorValues values{};
  values[AnchorSlot(kBlueTailAnchor)] = {200, 80};
  ExpectShownTableEquals(*Table(MakeTableInputs(DeriveAnchorColours(values), {200, 80}, 12, true, true)));
}

struct StoredTail {
  std::int32_t stored;
  const char* shown;
};

class StoredTailPercent : public Lifecycle, public testing::WithParamInterface<StoredTail> {};

TEST_P(StoredTailPercent, IsTakenAsA16BitPositionWithinTheRange) {
  Store(golden::TailPercent(), GetParam().stored);
  Open();
  EXPECT_EQ(Form().EditTailPercent->text(), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(Values, StoredTailPercent,
                         testing::Values(StoredTail{30, "30"}, StoredTail{65536 + 12, "12"}, StoredTail{500, "100"},
                                         StoredTail{-3, "0"}, StoredTail{65535, "0"}),
                         [](const auto& p) {
                           const std::int32_t v = p.param.stored;
                           return (v < 0 ? "Minus" : "") + std::to_string(v < 0 ? -v : v);
                         });

// Another program holds the store while the window starts: the window must neither show nor
// later store defaults in place of the user's palette.
TEST_F(Lifecycle, AStoreThatCannotBeReadIsSaidOnceAndLeftAsItIsAtClose) {
  Store(golden::Hue("M70"), 200);
  Store(golden::Saturation("M70"), 80);
  Store(golden::WhiteTop(), 0);
  SqliteRegistryStore impatient(RegistryStorePath(), 200);  // gives up after 0.2 s, not 5 s
  const CurrentUserRegistry program(impatient, (store_.Path() + QStringLiteral("/bin/Palettor")).toStdString());
  const QByteArray path = qgetenv("XDG_CONFIG_HOME") + "/Quillon/registry.sqlite3";
  const QByteArray before = [&] {
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  {
    test::StoreHolder holder(path.toStdString());
    ASSERT_TRUE(holder.Held());
    Open(&program);
    holder.Release();
  }
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains(QStringLiteral("could not be read"))) << dialogs_.errors[0].toStdString();
  EXPECT_TRUE(dialogs_.errors[0].contains(QStringLiteral("busy"))) << dialogs_.errors[0].toStdString();
  EXPECT_EQ(Form().AnchorValueOf(-7).hue, 220) << "starts as on a first run";
  EXPECT_TRUE(Form().CheckBoxWhiteTop->isChecked());
  Click(Form().CheckBoxSmooth);
  CloseWindow();
  EXPECT_EQ(dialogs_.errors.size(), 1);
  QFile file(QString::fromLocal8Bit(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), before) << "nothing it never loaded is stored";
}

// A store that every operation finds held by another program, each after the whole wait.
class HeldStore final : public RegistryBackend {
 public:
  int waits = 0;
  bool KeyExists(const std::string&) override { Wait(); }
  void CreateKey(const std::string&) override { Wait(); }
  std::optional<RegistryData> ReadValue(const std::string&, const std::string&) override { Wait(); }
  void WriteValue(const std::string&, const std::string&, const RegistryData&) override { Wait(); }
  bool DeleteValue(const std::string&, const std::string&) override { Wait(); }
  bool DeleteKey(const std::string&) override { Wait(); }
  std::vector<std::string> ValueNames(const std::string&) override { Wait(); }
  void BeginTransaction(RegistryTransactionMode) override { Wait(); }
  void CommitTransaction() override {}
  void RollbackTransaction() noexcept override {}

 private:
  [[noreturn]] void Wait() {
    ++waits;
    throw EStoreBusy("settings store busy: database is locked");
  }
};

TEST_F(Lifecycle, ABusyStoreIsWaitedForOnceFromStartToClose) {
  HeldStore held;
  const CurrentUserRegistry program(held, "/opt/palettor/palettor");
  Open(&program);
  EXPECT_EQ(held.waits, 1);
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].contains(QStringLiteral("busy"))) << dialogs_.errors[0].toStdString();
  Click(Form().CheckBoxSmooth);
  CloseWindow();
  EXPECT_EQ(held.waits, 1);
}

TEST_F(Lifecycle, TheViewersFolderIsReadAtStartUp) {
  store_.RegisterViewer("/opt/sky/Skyreader.exe");
  Open();
  EXPECT_EQ(Form().HostFolderValue(), "/opt/sky/");
}

}  // namespace
}  // namespace palettor::test
