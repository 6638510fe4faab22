#pragma once
// Text of an ngspice deck, built card by card: each component is written after a comment
// line that says where its value comes from, so that an engineer reading the deck can tell
// the window's numbers from the ones the simulation adds (sense sources, dampers).

#include <string>
#include <string_view>

namespace tarnex::sim {

// A number as ngspice reads it, in SI units: nine significant digits, no unit suffix.
std::string spiceNumber(double v);

// "name = value unit" as a window shows the value (six significant digits), for comments.
std::string shown(std::string_view name, double v, std::string_view unit = "");

class Netlist {
 public:
  explicit Netlist(std::string_view title);

  // "* text": a line of its own.
  void comment(std::string_view text);
  // A component or directive card, after the comment that says where it comes from.
  void card(std::string_view text, std::string_view why);
  // A card that needs no explanation beyond the comment before a group (models, analysis).
  void card(std::string_view text);

  // The deck, ended by ".end".
  std::string text() const;

 private:
  std::string text_;
};

}  // namespace tarnex::sim
