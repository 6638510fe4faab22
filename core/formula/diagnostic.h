#pragma once
// Errors of the formula interpreter as data: the number of the message, the line (two lines
// for a duplicate declaration) and the phase that raised it. They turn into the text of a
// message box only in formatDiagnostic().

#include <string_view>

#include "base/host.h"

namespace tarnex::formula {

enum class Phase {
  Check,       // reading, translation and the static checks: caption "公式解析错误"
  Evaluation,  // preparation and the stack machine: caption "计算出错"
};

// Numbers of the formula message table. 17 and 19 are not used. The numbers from 21 on are
// the interpreter's own limits (token list, word length, nesting, stacks, variables, digits).
enum class Msg : int {
  UnaryNotClosed = 0,
  MissingCloseParen = 1,
  MissingOpenParen = 2,
  MisplacedComma = 3,
  IllegalByte = 4,
  MissingSemicolon = 5,
  DuplicateDeclaration = 6,
  BadDeclaration = 7,
  MisplacedAssign = 8,
  SeveralPoints = 9,
  LeadingPoint = 10,
  DivisionByZero = 11,
  SurplusOperator = 12,
  SurplusValue = 13,
  UnknownName = 14,
  BadPowCall = 15,
  LeadingOperator = 16,
  EmptyStatement = 18,
  CountMismatch = 20,
  TooManyTokens = 21,
  WordTooLong = 22,
  NestingTooDeep = 23,
  StackOverflow = 24,
  TooManyVariables = 25,
  IntegerTooLong = 26,
};

struct Diagnostic {
  Msg number;
  int line;            // 1-based
  int secondLine = 0;  // the second declaration of a duplicated name
  Phase phase = Phase::Check;
};

// The message of the table, beginning with "行"; empty for a number the table lacks.
std::string_view messageText(Msg number);

// The error box: "Error:第<line>" + message, no owner, error icon, caption by phase.
Message formatDiagnostic(const Diagnostic& diagnostic);

// The warning shown after the end marker '#' was appended to a file that had none.
Message missingEndMarkerWarning();

}  // namespace tarnex::formula
