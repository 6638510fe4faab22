#pragma once
// What ngspice printed in batch mode (`ngspice -b deck.cir`), read back: the `.meas` results
// of the transient analysis by name, and the errors it reported. A measurement that failed
// (its condition never met, a vector missing) is absent and its error kept; a deck that did
// not parse or whose analysis never ran gives no measurements and says why.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnex::sim {

struct SpiceRun {
  bool analysed = false;                 // the transient analysis ran to its end
  std::map<std::string, double> values;  // measurement name (as ngspice prints it) → value
  std::vector<std::string> errors;       // every line ngspice marked as an error, as printed

  std::optional<double> value(std::string_view name) const;
  // Why the run gave no measurements ("" when it did): the errors, or a note that the
  // analysis did not run.
  std::string failure() const;
};

SpiceRun parseSpiceOutput(std::string_view output);

}  // namespace tarnex::sim
