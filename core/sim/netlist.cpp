#include "sim/netlist.h"

#include <cstdio>

namespace tarnex::sim {

std::string spiceNumber(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

std::string shown(std::string_view name, double v, std::string_view unit) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  std::string s = std::string(name) + " = " + buf;
  if (!unit.empty()) s.append(" ").append(unit);
  return s;
}

Netlist::Netlist(std::string_view title) {
  // The first line of a deck is its title, whatever it holds.
  text_.append(title).append("\n");
}

void Netlist::comment(std::string_view text) {
  text_.append("* ").append(text).append("\n");
}

void Netlist::card(std::string_view text, std::string_view why) {
  comment(why);
  card(text);
}

void Netlist::card(std::string_view text) {
  text_.append(text).append("\n");
}

std::string Netlist::text() const {
  return text_ + ".end\n";
}

}  // namespace tarnex::sim
