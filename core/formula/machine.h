#pragma once
// The stack machine that runs a prepared formula program against a dialog's numbers.

#include <array>
#include <optional>
#include <vector>

#include "base/field_values.h"
#include "formula/diagnostic.h"
#include "formula/prepare.h"

namespace tarnex::formula {

// A stack of single-precision values of fixed capacity.
class ValueStack {
 public:
  bool full() const { return size_ == kStackValues; }
  int size() const { return size_; }
  void push(float value) { values_[static_cast<std::size_t>(size_++)] = value; }
  float pop() { return values_[static_cast<std::size_t>(--size_)]; }
  float at(int index) const { return values_[static_cast<std::size_t>(index)]; }
  void truncate(int size) { size_ = size < size_ ? size : size_; }

 private:
  std::array<float, kStackValues> values_{};
  int size_ = 0;
};

class Machine {
 public:
  Machine(const Program& program, FieldValues& fields) : program_(program), fields_(fields) {}

  // Runs every statement in order; assignments take effect at once. Returns the first error
  // (evaluation phase); the assignments before it stay made.
  std::optional<Diagnostic> run();

 private:
  // A pow call in progress: the stack heights when it began. A call uses only the values
  // that its own arguments put on the argument stacks.
  struct Call {
    int values;
    int firstArgs;
    int secondArgs;
  };

  bool execute(const Token& token);
  bool fail(Msg number);
  // The one place that checks the value stack's depth for an operator.
  bool operands(float& a, float& b);
  bool push(float value);
  bool pushOnto(ValueStack& stack, float value);
  bool arithmetic(TokenKind op);
  bool moveArgument(ValueStack& arguments);
  bool finishCall();
  bool assign();

  const Program& program_;
  FieldValues& fields_;
  ValueStack values_;
  ValueStack firstArgs_;
  ValueStack secondArgs_;
  std::vector<Call> calls_;
  std::array<float, kMaxVariables + 1> slots_{};  // slot 0 unused
  std::size_t nextTarget_ = 0;
  int lineEnds_ = 0;
  std::optional<Diagnostic> error_;
};

}  // namespace tarnex::formula
