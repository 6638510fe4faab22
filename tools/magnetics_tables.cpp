// magnetics_tables: turns the open magnetics data (one JSON object a line) into the C++ rows
// that core/magnetics embeds, so that the program reads no JSON when it starts.
//
//   magnetics_tables DATA_DIR OUTPUT.inc FAMILIES MATERIALS
//
// FAMILIES and MATERIALS are comma-separated lists of the shape families and ferrites that
// the catalogue ships (those checked against the makers' datasheets). Every length is written
// in metres: a dimension's nominal value, else the mean of its minimum and maximum, else the
// one limit given.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;

namespace {

std::vector<json> readLines(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<json> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) rows.push_back(json::parse(line));
  }
  return rows;
}

std::set<std::string> split(const std::string& list) {
  std::set<std::string> names;
  std::stringstream s(list);
  std::string name;
  while (std::getline(s, name, ',')) names.insert(name);
  return names;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

// A dimension given as {nominal} or {minimum, maximum} or one of the limits.
double nominal(const json& d) {
  if (d.is_number()) return d.get<double>();
  if (d.contains("nominal")) return d["nominal"].get<double>();
  if (d.contains("minimum") && d.contains("maximum")) {
    return (d["minimum"].get<double>() + d["maximum"].get<double>()) / 2;
  }
  if (d.contains("minimum")) return d["minimum"].get<double>();
  if (d.contains("maximum")) return d["maximum"].get<double>();
  return 0;
}

void writeShapes(std::ostream& out, const std::vector<json>& shapes,
                 const std::set<std::string>& families) {
  std::ostringstream rows, dims;
  int count = 0;
  for (const json& s : shapes) {
    const std::string family = s.value("family", "");
    if (!families.count(family)) continue;
    std::string aliases;
    for (const json& a : s.value("aliases", json::array())) {
      if (!aliases.empty()) aliases += '|';
      aliases += a.get<std::string>();
    }
    const int first = count;
    for (const auto& [letter, value] : s["dimensions"].items()) {
      dims << "    {" << quoted(letter) << ", " << number(nominal(value)) << "},\n";
      ++count;
    }
    rows << "    {" << quoted(s["name"].get<std::string>()) << ", " << quoted(family) << ", "
         << quoted(aliases) << ", " << first << ", " << count - first << "},\n";
  }
  out << "inline constexpr DimensionRow kDimensions[] = {\n" << dims.str() << "};\n";
  out << "inline constexpr ShapeRow kShapes[] = {\n" << rows.str() << "};\n";
}

// The bobbin's own winding space, in the two ways the data draws it. Round tubes (ETD and the
// other round-leg families): the flange diameter d1, the tube's outer diameter d2 and the room
// between the flanges h2. Rectangular tubes (E): the tube's inner sides c × f, its wall s1,
// the flange's inner span e across the window, the flange thickness s2 and the bobbin's
// length l2 along the leg; the winding lies between the flanges (l2 − 2·s2) and from the
// tube's outer face to the flange's edge ((e − f)/2 − s1), around a tube of outer sides
// (c + 2·s1) × (f + 2·s1). Each row: shape, breadth, height, round tube diameter (0 for a
// rectangular one), the rectangular tube's outer sides (0 for a round one).
void writeBobbins(std::ostream& out, const std::vector<json>& bobbins) {
  std::set<std::string> seen;
  out << "inline constexpr BobbinRow kBobbins[] = {\n";
  for (const json& b : bobbins) {
    const json& f = b["functionalDescription"];
    const json& d = f["dimensions"];
    const std::string shape = f.value("shape", "");
    if (seen.count(shape)) continue;
    const auto has = [&](std::initializer_list<const char*> letters) {
      return std::all_of(letters.begin(), letters.end(),
                         [&](const char* l) { return d.contains(l); });
    };
    double breadth = 0, height = 0, tube = 0, tubeWidth = 0, tubeDepth = 0;
    if (has({"d1", "d2", "h2"})) {
      breadth = nominal(d["h2"]);
      height = (nominal(d["d1"]) - nominal(d["d2"])) / 2;
      tube = nominal(d["d2"]);
    } else if (has({"c", "e", "f", "l2", "s1", "s2"})) {
      const double wall = nominal(d["s1"]);
      breadth = nominal(d["l2"]) - 2 * nominal(d["s2"]);
      height = (nominal(d["e"]) - nominal(d["f"])) / 2 - wall;
      tubeWidth = nominal(d["c"]) + 2 * wall;
      tubeDepth = nominal(d["f"]) + 2 * wall;
    } else {
      continue;
    }
    seen.insert(shape);
    out << "    {" << quoted(shape) << ", " << number(breadth) << ", " << number(height) << ", "
        << number(tube) << ", " << number(tubeWidth) << ", " << number(tubeDepth) << "},\n";
  }
  out << "};\n";
}

// The value of a table of {temperature, value} at 25 °C (without DC bias), by straight lines.
double at25(const json& table) {
  if (table.is_object()) return table.value("value", 0.0);
  std::map<double, double> points;
  for (const json& p : table) {
    if (p.value("magneticFieldDcBias", 0.0) != 0.0 || !p.contains("temperature")) continue;
    points.emplace(p["temperature"].get<double>(), p["value"].get<double>());
  }
  if (points.empty()) return 0;
  auto hi = points.lower_bound(25.0);
  if (hi == points.end()) return std::prev(hi)->second;
  if (hi == points.begin() || hi->first == 25.0) return hi->second;
  auto lo = std::prev(hi);
  return lo->second + (hi->second - lo->second) * (25.0 - lo->first) / (hi->first - lo->first);
}

double saturation(const json& table, double temperature) {
  double best = 0, distance = 1e9;
  for (const json& p : table) {
    const double d = std::abs(p.value("temperature", 0.0) - temperature);
    if (d < distance) distance = d, best = p["magneticFluxDensity"].get<double>();
  }
  return best;
}

void writeMaterials(std::ostream& out, const std::vector<json>& materials,
                    const std::set<std::string>& names) {
  std::ostringstream rows, ranges;
  int count = 0;
  for (const json& m : materials) {
    const std::string name = m["name"].get<std::string>();
    if (!names.count(name)) continue;
    std::vector<json> fits = m["steinmetz"][0]["ranges"].get<std::vector<json>>();
    std::sort(fits.begin(), fits.end(), [](const json& a, const json& b) {
      return a["minimumFrequency"].get<double>() < b["minimumFrequency"].get<double>();
    });
    const int first = count;
    for (const json& r : fits) {
      ranges << "    {" << number(r["minimumFrequency"].get<double>()) << ", "
             << number(r["maximumFrequency"].get<double>()) << ", " << number(r["k"].get<double>())
             << ", " << number(r["alpha"].get<double>()) << ", " << number(r["beta"].get<double>())
             << ", " << number(r["ct0"].get<double>()) << ", " << number(r["ct1"].get<double>())
             << ", " << number(r["ct2"].get<double>()) << "},\n";
      ++count;
    }
    rows << "    {" << quoted(name) << ", " << quoted(m["manufacturer"].get<std::string>()) << ", "
         << number(at25(m["initialPermeability"])) << ", "
         << number(saturation(m["saturation"], 25)) << ", "
         << number(saturation(m["saturation"], 100)) << ", " << first << ", " << count - first
         << "},\n";
  }
  out << "inline constexpr SteinmetzRange kRanges[] = {\n" << ranges.str() << "};\n";
  out << "inline constexpr MaterialRow kMaterials[] = {\n" << rows.str() << "};\n";
}

// Round wires of IEC 60317 grades 1 and 2 and the AWG single and heavy builds; litz wires of
// either standard, their strand's conducting diameter taken from the round wire it names.
void writeWires(std::ostream& out, const std::vector<json>& wires) {
  std::map<std::string, double> conducting;
  for (const json& w : wires) {
    if (w["type"] == "round") conducting[w["name"]] = nominal(w["conductingDiameter"]);
  }
  out << "inline constexpr WireRow kWires[] = {\n";
  for (const json& w : wires) {
    const std::string type = w["type"].get<std::string>();
    const std::string name = w["name"].get<std::string>();
    const std::string standard = w.value("standard", "");
    if (type == "round") {
      const int grade = w.contains("coating") ? w["coating"].value("grade", 0) : 0;
      if (grade != 1 && grade != 2) continue;
      const std::string build = grade == 1 ? " - Single Build" : " - Heavy Build";
      const std::string shown =
          standard == "IEC 60317" ? name : w.value("standardName", name) + build;
      out << "    {" << quoted(shown) << ", " << quoted(standard) << ", " << grade << ", false, 1, "
          << number(conducting[name]) << ", " << number(nominal(w["outerDiameter"])) << "},\n";
    } else if (type == "litz") {
      const auto strand = conducting.find(w.value("strand", ""));
      if (strand == conducting.end()) continue;
      out << "    {" << quoted(name) << ", " << quoted(standard) << ", 0, true, "
          << w["numberConductors"].get<int>() << ", " << number(strand->second) << ", "
          << number(nominal(w["outerDiameter"])) << "},\n";
    }
  }
  out << "};\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: magnetics_tables DATA_DIR OUTPUT.inc FAMILIES MATERIALS\n";
    return 2;
  }
  try {
    const std::string dir = argv[1];
    std::ostringstream out;
    out << "// Made at build time by tools/magnetics_tables.cpp from "
        << "resources/magnetics; "
        << "do not edit.\n";
    writeShapes(out, readLines(dir + "/core_shapes.ndjson"), split(argv[3]));
    writeBobbins(out, readLines(dir + "/bobbins.ndjson"));
    writeMaterials(out, readLines(dir + "/ferrite_materials.ndjson"), split(argv[4]));
    writeWires(out, readLines(dir + "/wires.ndjson"));
    std::ofstream file(argv[2]);
    file << out.str();
    if (!file) throw std::runtime_error(std::string("cannot write ") + argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "magnetics_tables: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
