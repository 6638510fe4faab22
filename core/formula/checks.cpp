// Static checks. "Looking back" from a position steps to earlier tokens over line ends; the
// first token of the list is examined only by the end-marker check, so that a text of one
// lone word is refused instead of passing as an empty program.

#include "formula/checks.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarnex::formula {

namespace {

constexpr std::ptrdiff_t kNone = -1;

// The nearest token at or before `from` that is not a line end, not earlier than `first`.
std::ptrdiff_t lookBack(std::span<const Token> tokens, std::ptrdiff_t from, std::ptrdiff_t first) {
  for (std::ptrdiff_t k = from; k >= first; --k) {
    if (tokens[static_cast<std::size_t>(k)].kind != TokenKind::LineEnd) return k;
  }
  return kNone;
}

// Passes when nothing is found or the token found is ';'; otherwise message 5 at its line.
std::optional<Diagnostic> expectStatementEnd(std::span<const Token> tokens, std::ptrdiff_t from,
                                             std::ptrdiff_t first) {
  const std::ptrdiff_t k = lookBack(tokens, from, first);
  if (k == kNone) return std::nullopt;
  const Token& found = tokens[static_cast<std::size_t>(k)];
  if (found.kind == TokenKind::Semicolon) return std::nullopt;
  return Diagnostic{Msg::MissingSemicolon, found.line, 0, Phase::Check};
}

// A declaration is "float", a name and ';' on one line, followed by at least one more token
// before the end marker.
std::optional<Diagnostic> checkDeclaration(std::span<const Token> tokens, std::size_t at) {
  const auto kindAt = [&](std::size_t k) {
    return k < tokens.size() ? tokens[k].kind : TokenKind::End;
  };
  const TokenKind name = kindAt(at + 1);
  const bool wellFormed = name != TokenKind::End && name != TokenKind::LineEnd &&
                          kindAt(at + 2) == TokenKind::Semicolon &&
                          kindAt(at + 3) != TokenKind::End;
  if (wellFormed) return std::nullopt;
  const int line = tokens[at].line;
  const bool runsIntoEnd = kindAt(at + 2) == TokenKind::End || kindAt(at + 3) == TokenKind::End;
  if (name == TokenKind::Semicolon && runsIntoEnd) {
    return Diagnostic{Msg::UnknownName, line, 0, Phase::Check};
  }
  return Diagnostic{Msg::BadDeclaration, line, 0, Phase::Check};
}

// For each declaration whose name is declared again later: the position of the next one.
std::vector<std::ptrdiff_t> duplicatePartners(std::span<const Token> tokens) {
  std::vector<std::ptrdiff_t> partner(tokens.size(), kNone);
  std::unordered_map<std::string_view, std::size_t> firstDeclaration;
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind != TokenKind::Float) continue;
    const auto [it, inserted] = firstDeclaration.try_emplace(tokens[i + 1].text, i);
    if (!inserted && partner[it->second] == kNone) {
      partner[it->second] = static_cast<std::ptrdiff_t>(i);
    }
  }
  return partner;
}

}  // namespace

std::optional<Diagnostic> checkStatements(std::span<const Token> tokens) {
  std::vector<std::ptrdiff_t> partner;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const auto pos = static_cast<std::ptrdiff_t>(i);
    std::optional<Diagnostic> failure;
    switch (tokens[i].kind) {
      case TokenKind::Assign:
        // The target stands right before '='; the statement before it must be ended.
        failure = expectStatementEnd(tokens, pos - 2, 1);
        break;
      case TokenKind::Float:
        failure = expectStatementEnd(tokens, pos - 1, 1);
        if (!failure) failure = checkDeclaration(tokens, i);
        if (!failure) {
          if (partner.empty()) partner = duplicatePartners(tokens);
          if (partner[i] != kNone) {
            failure = Diagnostic{Msg::DuplicateDeclaration, tokens[i].line,
                                 tokens[static_cast<std::size_t>(partner[i])].line, Phase::Check};
          }
        }
        break;
      case TokenKind::End:
        failure = expectStatementEnd(tokens, pos - 1, 0);
        break;
      default:
        break;
    }
    if (failure) return failure;
  }
  return std::nullopt;
}

}  // namespace tarnex::formula
