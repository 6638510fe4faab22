// Feeds arbitrary bytes to the formula interpreter as the content of a DC-DC formula file.
// The run must end in success or in the interpreter's own messages (the end-marker warning,
// then at most one error box), and leave the file as it was, or with exactly one '#'
// appended when it held none.

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "base/number_text.h"
#include "formula/diagnostic.h"
#include "formula/formula.h"
#include "fuzz_support.h"
#include "tables/dcdc_table.h"

namespace {

using fuzz::check;

constexpr std::string_view kFileName = "CCM Buck cfg.txt";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Skips a run of decimal digits (at least one).
bool skipNumber(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  text.remove_prefix(n);
  return n > 0;
}

// "Error:第<line>" (or "Error:第<line>行和第<line>" for a duplicate) and a text of the table.
bool isErrorText(std::string_view text) {
  if (!startsWith(text, "Error:第")) return false;
  text.remove_prefix(std::string_view("Error:第").size());
  if (!skipNumber(text)) return false;
  for (int number = 0; number <= 40; ++number) {
    const auto msg = static_cast<tarnex::formula::Msg>(number);
    const std::string_view own = tarnex::formula::messageText(msg);
    if (own.empty()) continue;
    if (msg == tarnex::formula::Msg::DuplicateDeclaration) {
      std::string_view rest = text;
      if (startsWith(rest, "行和第")) {
        rest.remove_prefix(std::string_view("行和第").size());
        if (skipNumber(rest) && rest == own) return true;
      }
    } else if (text == own) {
      return true;
    }
  }
  return false;
}

class CheckingHost : public tarnex::Host {
 public:
  void showMessage(const tarnex::Message& message) override {
    check(!message.owned, "owned message");
    check(errors == 0, "a message after the error box");
    if (message.caption == "注意") {
      const tarnex::Message warning = tarnex::formula::missingEndMarkerWarning();
      check(message.text == warning.text && message.icon == tarnex::Icon::Warning,
            "a warning that is not the end-marker warning");
      check(++warnings == 1, "two end-marker warnings");
      return;
    }
    check(message.caption == "公式解析错误" || message.caption == "计算出错", "foreign caption");
    check(message.icon == tarnex::Icon::Error, "error box without the error icon");
    if (!isErrorText(message.text)) {
      std::fprintf(stderr, "%s | %s\n", message.caption.c_str(), message.text.c_str());
      check(false, "a text that is not the interpreter's own");
    }
    ++errors;
  }
  void runProgress() override { check(false, "progress window"); }
  void openInDesktop(const std::string&, bool) override { check(false, "desktop open"); }
  void runDialog(tarnex::Form&) override { check(false, "runDialog"); }
  void runSheet(tarnex::Sheet&) override { check(false, "runSheet"); }
  void repaint() override { check(false, "repaint"); }

  int warnings = 0;
  int errors = 0;
};

// The DC-DC dialog's numbers at its opening values; any other control id is a fault.
class DialogNumbers : public tarnex::FieldValues {
 public:
  DialogNumbers() {
    for (const tarnex::FieldRow& row : tarnex::dcdcTable().fields) {
      values_[row.controlId] = tarnex::parseFieldText(row.opening).value_or(0.0f);
    }
  }
  float value(int controlId) const override {
    const auto it = values_.find(controlId);
    check(it != values_.end(), "read of a field outside the table");
    return it->second;
  }
  void setValue(int controlId, float value) override {
    const auto it = values_.find(controlId);
    check(it != values_.end(), "write of a field outside the table");
    it->second = value;
  }

 private:
  std::map<int, float> values_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  fuzz::writeInput(kFileName, input);

  CheckingHost host;
  DialogNumbers numbers;
  const bool ok =
      tarnex::runFormulaFile(fuzz::workFolder(), kFileName, &tarnex::dcdcTable(), numbers, host);
  check(ok == (host.errors == 0), "result and error box disagree");
  const bool hadMarker = input.find('#') != std::string::npos;
  check(host.warnings == (hadMarker ? 0 : 1), "end-marker warning without cause or missing");
  check(fuzz::readFile(kFileName) == (hadMarker ? input : input + "#"),
        "the file changed otherwise");
  return 0;
}
