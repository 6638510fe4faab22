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

// Checks a formula text (the bytes before the end marker) and evaluates it against `values`
// with the names of `table` (nullptr: no field is known). Returns the first error, of
// either phase; the assignments made before it stay made. Shows nothing and touches no
// file: the file runs below call it on the text they loaded, tests and fuzzers on bytes in
// memory.
std::optional<formula::Diagnostic> checkAndEvaluate(std::string_view text, const DialogTable* table,
                                                    FieldValues& values);

// How a run of a formula file ended.
enum class FormulaOutcome {
  Computed,      // the statements ran to their end
  Failed,        // the run stopped with a message (a file error or the first error)
  NoStatements,  // the text before the end marker holds only blanks, line ends and
                 // comments (an emptied file, a bare line end): nothing was computed, and
                 // the dialog's built-in procedure applies as for a file switched off by '#'
};

// Loads the file, then checks and evaluates its text against `values`, whose names are the
// fields of `bindings` (the table of the window the file belongs to; the six DC-DC files
// share one, the two flyback files another; nullptr: no name is known), with the given
// fields pinned: each is set to 1 before the run and put back to its previous number after
// it, whatever the run did or assigned. Every message (the end-marker warning, the first
// error) is shown through `host` before returning. The file on disk changes only by a '#'
// appended when it has none.
FormulaOutcome runFormula(const Folder& folder, std::string_view fileName,
                          const DialogTable* bindings, FieldValues& values, Host& host,
                          std::span<const int> pinnedControlIds = {});

// runFormula without pins; true unless it failed (a file without statements succeeds,
// computing nothing).
bool runFormulaFile(const Folder& folder, std::string_view fileName, const DialogTable* bindings,
                    FieldValues& values, Host& host);

// runFormula with pinned fields; true unless it failed.
bool runFormulaFilePinned(const Folder& folder, std::string_view fileName,
                          const DialogTable* bindings, FieldValues& values, Host& host,
                          std::span<const int> pinnedControlIds);

// Whether the text of an open formula file (before its end marker, after a byte-order mark)
// holds a statement; reads the file without changing it. A text the run would refuse (too
// long, unreadable) counts as holding one, so that the run reports it.
bool formulaFileHoldsStatement(const UserFile& file);

}  // namespace tarnex
