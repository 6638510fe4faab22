#include "formula_fixture.h"

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "designs/registry.h"
#include "formula/formula.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex::testing {

TableFields::TableFields(const DialogTable& table) : table_(table) {
  for (const FieldRow& row : table.fields) {
    values_[row.controlId] = parseFieldText(row.opening).value_or(0.0f);
  }
}

float TableFields::value(int controlId) const {
  const auto it = values_.find(controlId);
  if (it == values_.end()) {
    ADD_FAILURE() << "read of field " << controlId << " outside the table";
    return 0.0f;
  }
  return it->second;
}

void TableFields::setValue(int controlId, float value) {
  const auto it = values_.find(controlId);
  if (it == values_.end()) {
    ADD_FAILURE() << "write of field " << controlId << " outside the table";
    return;
  }
  it->second = value;
}

float TableFields::named(std::string_view name) const {
  const FieldRow* row = findField(table_, name);
  if (row == nullptr) {
    ADD_FAILURE() << "no field named " << name;
    return 0.0f;
  }
  return value(row->controlId);
}

void TableFields::setNamed(std::string_view name, float value) {
  const FieldRow* row = findField(table_, name);
  ASSERT_NE(row, nullptr) << name;
  setValue(row->controlId, value);
}

RunOutcome runFormulaBytes(std::string_view bytes, TableFields& fields, std::string_view fileName) {
  TempFolder temp;
  temp.write(fileName, bytes);
  RecordingHost host;
  RunOutcome outcome;
  outcome.ok = runFormulaFile(temp.folder(), fileName, bindingTableFor(fileName), fields, host);
  outcome.messages = host.summary();
  outcome.fileAfter = temp.read(fileName);
  return outcome;
}

RunOutcome runFormulaText(std::string_view text, TableFields& fields, std::string_view fileName) {
  return runFormulaBytes(std::string(text) + "#", fields, fileName);
}

}  // namespace tarnex::testing
