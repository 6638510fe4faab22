#pragma once
// A readable listing of a token list, for debugging a formula and for tests of the
// translation: spellings separated by blanks, a line end shown as "¶".

#include <span>
#include <string>

#include "formula/token.h"

namespace tarnex::formula {

std::string listing(std::span<const Token> tokens);

}  // namespace tarnex::formula
