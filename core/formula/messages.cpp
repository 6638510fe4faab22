// The one place where the interpreter's diagnostics become text.

#include <array>
#include <string>

#include "formula/diagnostic.h"

namespace tarnex::formula {

namespace {

struct MessageRow {
  Msg number;
  std::string_view text;
};

// The formula message table. Every text continues "Error:第<line>", so each begins with "行".
constexpr std::array kMessages{
    MessageRow{Msg::UnaryNotClosed, "行语法错误，缺少 '(' !"},
    MessageRow{Msg::MissingCloseParen, "行语法错误，缺少 ')' !"},
    MessageRow{Msg::MissingOpenParen, "行语法错误，缺少 '(' !"},
    MessageRow{Msg::MisplacedComma, "行语法错误,  '，' 位置出错!"},
    MessageRow{Msg::IllegalByte, "行内含有非法字符!"},
    MessageRow{Msg::MissingSemicolon, "行缺少行结束符 '；' 或者 '；' 位置错误!"},
    MessageRow{Msg::DuplicateDeclaration, "行变量重复定义!"},
    MessageRow{Msg::BadDeclaration, "行语法错误，自定义变量后缺少 '；' !"},
    MessageRow{Msg::MisplacedAssign, "行语法错误，'='位置错误 !"},
    MessageRow{Msg::SeveralPoints, "行文本内有数据出现多个小数点，计算终止！"},
    MessageRow{Msg::LeadingPoint, "行文本内有数据首位出现小数点，计算终止！"},
    MessageRow{Msg::DivisionByZero, "行出现除数为0！ \n请检查公式！！"},
    MessageRow{Msg::SurplusOperator, "行可能有多余的运算符 !"},
    MessageRow{Msg::SurplusValue, "行内可能有多余的变量。$$$ 堆栈出现两个结果，错误!"},
    MessageRow{Msg::UnknownName,
               "行含有未知内容，计算已经终止! \n该内容是系统未定义或者无法识别的内容。"},
    MessageRow{Msg::BadPowCall, "行pow(a,b) 函数运算出错，公式有误!"},
    MessageRow{Msg::LeadingOperator, "行开始出现运算符，计算终止!"},
    MessageRow{Msg::EmptyStatement, "行有多余的'；'或者其位置错误导致堆栈内并没有数据!"},
    MessageRow{Msg::CountMismatch,
               "行？？  No!\n'；' 和 '=' 个数不同，无法确定计算结果赋给哪个变量！\n"
               "程序不清楚错误发生的行数，请自行检查公式！ Sorry ！"},
    // Limits of the interpreter's working memory.
    MessageRow{Msg::TooManyTokens, "行公式过长，超过5000个单元，计算终止！"},
    MessageRow{Msg::WordTooLong, "行内的名称或数字超过49个字符！"},
    MessageRow{Msg::NestingTooDeep, "行括号或运算符嵌套过深！"},
    MessageRow{Msg::StackOverflow, "行表达式过于复杂，堆栈溢出！"},
    MessageRow{Msg::TooManyVariables, "行自定义变量超过49个！"},
    MessageRow{Msg::IntegerTooLong, "行数据的整数部分超过9位，计算终止！"},
};

}  // namespace

std::string_view messageText(Msg number) {
  for (const MessageRow& row : kMessages) {
    if (row.number == number) return row.text;
  }
  return {};
}

Message formatDiagnostic(const Diagnostic& diagnostic) {
  std::string text = "Error:第" + std::to_string(diagnostic.line);
  if (diagnostic.number == Msg::DuplicateDeclaration) {
    text += "行和第" + std::to_string(diagnostic.secondLine);
  }
  text += messageText(diagnostic.number);
  const char* caption = diagnostic.phase == Phase::Check ? "公式解析错误" : "计算出错";
  return Message{caption, std::move(text), Icon::Error, false};
}

Message missingEndMarkerWarning() {
  return Message{"注意", "公式文本内未发现结束符号'#'，程序自动在末尾加入了结束符!", Icon::Warning,
                 false};
}

}  // namespace tarnex::formula
