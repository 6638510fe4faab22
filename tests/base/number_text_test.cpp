#include "base/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tarnex {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNan = std::numeric_limits<float>::quiet_NaN();

TEST(FormatFieldValue, WritesSixDigitsWithThreeDigitExponent) {
  const std::pair<float, const char*> cases[] = {
      {1234567.0f, "1.23457e+006"},
      {0.5f, "0.5"},
      {100.0f, "100"},
      {2000000.0f, "2e+006"},
      {0.00001f, "1e-005"},
      {0.0001f, "0.0001"},
      {999999.0f, "999999"},
      {9999995.0f, "1e+007"},
      {95.10869f, "95.1087"},
      {-12.5f, "-12.5"},
      {1e38f, "1e+038"},
      {1e-38f, "1e-038"},
      {0.0f, "0"},
      {-0.0f, "0"},
      {kInf, "inf"},
      {-kInf, "-inf"},
      {kNan, "nan"},
      {-kNan, "nan"},
      // The value is widened to double before formatting: 0.1f shows 0.1.
      {0.1f, "0.1"},
      {1.0f / 3.0f, "0.333333"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(formatFieldValue(value), text);
}

TEST(ParseFieldText, FollowsTheFieldRules) {
  const struct {
    const char* text;
    bool valid;
    float value;
  } cases[] = {{" 12 ", true, 12.0f},
               {"1e3", true, 1000.0f},
               {"\t7\t", true, 7.0f},
               {"0.0", true, 0.0f},
               {".5", true, 0.5f},
               {"0", true, 0.0f},
               {"-3.25", true, -3.25f},
               {"+4", true, 4.0f},
               {"1.23457e+006", true, 1234570.0f},
               // A zero result is valid only when the text begins with the digit 0, after a sign.
               {"-0", true, 0.0f},
               {" +0.0", true, 0.0f},
               {"-.0", false, 0},
               {".0", false, 0},
               {"-", false, 0},
               {"", false, 0},
               {"   ", false, 0},
               {"1e-400", false, 0},
               // Only blanks and tabs may follow the number.
               {"12a", false, 0},
               {"12 a", false, 0},
               {"1,5", false, 0},
               {"abc", false, 0},
               {"12\n", false, 0},
               // Only the first 31 characters count: the letter at 32 is never seen.
               {"1                              x", true, 1.0f},
               {"1                             x", false, 0},
               // Not finite in single precision: no number, whatever the spelling.
               {"1e39", false, 0},
               {"-1e39", false, 0},
               {"inf", false, 0},
               {"-inf", false, 0},
               {"nan", false, 0},
               {" INFINITY", false, 0},
               // The largest float and the values that still round to it are numbers.
               {"3.4028235e38", true, std::numeric_limits<float>::max()},
               {"3.40282356e38", true, std::numeric_limits<float>::max()}};
  for (const auto& c : cases) {
    const auto parsed = parseFieldText(c.text);
    ASSERT_EQ(parsed.has_value(), c.valid) << '"' << c.text << '"';
    if (parsed) {
      EXPECT_EQ(*parsed, c.value) << c.text;
      EXPECT_FALSE(*parsed == 0.0f && std::signbit(*parsed)) << "a negative zero";
    }
  }
}

// The field text is the C library's "%.6g" of the value widened to double, with the exponent
// padded to three digits. Compared over every kind of float: powers of ten, ties at the
// seventh digit (whole numbers ending in 5 and 50, exact in single precision), subnormals
// and a fixed-seed sample of bit patterns.
std::string printfFieldText(float value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6g", static_cast<double>(value));
  std::string text(buf);
  const auto e = text.find('e');
  if (e != std::string::npos) {
    while (text.size() - (e + 2) < 3) text.insert(e + 2, 1, '0');
  }
  return text;
}

TEST(FormatFieldValue, AgreesWithPrintfOverEveryKindOfFloat) {
  std::vector<float> values;
  for (int k = -45; k <= 38; ++k) values.push_back(std::pow(10.0f, static_cast<float>(k)));
  for (int n = 1000005; n < 10000000; n += 70) values.push_back(static_cast<float>(n));
  for (int n = 10000050; n < 16777216; n += 1000) values.push_back(static_cast<float>(n));
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::uint32_t> bits;
  for (int i = 0; i < 200000; ++i) {
    std::uint32_t pattern = bits(random);
    if (i % 8 == 0) pattern &= 0x807FFFFFu;  // a subnormal
    values.push_back(std::bit_cast<float>(pattern));
  }
  int compared = 0;
  for (const float v : values) {
    if (!std::isfinite(v) || v == 0.0f) continue;  // written "inf", "nan" and "0" (table above)
    ASSERT_EQ(formatFieldValue(v), printfFieldText(v)) << std::bit_cast<std::uint32_t>(v);
    ++compared;
  }
  EXPECT_GT(compared, 200000);
}

TEST(ParseFieldText, ReadsBackWhatFormattingWrote) {
  for (float v : {0.0f, 1.0f, 95.1087f, 2e6f, 1e-5f, -7.5f, 3.4e38f}) {
    const auto back = parseFieldText(formatFieldValue(v));
    ASSERT_TRUE(back.has_value()) << v;
    EXPECT_EQ(formatFieldValue(*back), formatFieldValue(v));
  }
}

TEST(ToSingle, SaturatesBeyondTheFloatRange) {
  EXPECT_EQ(toSingle(1e300), std::numeric_limits<float>::infinity());
  EXPECT_EQ(toSingle(-1e300), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(toSingle(3.4028235e38), std::numeric_limits<float>::max());
  EXPECT_EQ(toSingle(0.1), 0.1f);
  EXPECT_TRUE(std::isnan(toSingle(std::nan(""))));
}

}  // namespace
}  // namespace tarnex
