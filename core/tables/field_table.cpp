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

std::vector<int> relabelList(const DialogTable& table) {
  std::vector<int> list;
  for (const FieldRow& row : table.fields) {
    if (row.relabel <= 0) continue;
    const auto k = static_cast<std::size_t>(row.relabel);
    if (list.size() < k) list.resize(k, 0);
    list[k - 1] = row.labelId;
  }
  return list;
}

}  // namespace tarnex
