// The reader's translation into postfix order, seen through the token listing.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "formula/listing.h"
#include "formula/reader.h"

namespace tarnex::formula {
namespace {

TEST(Translation, GivesPostfixTokens) {
  const std::pair<const char*, const char*> cases[] = {
      {"a = 2 + 3 * 4;", "a = 2 3 4 * + ; #"},
      {"a = 8 - 2 - 1;", "a = 8 2 - 1 - ; #"},
      {"a = (8 - 2) / b;", "a = 8 2 - b / ; #"},
      {"a = -3 * 2;", "a = 0 3 - 2 * ; #"},
      {"a = -(1+2)*2;", "a = 0 1 2 + - 2 * ; #"},
      {"a = -pow(2,3);", "a = 0 pow 2 , 3 endpow - ; #"},
      {"a = pow(-2,3);", "a = pow 0 2 - , 3 endpow ; #"},
      {"a = pow(pow(2,2),x+1);", "a = pow pow 2 , 2 endpow , x 1 + endpow ; #"},
      {"a = 1;\r\nb = 2; // 注释\nc", "a = 1 ; ¶ b = 2 ; ¶ c #"},
      {"a = 1;\nb = 2;\n", "a = 1 ; ¶ b = 2 ; ¶ #"},
      {"a = 1;\r\n\r\n", "a = 1 ; ¶ ¶ #"},
      {"float x;\rx = 1.5;", "float x ; ¶ x = 1.5 ; #"},
      {"", "#"}};
  for (const auto& [text, listed] : cases) {
    std::vector<Token> tokens;
    ASSERT_FALSE(translate(text, tokens).has_value()) << ::testing::PrintToString(text);
    EXPECT_EQ(listing(tokens), listed) << ::testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace tarnex::formula
