// The reader's translation into postfix order, seen through the token listing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/listing.h"
#include "formula/reader.h"

namespace tarnex::formula {
namespace {

struct TranslationCase {
  const char* text;
  const char* tokens;
};

void PrintTo(const TranslationCase& c, std::ostream* os) {
  *os << ::testing::PrintToString(std::string(c.text));
}

class Translation : public ::testing::TestWithParam<TranslationCase> {};

TEST_P(Translation, GivesPostfixTokens) {
  std::vector<Token> tokens;
  ASSERT_FALSE(translate(GetParam().text, tokens).has_value()) << GetParam().text;
  EXPECT_EQ(listing(tokens), GetParam().tokens);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Translation,
    ::testing::Values(TranslationCase{"a = 2 + 3 * 4;", "a = 2 3 4 * + ; #"},
                      TranslationCase{"a = 8 - 2 - 1;", "a = 8 2 - 1 - ; #"},
                      TranslationCase{"a = (8 - 2) / b;", "a = 8 2 - b / ; #"},
                      TranslationCase{"a = -3 * 2;", "a = 0 3 - 2 * ; #"},
                      TranslationCase{"a = -(1+2)*2;", "a = 0 1 2 + - 2 * ; #"},
                      TranslationCase{"a = -pow(2,3);", "a = 0 pow 2 , 3 endpow - ; #"},
                      TranslationCase{"a = pow(-2,3);", "a = pow 0 2 - , 3 endpow ; #"},
                      TranslationCase{"a = pow(pow(2,2),x+1);",
                                      "a = pow pow 2 , 2 endpow , x 1 + endpow ; #"},
                      TranslationCase{"a = 1;\r\nb = 2; // 注释\nc", "a = 1 ; ¶ b = 2 ; ¶ c #"},
                      TranslationCase{"a = 1;\nb = 2;\n", "a = 1 ; ¶ b = 2 ; ¶ #"},
                      TranslationCase{"a = 1;\r\n\r\n", "a = 1 ; ¶ ¶ #"},
                      TranslationCase{"float x;\rx = 1.5;", "float x ; ¶ x = 1.5 ; #"},
                      TranslationCase{"", "#"}));

}  // namespace
}  // namespace tarnex::formula
