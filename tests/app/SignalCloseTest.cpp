// The window closed from outside: SIGTERM, SIGHUP and SIGINT after a change made with real
// keyboard input store the change and end the program with status 0, as File > Exit does.
// Runs the real program on a virtual X display and types into it with xdotool.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QByteArray>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "RunProcess.h"

namespace palettor::test {
namespace {

using namespace std::chrono_literals;

// The data stored under `name` in the window's settings key, or "missing".
std::string Stored(const std::string& store, const std::string& name) {
  std::string data = "missing";
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT data FROM registry_values WHERE key_path = 'Software\\Quillon\\palettor' AND name = ?1",
                       -1, &query, nullptr);
    sqlite3_bind_text(query, 1, name.c_str(), -1, SQLITE_TRANSIENT);
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

class SignalClose : public testing::TestWithParam<Ending> {
 protected:
  void SetUp() override {
    for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xdotool", "/usr/bin/import"}) {
      if (::access(tool, X_OK) != 0) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh)";
    }
    // Xvfb picks a free display and writes its number to standard output.
    xvfb_ = std::make_unique<RunningProcess>(
        "/usr/bin/Xvfb",
        std::vector<std::string>{"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
    display_ = WaitForDisplay();
    ASSERT_FALSE(display_.empty()) << "Xvfb did not start";
  }

  std::string WaitForDisplay() {
    for (int i = 0; i < 100; ++i) {
      const std::string number = xvfb_->OutputSoFar();
      if (!number.empty() && number.back() == '\n') return ":" + number.substr(0, number.size() - 1);
      std::this_thread::sleep_for(50ms);
    }
    return {};
  }

  ProcessResult Tool(const std::vector<std::string>& args) {
    std::vector<std::string> bounded{"10"};
    bounded.insert(bounded.end(), args.begin(), args.end());
    return RunProcess("/usr/bin/timeout", bounded, {.env = {"DISPLAY=" + display_}});
  }

  QImage Screen(const std::string& window) {
    const std::string shot = config_.filePath("screen.png").toStdString();
    if (Tool({"import", "-window", window, shot}).exitStatus != 0) return {};
    return QImage(QString::fromStdString(shot));
  }

  QTemporaryDir config_;
  std::unique_ptr<RunningProcess> xvfb_;
  std::string display_;
};

TEST_P(SignalClose, StoresTheChangeAndExitsWithZero) {
  // On a real display Qt talks to D-Bus, whose library keeps a buffer to the end; in a
  // sanitizer build that would count as our leak.
  const std::string suppressions = config_.filePath("lsan-suppressions").toStdString();
  std::ofstream(suppressions) << "leak:libdbus-1.so\n";
  RunningProcess palettor(
      PALETTOR_WINDOW, {},
      {.env = {"DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config_.path().toStdString(),
               "LSAN_OPTIONS=suppressions=" + suppressions}});
  const ProcessResult found =
      Tool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "Palettor for Skyreader"});
  ASSERT_EQ(found.exitStatus, 0) << "the window did not appear: " << found.err;
  const std::string window = found.out.substr(0, found.out.find('\n'));
  ASSERT_EQ(Tool({"xdotool", "windowfocus", "--sync", window}).exitStatus, 0);

  // Close has the focus; Tab moves it to White top (ticked on a first start), space clears it.
  ASSERT_EQ(Tool({"xdotool", "key", "--delay", "50", "Tab"}).exitStatus, 0);
  std::this_thread::sleep_for(300ms);
  const QImage before = Screen(window);
  ASSERT_FALSE(before.isNull());
  ASSERT_EQ(Tool({"xdotool", "key", "space"}).exitStatus, 0);
  // The cleared box and the rebuilt table show once the window has taken the key.
  bool changed = false;
  for (int i = 0; i < 50 && !changed; ++i) {
    std::this_thread::sleep_for(100ms);
    changed = Screen(window) != before;
  }
  ASSERT_TRUE(changed) << "the key press did not reach the window";

  ASSERT_EQ(::kill(palettor.Pid(), GetParam().signal), 0);
  const ProcessResult ended = palettor.Finish();
  EXPECT_EQ(ended.exitStatus, 0) << ended.err;
  const std::string store = config_.filePath("Quillon/registry.sqlite3").toStdString();
  EXPECT_EQ(Stored(store, "LUTWhiteTop"), "0");
  EXPECT_EQ(Stored(store, "LUTSmoothColours"), "1");
  EXPECT_EQ(Stored(store, "LUThueM70"), "220") << "the factory anchors stored with it";
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalClose,
                         testing::Values(Ending{SIGTERM, "SIGTERM"}, Ending{SIGHUP, "SIGHUP"},
                                         Ending{SIGINT, "SIGINT"}),
                         [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace palettor::test
