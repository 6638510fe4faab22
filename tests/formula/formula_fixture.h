#pragma once
// Shared helpers of the formula tests: a dialog's numbers over a field table, and a run of
// a formula text written to a file of a fresh working folder.

#include <map>
#include <string>
#include <string_view>
#include <vector>

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

struct RunOutcome {
  bool ok = false;
  std::vector<std::string> messages;  // "caption|text"
  std::string fileAfter;              // the file's bytes after the run
};

// Writes `bytes` as `fileName` into a temporary folder and runs it against `fields`.
RunOutcome runFormulaBytes(std::string_view bytes, TableFields& fields,
                           std::string_view fileName = "CCM Buck cfg.txt");

// As above with the end marker appended, for texts that are about the language itself.
RunOutcome runFormulaText(std::string_view text, TableFields& fields,
                          std::string_view fileName = "CCM Buck cfg.txt");

}  // namespace tarnex::testing
