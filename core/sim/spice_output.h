#pragma once
// What ngspice printed in batch mode (`ngspice -b deck.cir`), read back: the `.meas` results
// of the transient analysis by name, the table an AC analysis prints for one complex vector
// (`.print ac v(node)`), and the errors it reported. A measurement that failed (its condition
// never met, a vector missing) is absent and its error kept; a deck that did not parse or whose
// analysis never ran gives no measurements and says why.

#include <complex>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnex::sim {

// One row of an AC analysis's printed table: the frequency and the vector's complex value.
struct AcPoint {
  double f = 0;  // Hz
  std::complex<double> v;
};

struct SpiceRun {
  bool analysed = false;                 // the analysis ran to its end
  std::map<std::string, double> values;  // measurement name (as ngspice prints it) → value
  std::vector<AcPoint> ac;               // the AC table, rows in the order printed
  std::vector<std::string> errors;       // every line ngspice marked as an error, as printed

  std::optional<double> value(std::string_view name) const;
  // Why the run gave no measurements ("" when it did): the errors, or a note that the
  // analysis did not run.
  std::string failure() const;
};

SpiceRun parseSpiceOutput(std::string_view output);

}  // namespace tarnex::sim
