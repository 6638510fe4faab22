// Arithmetic of the formula language: precedence, unary minus, pow, number words, user
// variables against field variables, statement order; each case gives the text and the
// exact single-precision numbers the fields hold afterwards.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "formula_fixture.h"
#include "tables/dcdc_table.h"

namespace tarnex::testing {
namespace {

struct ValueCase {
  const char* name;
  std::string text;  // run against the DC-DC dialog at its opening values; '#' is added
  std::vector<std::pair<const char*, float>> expected;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
  *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<ValueCase>& param) {
  return param.param.name;
}

class FormulaValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(FormulaValues, AssignsExactly) {
  TableFields fields(dcdcTable());
  const RunOutcome outcome = runFormulaText(GetParam().text, fields);
  ASSERT_TRUE(outcome.ok) << (outcome.messages.empty() ? "" : outcome.messages[0]);
  EXPECT_TRUE(outcome.messages.empty());
  for (const auto& [name, value] : GetParam().expected) {
    const float actual = fields.named(name);
    if (std::isnan(value)) {
      EXPECT_TRUE(std::isnan(actual)) << name << " = " << actual;
    } else {
      EXPECT_EQ(actual, value) << name;
    }
  }
}

std::string repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

INSTANTIATE_TEST_SUITE_P(
    Operators, FormulaValues,
    ::testing::Values(ValueCase{"SubtractionIsLeftAssociative", "L = 8 - 2 - 1;", {{"L", 5.0f}}},
                      ValueCase{"DivisionIsLeftAssociative", "L = 8 / 2 / 2;", {{"L", 2.0f}}},
                      ValueCase{"ProductBeforeSum", "L = 2 + 3 * 4;", {{"L", 14.0f}}},
                      ValueCase{"QuotientBeforeDifference", "L = 9 - 6 / 3 * 2;", {{"L", 5.0f}}},
                      ValueCase{"Parentheses", "L = (2 + 3) * 4;", {{"L", 20.0f}}},
                      ValueCase{"SinglePrecisionQuotient", "L = 1 / 3;", {{"L", 1.0f / 3.0f}}},
                      ValueCase{"SmallDivisorIsCarriedOut",
                                "L = 1 / (Vdf / 1000);",
                                {{"L", 1.0f / (0.5f / 1000.0f)}}},
                      ValueCase{"OverflowBecomesInfinity",
                                "L = 100000000 * 100000000 * 100000000 * 100000000 * 100000000;",
                                {{"L", std::numeric_limits<float>::infinity()}}},
                      ValueCase{"ExpressionOverLines", "L = 1 +\r\n2\r\n* 3;", {{"L", 7.0f}}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    UnaryMinus, FormulaValues,
    ::testing::Values(ValueCase{"AfterAssign", "L = -3 * 2;", {{"L", -6.0f}}},
                      ValueCase{"AfterParenthesis", "L = 2 * (-3);", {{"L", -6.0f}}},
                      ValueCase{"AfterComma", "L = pow(2,-1);", {{"L", 0.5f}}},
                      ValueCase{"AfterCommaAndBlanks", "L = pow(2,  -1);", {{"L", 0.5f}}},
                      ValueCase{"AfterParenthesisAndBlank", "L = 2 * ( -3);", {{"L", -6.0f}}},
                      ValueCase{"OfFirstArgument", "L = pow(-2, 3);", {{"L", -8.0f}}},
                      ValueCase{"OfName", "L = -Vo + 1;", {{"L", -11.0f}}},
                      ValueCase{"NegatesWholeGroup", "L = -(1 + 2) * 2;", {{"L", -6.0f}}},
                      ValueCase{"NegatesWholePowCall", "L = -pow(2, 3);", {{"L", -8.0f}}},
                      ValueCase{"NestedNegatedGroups", "L = -(-(2 + 1));", {{"L", 3.0f}}},
                      ValueCase{
                          "NegatedCallInsideGroup", "L = (-pow(2, 2) + 1) * 2;", {{"L", -6.0f}}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Pow, FormulaValues,
    ::testing::Values(
        ValueCase{"Power", "L = pow(2, 10);", {{"L", 1024.0f}}},
        ValueCase{"Nested", "L = pow(pow(2, 2), 3);", {{"L", 64.0f}}},
        ValueCase{"NestedSecond", "L = pow(2, pow(1 + 1, 2));", {{"L", 16.0f}}},
        ValueCase{"SquareRoot", "L = pow(4, 0.5);", {{"L", 2.0f}}},
        ValueCase{"TwoCalls", "L = pow(2, 3) + pow(3, 2);", {{"L", 17.0f}}},
        ValueCase{"ExpressionArguments", "L = pow(Vo - 10, Vo / 4);", {{"L", 8.0f}}},
        ValueCase{"NegativeBaseFractionalExponent", "L = pow(-8, 0.5);", {{"L", std::nanf("")}}},
        ValueCase{"ZeroToANegativePower",
                  "L = pow(0, -1);",
                  {{"L", std::numeric_limits<float>::infinity()}}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    NumberWords, FormulaValues,
    ::testing::Values(
        // The fraction is built from the single-precision tenth.
        ValueCase{"OneTenth", "L = 0.1;", {{"L", 0.100000001490116f}}},
        ValueCase{"TrailingPoint", "L = 5.;", {{"L", 5.0f}}},
        ValueCase{"Fraction", "L = 12.375;", {{"L", 12.375f}}},
        ValueCase{"NineDigits", "L = 123456789;", {{"L", 123456792.0f}}},
        // Beyond 2^24 single precision drops the last digits.
        ValueCase{"BeyondTwoToTheTwentyFour", "L = 16777217;", {{"L", 16777216.0f}}},
        ValueCase{"ManyFractionDigits", "L = 0.333333333333;", {{"L", 0.333333343f}}}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Names, FormulaValues,
    ::testing::Values(
        // A declared name shadows the field of that name only from its declaration on.
        ValueCase{"UserVariableShadowsFromDeclaration",
                  "L = Vo;\rfloat Vo;\rVo = 5;\rIpk = Vo * 2;",
                  {{"L", 12.0f}, {"Ipk", 10.0f}, {"Vo", 12.0f}}},
        ValueCase{"UserVariableStartsAtZero", "float x;\rL = x + 1;", {{"L", 1.0f}}},
        ValueCase{"FieldReadBeforeAssignment",
                  "L = Ipk + VinMin;\rIpk = 3;",
                  {{"L", 18.0f}, {"Ipk", 3.0f}}},
        ValueCase{
            "LaterStatementsSeeNewInput", "f = 300;\rL = f / 2;", {{"f", 300.0f}, {"L", 150.0f}}},
        ValueCase{"CommentsAndStatementsOnOneLine",
                  "L = 1; Ipk = 2; // 注释：\t任意文字；\r\nIrms = 3;",
                  {{"L", 1.0f}, {"Ipk", 2.0f}, {"Irms", 3.0f}}},
        ValueCase{"DeclarationFollowedByLineEnd", "L = 1;\rfloat x;\r", {{"L", 1.0f}}},
        ValueCase{"FortyNineDeclarations",
                  [] {
                    std::string s;
                    for (int i = 1; i <= 49; ++i) s += "float v" + std::to_string(i) + ";\r";
                    return s + "v49 = 7;\rL = v49;";
                  }(),
                  {{"L", 7.0f}}},
        ValueCase{"FortyNineCharacterName",
                  "float " + std::string(49, 'z') + ";\r" + std::string(49, 'z') +
                      " = 4;\rL = " + std::string(49, 'z') + ";",
                  {{"L", 4.0f}}},
        ValueCase{"FortyNineNestedParentheses",
                  "L = " + std::string(49, '(') + "3" + std::string(49, ')') + ";",
                  {{"L", 3.0f}}},
        ValueCase{"FortyNineValues",
                  "L = 0" + repeat(" + (1", 24) + repeat(")", 24) + ";",
                  {{"L", 24.0f}}},
        // 4999 tokens and the end marker: exactly the limit.
        ValueCase{"TokenListAtLimit", repeat("L=1;", 1249) + "\r\r\r", {{"L", 1.0f}}}),
    caseName);

}  // namespace
}  // namespace tarnex::testing
