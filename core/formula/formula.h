#pragma once
// Public face of the formula language: run a user's formula file against a dialog's numbers.

#include <optional>
#include <span>
#include <string_view>

#include "base/field_values.h"
#include "base/host.h"
#include "base/user_file.h"
#include "formula/diagnostic.h"
#include "tables/field_table.h"

namespace tarnex {

// The table whose names a formula file may use, chosen by the file's bare name
// (the six DC-DC files share one, the two flyback files another); nullptr for other names.
const DialogTable* bindingTableFor(std::string_view formulaFileName);

// Checks a formula text (the bytes before the end marker) and evaluates it against `values`
// with the names of `table` (nullptr: no field is known). Returns the first error, of
// either phase; the assignments made before it stay made. Shows nothing and touches no
// file: the file runs below call it on the text they loaded, tests and fuzzers on bytes in
// memory.
std::optional<formula::Diagnostic> checkAndEvaluate(std::string_view text, const DialogTable* table,
                                                    FieldValues& values);

// Checks the file, then evaluates it against `values`. Every message (the end-marker
// warning, the first error) is shown through `host` before returning; true on success.
// The file on disk changes only by a '#' appended when it has none.
bool runFormulaFile(const Folder& folder, std::string_view fileName, FieldValues& values,
                    Host& host);

// As runFormulaFile, with the given fields pinned: each is set to 1 before the run and
// put back to its previous number after it, whatever the run did or assigned.
bool runFormulaFilePinned(const Folder& folder, std::string_view fileName, FieldValues& values,
                          Host& host, std::span<const int> pinnedControlIds);

}  // namespace tarnex
