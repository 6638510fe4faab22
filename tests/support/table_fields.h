#pragma once
// A window's numbers without the window: every field of its table, for the formula runs of
// the tests.

#include <map>
#include <string_view>

#include "base/field_values.h"
#include "tables/field_table.h"

namespace tarnex::testing {

// A dialog's numbers: every field of `table` with its opening value (results 0).
class TableFields : public FieldValues {
 public:
  explicit TableFields(const DialogTable& table);
  float value(int controlId) const override;
  void setValue(int controlId, float value) override;
  // By formula name, for expectations.
  float named(std::string_view name) const;
  void setNamed(std::string_view name, float value);
  const std::map<int, float>& all() const { return values_; }

 private:
  const DialogTable& table_;
  std::map<int, float> values_;
};

}  // namespace tarnex::testing
