#pragma once
// Public face of the formula language: run a user's formula file against a dialog's numbers.

#include <span>
#include <string_view>

#include "base/field_values.h"
#include "base/host.h"
#include "base/user_file.h"
#include "tables/field_table.h"

namespace tarnex {

// Checks the file, then evaluates it against `values`, whose names are the fields of
// `bindings` (the table of the window the file belongs to; the six DC-DC files share one,
// the two flyback files another; nullptr: no name is known). Every message (the end-marker warning,
// the first error) is shown through `host` before returning; true on success. The file on disk
// changes only by a
// '#' appended when it has none.
bool runFormulaFile(const Folder& folder, std::string_view fileName, const DialogTable* bindings,
                    FieldValues& values, Host& host);

// As runFormulaFile, with the given fields pinned: each is set to 1 before the run and
// put back to its previous number after it, whatever the run did or assigned.
bool runFormulaFilePinned(const Folder& folder, std::string_view fileName,
                          const DialogTable* bindings, FieldValues& values, Host& host,
                          std::span<const int> pinnedControlIds);

}  // namespace tarnex
