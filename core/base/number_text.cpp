#include "base/number_text.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

static_assert(std::numeric_limits<float>::is_iec559, "design values need IEEE single precision");
static_assert(std::numeric_limits<double>::is_iec559, "design values need IEEE double precision");

namespace tarnex {

namespace {

// The "C" locale, so that a decimal point is '.' whatever locale the desktop runs in.
locale_t cLocale() {
  static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

float toSingle(double value) {
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  constexpr double kMax = std::numeric_limits<float>::max();
  // Values between FLT_MAX and the point halfway to the next power of two still round to
  // FLT_MAX; the conversion is defined for everything the float range can round to.
  constexpr double kRoundLimit = 3.4028235677973366e38;  // FLT_MAX + half an ulp
  if (value >= kRoundLimit) return std::numeric_limits<float>::infinity();
  if (value <= -kRoundLimit) return -std::numeric_limits<float>::infinity();
  if (value > kMax) return std::numeric_limits<float>::max();
  if (value < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

std::string formatFieldValue(float value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  // Negative zero would show as "-0", which the field rules then refuse to read back.
  if (value == 0.0f) return "0";
  // to_chars in the general format with a precision is the printf conversion "%.6g" of the
  // same double, byte for byte, without the locale and the parsing of a format string.
  char buf[32];
  const std::to_chars_result written = std::to_chars(
      buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general, 6);
  std::string text(buf, written.ptr);
  // The dialog convention writes the exponent with at least three digits: 2e+006.
  const auto e = text.find('e');
  if (e != std::string::npos && e + 2 < text.size()) {
    const std::size_t digits = text.size() - (e + 2);
    if (digits < 3) text.insert(e + 2, 3 - digits, '0');
  }
  return text;
}

std::optional<float> parseFieldText(std::string_view text) {
  const std::string limited(text.substr(0, kFieldReadChars));
  std::size_t start = 0;
  while (start < limited.size() && isBlank(limited[start])) ++start;
  const char* begin = limited.c_str() + start;
  char* end = nullptr;
  const double value = strtod_l(begin, &end, cLocale());
  // strtod gives 0 for a text it cannot read, so a zero counts only when the text is one:
  // "0", or a signed "-0" / "+0", read as 0.
  const char* digits = (*begin == '-' || *begin == '+') ? begin + 1 : begin;
  if (value == 0.0 && *digits != '0') return std::nullopt;
  for (const char* p = end; *p != '\0'; ++p) {
    if (!isBlank(*p)) return std::nullopt;
  }
  // "nan", "inf" and a number beyond the single-precision range (1e39) are no design value.
  const float single = toSingle(value);
  if (!std::isfinite(single)) return std::nullopt;
  return single == 0.0f ? 0.0f : single;  // never a negative zero
}

}  // namespace tarnex
