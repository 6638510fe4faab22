#include "calc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "designs/registry.h"
#include "forms/field_form.h"
#include "forms/form.h"
#include "forms/sheet.h"
#include "loop/bode.h"
#include "loop/loop_sheet.h"
#include "output.h"
#include "startup/startup.h"
#include "startup/working_folder.h"
#include "tables/field_table.h"

namespace tarnex::calc {

namespace {

// Records what the window asked of the outside world; the progress window has no
// animation here, it only tells that a command wrote its results.
class CalcHost : public Host {
 public:
  void showMessage(const Message& message) override { messages.push_back(message); }
  void runProgress() override { ++progressRuns; }
  // A modal dialog opens, is noted with its texts and is closed at once.
  void runDialog(Form& dialog) override {
    dialog.open();
    Shown shown{dialog.title(), {}};
    for (const Control& c : dialog.controls()) {
      const bool text = c.kind == ControlKind::Label || c.kind == ControlKind::Note ||
                        c.kind == ControlKind::Group;
      if (text && !c.text.empty()) shown.texts.push_back(c.text);
    }
    dialogs.push_back(std::move(shown));
  }
  void runSheet(Sheet& sheet) override {
    sheet.open();
    dialogs.push_back({sheet.title(), {}});
    sheet.close();
  }
  void openInDesktop(const std::string&, bool) override {}
  void repaint() override {}

  struct Shown {
    std::string title;
    std::vector<std::string> texts;
  };
  std::vector<Message> messages;
  std::vector<Shown> dialogs;
  int progressRuns = 0;
};

struct Options {
  bool help = false;
  bool list = false;
  bool json = false;
  bool captions = false;
  bool bode = false;
  std::optional<std::string> dir;
  std::string dialog;
  std::vector<std::string> commands;
  std::vector<std::pair<std::string, std::string>> assignments;  // LIST=ENTRY or NAME=TEXT
};

struct UsageError {
  std::string text;
};

const char* kUsageLine =
    "usage: tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] "
    "[--json] [--captions] [--bode] | tarnex-calc --list [--json] | tarnex-calc --help";

const char* kHelp =
    "tarnex-calc: the design windows and loop-compensation pages of Tarnex without the desktop.\n"
    "\n"
    "  tarnex-calc DIALOG [COMMAND ...] [LIST=ENTRY ...] [NAME=TEXT ...] [--dir DIR] [--json]\n"
    "              [--captions] [--bode]\n"
    "  tarnex-calc --list [--json]\n"
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
    "  --list      every dialog with its commands, lists, entries and fields (input/output)\n"
    "  --json      one JSON object instead of tab-separated lines\n"
    "  --captions  also the captions, with the number an interface file uses for each\n"
    "  --dir DIR   the working folder instead of $TARNEX_HOME or ~/Tarnex\n"
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

std::string knownDialogs() {
  std::string keys;
  for (const DesignInfo& d : designs()) {
    if (d.make != nullptr) keys += (keys.empty() ? "" : ", ") + std::string(d.key());
  }
  for (const LoopPageInfo& p : loopPages()) keys += ", " + std::string(p.key());
  return keys;
}

const Control* findButton(const Form& form, std::string_view key) {
  for (const Control& c : form.controls()) {
    if (c.kind == ControlKind::Button && !c.key.empty() && c.key == key) return &c;
  }
  return nullptr;
}

const Control* findList(const Form& form, std::string_view key) {
  for (const Control& c : form.controls()) {
    if (c.kind == ControlKind::DropList && !c.key.empty() && c.key == key) return &c;
  }
  return nullptr;
}

// The entry named by its command-line key or by its text as shown; -1 when none.
int findEntry(const Control& list, std::string_view name) {
  for (std::size_t i = 0; i < list.entryKeys.size(); ++i) {
    if (list.entryKeys[i] == name) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    if (list.entries[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string entryKeys(const Control& list) {
  std::string keys;
  for (const std::string& k : list.entryKeys) keys += (keys.empty() ? "" : ", ") + k;
  return keys;
}

std::string iconName(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return "information";
    case Icon::Warning:
      return "warning";
    case Icon::Error:
      return "error";
    case Icon::None:
      break;
  }
  return "none";
}

// --- the listing of every window ---------------------------------------------------------

// One dialog of the listing, from its table: its commands, lists with their entries, and
// fields marked input or output as the window treats them.
std::string listDialog(const DialogTable& t, std::vector<Row>& rows) {
  const std::string key(t.key);
  rows.push_back({"dialog", {key, std::string(t.titleName)}});
  std::string jCommands, jLists, jFields;
  auto comma = [](const std::string& s) { return s.empty() ? "" : ","; };
  for (const ButtonRow& b : t.buttons) {
    if (b.key.empty()) continue;
    const bool isDefault = b.isDefault || b.commandLineDefault;
    rows.push_back(
        {"command", {key, std::string(b.key), std::string(b.caption), isDefault ? "default" : ""}});
    jCommands += comma(jCommands) + std::string("{\"key\":") + jsonString(b.key) +
                 ",\"text\":" + jsonString(b.caption) +
                 ",\"default\":" + (isDefault ? "true" : "false") + "}";
  }
  for (const ListRow& l : t.lists) {
    rows.push_back({"list", {key, std::string(l.key), std::string(l.caption)}});
    std::string jEntries;
    for (const ListEntry& e : l.entries) {
      rows.push_back({"entry", {key, std::string(l.key), std::string(e.key), std::string(e.text)}});
      jEntries += comma(jEntries) + std::string("{\"key\":") + jsonString(e.key) +
                  ",\"text\":" + jsonString(e.text) + "}";
    }
    jLists += comma(jLists) + std::string("{\"key\":") + jsonString(l.key) +
              ",\"caption\":" + jsonString(l.caption) + ",\"entries\":[" + jEntries + "]}";
  }
  for (const FieldRow& row : t.fields) {
    rows.push_back({"field",
                    {key, std::string(row.name), std::string(row.caption), std::string(row.unit),
                     row.output() ? "output" : "input"}});
    jFields += comma(jFields) + std::string("{\"name\":") + jsonString(row.name) +
               ",\"label\":" + jsonString(row.caption) + ",\"unit\":" + jsonString(row.unit) +
               ",\"output\":" + (row.output() ? "true" : "false") + "}";
  }
  return std::string("{\"key\":") + jsonString(key) + ",\"title\":" + jsonString(t.titleName) +
         ",\"commands\":[" + jCommands + "],\"lists\":[" + jLists + "],\"fields\":[" + jFields +
         "]}";
}

void printList(const Options& o, std::ostream& out) {
  std::vector<Row> rows;
  std::string json;
  for (const DesignInfo& info : designs()) {
    if (info.make == nullptr) continue;
    json += (json.empty() ? "" : ",") + listDialog(*info.table, rows);
  }
  for (const LoopPageInfo& page : loopPages()) json += "," + listDialog(*page.table, rows);
  if (o.json) {
    out << "{\"dialogs\":[" << json << "]}\n";
  } else {
    for (const Row& r : rows) out << tabLine(r) << '\n';
  }
}

// --- one run of a window -----------------------------------------------------------------

struct Plan {
  std::vector<std::pair<int, int>> selections;     // list id, entry index
  std::vector<std::pair<int, std::string>> texts;  // field id, text
  std::vector<int> buttons;
};

std::variant<Plan, UsageError> plan(const Options& o, const Form& form) {
  Plan p;
  const DialogTable* table = form.table();
  for (const auto& [name, text] : o.assignments) {
    if (const Control* list = findList(form, name)) {
      const int index = findEntry(*list, text);
      if (index < 0) {
        return UsageError{"unknown entry '" + text + "' of list '" + name +
                          "' (entries: " + entryKeys(*list) + ")"};
      }
      p.selections.emplace_back(list->id, index);
    } else if (const FieldRow* row = table ? findField(*table, name) : nullptr) {
      p.texts.emplace_back(row->controlId, text);
    } else {
      return UsageError{"unknown field or list '" + name + "' of dialog '" + o.dialog + "'"};
    }
  }
  for (const std::string& key : o.commands) {
    const Control* button = findButton(form, key);
    if (!button) return UsageError{"unknown command '" + key + "' of dialog '" + o.dialog + "'"};
    p.buttons.push_back(button->id);
  }
  if (p.buttons.empty()) {
    const auto it =
        std::find_if(form.controls().begin(), form.controls().end(),
                     [](const Control& c) { return c.kind == ControlKind::Button && c.isDefault; });
    if (it != form.controls().end()) {
      p.buttons.push_back(it->id);
    } else if (table) {
      for (const ButtonRow& b : table->buttons) {
        if (b.commandLineDefault) p.buttons.push_back(b.id);
      }
    }
    if (p.buttons.empty()) {
      return UsageError{"dialog '" + o.dialog + "' has no default button: name a command"};
    }
  }
  return p;
}

// --- the Bode plot of a compensation page -----------------------------------------------

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string jsonNumber(double v) {
  return std::isfinite(v) ? number(v) : "null";
}

struct NamedTrace {
  const char* name;
  const BodeTrace& trace;
};

std::vector<NamedTrace> tracesOf(const BodePlot& plot) {
  std::vector<NamedTrace> traces = {
      {"compensator", plot.compensator}, {"stage", plot.stage}, {"loop", plot.loop}};
  if (plot.exact) {
    traces.push_back({"exact-compensator", plot.exact->compensator});
    traces.push_back({"exact-loop", plot.exact->loop});
  }
  return traces;
}

// The crossover with its phase margin, and the gain margin at half the switching frequency, of
// the page's loop (`prefix` "") or of the exact design's ("exact-").
void addMarginRows(const BodePlot& plot, const std::optional<LoopCrossover>& crossover,
                   const std::optional<double>& gainMargin, const std::string& prefix,
                   std::vector<Row>& rows) {
  if (crossover) {
    rows.push_back({prefix + "crossover", {number(crossover->f), number(crossover->phaseMargin)}});
  }
  if (gainMargin) {
    rows.push_back({prefix + "gain-margin", {number(plot.halfSwitching), number(*gainMargin)}});
  }
}

// The unit, the crossovers and margins, the exact design's components beside the page's, and
// a row per point of every trace: frequency, gain in dB, phase in degrees.
void addBodeRows(const BodePlot& plot, std::vector<Row>& rows) {
  rows.push_back({"plot", {std::string(plot.unit)}});
  addMarginRows(plot, plot.crossover, plot.gainMargin, "", rows);
  if (plot.exact) {
    addMarginRows(plot, plot.exact->crossover, plot.exact->gainMargin, "exact-", rows);
    for (const ComponentPair& c : plot.exact->components) {
      rows.push_back({"exact-component", {c.label, c.page, c.exact}});
    }
  }
  for (const NamedTrace& t : tracesOf(plot)) {
    for (std::size_t i = 0; i < t.trace.gainDb.size(); ++i) {
      rows.push_back(
          {"bode",
           {t.name, number(plot.f[i]), number(t.trace.gainDb[i]), number(t.trace.phaseDeg[i])}});
    }
  }
}

std::string crossoverJson(const std::optional<LoopCrossover>& c) {
  if (!c) return "null";
  return "{\"f\":" + jsonNumber(c->f) + ",\"phase\":" + jsonNumber(c->phaseDeg) +
         ",\"phaseMargin\":" + jsonNumber(c->phaseMargin) + "}";
}

std::string gainMarginJson(const BodePlot& plot, const std::optional<double>& gainMargin) {
  if (!gainMargin) return "null";
  return "{\"f\":" + jsonNumber(plot.halfSwitching) + ",\"dB\":" + jsonNumber(*gainMargin) + "}";
}

std::string bodeJson(const BodePlot& plot) {
  std::string json = ",\"bodeUnit\":" + jsonString(plot.unit) +
                     ",\"crossover\":" + crossoverJson(plot.crossover) +
                     ",\"gainMargin\":" + gainMarginJson(plot, plot.gainMargin) + ",\"exact\":";
  if (plot.exact) {
    json += "{\"crossover\":" + crossoverJson(plot.exact->crossover) +
            ",\"gainMargin\":" + gainMarginJson(plot, plot.exact->gainMargin) + ",\"components\":[";
    bool first = true;
    for (const ComponentPair& c : plot.exact->components) {
      json += std::string(first ? "" : ",") + "{\"label\":" + jsonString(c.label) +
              ",\"page\":" + jsonString(c.page) + ",\"exact\":" + jsonString(c.exact) + "}";
      first = false;
    }
    json += "]}";
  } else {
    json += "null";
  }
  json += ",\"bode\":[";
  bool first = true;
  for (const NamedTrace& t : tracesOf(plot)) {
    for (std::size_t i = 0; i < t.trace.gainDb.size(); ++i) {
      json += std::string(first ? "" : ",") + "{\"trace\":\"" + t.name +
              "\",\"f\":" + jsonNumber(plot.f[i]) + ",\"gain\":" + jsonNumber(t.trace.gainDb[i]) +
              ",\"phase\":" + jsonNumber(t.trace.phaseDeg[i]) + "}";
      first = false;
    }
  }
  return json + "]";
}

void printRun(const Options& o, const Form& form, const CalcHost& host, bool written,
              std::ostream& out) {
  std::vector<Row> rows;
  rows.push_back({"title", {form.title()}});
  for (const Message& m : host.messages) rows.push_back({"message", {m.caption, m.text}});
  const DialogTable* table = form.table();
  if (table) {
    for (const FieldRow& row : table->fields) {
      rows.push_back({"field", {std::string(row.name), form.text(row.controlId)}});
    }
  }
  // The design check of the results shown.
  for (const Finding& f : form.findings()) {
    rows.push_back({"check", {severityKey(f.severity), f.text}});
  }
  // The captions an interface file may relabel, with their numbers (1…N), then the others.
  std::vector<std::pair<const Control*, std::string>> labels;
  if (o.captions) {
    const std::vector<int> relabel = table ? relabelList(*table) : std::vector<int>{};
    for (std::size_t k = 0; k < relabel.size(); ++k) {
      if (const Control* c = form.control(relabel[k]))
        labels.emplace_back(c, std::to_string(k + 1));
    }
    for (const Control& c : form.controls()) {
      const bool listed = std::find(relabel.begin(), relabel.end(), c.id) != relabel.end();
      if (c.kind == ControlKind::Label && c.id > 0 && !listed) labels.emplace_back(&c, "");
    }
  }
  for (const CalcHost::Shown& d : host.dialogs) {
    Row row{"dialog", {d.title}};
    row.columns.insert(row.columns.end(), d.texts.begin(), d.texts.end());
    rows.push_back(std::move(row));
  }
  const BodePlot* plot = o.bode ? form.bode() : nullptr;
  if (plot) addBodeRows(*plot, rows);
  if (!o.json) {
    for (const Row& r : rows) out << tabLine(r) << '\n';
    for (const auto& [c, number] : labels) {
      out << tabLine({"caption", {std::to_string(c->id), number, c->text}}) << '\n';
    }
    return;
  }
  std::string json = "{\"dialog\":" + jsonString(o.dialog) +
                     ",\"title\":" + jsonString(form.title()) + ",\"messages\":[";
  for (std::size_t i = 0; i < host.messages.size(); ++i) {
    const Message& m = host.messages[i];
    json += (i ? "," : "") + std::string("{\"caption\":") + jsonString(m.caption) +
            ",\"text\":" + jsonString(m.text) + ",\"icon\":" + jsonString(iconName(m.icon)) + "}";
  }
  json += "],\"fields\":[";
  if (table) {
    bool first = true;
    for (const FieldRow& row : table->fields) {
      json += (first ? "" : ",") + std::string("{\"name\":") + jsonString(row.name) +
              ",\"text\":" + jsonString(form.text(row.controlId)) + "}";
      first = false;
    }
  }
  json += "]";
  if (form.checksDesign()) {
    json += ",\"checks\":[";
    bool first = true;
    for (const Finding& f : form.findings()) {
      json += std::string(first ? "" : ",") +
              "{\"severity\":" + jsonString(severityKey(f.severity)) +
              ",\"text\":" + jsonString(f.text) + "}";
      first = false;
    }
    json += "]";
  }
  json += ",\"dialogs\":[";
  for (std::size_t i = 0; i < host.dialogs.size(); ++i) {
    json += (i ? "," : "") + std::string("{\"title\":") + jsonString(host.dialogs[i].title) +
            ",\"texts\":[";
    for (std::size_t k = 0; k < host.dialogs[i].texts.size(); ++k) {
      json += (k ? "," : "") + jsonString(host.dialogs[i].texts[k]);
    }
    json += "]}";
  }
  json += "]";
  if (o.captions) {
    json += ",\"captions\":[";
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const auto& [c, number] = labels[i];
      json += (i ? "," : "") + std::string("{\"id\":") + std::to_string(c->id) +
              (number.empty() ? "" : ",\"number\":" + number) + ",\"text\":" + jsonString(c->text) +
              "}";
    }
    json += "]";
  }
  if (plot) json += bodeJson(*plot);
  json += std::string(",\"written\":") + (written ? "true" : "false") + "}";
  out << json << '\n';
}

}  // namespace

int run(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const auto parsed = parse(args);
  if (const auto* e = std::get_if<UsageError>(&parsed)) {
    err << "tarnex-calc: " << e->text << '\n';
    return kUsage;
  }
  const Options& o = std::get<Options>(parsed);
  if (o.help) {
    out << kHelp;
    return kWritten;
  }
  if (o.list) {
    printList(o, out);
    return kWritten;
  }
  CalcHost host;
  // A user file the window finds missing or empty gets its initial content, as at start-up.
  const Folder folder(workingFolderPath(o.dir), initialContent);
  std::unique_ptr<Form> form = makeDesign(o.dialog, host, folder);
  if (!form) form = makeLoopPage(o.dialog, host);
  if (!form) {
    err << "tarnex-calc: unknown dialog '" << o.dialog << "' (dialogs: " << knownDialogs() << ")\n";
    return kUsage;
  }
  const auto planned = plan(o, *form);
  if (const auto* e = std::get_if<UsageError>(&planned)) {
    err << "tarnex-calc: " << e->text << '\n';
    return kUsage;
  }
  const Plan& p = std::get<Plan>(planned);
  if (o.bode && !form->plotsBode()) {
    err << "tarnex-calc: dialog '" << o.dialog << "' has no Bode plot\n";
    return kUsage;
  }

  // The desktop's first start, without its loading and welcome windows: the folder and its
  // files are made when missing, so that every window starts from its built-in design.
  if (const std::optional<std::string> error = makeWorkingFolder(folder.dir())) {
    err << "tarnex-calc: " << *error << '\n';
    return kUsage;
  }
  std::error_code ec;
  prepareWorkingFolder(folder, host,
                       std::filesystem::read_symlink("/proc/self/exe", ec).parent_path());

  // As the desktop does: open, then the user's choices, typing and buttons.
  form->open();
  for (const auto& [listId, index] : p.selections) form->select(listId, index);
  for (const auto& [id, text] : p.texts) form->setText(id, text);
  // A command wrote its results when it showed the progress window, or, for one that writes
  // them without it (the forward estimate by a formula file), when its window says so.
  const auto* fields = dynamic_cast<const FieldForm*>(form.get());
  bool written = false;
  for (const int button : p.buttons) {
    const int before = host.progressRuns;
    const int writtenBefore = fields ? fields->calculationsWritten() : 0;
    form->command(button);
    written = host.progressRuns > before ||
              (fields != nullptr && fields->calculationsWritten() > writtenBefore);
  }
  printRun(o, *form, host, written, out);
  return written ? kWritten : kNotWritten;
}

}  // namespace tarnex::calc
