#pragma once
// Shared helper of the formula tests: a run of a formula text written to a file of a fresh
// working folder.

#include <string>
#include <string_view>
#include <vector>

#include "support/table_fields.h"

namespace tarnex::testing {

struct RunOutcome {
  bool ok = false;
  std::vector<std::string> messages;  // "caption|text"
  std::string fileAfter;              // the file's bytes after the run
};

// Writes `bytes` as `fileName` into a temporary folder and runs it against `fields`.
RunOutcome runFormulaBytes(std::string_view bytes, TableFields& fields,
                           std::string_view fileName = "CCM Buck cfg.txt");

}  // namespace tarnex::testing
