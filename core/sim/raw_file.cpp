#include "sim/raw_file.h"

#include <cstdlib>
#include <sstream>

namespace tarnex::sim {

namespace {

// The header line "Key: value", its value trimmed; false for another key.
bool header(const std::string& line, std::string_view key, std::string& value) {
  if (line.compare(0, key.size(), key) != 0 || line.size() <= key.size() || line[key.size()] != ':')
    return false;
  std::size_t from = key.size() + 1;
  while (from < line.size() && (line[from] == ' ' || line[from] == '\t')) ++from;
  std::size_t to = line.size();
  while (to > from && (line[to - 1] == ' ' || line[to - 1] == '\t' || line[to - 1] == '\r')) --to;
  value = line.substr(from, to - from);
  return true;
}

bool number(const std::string& text, double& v) {
  const char* p = text.c_str();
  char* end = nullptr;
  v = std::strtod(p, &end);
  return end != p;
}

}  // namespace

const std::vector<double>* Waveforms::find(std::string_view name) const {
  const auto it = vectors.find(std::string(name));
  return it == vectors.end() ? nullptr : &it->second;
}

bool parseRawFile(std::string_view text, Waveforms& out, std::string& error) {
  out = {};
  std::istringstream in{std::string(text)};
  std::string line, value;
  long variables = -1, points = -1;
  bool real = false;
  while (std::getline(in, line)) {
    if (header(line, "Flags", value)) real = value.find("complex") == std::string::npos;
    if (header(line, "No. Variables", value)) variables = std::strtol(value.c_str(), nullptr, 10);
    if (header(line, "No. Points", value)) points = std::strtol(value.c_str(), nullptr, 10);
    if (line.rfind("Variables:", 0) == 0) break;
  }
  // Bounded so that a damaged header cannot ask for memory without end.
  constexpr long kMostVariables = 10000, kMostPoints = 10000000;
  if (variables < 1 || variables > kMostVariables || points < 0 || points > kMostPoints) {
    error = "not an ngspice raw file";
    return false;
  }
  if (!real) {
    error = "the raw file holds complex values (not a transient analysis)";
    return false;
  }
  std::vector<std::string> names;
  for (long i = 0; i < variables && std::getline(in, line); ++i) {
    std::istringstream row(line);
    std::string index, name;
    row >> index >> name;
    names.push_back(name);
  }
  if (static_cast<long>(names.size()) != variables || !std::getline(in, line) ||
      line.rfind("Values:", 0) != 0) {
    error = "the raw file's list of vectors is incomplete";
    return false;
  }
  std::vector<std::vector<double>> columns(names.size());
  for (auto& c : columns) c.reserve(static_cast<std::size_t>(points));
  // Each point: its index and the first value on one line, every further value on its own.
  std::string word;
  for (long p = 0; p < points; ++p) {
    if (!(in >> word)) break;  // the index
    for (std::size_t v = 0; v < names.size(); ++v) {
      double x = 0;
      if (!(in >> word) || !number(word, x)) {
        error = "the raw file ends inside point " + std::to_string(p);
        return false;
      }
      columns[v].push_back(x);
    }
  }
  if (columns[0].size() != static_cast<std::size_t>(points)) {
    error = "the raw file holds " + std::to_string(columns[0].size()) + " of its " +
            std::to_string(points) + " points";
    return false;
  }
  out.time = std::move(columns[0]);
  for (std::size_t v = 1; v < names.size(); ++v) out.vectors[names[v]] = std::move(columns[v]);
  return true;
}

}  // namespace tarnex::sim
