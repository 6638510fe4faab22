#pragma once
// Classifying a word and converting a number word digit by digit.

#include <string_view>

#include "formula/token.h"

namespace tarnex::formula {

// Gives a word its kind: a Number with its value, a BadWord with the message it raises
// (several points, a leading point, too many integer digits), or a Word still to be
// looked up as a name.
Token classifyWord(const Token& word);

// The value of a word made of digits and at most one '.', with at most kMaxIntegerDigits
// digits before the point: the integer part in 32-bit integer arithmetic, the fraction
// digit by digit with single-precision place values, the sum rounded to single precision.
float numberValue(std::string_view digits);

}  // namespace tarnex::formula
