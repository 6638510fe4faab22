#include "formula/listing.h"

namespace tarnex::formula {

std::string listing(std::span<const Token> tokens) {
  std::string out;
  for (const Token& token : tokens) {
    if (!out.empty()) out += ' ';
    out += token.kind == TokenKind::LineEnd ? std::string_view("¶") : token.text;
  }
  return out;
}

}  // namespace tarnex::formula
