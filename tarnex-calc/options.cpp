#include "options.h"

#include <cmath>
#include <cstdlib>

namespace tarnex::calc {

namespace {

// A number option's text read whole as a finite number; nothing otherwise.
std::optional<double> number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

// What is wrong with the core options taken together; nothing when they are usable.
std::optional<UsageError> coreOptionsError(const Options& o) {
  if (o.core.has_value() != o.material.has_value()) {
    return UsageError{"--core and --material go together: --core NAME --material NAME"};
  }
  if (!(o.temperature >= -60 && o.temperature <= 250)) {
    return UsageError{"--temperature must lie between -60 and 250 (°C)"};
  }
  if (!(o.fill > 0 && o.fill <= 1)) {
    return UsageError{"--fill must be a fraction of the window above 0 and at most 1"};
  }
  return std::nullopt;
}

const char* const kUsageLine =
    "usage: tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] "
    "[--json] [--captions] [--bode] [--load-step] [--core NAME --material NAME [--temperature T] "
    "[--fill F]] [--report FILE.html] [--load FILE] [--save FILE] [--batch] "
    "[--sweep NAME=FROM:TO:STEP ...] | "
    "tarnex-calc --list [--json] | "
    "tarnex-calc cores [--family FAMILY] [--json] | tarnex-calc --help";

}  // namespace

const char* const kHelp =
    "tarnex-calc: the design windows and loop-compensation pages of Tarnex without the desktop.\n"
    "\n"
    "  tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] [--json]\n"
    "              [--captions] [--bode] [--load-step] [--core NAME --material NAME\n"
    "              [--temperature T] [--fill F]] [--report FILE.html] [--load FILE]\n"
    "              [--save FILE] [--batch] [--sweep NAME=FROM:TO:STEP [--sweep ...]]\n"
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
    "  --core NAME --material NAME\n"
    "              a design window that asks for a core: the catalogue core and ferrite\n"
    "              (see `tarnex-calc cores`) fill its core fields after the list entries are\n"
    "              selected and before the fields are typed; after the commands the loss and\n"
    "              fit sheet of the design on that core: `core` NAME MATERIAL AL (nH, as the\n"
    "              design needs it) GAP (mm to grind, fringing counted) WINDOW-GAP (mm, the\n"
    "              window's own, without fringing), a `loss` line per row (label, value,\n"
    "              unit) and a `loss-check` line per finding\n"
    "  --temperature T  the core's and windings' temperature for the sheet, °C (default 100)\n"
    "  --fill F    the share of the window area the windings may take (default 0.4)\n"
    "  --load FILE a design file of the window (one saved by Tarnex, or by --save) opened\n"
    "              into it first: its list entries, catalogue core and field texts, as\n"
    "              saved; the list entries, core and texts of the command line then change\n"
    "              it. A page of the loop-compensation sheet also opens its part of a\n"
    "              design of the whole sheet. A file that is refused is explained on stderr\n"
    "              (exit status 2) and nothing runs\n"
    "  --save FILE after the commands, the window's design (inputs, list entries, core and\n"
    "              the results as shown) saved as FILE; the file is replaced whole or not\n"
    "              at all. A save that fails is explained on stderr (exit status 3)\n"
    "  --bode      a loop-compensation page: the Bode plot of the last calculation, as rows\n"
    "              of frequency, gain (dB) and phase (degrees) for each trace, the\n"
    "              crossover with its phase margin and the gain margin at half the\n"
    "              switching frequency; after the command `exact` also those of the exact\n"
    "              design and its components beside the page's\n"
    "  --load-step a page that knows its power stage (current mode, type II): the output's\n"
    "              deviation after the load steps from 50 % to 100 % of the page's load, from\n"
    "              the averaged loop of the last calculation: `load-step` load and step (A),\n"
    "              a `load-step-trace` line per network (page, exact) with whether its loop\n"
    "              is stable, the peak deviation (V) and its time (s), the final deviation (V)\n"
    "              and the settling time (s, into ±2 % of the largest distance from the final\n"
    "              value), then its `step` rows of time (s) and deviation (V)\n"
    "  --report FILE.html\n"
    "              the design report of the window after the commands: its title, the\n"
    "              list entries and inputs, the results with their units, the design check,\n"
    "              the loss sheet of a catalogue core and a page's margins, with the program's\n"
    "              version and the date ($SOURCE_DATE_EPOCH when set); written whole or not\n"
    "              at all. Without the pictures: the PDF with the circuit drawing and the\n"
    "              Bode plot comes from the desktop program's \"生成报告…\"\n"
    "  --batch     a run per line of standard input, all on the working folder prepared once:\n"
    "              a line holds LIST=ENTRY and NAME=TEXT words and commands, separated by\n"
    "              blanks, set over those of the command line (its commands, when it names\n"
    "              any, instead of theirs); blank lines and lines starting with # are skipped.\n"
    "              A CSV row per run under a header: the line (or point) number, the status\n"
    "              (0 written, 1 not), the messages (parted by \" | \"; a failed read names\n"
    "              its field), the worst finding of the design check, then every field as\n"
    "              shown; with --json one JSON object per run, as a single run prints it\n"
    "  --sweep NAME=FROM:TO:STEP\n"
    "              runs the window once per value of field NAME, FROM to TO by STEP, or by a\n"
    "              factor with FROM:TO:xFACTOR (1:1000:x10); a second --sweep makes a grid,\n"
    "              the second field running through its values for each of the first's;\n"
    "              rows as for --batch (with --batch, every line is swept)\n"
    "\n"
    "JSON: every field has its text as shown, its number (null when it shows none) and its\n"
    "unit; a message of a failed read names the field; a text longer than the 31 bytes a\n"
    "field reads adds a warning.\n"
    "\n"
    "Exit status: 0 when the last command wrote its results (for `exact`: solved its\n"
    "network), 1 when it ended on a message without writing them, 2 for a usage error, a\n"
    "report that could not be written or a design file refused, 3 when the design could\n"
    "not be saved.\n"
    "--batch and --sweep: 0 when every run wrote its results, 1 when one did not, 2 for a\n"
    "usage error on the command line or on any line (then nothing runs).\n";

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
    } else if (a == "--load-step") {
      o.loadStep = true;
    } else if (a == "--batch") {
      o.batch = true;
    } else if (a == "--sweep") {
      const std::size_t eq = i + 1 < args.size() ? args[i + 1].find('=') : std::string::npos;
      if (eq == std::string::npos || eq == 0) return UsageError{"--sweep needs NAME=FROM:TO:STEP"};
      if (o.sweeps.size() == 2) return UsageError{"--sweep is given once, or twice for a grid"};
      o.sweeps.emplace_back(args[i + 1].substr(0, eq), args[i + 1].substr(eq + 1));
      ++i;
    } else if (a == "--dir") {
      if (i + 1 >= args.size()) return UsageError{"--dir needs a folder"};
      o.dir = args[++i];
    } else if (a == "--report") {
      if (i + 1 >= args.size()) return UsageError{"--report needs a file name"};
      o.report = args[++i];
    } else if (a == "--core" || a == "--material") {
      if (i + 1 >= args.size()) return UsageError{a + " needs a name"};
      (a == "--core" ? o.core : o.material) = args[++i];
    } else if (a == "--load" || a == "--save") {
      if (i + 1 >= args.size() || args[i + 1].empty()) return UsageError{a + " needs a file"};
      (a == "--load" ? o.load : o.save) = args[++i];
    } else if (a == "--temperature" || a == "--fill") {
      const std::optional<double> v = i + 1 < args.size() ? number(args[i + 1]) : std::nullopt;
      if (!v) return UsageError{a + " needs a number"};
      (a == "--temperature" ? o.temperature : o.fill) = *v;
      ++i;
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
  if ((o.batch || !o.sweeps.empty()) &&
      (o.captions || o.bode || o.loadStep || o.report || o.load || o.save)) {
    return UsageError{"--batch and --sweep print no captions, Bode plot, report or design file"};
  }
  if (const std::optional<UsageError> e = coreOptionsError(o)) return *e;
  return o;
}

}  // namespace tarnex::calc
