#include "report/report.h"

#include <string>
#include <utility>

#include "base/finding_text.h"
#include "base/host.h"
#include "base/version.h"
#include "forms/core_pick.h"
#include "forms/form.h"
#include "loop/bode.h"
#include "tables/field_table.h"

namespace tarnex::report {

namespace {

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// The caption a field shows now: its label's text (an interface file may have changed it),
// or the table's caption when the label has no control of its own.
std::string captionOf(const Form& form, const FieldRow& row) {
  const Control* label = row.labelId != 0 ? form.control(row.labelId) : nullptr;
  return trimmed(label != nullptr ? label->text : row.caption);
}

// The caption beside a list: the label that names it, else the table's.
std::string listCaption(const Form& form, const Control& list) {
  for (const Control& c : form.controls()) {
    if (c.buddy == list.id && !c.trailing && c.kind == ControlKind::Label) return trimmed(c.text);
  }
  if (const DialogTable* table = form.table()) {
    for (const ListRow& l : table->lists) {
      if (l.id == list.id) return trimmed(l.caption);
    }
  }
  return {};
}

// A field's row, after the caption of its group box when it opens another group.
void addField(const Form& form, const FieldRow& row, std::string caption, Section& s, int& group) {
  if (row.groupId != group) {
    group = row.groupId;
    const Control* box = form.control(row.groupId);
    if (box != nullptr && !trimmed(box->text).empty()) {
      s.rows.push_back({.label = trimmed(box->text), .group = true});
    }
  }
  s.rows.push_back({std::move(caption), form.text(row.controlId), std::string(row.unit)});
}

// The list entries chosen, then the design conditions typed, by group.
Section inputs(const Form& form, const DialogTable& table) {
  Section s{.heading = "输入", .empty = "此窗口没有输入。"};
  for (const Control& c : form.controls()) {
    if (c.kind != ControlKind::DropList || c.selection < 0) continue;
    const auto index = static_cast<std::size_t>(c.selection);
    if (index < c.entries.size()) s.rows.push_back({listCaption(form, c), c.entries[index], ""});
  }
  int group = 0;
  for (const FieldRow& row : table.fields) {
    if (row.output()) continue;
    std::string caption = captionOf(form, row);
    // A field the window greys out (the dead time in continuous mode) takes no part.
    const Control* field = form.control(row.controlId);
    if (field != nullptr && !field->enabled) caption += "（不用）";
    addField(form, row, std::move(caption), s, group);
  }
  return s;
}

// The results as the fields show them, by group; none while every result field is blank.
Section results(const Form& form, const DialogTable& table) {
  Section s{.heading = "计算结果", .empty = "尚未计算：结果栏为空。"};
  bool shown = false;
  int group = 0;
  for (const FieldRow& row : table.fields) {
    if (!row.output()) continue;
    shown = shown || !trimmed(form.text(row.controlId)).empty();
    addField(form, row, captionOf(form, row), s, group);
  }
  if (!shown) s.rows.clear();
  return s;
}

Section designCheck(const Form& form) {
  Section s{.heading = "设计检查", .empty = "没有检查结果：窗口尚未计算，或结果已清空。"};
  s.findings.assign(form.findings().begin(), form.findings().end());
  return s;
}

// The catalogue core with its loss and fit sheet, while the fields still show the choice.
std::optional<Section> coreSheet(Form& form) {
  CorePick* pick = form.corePick();
  if (pick == nullptr || pick->core() == nullptr) return std::nullopt;
  Section s{.heading = "磁芯损耗与窗口", .empty = {}};
  s.rows.push_back({"磁芯 · 材料", pick->text(), ""});
  s.rows.push_back({"温度", check::readable(pick->settings().temperature), "°C"});
  s.rows.push_back({"填充系数", check::readable(pick->settings().fillFactor), ""});
  if (const magnetics::LossSheet* sheet = pick->sheet()) {
    for (const magnetics::SheetRow& r : sheet->rows) {
      s.rows.push_back({r.label, check::readable(r.value), r.unit});
    }
    s.findings = sheet->findings;
  } else {
    s.findings.push_back({Severity::Info, "计算后即得窗口占用率、磁芯损耗、各绕组铜损与温升。"});
  }
  return s;
}

void addMargins(std::vector<Row>& rows, const std::string& prefix, std::string_view unit,
                const std::optional<LoopCrossover>& crossover,
                const std::optional<double>& gainMargin) {
  if (crossover) {
    rows.push_back({prefix + "穿越频率", check::readable(crossover->f), std::string(unit)});
    rows.push_back({prefix + "相位裕量", check::readable(crossover->phaseMargin), "°"});
  }
  if (gainMargin)
    rows.push_back({prefix + "增益裕量（fsw/2）", check::readable(*gainMargin), "dB"});
}

Section bodeSection(const Form& form) {
  Section s{
      .heading = "波特图", .empty = "计算后显示波特图。", .figure = Figure::Bode, .newPage = true};
  const BodePlot* plot = form.bode();
  if (plot == nullptr) {
    s.figure.reset();
    return s;
  }
  if (plot->loop.empty()) s.empty = "此页不含控制到输出级的模型：图中只有补偿网络，没有环路裕量。";
  addMargins(s.rows, "", plot->unit, plot->crossover, plot->gainMargin);
  if (plot->exact) {
    addMargins(s.rows, "精确设计 ", plot->unit, plot->exact->crossover, plot->exact->gainMargin);
    for (const ComponentPair& c : plot->exact->components) {
      s.rows.push_back({c.label + "（本页 → 精确设计）", c.page + " → " + c.exact, ""});
    }
  }
  return s;
}

}  // namespace

Report build(Form& form, const Context& context) {
  Report r;
  r.title = context.sheetTitle.empty() ? form.title() : context.sheetTitle + " — " + form.title();
  r.title = trimmed(r.title);
  r.program = std::string(kProgramName) + " " + kProgramVersion;
  r.date = context.date;
  if (!form.pictures().empty()) {
    // A design window pictures its circuit; a compensation page its waveforms or network.
    r.sections.push_back(
        {.heading = form.plotsBode() ? "图示" : "电路", .figure = Figure::Circuit});
  }
  if (const DialogTable* table = form.table()) {
    r.sections.push_back(inputs(form, *table));
    r.sections.push_back(results(form, *table));
  }
  if (form.checksDesign()) r.sections.push_back(designCheck(form));
  if (std::optional<Section> core = coreSheet(form)) r.sections.push_back(std::move(*core));
  if (form.plotsBode()) r.sections.push_back(bodeSection(form));
  return r;
}

}  // namespace tarnex::report
