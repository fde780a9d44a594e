// The window closed from outside: SIGTERM, SIGHUP and SIGINT after a change made with real
// keyboard input store the change and end the program with status 0, as File > Exit does.
// Runs the real program on a virtual X display and types into it with xdotool.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
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

// The top-left cell of the table the window shows (column -60 °C, brightness 255): white while
// White top is ticked, as on a first start, this colour once it is cleared.
constexpr QRgb kTopLeftWithoutWhiteTop = qRgb(255, 237, 252);

class SignalClose : public testing::TestWithParam<Ending> {
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

  QTemporaryDir config_;
  std::unique_ptr<VirtualDisplay> display_;
};

TEST_P(SignalClose, StoresTheChangeAndExitsWithZero) {
  // On a real display Qt talks to D-Bus, whose library keeps a buffer to the end; in a
  // sanitizer build that would count as our leak.
  const std::string suppressions = config_.filePath("lsan-suppressions").toStdString();
  std::ofstream(suppressions) << "leak:libdbus-1.so\n";
  RunningProcess palettor(
      PALETTOR_WINDOW, {},
      {.env = {"DISPLAY=" + display_->Name(), "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + config_.path().toStdString(),
               "LSAN_OPTIONS=suppressions=" + suppressions}});
  const ProcessResult found =
      Tool({"xdotool", "search", "--sync", "--onlyvisible", "--name", "Palettor for Skyreader"});
  ASSERT_EQ(found.exitStatus, 0) << "the window did not appear within " << kHangDeadline.count() / 1000
                                 << " s: " << found.err;
  const std::string window = found.out.substr(0, found.out.find('\n'));
  ASSERT_EQ(Tool({"xdotool", "windowfocus", "--sync", window}).exitStatus, 0);
  ASSERT_TRUE(WaitFor("the window to show the first start's table, White top ticked",
                      [&] { return TopLeftCell(window) == qRgb(255, 255, 255); }));

  // Close has the focus; Tab moves it to White top (ticked on a first start), space clears it.
  ASSERT_EQ(Tool({"xdotool", "key", "--delay", "50", "Tab", "space"}).exitStatus, 0);
  ASSERT_TRUE(WaitFor("the window to take the keys and show the table without White top",
                      [&] { return TopLeftCell(window) == kTopLeftWithoutWhiteTop; }));

  ASSERT_EQ(::kill(palettor.Pid(), GetParam().signal), 0);
  const ProcessResult ended = palettor.Finish();
  EXPECT_EQ(ended.exitStatus, 0) << ended.err;
  const std::string store = config_.filePath("Quillon/registry.sqlite3").toStdString();
  EXPECT_EQ(Stored(store, golden::WhiteTop()), "0");
  EXPECT_EQ(Stored(store, golden::SmoothColours()), "1");
  EXPECT_EQ(Stored(store, golden::Hue("M70")), "220") << "the factory anchors stored with it";
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalClose,
                         testing::Values(Ending{SIGTERM, "SIGTERM"}, Ending{SIGHUP, "SIGHUP"},
                                         Ending{SIGINT, "SIGINT"}),
                         [](const auto& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace palettor::test
