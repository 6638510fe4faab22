#pragma once
// Runs a deck through ngspice in batch mode, as a child process with a time limit, and reads
// its measurements back.

#include <string>

#include "sim/spice_output.h"

namespace tarnex::testing {

struct NgspiceRun {
  std::string error;   // why no measurements came back ("" when they did)
  std::string output;  // what ngspice printed, stdout and stderr together
  sim::SpiceRun run;
  bool ok() const { return error.empty(); }
};

// Whether an `ngspice` program is found on PATH.
bool ngspiceInstalled();

// Writes `deck` to a temporary file, runs `ngspice -b` on it and parses what it printed. A
// run that takes longer than `seconds` is killed and reported.
NgspiceRun runNgspice(const std::string& deck, double seconds);

}  // namespace tarnex::testing
