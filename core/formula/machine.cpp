// Evaluation: one pass over the prepared token list. Numbers and names push values,
// operators combine the top two, ';' stores the single remaining value into the statement's
// target, and a pow call collects its two arguments on the argument stacks.

#include "formula/machine.h"

#include <cmath>

#include "base/number_text.h"

namespace tarnex::formula {

std::optional<Diagnostic> Machine::run() {
  for (const Token& token : program_.code) {
    if (!execute(token)) return error_;
  }
  // A pow call that never met its end: the list ended inside its arguments.
  if (!calls_.empty()) fail(Msg::BadPowCall);
  return error_;
}

bool Machine::fail(Msg number) {
  error_ = Diagnostic{number, lineEnds_ + 1, 0, Phase::Evaluation};
  return false;
}

bool Machine::execute(const Token& token) {
  switch (token.kind) {
    case TokenKind::Number:
      return push(token.number);
    case TokenKind::BadWord:
      return fail(static_cast<Msg>(token.ref));
    case TokenKind::Plus:
    case TokenKind::Minus:
    case TokenKind::Star:
    case TokenKind::Slash:
      return arithmetic(token.kind);
    case TokenKind::Comma:
      return moveArgument(firstArgs_);
    case TokenKind::EndPow:
      if (!moveArgument(secondArgs_)) return false;
      return calls_.empty() || finishCall();
    case TokenKind::Pow:
      calls_.push_back(Call{values_.size(), firstArgs_.size(), secondArgs_.size()});
      return true;
    case TokenKind::LineEnd:
      ++lineEnds_;
      return true;
    case TokenKind::Semicolon:
      return assign();
    case TokenKind::End:
      return true;
    case TokenKind::Slot:
      return push(slots_[static_cast<std::size_t>(token.ref)]);
    case TokenKind::Field:
      return push(fields_.value(token.ref));
    default:  // an unknown name (or a keyword left where no name can stand)
      return fail(Msg::UnknownName);
  }
}

bool Machine::operands(float& a, float& b) {
  if (values_.size() < 2) return fail(Msg::SurplusOperator);
  b = values_.pop();
  a = values_.pop();
  return true;
}

bool Machine::pushOnto(ValueStack& stack, float value) {
  if (stack.full()) return fail(Msg::StackOverflow);
  stack.push(value);
  return true;
}

bool Machine::push(float value) {
  return pushOnto(values_, value);
}

bool Machine::arithmetic(TokenKind op) {
  float a = 0.0f;
  float b = 0.0f;
  if (!operands(a, b)) return false;
  // Computed in double and rounded once: the same as single-precision arithmetic, and
  // toSingle makes an overflow an explicit infinity.
  const double x = a;
  const double y = b;
  switch (op) {
    case TokenKind::Plus:
      return push(toSingle(x + y));
    case TokenKind::Minus:
      return push(toSingle(x - y));
    case TokenKind::Star:
      return push(toSingle(x * y));
    default:
      if (b == 0.0f) return fail(Msg::DivisionByZero);
      return push(toSingle(x / y));
  }
}

bool Machine::moveArgument(ValueStack& arguments) {
  const int base = calls_.empty() ? 0 : calls_.back().values;
  if (values_.size() <= base) return true;  // nothing of this call's own to move
  return pushOnto(arguments, values_.pop());
}

bool Machine::finishCall() {
  const Call call = calls_.back();
  calls_.pop_back();
  const bool twoArguments =
      firstArgs_.size() == call.firstArgs + 1 && secondArgs_.size() == call.secondArgs + 1;
  if (!twoArguments) return fail(Msg::BadPowCall);
  const float base = firstArgs_.at(call.firstArgs);
  const float exponent = secondArgs_.at(call.secondArgs);
  firstArgs_.truncate(call.firstArgs);
  secondArgs_.truncate(call.secondArgs);
  // Not guarded: a negative base with a fractional exponent gives NaN, an overflow infinity,
  // and that value is stored like any other.
  return push(toSingle(std::pow(static_cast<double>(base), static_cast<double>(exponent))));
}

bool Machine::assign() {
  if (values_.size() == 0) return fail(Msg::EmptyStatement);
  if (values_.size() > 1) return fail(Msg::SurplusValue);
  const float value = values_.pop();
  if (nextTarget_ >= program_.targets.size()) return fail(Msg::CountMismatch);
  const Target& target = program_.targets[nextTarget_++];
  switch (target.kind) {
    case TokenKind::Slot:
      slots_[static_cast<std::size_t>(target.ref)] = value;
      return true;
    case TokenKind::Field:
      fields_.setValue(target.ref, value);
      return true;
    default:
      return fail(Msg::UnknownName);
  }
}

}  // namespace tarnex::formula
