#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CaseName.h"
#include "WholeNumber.h"

namespace palettor {
namespace {

struct NumberCase {
  std::string text;
  std::optional<std::int32_t> value;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class WholeNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumber, ReadsOnlyASignAndDigitsThatFitIn32Bits) {
  EXPECT_EQ(ParseWholeNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WholeNumber,
    testing::Values(NumberCase{"0", 0}, NumberCase{"360", 360}, NumberCase{"+7", 7}, NumberCase{"-60", -60},
                    NumberCase{"007", 7}, NumberCase{"-0", 0}, NumberCase{"2147483647", 2147483647},
                    NumberCase{"-2147483648", INT32_MIN}, NumberCase{"00000000000000000012", 12},
                    NumberCase{"2147483648", std::nullopt}, NumberCase{"-2147483649", std::nullopt},
                    NumberCase{"99999999999999999999999", std::nullopt}, NumberCase{"", std::nullopt},
                    NumberCase{"-", std::nullopt}, NumberCase{"+-1", std::nullopt}, NumberCase{" 5", std::nullopt},
                    NumberCase{"5 ", std::nullopt}, NumberCase{"1.5", std::nullopt}, NumberCase{"1e2", std::nullopt},
                    NumberCase{"0x10", std::nullopt}, NumberCase{"ten", std::nullopt},
                    NumberCase{std::string("1\0", 2), std::nullopt}),
    test::CaseName<NumberCase>);

TEST(WholeNumberIn, BoundsAreInclusive) {
  EXPECT_EQ(ParseWholeNumberIn("0", 0, 360), 0);
  EXPECT_EQ(ParseWholeNumberIn("360", 0, 360), 360);
  EXPECT_EQ(ParseWholeNumberIn("361", 0, 360), std::nullopt);
  EXPECT_EQ(ParseWholeNumberIn("-1", 0, 360), std::nullopt);
  EXPECT_EQ(ParseWholeNumberIn("x", 0, 360), std::nullopt);
}

}  // namespace
}  // namespace palettor
