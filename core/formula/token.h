#pragma once
// The token list: what the reader makes of a formula text, in postfix order, and what
// preparation turns it into before the stack machine runs it.

#include <cstdint>
#include <string_view>

namespace tarnex::formula {

// Limits of the interpreter's working memory.
inline constexpr int kMaxTokens = 5000;          // line ends and the end marker included
inline constexpr int kMaxWordChars = 49;         // characters of one name or number
inline constexpr int kMaxPendingOperators = 49;  // operators, '(' and call marks waiting
inline constexpr int kStackValues = 50;          // each of the three value stacks
inline constexpr int kMaxVariables = 49;         // declared user variables (slots 1..49)
inline constexpr int kMaxIntegerDigits = 9;      // digits before the point of a number

enum class TokenKind : std::uint8_t {
  // Made by the reader.
  Word,       // a run of letters, digits and '.': a name or a number
  Assign,     // "="
  Semicolon,  // ";"
  Plus,
  Minus,
  Star,
  Slash,
  Comma,    // "," ends the first argument of pow
  EndPow,   // "endpow" ends a pow call
  LineEnd,  // "char13linechg", one per counted line end
  End,      // "#" after the whole text
  Float,    // keyword of a declaration
  Pow,      // keyword of the power function
  // Given by preparation to the words (and to anything a declaration renamed).
  Number,   // `number` holds its single-precision value
  BadWord,  // a malformed number; `ref` holds the Msg it raises when evaluated
  Slot,     // a user variable; `ref` is its slot, 1..49
  Field,    // a field variable of the binding table; `ref` is its control id
  Unknown,  // neither declared nor bound
};

struct Token {
  // A slice of the formula text, or the spelling of a token the reader adds ("0", "endpow",
  // "char13linechg", "#"). Two tokens are "equal" when their spellings are.
  std::string_view text;
  TokenKind kind = TokenKind::Word;
  int line = 1;  // 1 plus the number of line-end tokens before it
  float number = 0.0f;
  int ref = 0;
};

inline bool isOperator(TokenKind kind) {
  return kind == TokenKind::Plus || kind == TokenKind::Minus || kind == TokenKind::Star ||
         kind == TokenKind::Slash;
}

}  // namespace tarnex::formula
