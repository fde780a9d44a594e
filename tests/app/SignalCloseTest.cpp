// The window closed from outside: SIGTERM, SIGHUP and SIGINT after a change made with real
// keyboard input store the change and end the program with status 0, as File > Exit does; after
// SIGKILL the next start offers the change back from the recovery record.
// Runs the real program on a virtual X display and types into it with xdotool.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "GoldenSettings.h"
#include "RunProcess.h"
#include "VirtualDisplay.h"
#include "WaitFor.h"

namespace palettor::test {
namespace {

const char* const kSettingsKey = "Software\\Quillon\\palettor";
const char* const kRecoveryKey = "Software\\Quillon\\palettor\\Recovery";

// The data stored under `name` in `key` (the window's settings key unless said), or "missing".
std::string Stored(const std::string& store, const std::string& name, const char* key = kSettingsKey) {
  std::string data = "missing";
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, "SELECT data FROM registry_values WHERE key_path = ?1 AND name = ?2", -1, &query, nullptr);
    sqlite3_bind_text(query, 1, key, -1, SQLITE_STATIC);
    sqlite3_bind_text(query, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    if (query && sqlite3_step(query) == SQLITE_ROW) data = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    sqlite3_finalize(query);
  }
  sqlite3_close(db);
  return data;
}

struct Ending {
  int signal;
  const char* name;
};

// The top-left cell of the table the window shows (column -60 °C, brightness 255): white while
// White top is ticked, as on a first start, this colour once it is cleared.
constexpr QRgb kTopLeftWithoutWhiteTop = qRgb(255, 237, 252);

class RealWindow : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xdotool", "/usr/bin/import"}) {
      if (::access(tool, X_OK) != 0) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh)";
    }
    display_ = std::make_unique<VirtualDisplay>();
    ASSERT_TRUE(display_->Started());
  }

  // A tool on the display; one that hangs is stopped at the deadline.
  ProcessResult Tool(const std::vector<std::string>& args) {
    std::vector<std::string> bounded{std::to_string(kHangDeadline.count() / 1000)};
    bounded.insert(bounded.end(), args.begin(), args.end());
    return RunProcess("/usr/bin/timeout", bounded, {.env = {"DISPLAY=" + display_->Name()}});
  }

  // The colour of the table's top-left cell on screen, as a screenshot of the window shows it.
  std::optional<QRgb> TopLeftCell(const std::string& window) {
    const std::string shot = config_.filePath("screen.png").toStdString();
    if (Tool({"import", "-window", window, shot}).exitStatus != 0) return std::nullopt;
    const QImage screen(QString::fromStdString(shot));
    // The client area (344 pixels high) sits under the menu bar; the table starts at (24, 24) in it.
    if (screen.height() < 344) return std::nullopt;
    return QColor(screen.pixel(24, screen.height() - 344 + 24)).rgb();
  }

  // What the real program runs with: the display, its settings under config_.
  std::vector<std::string> WindowEnvironment() {
    // On a real display Qt talks to D-Bus, whose library keeps a buffer to the end; in a
    // sanitizer build that would count as our leak.
    const std::string suppressions = config_.filePath("lsan-suppressions").toStdString();
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    return {"DISPLAY=" + display_->Name(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config_.path().toStdString(),
            "LSAN_OPTIONS=suppressions=" + suppressions};
  }
  std::unique_ptr<RunningProcess> Start() {
    return std::make_unique<RunningProcess>(PALETTOR_WINDOW, std::vector<std::string>{},
                                            ProcessOptions{.env = WindowEnvironment()});
  }

  // The id of the visible window whose title matches `title`, once there is one.
  std::string WindowNamed(const std::string& title) {
    const ProcessResult found = Tool({"xdotool", "search", "--sync", "--onlyvisible", "--name", title});
    EXPECT_EQ(found.exitStatus, 0) << title << " did not appear within " << kHangDeadline.count() / 1000
                                   << " s: " << found.err;
    return found.out.substr(0, found.out.find('\n'));
  }

  // Focuses the main window once its table shows `topLeft`.
  std::string MainWindowShowing(QRgb topLeft, const char* what) {
    const std::string window = WindowNamed("Palettor for Skyreader");
    EXPECT_EQ(Tool({"xdotool", "windowfocus", "--sync", window}).exitStatus, 0);
    EXPECT_TRUE(WaitFor(what, [&] { return TopLeftCell(window) == topLeft; }));
    return window;
  }

  // Close has the focus; Tab moves it to White top (ticked on a first start), space clears it.
  void ClearWhiteTop(const std::string& window) {
    ASSERT_EQ(Tool({"xdotool", "key", "--delay", "50", "Tab", "space"}).exitStatus, 0);
    ASSERT_TRUE(WaitFor("the window to take the keys and show the table without White top",
                        [&] { return TopLeftCell(window) == kTopLeftWithoutWhiteTop; }));
  }

  std::string RootWindow() {
    const ProcessResult root = Tool({"xdotool", "search", "--maxdepth", "0", "--name", ""});
    return root.out.substr(0, root.out.find('\n'));
  }

  std::string StorePath() const { return config_.filePath("Quillon/registry.sqlite3").toStdString(); }

  QTemporaryDir config_;
  std::unique_ptr<VirtualDisplay> display_;
};

class SignalClose : public RealWindow, public testing::WithParamInterface<Ending> {};

TEST_P(SignalClose, StoresTheChangeAndExitsWithZero) {
  const auto palettor = Start();
  const std::string window =
      MainWindowShowing(qRgb(255, 255, 255), "the window to show the first start's table, White top ticked");
  ClearWhiteTop(window);

  ASSERT_EQ(::kill(palettor->Pid(), GetParam().signal), 0);
  const ProcessResult ended = palettor->Finish();
  EXPECT_EQ(ended.exitStatus, 0) << ended.err;
  const std::string store = StorePath();
  EXPECT_EQ(Stored(store, golden::WhiteTop()), "0");
  EXPECT_EQ(Stored(store, golden::SmoothColours()), "1");
  EXPECT_EQ(Stored(store, golden::Hue("M70")), "220") << "the factory anchors stored with it";
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalClose,
                         testing::Values(Ending{SIGTERM, "SIGTERM"}, Ending{SIGHUP, "SIGHUP"},
                                         Ending{SIGINT, "SIGINT"}),
                         [](const auto& c) { return std::string(c.param.name); });

TEST_F(RealWindow, ASecondStartBringsTheRunningWindowForwardAndExitsWithZero) {
  const auto first = Start();
  const std::string window = MainWindowShowing(qRgb(255, 255, 255), "the first window's table");
  ASSERT_EQ(Tool({"xdotool", "windowfocus", "--sync", RootWindow()}).exitStatus, 0);
  // Without a window manager Qt focuses the window itself, stamped with the time of the last
  // event it saw: the pointer moving over it makes that later than the focus change above.
  ASSERT_EQ(Tool({"xdotool", "mousemove", "--window", window, "50", "50"}).exitStatus, 0);
  ASSERT_EQ(Tool({"xdotool", "mousemove", "--window", window, "60", "60"}).exitStatus, 0);

  // A start that opened a window of its own would be stopped at the deadline (status 124).
  const ProcessResult second =
      RunProcess("/usr/bin/timeout", {std::to_string(kHangDeadline.count() / 1000), PALETTOR_WINDOW},
                 {.env = WindowEnvironment()});
  EXPECT_EQ(second.exitStatus, 0) << second.err;
  EXPECT_TRUE(WaitFor("the running window to take the focus", [&] {
    const ProcessResult focused = Tool({"xdotool", "getwindowfocus"});
    return focused.out.substr(0, focused.out.find('\n')) == window;
  }));
  const ProcessResult windows = Tool({"xdotool", "search", "--onlyvisible", "--name", "Palettor for Skyreader"});
  EXPECT_EQ(std::count(windows.out.begin(), windows.out.end(), '\n'), 1) << windows.out;
  EXPECT_EQ(first->End(SIGTERM).exitStatus, 0);
}

// (KilledAfterAnEdit below also starts a window after one was killed, whose socket stayed.)
struct Answer {
  const char* name;
  const char* key;             // pressed in the question
  QRgb topLeft;                // the table shown after it
  const char* storedWhiteTop;  // at the clean close that follows
};

class KilledAfterAnEdit : public RealWindow, public testing::WithParamInterface<Answer> {};

TEST_P(KilledAfterAnEdit, TheNextStartOffersTheEditBack) {
  {
    const auto killed = Start();
    ClearWhiteTop(MainWindowShowing(qRgb(255, 255, 255), "the first start's table, White top ticked"));
    ASSERT_TRUE(WaitFor("the edit to reach the recovery record",
                        [&] { return Stored(StorePath(), golden::WhiteTop(), kRecoveryKey) == "0"; }));
    ASSERT_EQ(::kill(killed->Pid(), SIGKILL), 0);
    killed->Finish();
  }
  EXPECT_EQ(Stored(StorePath(), golden::WhiteTop()), "missing") << "the 27 are stored at close only";

  const auto next = Start();
  // The question comes over the window, which still shows what the store holds.
  const std::string question = WindowNamed("^[Pp]alettor$");
  ASSERT_EQ(Tool({"xdotool", "windowfocus", "--sync", question}).exitStatus, 0);
  ASSERT_EQ(Tool({"xdotool", "key", GetParam().key}).exitStatus, 0);
  MainWindowShowing(GetParam().topLeft, "the window to show the answer's table");

  const ProcessResult ended = next->End(SIGTERM);
  EXPECT_EQ(ended.exitStatus, 0) << ended.err;
  EXPECT_EQ(Stored(StorePath(), golden::WhiteTop()), GetParam().storedWhiteTop);
  EXPECT_EQ(Stored(StorePath(), "Session", kRecoveryKey), "missing") << "no record outlives a clean close";
}

INSTANTIATE_TEST_SUITE_P(Answers, KilledAfterAnEdit,
                         testing::Values(Answer{"Yes", "alt+y", kTopLeftWithoutWhiteTop, "0"},
                                         Answer{"No", "Escape", qRgb(255, 255, 255), "1"}),
                         [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace palettor::test
