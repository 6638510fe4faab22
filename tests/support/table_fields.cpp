#include "support/table_fields.h"

#include <gtest/gtest.h>

#include "base/number_text.h"

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

}  // namespace tarnex::testing
