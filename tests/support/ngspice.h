#pragma once
// Runs a deck through ngspice in batch mode as the program does (sim/ngspice_run.h): as a
// child process with a time limit, its measurements read back.

#include <string>

#include "sim/ngspice_run.h"

namespace tarnex::testing {

using sim::NgspiceRun;

// Whether an `ngspice` program is found on PATH.
bool ngspiceInstalled();

// Runs `deck` as it stands (`ngspice -b`) and parses what it printed. A run that takes longer
// than `seconds` is killed and reported.
NgspiceRun runNgspice(const std::string& deck, double seconds);

}  // namespace tarnex::testing
