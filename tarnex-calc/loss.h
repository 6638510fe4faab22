#pragma once
// The catalogue core of a run (--core, --material): chosen in the window before the fields
// are typed, and the loss and fit sheet of the design on it after the commands.

#include <optional>

#include "forms/form.h"
#include "options.h"
#include "output.h"

namespace tarnex::calc {

// Whether the names are in the catalogue and the window asks for a core, before anything
// runs: the usage error otherwise.
std::optional<UsageError> checkCore(const Options& o, Form& form);

// Fills the window's core fields and sets the sheet's conditions (the names checked).
void chooseCore(const Options& o, Form& form);

// The chosen core, and the sheet's rows and findings when the last calculation made one;
// nothing without --core.
std::optional<Record> lossRecord(const Options& o, Form& form);

}  // namespace tarnex::calc
