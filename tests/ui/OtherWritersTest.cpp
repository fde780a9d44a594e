// A window never undoes what others stored while it was open: closing writes only the values the
// session changed, and those loaded unusable (missing, of another type, out of range).
#include <sqlite3.h>

#include <QFile>
#include <fstream>

#include "GoldenSettings.h"
#include "Registry.h"
#include "RunProcess.h"
#include "SamplePalette.h"
#include "StoredPalette.h"
#include "WindowFixture.h"

namespace palettor::test {
namespace {

const char* const kKey = "Software\\Quillon\\Palettor";

class OtherWriters : public WindowTest {
 protected:
  void SetUp() override { StorePalette(store_.Registry(), DefaultPalette()); }  // an earlier session's

  std::string StorePath() const { return (store_.Path() + QStringLiteral("/Quillon/registry.sqlite3")).toStdString(); }
  std::string ProgramPath() const { return (store_.Path() + QStringLiteral("/bin/Palettor")).toStdString(); }

  // A value as stored, read without writing anything back.
  std::optional<std::int32_t> Stored(const std::string& name) {
    return LoadRegistryInteger(store_.Store(), kKey, name);
  }
  // The window's values in the order of their last writes.
  std::vector<std::string> WriteOrder() {
    std::vector<std::string> names;
    sqlite3* db = nullptr;
    sqlite3_open_v2(StorePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM registry_values WHERE key_path = ?1 ORDER BY write_seq", -1, &query,
                       nullptr);
    sqlite3_bind_text(query, 1, kKey, -1, SQLITE_STATIC);
    while (query && sqlite3_step(query) == SQLITE_ROW)
      names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    sqlite3_close(db);
    return names;
  }
  QByteArray StoreBytes() const {
    QFile file(QString::fromStdString(StorePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void RunCli(const std::vector<std::string>& args) {
    const ProcessResult run = RunProcess(PALETTOR_CLI, args);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
  }
};

TEST_F(OtherWriters, AnUntouchedWindowClosedLastKeepsTheOtherWindowsEdit) {
  SqliteRegistryStore secondStore(RegistryStorePath());  // another program, its own connection
  const CurrentUserRegistry second(secondStore, ProgramPath());
  auto untouched = std::make_unique<TFormPalettor>(second, &dialogs_);
  Open();
  Click(Form().CheckBoxWhiteTop);
  CloseWindow();
  ASSERT_EQ(Stored(golden::WhiteTop()), 0);

  const QByteArray before = StoreBytes();
  untouched.reset();
  EXPECT_EQ(Stored(golden::WhiteTop()), 0);
  EXPECT_EQ(StoreBytes(), before) << "a window that changed nothing writes nothing";
}

TEST_F(OtherWriters, CommandsRunWhileAWindowIsOpenSurviveItsClose) {
  Open();
  Click(Form().PaintBoxP30);
  TypeInto(Form().EditHue, "100");
  Click(Form().ButtonUpdateColour);

  const std::string file = (store_.Path() + QStringLiteral("/sample.json")).toStdString();
  std::ofstream(file) << kSamplePaletteFile;
  RunCli({"palette", "import", file});
  RunCli({"settings", "set", golden::Hue("O0"), "5"});
  CloseWindow();

  Palette expected = kSamplePalette;
  expected.anchors[AnchorSlot(0)].hue = 5;    // the set after the import
  expected.anchors[AnchorSlot(3)].hue = 100;  // the window's own edit, written whatever happened
  EXPECT_EQ(LoadPalette(store_.Registry()).palette, expected);
}

struct Unusable {
  const char* name;
  const char* description;
  void (*store)(TRegistry& key, const std::string& name);
  std::int32_t rewritten;
};

void PrintTo(const Unusable& value, std::ostream* os) { *os << value.name << ' ' << value.description; }

class UnusableAtStart : public OtherWriters, public testing::WithParamInterface<Unusable> {};

TEST_P(UnusableAtStart, IsRewrittenAsANumberAndNothingElseIs) {
  {
    TRegistry registry(store_.Store());
    ASSERT_TRUE(registry.OpenKey(std::string("\\") + kKey, false));
    GetParam().store(registry, GetParam().name);
  }
  std::vector<std::string> order = WriteOrder();
  order.erase(std::remove(order.begin(), order.end(), GetParam().name), order.end());
  order.push_back(GetParam().name);

  Open();
  CloseWindow();
  EXPECT_EQ(Stored(GetParam().name), GetParam().rewritten);
  EXPECT_EQ(WriteOrder(), order);
}

INSTANTIATE_TEST_SUITE_P(
    Values, UnusableAtStart,
    testing::Values(
        Unusable{"LUTTailPercent", "Text", [](TRegistry& r, const std::string& n) { r.WriteString(n, "30"); }, 12},
        Unusable{"LUTTailPercent", "OutOfRange", [](TRegistry& r, const std::string& n) { r.WriteInteger(n, 65548); },
                 12},
        Unusable{"LUTWhiteTop", "OutOfRange", [](TRegistry& r, const std::string& n) { r.WriteInteger(n, 7); }, 1},
        Unusable{"LUTsatM60", "Missing", [](TRegistry& r, const std::string& n) { r.DeleteValue(n); }, 0}),
    [](const auto& c) { return std::string(c.param.name) + c.param.description; });

}  // namespace
}  // namespace palettor::test
