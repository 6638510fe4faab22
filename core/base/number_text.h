#pragma once
// Conversions between a design value (single precision) and the text of its edit field.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarnex {

// Stores a double as single precision. A finite value beyond the float range becomes
// +/-infinity explicitly (the plain conversion is undefined behaviour in C++).
float toSingle(double value);

// Field text of a value: six significant digits in the general format ("%.6g"), with the
// exponent written with at least three digits (2e+006, 1e-005). Infinite and undefined
// values are written "inf", "-inf" and "nan" (results of a division by zero and the like).
std::string formatFieldValue(float value);

// The bytes of a field text the dialog reads; the rest is ignored.
inline constexpr std::size_t kFieldReadChars = 31;

// Reads a field text by the dialog rules: at most the first kFieldReadChars (31) bytes; leading
// blanks and tabs skipped; a decimal (strtod) number in the C locale; a result of 0 is valid only
// when the text starts with '0', after an optional sign ("-0" reads as 0, never as a negative
// zero); only blanks and tabs may follow; the value must be finite in single precision
// ("nan", "inf" and 1e39 are not numbers). nullopt when invalid.
std::optional<float> parseFieldText(std::string_view text);

}  // namespace tarnex
