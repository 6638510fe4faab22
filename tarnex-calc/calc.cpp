#include "calc.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "base/number_text.h"
#include "base/user_file.h"
#include "calc_report.h"
#include "cores.h"
#include "designs/registry.h"
#include "forms/design_file.h"
#include "forms/form.h"
#include "forms/offscreen_host.h"
#include "forms/sweep.h"
#include "loop/bode.h"
#include "loop/load_step.h"
#include "loop/loop_sheet.h"
#include "loss.h"
#include "options.h"
#include "output.h"
#include "run.h"
#include "startup/startup.h"
#include "startup/working_folder.h"
#include "tables/field_table.h"

namespace tarnex::calc {

namespace {

std::string knownDialogs() {
  std::string keys;
  for (const DesignInfo& d : designs()) {
    if (!keys.empty()) keys += ", ";
    keys += d.key();
  }
  for (const LoopPageInfo& p : loopPages()) {
    keys += ", ";
    keys += p.key();
  }
  return keys;
}

const Control* findControl(const Form& form, ControlKind kind, std::string_view key) {
  for (const Control& c : form.controls()) {
    if (c.kind == kind && !c.key.empty() && c.key == key) return &c;
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
  for (const std::string& k : list.entryKeys) {
    if (!keys.empty()) keys += ", ";
    keys += k;
  }
  return keys;
}

std::string_view iconName(Icon icon) {
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

// A command of the listing. "default" marks the window's default button: Enter presses it,
// and the command line runs it when no command is named. A window without one (Enter there
// only checks the fields) may still have a first step that the command line runs by itself:
// "command-line-default".
Record commandRecord(const std::string& dialog, const ButtonRow& b) {
  const bool commandLine = b.isDefault || b.commandLineDefault;
  return Record{"command"}
      .add("dialog", dialog, In::Tab)
      .add("key", b.key)
      .add("text", b.caption)
      .add("default",
           Value::truth(b.isDefault, "default", commandLine ? "command-line-default" : ""))
      .add("commandLineDefault", Value::truth(commandLine, "", ""), In::Json);
}

// One dialog of the listing, from its table: its commands, lists with their entries, and
// fields marked input or output as the window treats them.
Record dialogRecord(const DialogTable& t) {
  const std::string key(t.key);
  std::vector<Record> commands, lists, fields;
  for (const ButtonRow& b : t.buttons) {
    if (!b.key.empty()) commands.push_back(commandRecord(key, b));
  }
  for (const ListRow& l : t.lists) {
    std::vector<Record> entries;
    for (const ListEntry& e : l.entries) {
      entries.push_back(Record{"entry"}
                            .add("dialog", key, In::Tab)
                            .add("list", l.key, In::Tab)
                            .add("key", e.key)
                            .add("text", e.text));
    }
    lists.push_back(Record{"list"}
                        .add("dialog", key, In::Tab)
                        .add("key", l.key)
                        .add("caption", l.caption)
                        .records("entries", std::move(entries)));
  }
  for (const FieldRow& row : t.fields) {
    fields.push_back(Record{"field"}
                         .add("dialog", key, In::Tab)
                         .add("name", row.name)
                         .add("label", row.caption)
                         .add("unit", row.unit)
                         .add("output", Value::truth(row.output(), "output", "input")));
  }
  return Record{"dialog"}
      .add("key", key)
      .add("title", t.titleName)
      .records("commands", std::move(commands))
      .records("lists", std::move(lists))
      .records("fields", std::move(fields));
}

Record listing() {
  std::vector<Record> dialogs;
  for (const DesignInfo& info : designs()) {
    if (info.make != nullptr) dialogs.push_back(dialogRecord(*info.table));
  }
  for (const LoopPageInfo& page : loopPages()) dialogs.push_back(dialogRecord(*page.table));
  return Record{}.records("dialogs", std::move(dialogs));
}

// --- the Bode plot of a compensation page -----------------------------------------------

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

// The crossover with its phase margin, and the gain margin at half the switching frequency,
// of the page's loop (`prefix` "") or of the exact design's ("exact-").
std::optional<Record> crossoverRecord(const std::string& prefix,
                                      const std::optional<LoopCrossover>& c) {
  if (!c) return std::nullopt;
  return Record{prefix + "crossover"}
      .add("f", Value::number(c->f))
      .add("phase", Value::number(c->phaseDeg), In::Json)
      .add("phaseMargin", Value::number(c->phaseMargin));
}

std::optional<Record> gainMarginRecord(const std::string& prefix, const BodePlot& plot,
                                       const std::optional<double>& gainMargin) {
  if (!gainMargin) return std::nullopt;
  return Record{prefix + "gain-margin"}
      .add("f", Value::number(plot.halfSwitching))
      .add("dB", Value::number(*gainMargin));
}

// The unit, the crossovers and margins, the exact design's components beside the page's, and
// a record per point of every trace: frequency, gain in dB, phase in degrees.
void addBode(const BodePlot& plot, Record& run) {
  run.inlined("bodeUnit", Record{"plot"}.add("unit", plot.unit));
  run.record("crossover", crossoverRecord("", plot.crossover));
  run.record("gainMargin", gainMarginRecord("", plot, plot.gainMargin));
  std::optional<Record> exact;
  if (plot.exact) {
    std::vector<Record> components;
    for (const ComponentPair& c : plot.exact->components) {
      components.push_back(Record{"exact-component"}
                               .add("label", c.label)
                               .add("page", c.page)
                               .add("exact", c.exact));
    }
    exact = Record{}
                .record("crossover", crossoverRecord("exact-", plot.exact->crossover))
                .record("gainMargin", gainMarginRecord("exact-", plot, plot.exact->gainMargin))
                .records("components", std::move(components));
  }
  run.record("exact", std::move(exact));
  std::vector<Record> points;
  for (const NamedTrace& t : tracesOf(plot)) {
    for (std::size_t i = 0; i < t.trace.gainDb.size(); ++i) {
      points.push_back(Record{"bode"}
                           .add("trace", t.name)
                           .add("f", Value::number(plot.f[i]))
                           .add("gain", Value::number(t.trace.gainDb[i]))
                           .add("phase", Value::number(t.trace.phaseDeg[i])));
    }
  }
  run.records("bode", std::move(points));
}

// --- the load step of a compensation page -------------------------------------------------

// The load and the step, then per network whether its loop is stable, the peak deviation with
// its time, the final deviation, the settling time and the shown points; or why there is none.
Record loadStepRecord(const LoadStep* step) {
  if (!step) return Record{"load-step-missing"}.add("text", kNoLoadStep);
  std::vector<Record> traces;
  for (const LoadStepTrace& t : step->traces) {
    const StepReading& r = t.reading;
    const auto reading = [&t](double v) { return t.stable ? Value::number(v) : Value::none(); };
    std::vector<Record> points;
    for (std::size_t i = 0; i < t.t.size(); ++i) {
      points.push_back(Record{"step"}
                           .add("trace", t.name, In::Tab)
                           .add("t", Value::number(t.t[i]))
                           .add("dv", Value::number(t.dv[i])));
    }
    traces.push_back(Record{"load-step-trace"}
                         .add("name", t.name)
                         .add("stable", Value::truth(t.stable, "stable", "unstable"))
                         .add("peak", reading(r.peak))
                         .add("peakTime", reading(r.peakTime))
                         .add("final", reading(r.final))
                         .add("settling", r.settling >= 0 ? reading(r.settling) : Value::none())
                         .records("points", std::move(points)));
  }
  return Record{"load-step"}
      .add("load", Value::number(step->load))
      .add("step", Value::number(step->step))
      .records("traces", std::move(traces));
}

// The captions an interface file may relabel, with their numbers (1…N), then the others.
std::vector<Record> captionRecords(const Form& form) {
  std::vector<Record> captions;
  auto add = [&captions](const Control& c, Value number) {
    captions.push_back(
        Record{"caption"}.add("id", Value::whole(c.id)).add("number", number).add("text", c.text));
  };
  const DialogTable* table = form.table();
  const std::vector<int> relabel = table ? relabelList(*table) : std::vector<int>{};
  for (std::size_t k = 0; k < relabel.size(); ++k) {
    if (const Control* c = form.control(relabel[k])) {
      add(*c, Value::whole(static_cast<long long>(k + 1)));
    }
  }
  for (const Control& c : form.controls()) {
    const bool listed = std::find(relabel.begin(), relabel.end(), c.id) != relabel.end();
    if (c.kind == ControlKind::Label && c.id > 0 && !listed) add(c, Value::none());
  }
  return captions;
}

}  // namespace

// --- one run of a window -----------------------------------------------------------------

// What the window shows after the run: its title, every message box in order (a failed
// read's with the field it points at), every field (in JSON also as a number, with its
// unit), the design check, the loss sheet of a catalogue core, the dialogs it opened, and
// when asked its captions and its Bode plot; and a warning for every text longer than its
// field reads.
Record runRecord(const Options& o, const PointRun& r,
                 std::span<const std::pair<int, std::string>> typed, std::optional<Record> loss) {
  Form& form = *r.form;
  std::vector<Record> messages, fields, checks, dialogs, warnings;
  for (std::size_t i = 0; i < r.host->messages.size(); ++i) {
    const Message& m = r.host->messages[i];
    Record message{"message"};
    message.add("caption", m.caption).add("text", m.text).add("icon", iconName(m.icon), In::Json);
    if (const std::string_view name = fieldName(form, r.messageFields[i]); !name.empty()) {
      message.add("field", name);
    }
    messages.push_back(std::move(message));
  }
  if (const DialogTable* table = form.table()) {
    for (const FieldRow& row : table->fields) {
      const std::string& text = form.text(row.controlId);
      fields.push_back(Record{"field"}
                           .add("name", row.name)
                           .add("text", text)
                           .add("value", Value::number(fieldNumber(text)), In::Json)
                           .add("unit", row.unit, In::Json));
    }
  }
  for (const auto& [id, text] : typed) {
    if (text.size() <= kFieldReadChars) continue;
    warnings.push_back(Record{"warning"}
                           .add("field", fieldName(form, id))
                           .add("text", "the text is " + std::to_string(text.size()) +
                                            " bytes long; the field reads its first " +
                                            std::to_string(kFieldReadChars)));
  }
  for (const Finding& f : form.findings()) {
    checks.push_back(Record{"check"}.add("severity", severityKey(f.severity)).add("text", f.text));
  }
  for (const OffscreenHost::Shown& d : r.host->dialogs) {
    dialogs.push_back(Record{"dialog"}.add("title", d.title).texts("texts", d.texts));
  }
  Record run;
  run.add("dialog", o.dialog, In::Json).inlined("title", Record{"title"}.add("text", form.title()));
  if (!warnings.empty()) run.records("warnings", std::move(warnings));
  run.records("messages", std::move(messages))
      .records("fields", std::move(fields))
      .records("checks", std::move(checks), form.checksDesign() ? In::Both : In::Tab);
  if (loss) run.record("loss", std::move(loss));
  run.records("dialogs", std::move(dialogs));
  // The captions close the tab lines but come before the plot in JSON.
  const std::vector<Record> captions = o.captions ? captionRecords(form) : std::vector<Record>{};
  if (o.captions) run.records("captions", captions, In::Json);
  if (const BodePlot* plot = o.bode ? form.bode() : nullptr) addBode(*plot, run);
  if (o.loadStep) run.record("loadStep", loadStepRecord(form.loadStep()));
  run.records("captions", captions, In::Tab);
  run.add("written", Value::truth(r.written, "", ""), In::Json);
  return run;
}

void print(const Options& o, const Record& record, std::ostream& out) {
  if (o.json) {
    out << jsonObject(record) << '\n';
  } else {
    out << tabLines(record);
  }
}

std::unique_ptr<Form> makeForm(const std::string& dialog, Host& host, const Folder& folder) {
  std::unique_ptr<Form> form = makeDesign(dialog, host, folder);
  if (!form) form = makeLoopPage(dialog, host);
  return form;
}

std::variant<Plan, UsageError> plan(const Options& o, const Form& form) {
  Plan p;
  const DialogTable* table = form.table();
  for (const auto& [name, text] : o.assignments) {
    if (const Control* list = findControl(form, ControlKind::DropList, name)) {
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
    const Control* button = findControl(form, ControlKind::Button, key);
    if (!button) return UsageError{"unknown command '" + key + "' of dialog '" + o.dialog + "'"};
    p.buttons.push_back(button->id);
  }
  if (p.buttons.empty()) p.buttons = defaultCommands(form);
  if (p.buttons.empty()) {
    return UsageError{"dialog '" + o.dialog + "' has no default button: name a command"};
  }
  return p;
}

SweepWindow windowOf(const Options& o, const Plan& p, const Folder& folder,
                     std::vector<Message> earlier) {
  SweepWindow w;
  w.make = [dialog = o.dialog, folder](Host& host) { return makeForm(dialog, host, folder); };
  w.selections = p.selections;
  w.texts = p.texts;
  w.commands = p.buttons;
  w.afterSelections = [o](Form& form) { chooseCore(o, form); };
  w.earlier = std::move(earlier);
  return w;
}

std::optional<std::string> prepareFolder(const Folder& folder, Host& host) {
  // The desktop's first start, without its loading and welcome windows: the folder and its
  // files are made when missing, so that every window starts from its built-in design.
  if (std::optional<std::string> error = makeWorkingFolder(folder.dir())) return error;
  std::error_code ec;
  prepareWorkingFolder(folder, host,
                       std::filesystem::read_symlink("/proc/self/exe", ec).parent_path());
  return std::nullopt;
}

int run(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (!args.empty() && args.front() == "cores") return runCores(args, out, err);
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
    print(o, listing(), out);
    return kWritten;
  }
  // A user file the window finds missing or empty gets its initial content, as at start-up.
  const Folder folder(workingFolderPath(o.dir), initialContent);
  // A window that is not opened, to check the command line against before anything runs.
  OffscreenHost host;
  std::unique_ptr<Form> form = makeForm(o.dialog, host, folder);
  const bool page = std::none_of(designs().begin(), designs().end(),
                                 [&](const DesignInfo& d) { return d.key() == o.dialog; });
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
  if (const std::optional<UsageError> e = checkCore(o, *form)) {
    err << "tarnex-calc: " << e->text << '\n';
    return kUsage;
  }
  if (const std::optional<std::string> e = o.report ? checkReportName(*o.report) : std::nullopt) {
    err << "tarnex-calc: " << *e << '\n';
    return kUsage;
  }
  if (o.bode && !form->plotsBode()) {
    err << "tarnex-calc: dialog '" << o.dialog << "' has no Bode plot\n";
    return kUsage;
  }
  if (o.loadStep && !form->stepsLoad()) {
    err << "tarnex-calc: dialog '" << o.dialog << "' has no load step (its page knows no stage)\n";
    return kUsage;
  }
  if (o.batch || !o.sweeps.empty()) return runBatch(o, *form, folder, in, out, err);

  if (const std::optional<std::string> error = prepareFolder(folder, host)) {
    err << "tarnex-calc: " << *error << '\n';
    return kUsage;
  }
  // A design file is opened into the window after it opened, before the user's choices.
  SweepWindow window = windowOf(o, p, folder, host.messages);
  std::optional<std::string> refused;
  if (o.load) {
    window.afterOpen = [&o, &refused](Form& opened) { refused = openDesignFile(*o.load, opened); };
  }
  PointRun r = runPoint(window, {});
  if (refused) {
    err << "tarnex-calc: " << *refused << '\n';
    return kUsage;
  }
  Form& shown = *r.form;
  std::optional<Record> loss = lossRecord(o, shown);
  print(o, runRecord(o, r, p.texts, std::move(loss)), out);
  const bool written = r.written;
  if (o.report) {
    if (const std::optional<std::string> e =
            writeReport(*r.form, *o.report, page ? kLoopSheetTitle : "")) {
      err << "tarnex-calc: " << *e << '\n';
      return kUsage;
    }
  }
  if (o.save) {
    std::string error;
    if (!saveDesignFile(*o.save, designText(shown), error)) {
      err << "tarnex-calc: " << error << '\n';
      return kNotSaved;
    }
  }
  return written ? kWritten : kNotWritten;
}

}  // namespace tarnex::calc
