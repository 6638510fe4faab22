#include "sim/spice_output.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace tarnex::sim {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// "name = 1.234e-03 at= ..." → name and value; false for any other line.
bool measurementLine(std::string_view line, std::string& name, double& value) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos || eq == 0) return false;
  const std::string_view key = trimmed(line.substr(0, eq));
  if (key.empty()) return false;
  for (char c : key) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  const std::string rest(trimmed(line.substr(eq + 1)));
  char* end = nullptr;
  const double v = std::strtod(rest.c_str(), &end);
  if (end == rest.c_str()) return false;
  name = key;
  value = v;
  return true;
}

}  // namespace

std::optional<double> SpiceRun::value(std::string_view name) const {
  const auto it = values.find(std::string(name));
  if (it == values.end()) return std::nullopt;
  return it->second;
}

std::string SpiceRun::failure() const {
  if (analysed) return "";
  std::string why = "ngspice ran no transient analysis";
  for (const std::string& e : errors) why += "; " + e;
  return why;
}

SpiceRun parseSpiceOutput(std::string_view output) {
  SpiceRun run;
  std::istringstream lines{std::string(output)};
  bool inMeasurements = false;
  bool aborted = false;
  for (std::string raw; std::getline(lines, raw);) {
    const std::string_view line = trimmed(raw);
    if (startsWith(line, "Error") || startsWith(line, "error")) {
      run.errors.emplace_back(line);
      // An analysis that gave up half way (its time step collapsed) measured nothing.
      if (line.find("aborted") != std::string_view::npos ||
          line.find("Timestep too small") != std::string_view::npos) {
        aborted = true;
      }
      continue;
    }
    // The block of results follows this heading and ends with the timing summary.
    if (startsWith(line, "Measurements for Transient Analysis")) {
      inMeasurements = true;
      run.analysed = true;
      continue;
    }
    // Printed once the transient analysis has stored its points, measurements or none.
    if (startsWith(line, "No. of Data Rows")) run.analysed = true;
    if (startsWith(line, "Total analysis time") || startsWith(line, "Total elapsed time")) {
      inMeasurements = false;
      continue;
    }
    std::string name;
    double value = 0;
    if (inMeasurements && measurementLine(line, name, value)) run.values[name] = value;
  }
  if (aborted) {
    run.analysed = false;
    run.values.clear();
  }
  return run;
}

}  // namespace tarnex::sim
