#include "tables/field_table.h"

#include <algorithm>

namespace tarnex {

const FieldRow* findField(const DialogTable& table, std::string_view name) {
  const auto it = std::find_if(table.fields.begin(), table.fields.end(),
                               [name](const FieldRow& row) { return row.name == name; });
  return it == table.fields.end() ? nullptr : &*it;
}

const FieldRow* findFieldById(const DialogTable& table, int controlId) {
  const auto it =
      std::find_if(table.fields.begin(), table.fields.end(),
                   [controlId](const FieldRow& row) { return row.controlId == controlId; });
  return it == table.fields.end() ? nullptr : &*it;
}

}  // namespace tarnex
