#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaseName.h"
#include "ControlCharacters.h"

namespace palettor {
namespace {

struct EscapeCase {
  std::string text;
  std::string shown;
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.shown; }

class Escaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, WritesOutEveryControlCharacterAndKeepsTheRest) {
  EXPECT_EQ(EscapeControlCharacters(GetParam().text), GetParam().shown);
  EXPECT_FALSE(HasControlCharacters(EscapeControlCharacters(GetParam().text)));
}

INSTANTIATE_TEST_SUITE_P(Texts, Escaping,
                         testing::Values(EscapeCase{"/opt/sky/Skyreader", "/opt/sky/Skyreader"},
                                         EscapeCase{"D:\\Sky\\Skyreader.exe", "D:\\Sky\\Skyreader.exe"},
                                         EscapeCase{"/a\nOther\t/evil", "/a\\nOther\\t/evil"},
                                         EscapeCase{"line\r", "line\\r"}, EscapeCase{"\x1b[2J", "\\x1b[2J"},
                                         EscapeCase{std::string("a\0b", 3), "a\\x00b"}, EscapeCase{"\x7f", "\\x7f"},
                                         EscapeCase{"Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xC3\xA9 \xE2\x82\xAC"},
                                         EscapeCase{"\xC2\x9B"
                                                    "31m",
                                                    "\\u009b31m"},  // C1 control sequence introducer
                                         EscapeCase{"\x9B"
                                                    "31m",
                                                    "\\x9b31m"},                // the same as a lone byte
                                         // Bidirectional overrides, embeddings and isolates; their
                                         // neighbours U+2029, U+202F and U+2065 stay.
                                         EscapeCase{"invoice\xE2\x80\xAE"
                                                    "fdp.exe",
                                                    "invoice\\u202efdp.exe"},
                                         EscapeCase{"\xE2\x80\xAA\xE2\x80\xAB\xE2\x80\xAC\xE2\x80\xAD",
                                                    "\\u202a\\u202b\\u202c\\u202d"},
                                         EscapeCase{"\xE2\x81\xA6x\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9",
                                                    "\\u2066x\\u2067\\u2068\\u2069"},
                                         EscapeCase{"\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5",
                                                    "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5"},
                                         EscapeCase{"\xC3", "\\xc3"},           // cut-off sequence
                                         EscapeCase{"\xC0\xAF", "\\xc0\\xaf"},  // overlong '/'
                                         EscapeCase{"\xED\xA0\x80", "\\xed\\xa0\\x80"}),
                         test::CaseName<EscapeCase>);  // surrogate

TEST(ControlCharacters, AreFoundWhereverTheyAre) {
  EXPECT_FALSE(HasControlCharacters("/opt/sky/Skyreader \xC3\xA9"));
  EXPECT_FALSE(HasControlCharacters(""));
  for (const std::string& text :
       std::vector<std::string>{"\n", "a\tb", "x\x1b", "\x7f", "\xC2\x85", std::string("\0", 1)}) {
    EXPECT_TRUE(HasControlCharacters(text)) << EscapeControlCharacters(text);
  }
}

}  // namespace
}  // namespace palettor
