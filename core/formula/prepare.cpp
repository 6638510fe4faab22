// Preparation, in the order the formula language defines it: first all declarations, then
// the targets, then the count of statements against the count of targets.

#include "formula/prepare.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "formula/number_word.h"

namespace tarnex::formula {

namespace {

// The user variables declared so far. A declared name renames every later token spelled
// like it, whatever that token was, so a variable shadows a field only from its declaration
// on. At most 49 names: a linear search is the fastest lookup.
class Declarations {
 public:
  int find(std::string_view name) const {
    for (const auto& [declared, slot] : names_) {
      if (declared == name) return slot;
    }
    return 0;
  }
  bool empty() const { return names_.empty(); }
  bool full() const { return names_.size() >= static_cast<std::size_t>(kMaxVariables); }
  void add(std::string_view name) {
    names_.emplace_back(name, static_cast<int>(names_.size()) + 1);
  }

 private:
  std::vector<std::pair<std::string_view, int>> names_;
};

Token resolveWord(const Token& word, const DialogTable* table) {
  Token out = classifyWord(word);
  if (out.kind != TokenKind::Word) return out;
  const FieldRow* row = table != nullptr ? findField(*table, word.text) : nullptr;
  out.kind = row != nullptr ? TokenKind::Field : TokenKind::Unknown;
  out.ref = row != nullptr ? row->controlId : 0;
  return out;
}

Target targetOf(const Token& token) {
  if (token.kind == TokenKind::Slot || token.kind == TokenKind::Field) {
    return Target{token.kind, token.ref};
  }
  return Target{};  // a number, an operator or anything else cannot be assigned
}

}  // namespace

std::optional<Diagnostic> prepare(std::span<const Token> tokens, const DialogTable* table,
                                  Program& program) {
  // 1. Declarations: "float name ;" leaves the list and gives the name the next slot.
  std::vector<Token> resolved;
  resolved.reserve(tokens.size());
  Declarations declared;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    if (!declared.empty()) {
      if (const int slot = declared.find(token.text); slot != 0) {
        Token ref = token;
        ref.kind = TokenKind::Slot;
        ref.ref = slot;
        resolved.push_back(ref);
        continue;
      }
    }
    if (token.kind == TokenKind::Float && i + 2 < tokens.size()) {
      if (declared.full())
        return Diagnostic{Msg::TooManyVariables, token.line, 0, Phase::Evaluation};
      declared.add(tokens[i + 1].text);
      i += 2;
      continue;
    }
    resolved.push_back(token.kind == TokenKind::Word ? resolveWord(token, table) : token);
  }

  // 2. Targets: the token before each '=' is taken out with it.
  program.code.clear();
  program.code.reserve(resolved.size());
  program.targets.clear();
  if (!resolved.empty() && resolved.front().kind == TokenKind::Assign) {
    return Diagnostic{Msg::MisplacedAssign, 1, 0, Phase::Evaluation};
  }
  // The line of the first ';' that ends a statement without a target, for the count check
  // below (a statement with two '=' does not pass the static checks).
  int mismatchLine = 0;
  bool targeted = false;
  for (const Token& token : resolved) {
    if (token.kind == TokenKind::Semicolon) {
      if (!targeted && mismatchLine == 0) mismatchLine = token.line;
      targeted = false;
    }
    if (token.kind != TokenKind::Assign) {
      program.code.push_back(token);
      continue;
    }
    if (program.code.empty()) {
      return Diagnostic{Msg::MisplacedAssign, token.line, 0, Phase::Evaluation};
    }
    targeted = true;
    program.targets.push_back(targetOf(program.code.back()));
    program.code.pop_back();
  }

  // 3. Every statement needs exactly one target.
  const auto statements =
      std::count_if(program.code.begin(), program.code.end(),
                    [](const Token& t) { return t.kind == TokenKind::Semicolon; });
  if (static_cast<std::size_t>(statements) != program.targets.size()) {
    return Diagnostic{Msg::CountMismatch, std::max(mismatchLine, 1), 0, Phase::Evaluation};
  }
  return std::nullopt;
}

}  // namespace tarnex::formula
