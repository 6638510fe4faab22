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

}  // namespace tarnex::formula
