// Escaping of tarnex-calc's two output forms.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "output.h"

namespace tarnex::calc {
namespace {

struct EscapeCase {
  std::string text;
  std::string json;
};

void PrintTo(const EscapeCase& c, std::ostream* os) {
  *os << c.json;
}

class JsonStringTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonStringTest, Escapes) {
  EXPECT_EQ(jsonString(GetParam().text), GetParam().json);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStringTest,
    ::testing::Values(EscapeCase{"", "\"\""}, EscapeCase{"a\"b\\c", "\"a\\\"b\\\\c\""},
                      EscapeCase{"1\n2\r\t", "\"1\\n2\\r\\t\""},
                      EscapeCase{std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
                      EscapeCase{std::string("x\0y", 3), "\"x\\u0000y\""},
                      // UTF-8 passes as it is; stray bytes (a GBK pair) become U+FFFD.
                      EscapeCase{"注意 µH", "\"注意 µH\""},
                      EscapeCase{"\xb4\xed", "\"\\ufffd\\ufffd\""},
                      EscapeCase{"\xe6\xb3", "\"\\ufffd\\ufffd\""},             // cut short
                      EscapeCase{"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},  // surrogate
                      EscapeCase{"\xc0\xaf", "\"\\ufffd\\ufffd\""}));           // overlong

TEST(TabLine, JoinsColumnsAndEscapesControlBytes) {
  EXPECT_EQ(tabLine({"message", {"错误", "a\nb\tc\r"}}), "message\t错误\ta\\nb\\tc\\r");
  EXPECT_EQ(tabLine({"field", {"L", ""}}), "field\tL\t");
  EXPECT_EQ(tabLine({"title", {}}), "title");
  // A caption 1=a<NUL>b; of an interface file: no raw control byte reaches the output.
  EXPECT_EQ(tabLine({"caption", {"1265", std::string("a\0b\x1f\x7f", 5)}}),
            "caption\t1265\ta\\u0000b\\u001f\\u007f");
  EXPECT_EQ(tabLine({"field", {"a\\nb"}}), "field\ta\\\\nb");
}

}  // namespace
}  // namespace tarnex::calc
