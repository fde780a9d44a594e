// The window's recovery record: kept while the window runs, removed at a clean close, offered
// back once when the window that wrote it has ended; and the store held by another program at
// close, when the record is what keeps the session.
#include <QAction>
#include <QFile>

#include "PaletteFile.h"
#include "PaletteMenus.h"
#include "ProcessIdentity.h"
#include "RecoveryRecord.h"
#include "Registry.h"
#include "SamplePalette.h"
#include "StoreHolder.h"
#include "StoredPalette.h"
#include "WaitFor.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

// No process runs with this number, so a record naming it was left behind.
const char* const kEndedSession = "ended-boot 2147483646 1";

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

class Recovery : public WindowTest {
 protected:
  void SetUp() override { StorePalette(store_.Registry(), DefaultPalette()); }  // an earlier session's

  // A record as a window of `session` leaves it.
  void LeaveRecord(const Palette& palette, const std::string& session) {
    WriteRecoveryRecord(store_.Registry(), palette);
    TRegistry record(store_.Store());
    ASSERT_TRUE(record.OpenKey(RecoveryKeyPath(store_.Registry()), false));
    record.WriteString("Session", session);
  }
  std::optional<RecoveryRecord> Record() { return ReadRecoveryRecord(store_.Registry()); }
  // Runs the window until the record holds `palette` (a deadline only a hang reaches).
  bool RecordReaches(const Palette& palette) {
    return QTest::qWaitFor(
        [&] {
          const auto record = Record();
          return record && record->palette == palette;
        },
        static_cast<int>(kHangDeadline.count()));
  }
  QAction* Item(const char* name) { return Form().findChild<QAction*>(QString::fromLatin1(name)); }
  void Key(int key) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &Form();
    QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::ControlModifier);
  }
};

TEST_F(Recovery, EveryChangeIsRecordedSoonAndACleanCloseRemovesTheRecord) {
  Open();
  EXPECT_EQ(Record(), std::nullopt) << "an unchanged window records nothing";
  Click(Form().CheckBoxWhiteTop);
  Click(Form().CheckBoxSmooth);
  ASSERT_TRUE(RecordReaches(Form().CurrentPalette()));
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, DefaultPalette()) << "the 27 wait for the close";
  CloseWindow();
  EXPECT_EQ(Record(), std::nullopt);
  Palette expected = DefaultPalette();
  expected.whiteTop = !expected.whiteTop;
  expected.smoothColours = !expected.smoothColours;
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, expected);
}

struct Offer {
  const char* name;
  bool accepted;
};

class RecoveryOffer : public Recovery, public testing::WithParamInterface<Offer> {};

TEST_P(RecoveryOffer, IsOneUndoableStepOrDropsTheRecord) {
  LeaveRecord(kSamplePalette, kEndedSession);
  dialogs_.confirms = {GetParam().accepted};
  Open();
  InstallPaletteMenus(Form());
  Form().OfferLeftBehindPalette();
  ASSERT_EQ(dialogs_.questions.size(), 1);
  EXPECT_TRUE(dialogs_.questions[0].contains(QStringLiteral("ended last time without storing")))
      << dialogs_.questions[0].toStdString();

  if (GetParam().accepted) {
    EXPECT_EQ(Form().CurrentPalette(), kSamplePalette);
    EXPECT_EQ(Plain(Item("EditUndo")->text()), "Undo Recovered palette");
    Key(Qt::Key_Z);
    EXPECT_EQ(Form().CurrentPalette(), DefaultPalette());
    EXPECT_FALSE(Item("EditUndo")->isEnabled()) << "one step";
    Key(Qt::Key_Y);
    EXPECT_EQ(Form().CurrentPalette(), kSamplePalette);
  } else {
    EXPECT_EQ(Form().CurrentPalette(), DefaultPalette());
    EXPECT_EQ(Record(), std::nullopt);
  }
  CloseWindow();
  EXPECT_EQ(Record(), std::nullopt);
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, GetParam().accepted ? kSamplePalette : DefaultPalette());
}

INSTANTIATE_TEST_SUITE_P(Answers, RecoveryOffer, testing::Values(Offer{"Accepted", true}, Offer{"Declined", false}),
                         [](const auto& c) { return std::string(c.param.name); });

TEST_F(Recovery, ARecordOfAWindowStillRunningIsNeitherOfferedNorTouched) {
  LeaveRecord(kSamplePalette, ThisProcessIdentity());
  Open();
  Form().OfferLeftBehindPalette();
  EXPECT_TRUE(dialogs_.questions.isEmpty());
  CloseWindow();
  ASSERT_TRUE(Record());
  EXPECT_EQ(Record()->palette, kSamplePalette);
}

// Closing while another program holds the store past the wait.
struct BusyClose {
  const char* name;
  bool unattended;          // closed by a signal or the session's end: nobody to ask
  std::deque<int> choices;  // 0 Try again, 1 Export palette..., 2 Close without storing
  bool releasedBeforeAnswering;
  bool stored;    // the session's palette reached the 27
  bool exported;  // a palette file was written
  int questionsShown;
};

class StoreBusyAtClose : public Recovery, public testing::WithParamInterface<BusyClose> {};

TEST_P(StoreBusyAtClose, SaysSoAndKeepsTheRecordUnlessStored) {
  const BusyClose& c = GetParam();
  SqliteRegistryStore impatient(RegistryStorePath(), 200);  // gives up after 0.2 s, not 5 s
  const CurrentUserRegistry program(impatient, (store_.Path() + QStringLiteral("/bin/Palettor")).toStdString());
  Open(&program);
  Click(Form().CheckBoxWhiteTop);
  const Palette shown = Form().CurrentPalette();
  ASSERT_TRUE(RecordReaches(shown));

  const QString exportPath = store_.Path() + QStringLiteral("/before-closing.json");
  dialogs_.answers = {exportPath};
  dialogs_.choices = c.choices;
  auto holder = std::make_unique<StoreHolder>(RegistryStorePath());
  ASSERT_TRUE(holder->Held());
  if (c.releasedBeforeAnswering) dialogs_.onChoice = [&] { holder->Release(); };
  if (c.unattended) Form().CloseUnattended();
  CloseWindow();
  holder.reset();

  ASSERT_EQ(dialogs_.choicesShown.size(), c.questionsShown);
  for (const QString& question : dialogs_.choicesShown)
    EXPECT_TRUE(question.contains(QStringLiteral("another program holds the settings store")))
        << question.toStdString();
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, c.stored ? shown : DefaultPalette());
  EXPECT_EQ(Record().has_value(), !c.stored) << "the record stays for the next start unless stored";
  EXPECT_EQ(QFile::exists(exportPath), c.exported);
  if (c.exported) {
    const auto file = ReadPaletteFile(exportPath);
    ASSERT_TRUE(file.document) << file.error.Message().toStdString();
    EXPECT_EQ(file.document->palette, shown);
  }
}

INSTANTIATE_TEST_SUITE_P(Choices, StoreBusyAtClose,
                         testing::Values(BusyClose{"TryAgainOnceFree", false, {0}, true, true, false, 1},
                                         BusyClose{"TryAgainStillHeldThenClose", false, {0, 2}, false, false, false, 2},
                                         BusyClose{"Export", false, {1}, false, false, true, 1},
                                         BusyClose{"CloseWithoutStoring", false, {2}, false, false, false, 1},
                                         BusyClose{"BoxClosed", false, {}, false, false, false, 1},
                                         BusyClose{"Unattended", true, {}, false, false, false, 0}),
                         [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace palettor::test
