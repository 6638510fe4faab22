#pragma once
// Preparation: declarations become slots, assignment targets leave the token list for the
// target list, and every word is resolved once (number, user variable, field or unknown).

#include <optional>
#include <span>
#include <vector>

#include "formula/diagnostic.h"
#include "formula/token.h"
#include "tables/field_table.h"

namespace tarnex::formula {

// Where a statement's result goes.
struct Target {
  TokenKind kind = TokenKind::Unknown;  // Slot, Field or Unknown
  int ref = 0;                          // slot number or control id
};

// What the stack machine runs: the token list without declarations, targets and '=', and
// the targets in the order of their '=' signs.
struct Program {
  std::vector<Token> code;
  std::vector<Target> targets;
};

// Prepares a token list that passed the checks. `table` gives the field names (nullptr: no
// field is known). Returns the first error (evaluation phase).
std::optional<Diagnostic> prepare(std::span<const Token> tokens, const DialogTable* table,
                                  Program& program);

}  // namespace tarnex::formula
