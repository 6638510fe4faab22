#pragma once
// What the fuzzers share: a failed expectation aborts (libFuzzer then keeps the input), hosts
// that accept only the readers' own messages, a dialog's numbers, and a working folder for
// the target that goes through the files on disk.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/field_values.h"
#include "base/host.h"
#include "base/number_text.h"
#include "base/user_file.h"
#include "formula/diagnostic.h"
#include "iface/interface_file.h"
#include "tables/dcdc_table.h"
#include "tables/field_table.h"

namespace fuzz {

inline void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz expectation failed: %s\n", what);
    abort();
  }
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Skips a run of decimal digits (at least one).
inline bool skipNumber(std::string_view& text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  text.remove_prefix(n);
  return n > 0;
}

// "Error:第<line>" (or "Error:第<line>行和第<line>" for a duplicate) and a text of the
// formula message table.
inline bool isFormulaErrorText(std::string_view text) {
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

// A host that fails on anything but a message box (no progress window, no desktop).
class StrictHost : public tarnex::Host {
 public:
  void runProgress() override { check(false, "progress window"); }
  bool openInDesktop(const std::string&, bool) override {
    check(false, "desktop open");
    return false;
  }
  void runDialog(tarnex::Form&) override { check(false, "modal dialog"); }
  void runSheet(tarnex::Sheet&) override { check(false, "sheet"); }
  void repaint() override { check(false, "repaint"); }
};

// Accepts the formula interpreter's own boxes: the end-marker warning, then at most one
// error box, all unowned.
class FormulaHost : public StrictHost {
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
    if (!isFormulaErrorText(message.text)) {
      std::fprintf(stderr, "%s | %s\n", message.caption.c_str(), message.text.c_str());
      check(false, "a text that is not the interpreter's own");
    }
    ++errors;
  }

  int warnings = 0;
  int errors = 0;
};

// Accepts only the interface reader's own message boxes, unowned.
class InterfaceHost : public StrictHost {
 public:
  void showMessage(const tarnex::Message& message) override {
    check(!message.owned, "owned message");
    for (const tarnex::Message& own : tarnex::interfaceFileMessages()) {
      if (own.caption == message.caption && own.text == message.text && own.icon == message.icon)
        return;
    }
    std::fprintf(stderr, "%s | %s\n", message.caption.c_str(), message.text.c_str());
    check(false, "a message that is not the reader's own");
  }
};

// The DC-DC dialog's numbers at its opening values; any other control id is a fault. A flat
// table, copied per input in one move.
class DialogNumbers : public tarnex::FieldValues {
 public:
  DialogNumbers() : values_(opening()) {}
  float value(int controlId) const override { return values_[index(controlId)].second; }
  void setValue(int controlId, float value) override { values_[index(controlId)].second = value; }
  bool unchanged() const { return values_ == opening(); }

 private:
  using Values = std::vector<std::pair<int, float>>;
  std::size_t index(int controlId) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
      if (values_[i].first == controlId) return i;
    }
    check(false, "a field outside the table");
    return 0;
  }
  static const Values& opening() {
    static const Values values = [] {
      Values v;
      for (const tarnex::FieldRow& row : tarnex::dcdcTable().fields)
        v.emplace_back(row.controlId, tarnex::parseFieldText(row.opening).value_or(0.0f));
      return v;
    }();
    return values;
  }
  Values values_;
};

// The working folder of the file-level target, created once and removed at exit. It lies
// under TMPDIR (fuzz/run-all points that at /dev/shm), so that rewriting every input as a
// file costs no disk. The folder object is never destroyed, so that the exit handler can
// still name it.
inline const tarnex::Folder& workFolder() {
  static const tarnex::Folder* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnex-fuzz-XXXXXX").string();
    check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    const auto* made = new tarnex::Folder(pattern);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(workFolder().dir(), ec);
    });
    return made;
  }();
  return *folder;
}

// Replaces the whole content of `name` in the working folder with `bytes`.
inline void writeInput(std::string_view name, std::string_view bytes) {
  std::ofstream out(workFolder().path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(out.good(), "writing the input file");
}

inline std::string readFile(std::string_view name) {
  std::ifstream in(workFolder().path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fuzz
