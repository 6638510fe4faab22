#pragma once
// The static checks of the statement structure, run on the token list after translation.

#include <optional>
#include <span>

#include "formula/diagnostic.h"
#include "formula/token.h"

namespace tarnex::formula {

// Scans the list position by position: statements end in ';', declarations are "float",
// a name and ';' on one line, and no name is declared twice. The first failure is returned
// (check phase).
std::optional<Diagnostic> checkStatements(std::span<const Token> tokens);

}  // namespace tarnex::formula
