#pragma once
// The simulation of a design window (--simulate) and its deck written to a file (--netlist),
// after the commands.

#include <optional>
#include <ostream>

#include "base/host.h"
#include "forms/form.h"
#include "options.h"
#include "output.h"

namespace tarnex::calc {

// A usage error when --simulate or --netlist is asked of a window that is no design window.
std::optional<UsageError> checkSimulate(const Options& o, const Form& form);

// The simulation's table and findings, or its error; nothing without --simulate. `ok` is set
// false when it gave no table.
std::optional<Record> simulationRecord(const Options& o, const Form& form, Host& host, bool& ok);

// Writes the deck to the --netlist file; false with the message on `err` when it could not.
bool writeNetlist(const Options& o, const Form& form, std::ostream& err);

}  // namespace tarnex::calc
