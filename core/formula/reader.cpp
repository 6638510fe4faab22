// The reader takes the formula text one byte at a time and translates each statement into
// postfix order with an operator stack (shunting-yard), so that the stack machine needs no
// parentheses: "a = 2 + 3 * 4;" becomes  a = 2 3 4 * + ;

#include "formula/reader.h"

#include <algorithm>
#include <array>

namespace tarnex::formula {

namespace {

// What waits on the operator stack. The bottom is always the sentinel.
enum class Mark : std::uint8_t {
  Sentinel,
  Call,          // the '(' of a pow call: closing it emits "endpow"
  Paren,         // '(' (also the implicit one a unary minus opens)
  NegatedGroup,  // '(' right after a unary minus: the minus applies to the whole group
  Plus,
  Minus,
  Star,
  Slash,
};

// The operator table. An incoming binary operator first pops every pending mark whose
// precedence is at least its own, so all four operators are left-associative and '*' '/'
// bind tighter than '+' '-'. Parentheses and the two bottom marks are never popped by an
// operator: only ')', ',', ';' and the end of a unary minus remove them.
struct MarkRule {
  int precedence;
  TokenKind emits;  // the token appended when the mark is popped (operators only)
  std::string_view spelling;
};
constexpr std::array<MarkRule, 8> kMarkRules{{
    /* Sentinel     */ {0, TokenKind::End, "#"},
    /* Call         */ {1, TokenKind::EndPow, "endpow"},
    /* Paren        */ {2, TokenKind::End, "("},
    /* NegatedGroup */ {2, TokenKind::End, "("},
    /* Plus         */ {3, TokenKind::Plus, "+"},
    /* Minus        */ {3, TokenKind::Minus, "-"},
    /* Star         */ {4, TokenKind::Star, "*"},
    /* Slash        */ {4, TokenKind::Slash, "/"},
}};

const MarkRule& rule(Mark mark) {
  return kMarkRules[static_cast<std::size_t>(mark)];
}
bool isOperatorMark(Mark mark) {
  return mark >= Mark::Plus;
}
bool isParenMark(Mark mark) {
  return mark == Mark::Paren || mark == Mark::NegatedGroup;
}

bool isWordByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.';
}

TokenKind wordKind(std::string_view word) {
  if (word == "float") return TokenKind::Float;
  if (word == "pow") return TokenKind::Pow;
  if (word == "endpow") return TokenKind::EndPow;
  if (word == "char13linechg") return TokenKind::LineEnd;
  return TokenKind::Word;
}

class Reader {
 public:
  Reader(std::string_view text, std::vector<Token>& tokens) : text_(text), tokens_(tokens) {
    marks_[0] = Mark::Sentinel;
  }

  std::optional<Diagnostic> run() {
    while (pos_ < text_.size() && !error_) step();
    if (!error_) append(TokenKind::End, "#");
    return error_;
  }

 private:
  void step() {
    const char c = text_[pos_];
    if (comment_) {
      // A comment runs to the LF that ends its line; that LF counts as a line end.
      if (c == '\n') {
        comment_ = false;
        append(TokenKind::LineEnd, "char13linechg");
      }
      ++pos_;
      return;
    }
    if (isWordByte(c)) {
      word();
      return;
    }
    ++pos_;
    switch (c) {
      case ' ':
        break;
      case '\n':
        // A line ends at CR, at LF, or at the pair CR LF, which counts once: files written
        // on Windows (CR LF) and on Linux (LF) number their lines alike.
        if (pos_ < 2 || text_[pos_ - 2] != '\r') append(TokenKind::LineEnd, "char13linechg");
        break;
      case '\r':
        append(TokenKind::LineEnd, "char13linechg");
        break;
      case '=':
        append(TokenKind::Assign, "=");
        break;
      case ';':
        semicolon();
        break;
      case '(':
        openParen();
        break;
      case ')':
        closeParen();
        break;
      case ',':
        comma();
        break;
      case '/':
        if (next() == '/') {
          comment_ = true;
          ++pos_;
        } else {
          binaryOrUnary(Mark::Slash);
        }
        break;
      case '+':
        binaryOrUnary(Mark::Plus);
        break;
      case '-':
        binaryOrUnary(Mark::Minus);
        break;
      case '*':
        binaryOrUnary(Mark::Star);
        break;
      default:
        fail(Msg::IllegalByte);
        break;
    }
  }

  char next() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  // The next byte that is not a blank: "pow(0, -1)" negates as "pow(0,-1)" does.
  char nextAfterSpaces() const {
    const std::size_t at = text_.find_first_not_of(' ', pos_);
    return at < text_.size() ? text_[at] : '\0';
  }

  void fail(Msg number) {
    if (!error_) error_ = Diagnostic{number, line_, 0, Phase::Check};
  }

  void append(TokenKind kind, std::string_view spelling) {
    if (error_) return;
    if (tokens_.size() >= static_cast<std::size_t>(kMaxTokens)) {
      fail(Msg::TooManyTokens);
      return;
    }
    tokens_.push_back(Token{spelling, kind, line_});
    if (kind == TokenKind::LineEnd) ++line_;
  }

  Mark top() const { return marks_[depth_]; }
  void pop() {
    if (depth_ > 0) --depth_;  // the sentinel stays
  }
  void push(Mark mark) {
    if (error_) return;
    if (depth_ >= kMaxPendingOperators) {
      fail(Msg::NestingTooDeep);
      return;
    }
    marks_[++depth_] = mark;
  }
  void emit(Mark op) { append(rule(op).emits, rule(op).spelling); }

  void word() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && isWordByte(text_[pos_])) ++pos_;
    if (pos_ - start > static_cast<std::size_t>(kMaxWordChars)) {
      fail(Msg::WordTooLong);
      return;
    }
    const std::string_view text = text_.substr(start, pos_ - start);
    const TokenKind kind = wordKind(text);
    append(kind, text);
    if (kind == TokenKind::Pow) {
      // A minus in front of pow waits for the call's '(' and then negates the whole call.
      powFlag_ = true;
      return;
    }
    if (pendingUnary_) {
      pendingUnary_ = false;
      closeUnary();
    }
  }

  // Ends the implicit parenthesis of a unary minus: "0 x -" is complete.
  void closeUnary() { popThroughGroup(Msg::UnaryNotClosed); }

  // Emits the pending operators down to the innermost '(' or call mark and removes that
  // group; `unopened` is raised when no group is open.
  void popThroughGroup(Msg unopened) {
    while (!error_) {
      const Mark mark = top();
      if (isOperatorMark(mark)) {
        pop();
        emit(mark);
      } else if (mark == Mark::Sentinel) {
        fail(unopened);
      } else {
        closeGroup();
        return;
      }
    }
  }

  // Removes the '(' or call mark on top (with the '(' under a call mark). A group that a
  // unary minus waited for ends that minus too.
  void closeGroup() {
    const bool call = top() == Mark::Call;
    if (call) pop();
    const bool negated = top() == Mark::NegatedGroup;
    if (isParenMark(top())) pop();
    if (call) append(TokenKind::EndPow, "endpow");
    if (negated) closeUnary();
  }

  void semicolon() {
    while (!error_ && top() != Mark::Sentinel) {
      const Mark mark = top();
      if (isParenMark(mark)) {
        fail(Msg::MissingCloseParen);
        return;
      }
      pop();
      if (isOperatorMark(mark)) emit(mark);
    }
    append(TokenKind::Semicolon, ";");
  }

  void openParen() {
    push(pendingUnary_ ? Mark::NegatedGroup : Mark::Paren);
    pendingUnary_ = false;
    if (powFlag_) {
      push(Mark::Call);
      powFlag_ = false;
    }
    if (nextAfterSpaces() == '-') negativeArgument_ = true;
  }

  void closeParen() { popThroughGroup(Msg::MissingOpenParen); }

  void comma() {
    while (!error_) {
      const Mark mark = top();
      if (isOperatorMark(mark)) {
        pop();
        emit(mark);
      } else if (isParenMark(mark)) {
        pop();
      } else if (mark == Mark::Call) {
        append(TokenKind::Comma, ",");
        break;
      } else {
        fail(Msg::MisplacedComma);
      }
    }
    if (nextAfterSpaces() == '-') negativeArgument_ = true;
  }

  void binaryOrUnary(Mark op) {
    if (tokens_.empty()) {
      fail(Msg::LeadingOperator);
      return;
    }
    const bool afterAssign = tokens_.back().kind == TokenKind::Assign;
    if ((op == Mark::Minus && afterAssign) || negativeArgument_) {
      // A unary minus: 0 in front, the subtraction behind the next operand.
      append(TokenKind::Word, "0");
      negativeArgument_ = false;
      push(Mark::Paren);
      push(Mark::Minus);
      pendingUnary_ = true;
      return;
    }
    const int precedence = rule(op).precedence;
    while (!error_ && rule(top()).precedence >= precedence) {
      const Mark mark = top();
      pop();
      emit(mark);
    }
    push(op);
  }

  std::string_view text_;
  std::vector<Token>& tokens_;
  std::size_t pos_ = 0;
  int line_ = 1;
  std::array<Mark, kMaxPendingOperators + 1> marks_{};
  int depth_ = 0;  // index of the top mark; 0 is the sentinel
  bool powFlag_ = false;
  bool negativeArgument_ = false;
  bool pendingUnary_ = false;
  bool comment_ = false;
  std::optional<Diagnostic> error_;
};

}  // namespace

std::optional<Diagnostic> translate(std::string_view text, std::vector<Token>& tokens) {
  tokens.clear();
  tokens.reserve(std::min<std::size_t>(text.size() + 1, kMaxTokens));
  return Reader(text, tokens).run();
}

bool holdsStatement(std::string_view text) {
  bool comment = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '#') break;
    if (comment) {
      comment = c != '\n';
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      comment = true;
      ++i;
    } else if (c != ' ' && c != '\r' && c != '\n') {
      return true;
    }
  }
  return false;
}

}  // namespace tarnex::formula
