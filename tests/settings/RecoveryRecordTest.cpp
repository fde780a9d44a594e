// The recovery record on the real store: what the window writes comes back whole, names the
// session that wrote it, and is removed only by that session.
#include <gtest/gtest.h>

#include "GoldenSettings.h"
#include "ProcessIdentity.h"
#include "RecoveryRecord.h"
#include "Registry.h"
#include "SamplePalette.h"
#include "TempStore.h"

namespace palettor {
namespace {

namespace golden = test::golden;

const char* const kRecordKey = "\\Software\\Quillon\\palettor\\Recovery";

using RecoveryRecordTest = test::TempStoreTest;

TEST_F(RecoveryRecordTest, ComesBackWholeWithItsSessionAndGoesOnlyWithIt) {
  EXPECT_EQ(ReadRecoveryRecord(Registry()), std::nullopt);
  EXPECT_FALSE(StoreExists()) << "reading creates nothing";

  WriteRecoveryRecord(Registry(), test::kSamplePalette);
  const auto record = ReadRecoveryRecord(Registry());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->palette, test::kSamplePalette);
  EXPECT_EQ(record->session, ThisProcessIdentity());
  EXPECT_FALSE(LeftBehind(*record)) << "this process still runs";
  EXPECT_EQ(Query("SELECT count(*) FROM registry_values WHERE key_path = 'Software\\Quillon\\palettor'"),
            std::vector<std::string>{"0"})
      << "the 27 values are not touched";

  DropRecoveryRecord(Registry(), "another session");
  EXPECT_TRUE(ReadRecoveryRecord(Registry()));
  DropRecoveryRecord(Registry(), ThisProcessIdentity());
  EXPECT_EQ(ReadRecoveryRecord(Registry()), std::nullopt);
  EXPECT_FALSE(TRegistry(Store()).KeyExists(kRecordKey));
}

TEST_F(RecoveryRecordTest, ARecordMissingAValueHoldsNoPalette) {
  WriteRecoveryRecord(Registry(), test::kSamplePalette);
  {
    TRegistry record(Store());
    ASSERT_TRUE(record.OpenKey(kRecordKey, false));
    record.WriteString(golden::Saturation("P10"), "100");
  }
  const auto record = ReadRecoveryRecord(Registry());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->palette, std::nullopt);
}

}  // namespace
}  // namespace palettor
