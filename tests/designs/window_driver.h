#pragma once
// A design window opened by its key in a test folder (built-in formulas and system captions
// unless a test writes the files first), driven by words as a user works it: "name=text"
// types a field, "list=entry" picks a list entry, a bare word presses the button of that
// command-line key. The host notes the messages and the progress window in their order.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "designs/registry.h"
#include "forms/field_form.h"
#include "loop/loop_sheet.h"
#include "support/field_ids.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex::testing {

class OrderHost : public RecordingHost {
 public:
  void showMessage(const Message& message) override {
    RecordingHost::showMessage(message);
    events.push_back(message.text);
  }
  void runProgress() override {
    RecordingHost::runProgress();
    events.push_back("progress");
  }
  std::vector<std::string> events;
};

inline std::string box(const std::string& text) {
  return std::string(kProgramName) + "|" + text;
}

class WindowDriver {
 protected:
  const DialogTable& tableOf(const std::string& key) {
    for (const DesignInfo& d : designs()) {
      if (d.key() == key) return *d.table;
    }
    throw std::invalid_argument("no window " + key);
  }
  void switchFilesOff(const std::string& key) {
    const DialogTable& t = tableOf(key);
    for (const FormulaFileRow& f : t.formulaFiles) dir.write(f.fileName, "#");
    dir.write(t.interfaceFile, "#");
  }
  // A design window, or a compensation page by its "loop-" key.
  Form& open(const std::string& key) {
    form = key.starts_with("loop-") ? makeLoopPage(key, host) : makeDesign(key, host, dir.folder());
    if (!form) throw std::invalid_argument("no window " + key);
    table = form->table();
    form->open();
    return *form;
  }
  int id(const std::string& name) const { return fieldId(*table, name); }
  const std::string& text(const std::string& name) const { return form->text(id(name)); }
  // The number a field holds for the procedures, beside the text it shows.
  float value(const std::string& name) const {
    return dynamic_cast<const FieldForm&>(*form).value(id(name));
  }

  void act(const std::string& word) {
    const std::size_t eq = word.find('=');
    for (const Control& c : form->controls()) {
      if (eq == std::string::npos && c.kind == ControlKind::Button && c.key == word) {
        return form->command(c.id);
      }
      if (eq == std::string::npos || c.kind != ControlKind::DropList || c.key != word.substr(0, eq))
        continue;
      for (std::size_t i = 0; i < c.entryKeys.size(); ++i) {
        if (c.entryKeys[i] == word.substr(eq + 1)) return form->select(c.id, static_cast<int>(i));
      }
    }
    if (eq == std::string::npos) FAIL() << "no command " << word;
    form->setText(id(word.substr(0, eq)), word.substr(eq + 1));
  }
  void run(const std::string& words) {
    std::istringstream in(words);
    for (std::string w; in >> w;) act(w);
  }

  // Every "name=text" of `expected` as the window shows it; "results=" is every result blank.
  void expectShown(const char* expected) const {
    std::istringstream words(expected);
    for (std::string word; words >> word;) {
      const std::string name = word.substr(0, word.find('='));
      if (word == "results=") {
        expectResults("");
        continue;
      }
      EXPECT_EQ(name + "=" + text(name), word);
    }
  }
  void expectResults(const std::string& shown) const {
    for (const FieldRow& row : table->fields) {
      if (row.role == FieldRole::Result) {
        EXPECT_EQ(form->text(row.controlId), shown) << row.name;
      }
    }
  }

  // Whether a finding of the design check mentions `words`.
  bool mentions(const std::string& words) const {
    for (const Finding& f : form->findings()) {
      if (f.text.find(words) != std::string::npos) return true;
    }
    return false;
  }

  TempFolder dir;
  OrderHost host;
  const DialogTable* table = nullptr;
  std::unique_ptr<Form> form;
};

}  // namespace tarnex::testing
