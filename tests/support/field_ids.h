#pragma once
// Field ids of a window's table by formula name, for tests that drive a window by its
// fields. A name the table lacks stops the test program.

#include <stdexcept>
#include <string>
#include <string_view>

#include "tables/field_table.h"

namespace tarnex::testing {

inline int fieldId(const DialogTable& table, std::string_view name) {
  const FieldRow* row = findField(table, name);
  if (row == nullptr) throw std::invalid_argument("no field " + std::string(name));
  return row->controlId;
}

}  // namespace tarnex::testing
