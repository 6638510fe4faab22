#pragma once
// The vectors of a transient analysis as ngspice writes them to an ASCII raw file
// (`write out.raw` with `.options filetype=ascii`): time and every vector saved, one
// value per point, by the names ngspice gives them ("v(out)", "i(vin)", lower case).

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tarnex::sim {

struct Waveforms {
  std::vector<double> time;                            // s
  std::map<std::string, std::vector<double>> vectors;  // name → one value per time point

  // The vector of that name, or nullptr.
  const std::vector<double>* find(std::string_view name) const;
};

// The first plot of an ASCII raw file. False, with `error` set, for a text that is no such
// file or that ends before its points do (a run that was cut short).
bool parseRawFile(std::string_view text, Waveforms& out, std::string& error);

}  // namespace tarnex::sim
