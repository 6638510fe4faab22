// Every message of the formula interpreter: which text raises it, at which line, in which
// phase, with the exact box text.

#include <gtest/gtest.h>

#include <string>

#include "formula_fixture.h"
#include "tables/dcdc_table.h"

namespace tarnex::testing {
namespace {

constexpr const char* kCheck = "公式解析错误";
constexpr const char* kEval = "计算出错";

// The box texts after "Error:第<line>", written out here independently of the interpreter.
std::string box(const char* caption, int line, std::string_view message) {
  return std::string(caption) + "|Error:第" + std::to_string(line) + std::string(message);
}

constexpr std::string_view kNoOpen = "行语法错误，缺少 '(' !";
constexpr std::string_view kNoClose = "行语法错误，缺少 ')' !";
constexpr std::string_view kComma = "行语法错误,  '，' 位置出错!";
constexpr std::string_view kIllegal = "行内含有非法字符!";
constexpr std::string_view kNoSemicolon = "行缺少行结束符 '；' 或者 '；' 位置错误!";
constexpr std::string_view kBadDecl = "行语法错误，自定义变量后缺少 '；' !";
constexpr std::string_view kAssignFirst = "行语法错误，'='位置错误 !";
constexpr std::string_view kPoints = "行文本内有数据出现多个小数点，计算终止！";
constexpr std::string_view kLeadingPoint = "行文本内有数据首位出现小数点，计算终止！";
constexpr std::string_view kDivZero = "行出现除数为0！ \n请检查公式！！";
constexpr std::string_view kSurplusOp = "行可能有多余的运算符 !";
constexpr std::string_view kTwoResults = "行内可能有多余的变量。$$$ 堆栈出现两个结果，错误!";
constexpr std::string_view kUnknown =
    "行含有未知内容，计算已经终止! \n该内容是系统未定义或者无法识别的内容。";
constexpr std::string_view kPow = "行pow(a,b) 函数运算出错，公式有误!";
constexpr std::string_view kOpFirst = "行开始出现运算符，计算终止!";
constexpr std::string_view kNoValue = "行有多余的'；'或者其位置错误导致堆栈内并没有数据!";
constexpr std::string_view kCount =
    "行？？  No!\n'；' 和 '=' 个数不同，无法确定计算结果赋给哪个变量！\n"
    "程序不清楚错误发生的行数，请自行检查公式！ Sorry ！";

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// "float v1;" to "float v<count>;", one per line.
std::string declarations(int count) {
  std::string out;
  for (int i = 1; i <= count; ++i) out += "float v" + std::to_string(i) + ";\r";
  return out;
}

struct MessageCase {
  const char* name;
  std::string text;  // the formula text; the end marker is added
  std::string expected;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
  *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<MessageCase>& param) {
  return param.param.name;
}

class FormulaMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(FormulaMessage, StopsWithItsBox) {
  TableFields fields(dcdcTable());
  const RunOutcome outcome = runFormulaText(GetParam().text, fields);
  EXPECT_FALSE(outcome.ok);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0], GetParam().expected);
}

// Check phase: reading, translation and the static checks.
INSTANTIATE_TEST_SUITE_P(
    CheckPhase, FormulaMessage,
    ::testing::Values(
        MessageCase{"UnaryMinusWithNothingToClose", "a = -) x;", box(kCheck, 1, kNoOpen)},
        MessageCase{"UnclosedParenthesis", "L = (1 + 2;", box(kCheck, 1, kNoClose)},
        MessageCase{"UnclosedPowCall", "L = 1;\rL = pow(2, 3;", box(kCheck, 2, kNoClose)},
        MessageCase{"SurplusClosingParenthesis", "L = 1 + 2);", box(kCheck, 1, kNoOpen)},
        MessageCase{"CommaOutsidePow", "L = 1, 2;", box(kCheck, 1, kComma)},
        MessageCase{"Tab", "L = 1;\r\nIpk =\t2;", box(kCheck, 2, kIllegal)},
        MessageCase{"FullWidthSemicolon", "L = 1；", box(kCheck, 1, kIllegal)},
        MessageCase{"ChineseOutsideComment", "L = 1;\r\r电感 = 2;", box(kCheck, 3, kIllegal)},
        MessageCase{"TwoStatementsWithoutSemicolon", "L = 1 Ipk = 2;",
                    box(kCheck, 1, kNoSemicolon)},
        MessageCase{"LastStatementUnended", "L = 1;\r\nIpk = 2", box(kCheck, 2, kNoSemicolon)},
        MessageCase{"DeclarationAfterUnendedStatement", "L = 1\rfloat x;\r",
                    box(kCheck, 1, kNoSemicolon)},
        MessageCase{"DuplicateOnOneLine", "float x; float x;\rL = 1;",
                    std::string(kCheck) + "|Error:第1行和第1行变量重复定义!"},
        MessageCase{"DuplicateOnLinesTwoAndFive", "L = 1;\rfloat k;\r\r\rfloat k;\r",
                    std::string(kCheck) + "|Error:第2行和第5行变量重复定义!"},
        MessageCase{"DeclarationRunsIntoEndMarker", "L = 1;\rfloat x;", box(kCheck, 2, kBadDecl)},
        MessageCase{"DeclarationWithInitialValue", "float x = 1;\r", box(kCheck, 1, kBadDecl)},
        MessageCase{"DeclarationOfTwoNames", "float x y;\r", box(kCheck, 1, kBadDecl)},
        MessageCase{"BareFloatAtEnd", "L = 1;\rfloat;", box(kCheck, 2, kUnknown)},
        MessageCase{"OperatorFirst", "+L = 1;", box(kCheck, 1, kOpFirst)},
        MessageCase{"MinusFirst", "-1;", box(kCheck, 1, kOpFirst)}),
    caseName);

// Evaluation phase: preparation and the stack machine.
INSTANTIATE_TEST_SUITE_P(
    EvaluationPhase, FormulaMessage,
    ::testing::Values(
        MessageCase{"AssignFirst", "= 3;", box(kEval, 1, kAssignFirst)},
        MessageCase{"TwoPoints", "L = 1;\rIpk = 1.2.3;", box(kEval, 2, kPoints)},
        MessageCase{"LeadingPoint", "L = .5;", box(kEval, 1, kLeadingPoint)},
        MessageCase{"LeadingPointOfSeveral", "L = .5.5;", box(kEval, 1, kLeadingPoint)},
        MessageCase{"NameWithTwoPoints", "L = a.b.c;", box(kEval, 1, kPoints)},
        MessageCase{"DivisionByZero", "L = 1 / 0;", box(kEval, 1, kDivZero)},
        MessageCase{"DivisionByComputedZero", "L = 1;\rIpk = Vo /\r (Vo - 12);",
                    box(kEval, 3, kDivZero)},
        MessageCase{"OperatorWithOneValue", "L = 1 + ;", box(kEval, 1, kSurplusOp)},
        MessageCase{"PlusAfterLeadingLineEnd", "\r+ L = 1;", box(kEval, 2, kSurplusOp)},
        MessageCase{"DoubleMinus", "L = 4 - -3;", box(kEval, 1, kSurplusOp)},
        MessageCase{"TwoOperands", "L = 1 2;", box(kEval, 1, kTwoResults)},
        MessageCase{"UnknownName", "L = 1;\rIpk = X;", box(kEval, 2, kUnknown)},
        MessageCase{"UnknownTarget", "X = 1;", box(kEval, 1, kUnknown)},
        MessageCase{"ExponentNotation", "L = 1e-3;", box(kEval, 1, kUnknown)},
        MessageCase{"UpperCaseF", "L = F;", box(kEval, 1, kUnknown)},
        MessageCase{"PowWithOneArgument", "L = pow(2);", box(kEval, 1, kPow)},
        MessageCase{"EmptyStatement", "L = ;", box(kEval, 1, kNoValue)},
        // The line of the first statement without a target.
        MessageCase{"SurplusSemicolon", "L = 1;;", box(kEval, 1, kCount)},
        MessageCase{"LeadingSemicolon", ";Vo = 1;", box(kEval, 1, kCount)},
        MessageCase{"StatementWithoutTarget", "L = 1;\r2;", box(kEval, 2, kCount)}),
    caseName);

// Faults of the literal reading that the interpreter mends, and its limits.
INSTANTIATE_TEST_SUITE_P(
    MendedAndLimits, FormulaMessage,
    ::testing::Values(
        MessageCase{"FloatEndsTheText", "L = 1;float", box(kCheck, 1, kBadDecl)},
        MessageCase{"DeclarationSplitByLineEnd", "float\r;\rL = 1;", box(kCheck, 1, kBadDecl)},
        MessageCase{"DeclaredNameOnNextLine", "float\rx;\rL = 1;", box(kCheck, 1, kBadDecl)},
        MessageCase{"LoneNumber", "5", box(kCheck, 1, kNoSemicolon)},
        MessageCase{"LoneName", "\r\nLo", box(kCheck, 2, kNoSemicolon)},
        MessageCase{"PowNeverClosed", "L = 1 + pow 2;", box(kEval, 1, kPow)},
        MessageCase{"PowWithThreeArguments", "L = pow(1, 2, 3);", box(kEval, 1, kPow)},
        MessageCase{"PowAfterSurplusArguments", "L = 1;\rIpk = pow(1, 2, 3) + pow(5);",
                    box(kEval, 2, kPow)},
        MessageCase{"PowArgumentFromOutside", "L = 2 * pow(, 3);", box(kEval, 1, kPow)},
        MessageCase{"TenIntegerDigits", "L = 1234567890;",
                    box(kEval, 1, "行数据的整数部分超过9位，计算终止！")},
        MessageCase{"TenDigitsWithLeadingZeros", "L = 0000000001.5;",
                    box(kEval, 1, "行数据的整数部分超过9位，计算终止！")},
        MessageCase{"FiftyCharacterWord", "L = " + std::string(50, 'a') + ";",
                    box(kCheck, 1, "行内的名称或数字超过49个字符！")},
        MessageCase{"FiftyNestedParentheses",
                    "L = " + std::string(50, '(') + "1" + std::string(50, ')') + ";",
                    box(kCheck, 1, "行括号或运算符嵌套过深！")},
        MessageCase{"FiftyValuesInOneStatement", "L =" + repeat(" 1", 50) + ";",
                    box(kEval, 1, kTwoResults)},
        MessageCase{"FiftyOneValuesInOneStatement", "L =" + repeat(" 1", 51) + ";",
                    box(kEval, 1, "行表达式过于复杂，堆栈溢出！")},
        MessageCase{"FiftyDeclarations", declarations(50) + "L = 1;",
                    box(kEval, 50, "行自定义变量超过49个！")},
        MessageCase{"TokenListBeyondLimit", repeat("L=1;", 1250),
                    box(kCheck, 1, "行公式过长，超过5000个单元，计算终止！")}),
    caseName);

}  // namespace
}  // namespace tarnex::testing
