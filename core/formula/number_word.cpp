// Number words are converted digit by digit rather than by a library parser, so that the
// value of a formula constant is the one the formula language has always produced: the
// fraction is built from the single-precision tenth (0.100000001490116), not from 0.1.

#include "formula/number_word.h"

#include <algorithm>
#include <cstdint>

#include "base/number_text.h"
#include "formula/diagnostic.h"

namespace tarnex::formula {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

float numberValue(std::string_view digits) {
  const std::size_t point = std::min(digits.find('.'), digits.size());
  // Integer part, from the last digit to the first, place value times ten after each digit.
  // Nine digits keep both the place value and the sum inside 32 bits.
  std::int32_t integer = 0;
  std::int32_t place = 1;
  for (std::size_t k = point; k > 0; --k) {
    integer += (digits[k - 1] - '0') * place;
    if (k > 1) place *= 10;
  }
  long double sum = integer;
  float multiplier = toSingle(0.1);
  for (std::size_t k = point + 1; k < digits.size(); ++k) {
    sum += static_cast<long double>(digits[k] - '0') * multiplier;
    multiplier = toSingle(static_cast<double>(multiplier) * 0.1);
  }
  return toSingle(static_cast<double>(sum));
}

Token classifyWord(const Token& word) {
  Token out = word;
  const std::string_view text = word.text;
  const auto points = std::count(text.begin(), text.end(), '.');
  const bool leadingPoint = !text.empty() && text.front() == '.';
  if (leadingPoint || points >= 2) {
    out.kind = TokenKind::BadWord;
    out.ref = static_cast<int>(leadingPoint ? Msg::LeadingPoint : Msg::SeveralPoints);
    return out;
  }
  if (!std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '.'; })) {
    return out;  // a name
  }
  const std::size_t integerDigits = std::min(text.find('.'), text.size());
  if (integerDigits > static_cast<std::size_t>(kMaxIntegerDigits)) {
    out.kind = TokenKind::BadWord;
    out.ref = static_cast<int>(Msg::IntegerTooLong);
    return out;
  }
  out.kind = TokenKind::Number;
  out.number = numberValue(text);
  return out;
}

}  // namespace tarnex::formula
