#include "options.h"

namespace tarnex::calc {

namespace {

const char* const kUsageLine =
    "usage: tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] "
    "[--json] [--captions] [--bode] | tarnex-calc --list [--json] | "
    "tarnex-calc cores [--family FAMILY] [--json] | tarnex-calc --help";

}  // namespace

const char* const kHelp =
    "tarnex-calc: the design windows and loop-compensation pages of Tarnex without the desktop.\n"
    "\n"
    "  tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] [--json]\n"
    "              [--captions] [--bode]\n"
    "  tarnex-calc --list [--json]\n"
    "  tarnex-calc cores [--family FAMILY] [--json]\n"
    "  tarnex-calc --help\n"
    "\n"
    "Opens the window DIALOG on the formula and interface files of the working folder exactly\n"
    "as the desktop program does, selects the list entries, types the field texts, presses the\n"
    "buttons named by COMMAND in order (default: the window's default button) and prints,\n"
    "tab-separated, the title, every message box and every field as displayed afterwards,\n"
    "then the design check of a design window: one line per finding, its severity (info,\n"
    "warning, failure) and its text.\n"
    "The working folder is DIR, else $TARNEX_HOME, else ~/Tarnex, the desktop program's; it is\n"
    "created and filled like at the desktop program's first start when files are missing.\n"
    "\n"
    "  --list      every dialog with its commands, lists, entries and fields (input/output);\n"
    "              a command marked `default` is pressed by Enter in the window and run when\n"
    "              no command is named; one marked `command-line-default` is run then too,\n"
    "              though Enter in its window only checks the fields\n"
    "  --json      one JSON object instead of tab-separated lines\n"
    "  --captions  also the captions, with the number an interface file uses for each\n"
    "  --dir DIR   the working folder instead of $TARNEX_HOME or ~/Tarnex\n"
    "  cores       the magnetics catalogue, smallest core first: name, family, Ae (mm²),\n"
    "              le (mm), Ve (mm³), Aw (mm²), area product Ae·Aw (mm⁴); --family e, planarE,\n"
    "              efd, etd, p or t lists one family\n"
    "  --bode      a loop-compensation page: the Bode plot of the last calculation, as rows\n"
    "              of frequency, gain (dB) and phase (degrees) for each trace, the\n"
    "              crossover with its phase margin and the gain margin at half the\n"
    "              switching frequency; after the command `exact` also those of the exact\n"
    "              design and its components beside the page's\n"
    "\n"
    "Exit status: 0 when the last command wrote its results (for `exact`: solved its\n"
    "network), 1 when it ended on a message without writing them, 2 for a usage error.\n";

std::variant<Options, UsageError> parse(std::span<const std::string> args) {
  Options o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--list") {
      o.list = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--captions") {
      o.captions = true;
    } else if (a == "--bode") {
      o.bode = true;
    } else if (a == "--dir") {
      if (i + 1 >= args.size()) return UsageError{"--dir needs a folder"};
      o.dir = args[++i];
    } else if (a.starts_with("--")) {
      return UsageError{"unknown option " + a};
    } else if (o.dialog.empty() && !o.list) {
      o.dialog = a;
    } else if (const auto eq = a.find('='); eq != std::string::npos) {
      o.assignments.emplace_back(a.substr(0, eq), a.substr(eq + 1));
    } else {
      o.commands.push_back(a);
    }
  }
  if (o.help) return o;
  if (o.list) {
    if (!o.dialog.empty() || !o.commands.empty() || !o.assignments.empty()) {
      return UsageError{"--list takes no dialog, command or field"};
    }
    return o;
  }
  if (o.dialog.empty()) return UsageError{kUsageLine};
  return o;
}

}  // namespace tarnex::calc
