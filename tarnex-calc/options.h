#pragma once
// The command line of tarnex-calc read into options (see calc.h), and its help text.

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tarnex::calc {

struct Options {
  bool help = false;
  bool list = false;
  bool json = false;
  bool captions = false;
  bool bode = false;
  bool loadStep = false;
  std::optional<std::string> dir;
  std::string dialog;
  std::vector<std::string> commands;
  std::vector<std::pair<std::string, std::string>> assignments;  // LIST=ENTRY or NAME=TEXT
  // A catalogue core and ferrite for the window's core fields, and the loss sheet's
  // conditions: the temperature in °C and the window's fill factor.
  std::optional<std::string> core, material;
  double temperature = 100;
  double fill = 0.4;
  // A design file opened into the window before the list entries, cores and texts of the
  // command line, and one the window is saved to after its commands.
  std::optional<std::string> load, save;
  // The design report of the window after the commands, as HTML.
  std::optional<std::string> report;
  // Many runs on one working folder: a run per line of standard input (--batch), each of
  // them once per point of the sweeps (NAME and its FROM:TO:STEP text; a second makes a grid).
  bool batch = false;
  std::vector<std::pair<std::string, std::string>> sweeps;
};

// What is wrong with the command line, on one line.
struct UsageError {
  std::string text;
};

std::variant<Options, UsageError> parse(std::span<const std::string> args);

extern const char* const kHelp;

}  // namespace tarnex::calc
