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

// "0\t1.000000e+01\t9.827791e+00,\t-1.57579e+03": a row of the AC table of one complex vector
// (index, frequency, real part and a comma, imaginary part); false for any other line.
bool acRow(const std::string& line, AcPoint& point) {
  const char* p = line.c_str();
  char* end = nullptr;
  std::strtol(p, &end, 10);
  if (end == p) return false;
  double x[3];
  for (double& v : x) {
    p = end;
    v = std::strtod(p, &end);
    if (end == p) return false;
    if (*end == ',') ++end;
  }
  point.f = x[0];
  point.v = {x[1], x[2]};
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
  std::string why = "ngspice ran no analysis";
  for (const std::string& e : errors) why += "; " + e;
  return why;
}

SpiceRun parseSpiceOutput(std::string_view output) {
  SpiceRun run;
  std::istringstream lines{std::string(output)};
  bool inMeasurements = false;
  bool inAcTable = false;
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
      inAcTable = false;
      continue;
    }
    // The AC table's column heading; its rows follow (a page break repeats the heading).
    if (startsWith(line, "Index") && line.find("frequency") != std::string_view::npos) {
      inAcTable = true;
      continue;
    }
    AcPoint point;
    if (inAcTable && acRow(std::string(line), point)) {
      run.ac.push_back(point);
      continue;
    }
    std::string name;
    double value = 0;
    if (inMeasurements && measurementLine(line, name, value)) run.values[name] = value;
  }
  if (aborted) {
    run.analysed = false;
    run.values.clear();
    run.ac.clear();
  }
  return run;
}

}  // namespace tarnex::sim
