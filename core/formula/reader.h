#pragma once
// Reading and translation: the bytes of a formula text become the postfix token list.

#include <optional>
#include <string_view>
#include <vector>

#include "formula/diagnostic.h"
#include "formula/token.h"

namespace tarnex::formula {

// Translates `text` (the bytes before the first '#') into `tokens`, ending with the end
// marker. Stops at the first error and returns it (check phase); `tokens` then holds what was
// read so far.
std::optional<Diagnostic> translate(std::string_view text, std::vector<Token>& tokens);

// Whether `text` holds a statement: any byte but blanks, line ends and comments before the
// first '#'. A text without one computes nothing.
bool holdsStatement(std::string_view text);

}  // namespace tarnex::formula
