#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "CaseName.h"
#include "DecimalNumber.h"

namespace palettor {
namespace {

struct DecimalCase {
  std::string text;
  std::optional<double> value;
};

void PrintTo(const DecimalCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class Decimal : public testing::TestWithParam<DecimalCase> {};

TEST_P(Decimal, ReadsPlainFiniteDecimalsOnly) { EXPECT_EQ(ParseDecimal(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Decimal,
    testing::Values(DecimalCase{"40", 40.0}, DecimalCase{"-60", -60.0}, DecimalCase{"+3", 3.0},
                    DecimalCase{"12.25", 12.25}, DecimalCase{"-0.5", -0.5}, DecimalCase{".5", 0.5},
                    DecimalCase{"5.", 5.0}, DecimalCase{"1e2", 100.0}, DecimalCase{"-2.5E-1", -0.25},
                    DecimalCase{"", std::nullopt}, DecimalCase{"-", std::nullopt}, DecimalCase{".", std::nullopt},
                    DecimalCase{"+-1", std::nullopt}, DecimalCase{"--1", std::nullopt}, DecimalCase{" 1", std::nullopt},
                    DecimalCase{"1 ", std::nullopt}, DecimalCase{"1,5", std::nullopt}, DecimalCase{"1e", std::nullopt},
                    DecimalCase{"1e+", std::nullopt}, DecimalCase{"inf", std::nullopt},
                    DecimalCase{"-infinity", std::nullopt}, DecimalCase{"nan", std::nullopt},
                    DecimalCase{"0x10", std::nullopt}, DecimalCase{"1e400", std::nullopt},
                    DecimalCase{"-1e400", std::nullopt}, DecimalCase{std::string("1\0", 2), std::nullopt}),
    test::CaseName<DecimalCase>);

TEST(Decimal, FormattedValuesReadBackExactlyAndStayShort) {
  EXPECT_EQ(FormatDecimal(40.0), "40");
  EXPECT_EQ(FormatDecimal(-60.0), "-60");
  EXPECT_EQ(FormatDecimal(12.25), "12.25");
  EXPECT_EQ(FormatDecimal(0.1), "0.1");
  std::mt19937_64 random(7);
  for (int i = 0; i < 10000; ++i) {
    double value = 0;
    do {
      const std::uint64_t bits = random();
      std::memcpy(&value, &bits, sizeof value);
    } while (!std::isfinite(value));
    ASSERT_EQ(ParseDecimal(FormatDecimal(value)), value) << FormatDecimal(value);
  }
}

}  // namespace
}  // namespace palettor
