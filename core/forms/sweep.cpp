#include "forms/sweep.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "base/number_text.h"
#include "forms/field_form.h"

namespace tarnex {

std::vector<int> defaultCommands(const Form& form) {
  const auto it =
      std::find_if(form.controls().begin(), form.controls().end(),
                   [](const Control& c) { return c.kind == ControlKind::Button && c.isDefault; });
  if (it != form.controls().end()) return {it->id};
  std::vector<int> buttons;
  if (const DialogTable* table = form.table()) {
    for (const ButtonRow& b : table->buttons) {
      if (b.commandLineDefault) buttons.push_back(b.id);
    }
  }
  return buttons;
}

PointRun runPoint(const SweepWindow& window, std::span<const std::pair<int, std::string>> texts) {
  PointRun run;
  run.host = std::make_unique<OffscreenHost>();
  run.host->messages = window.earlier;
  run.form = window.make(*run.host);
  Form& form = *run.form;
  // As the desktop does: open, then the user's choices, the catalogue core (a mode's list may
  // blank the core fields), typing and buttons.
  form.open();
  if (window.afterOpen) window.afterOpen(form);
  for (const auto& [listId, index] : window.selections) form.select(listId, index);
  if (window.afterSelections) window.afterSelections(form);
  for (const auto& [id, text] : window.texts) form.setText(id, text);
  for (const auto& [id, text] : texts) form.setText(id, text);
  const std::vector<int> commands =
      window.commands.empty() ? defaultCommands(form) : window.commands;
  for (const int button : commands) {
    const int before = form.calculationsWritten();
    const std::size_t shown = run.host->messages.size();
    form.command(button);
    run.written = form.calculationsWritten() > before;
    run.messageFields.resize(run.host->messages.size(), 0);
    const std::optional<Form::FocusRequest> focus = form.takeFocusRequest();
    // The focus goes to the field whose text did not read, with "请键入一个数。".
    for (std::size_t i = shown; focus && i < run.host->messages.size(); ++i) {
      if (run.host->messages[i].text != kNotANumber) continue;
      run.messageFields[i] = focus->id;
      break;
    }
  }
  run.messageFields.resize(run.host->messages.size(), 0);
  return run;
}

std::string_view fieldName(const Form& form, int controlId) {
  const DialogTable* table = form.table();
  const FieldRow* row = table ? findFieldById(*table, controlId) : nullptr;
  return row ? row->name : std::string_view();
}

std::string messageWithField(const Form& form, const Message& message, int fieldId) {
  const std::string_view name = fieldName(form, fieldId);
  if (name.empty()) return message.text;
  return message.text + "（" + std::string(name) + "）";
}

std::string refusalOf(const PointRun& run) {
  std::string text;
  if (run.written) return text;
  for (std::size_t i = 0; i < run.host->messages.size(); ++i) {
    if (!text.empty()) text += '\n';
    text += messageWithField(*run.form, run.host->messages[i], run.messageFields[i]);
  }
  return text;
}

double fieldNumber(std::string_view text) {
  const std::optional<float> v = parseFieldText(text);
  return v ? static_cast<double>(*v) : std::nan("");
}

std::string sweepText(double value) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
  return ec == std::errc() ? std::string(buf, end) : std::string();
}

namespace {

// A number read whole from a part of a range text.
std::optional<double> numberOf(std::string_view text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) {
    return std::nullopt;
  }
  return v;
}

// A value that lies within a billionth of a step of zero is zero (0.1 + 0.2 − 0.3).
double cleaned(double v, double step) {
  return std::abs(v) < std::abs(step) * 1e-9 ? 0 : v;
}

}  // namespace

std::variant<std::vector<double>, std::string> sweepValues(std::string_view spec,
                                                           std::size_t maxPoints) {
  const std::size_t a = spec.find(':');
  const std::size_t b = a == std::string_view::npos ? a : spec.find(':', a + 1);
  if (b == std::string_view::npos) return std::string("a range is FROM:TO:STEP or FROM:TO:xFACTOR");
  const bool log = b + 1 < spec.size() && (spec[b + 1] == 'x' || spec[b + 1] == 'X');
  const std::optional<double> from = numberOf(spec.substr(0, a));
  const std::optional<double> to = numberOf(spec.substr(a + 1, b - a - 1));
  const std::optional<double> by = numberOf(spec.substr(b + (log ? 2 : 1)));
  if (!from || !to || !by) return std::string("a range is FROM:TO:STEP or FROM:TO:xFACTOR");
  double count = 0;
  double step = *by;
  if (log) {
    if (!(*from * *to > 0) || !(step > 0) || step == 1) {
      return std::string(
          "a range by a factor needs FROM and TO of one sign, not 0, and a "
          "factor above 0 other than 1");
    }
    if ((std::abs(*to) > std::abs(*from)) != (step > 1)) step = 1 / step;
    count = std::floor(std::log(*to / *from) / std::log(step) + 1e-6) + 1;
  } else {
    if (step == 0) return std::string("a range needs a step other than 0");
    step = *to < *from ? -std::abs(step) : std::abs(step);
    count = std::floor((*to - *from) / step + 1e-6) + 1;
  }
  if (!(count >= 1) || count > static_cast<double>(maxPoints)) {
    return "a range may give at most " + std::to_string(maxPoints) + " points";
  }
  std::vector<double> values;
  for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
    const double kd = static_cast<double>(k);
    values.push_back(log ? *from * std::pow(step, kd) : cleaned(*from + kd * step, step));
  }
  return values;
}

std::vector<double> spacedValues(double from, double to, std::size_t count, bool log) {
  std::vector<double> values;
  if (count == 0) return values;
  if (count == 1) return {from};
  const bool logScale = log && from * to > 0;
  for (std::size_t k = 0; k < count; ++k) {
    const double t = static_cast<double>(k) / static_cast<double>(count - 1);
    values.push_back(logScale ? from * std::pow(to / from, t)
                              : cleaned(from + t * (to - from), (to - from) / (count - 1)));
  }
  return values;
}

std::vector<SweepRow> sweep(const SweepWindow& window, std::span<const SweepInput> inputs,
                            std::span<const int> outputs,
                            const std::function<bool(std::size_t, std::size_t)>& progress) {
  std::vector<SweepRow> rows;
  if (inputs.empty()) return rows;
  const std::size_t outer = inputs.front().texts.size();
  const std::size_t inner = inputs.size() > 1 ? inputs[1].texts.size() : 1;
  const std::size_t total = outer * inner;
  for (std::size_t i = 0; i < total; ++i) {
    std::vector<std::pair<int, std::string>> texts = {
        {inputs[0].fieldId, inputs[0].texts[i / inner]}};
    if (inputs.size() > 1) texts.emplace_back(inputs[1].fieldId, inputs[1].texts[i % inner]);
    const PointRun run = runPoint(window, texts);
    SweepRow row;
    for (const auto& [id, text] : texts) row.inputs.push_back(text);
    row.written = run.written;
    row.refusal = refusalOf(run);
    for (const int id : outputs) {
      row.outputs.push_back(run.written ? fieldNumber(run.form->text(id)) : std::nan(""));
    }
    rows.push_back(std::move(row));
    if (progress && !progress(i + 1, total)) break;
  }
  return rows;
}

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string sweepCsv(const DialogTable& table, std::span<const SweepInput> inputs,
                     std::span<const int> outputs, std::span<const SweepRow> rows) {
  const auto heading = [&](int id) {
    const FieldRow* row = findFieldById(table, id);
    if (row == nullptr) return std::string();
    std::string h(row->name);
    if (!row->unit.empty()) h += " (" + std::string(row->unit) + ")";
    return csvField(h);
  };
  std::string csv;
  for (const SweepInput& in : inputs) csv += heading(in.fieldId) + ",";
  for (const int id : outputs) csv += heading(id) + ",";
  csv += "message\n";
  for (const SweepRow& row : rows) {
    for (const std::string& text : row.inputs) csv += csvField(text) + ",";
    for (const double v : row.outputs) csv += (std::isfinite(v) ? sweepText(v) : "") + ",";
    // A message per line in the window, one line of the file here.
    std::string message = row.refusal;
    for (std::size_t at = message.find('\n'); at != std::string::npos;
         at = message.find('\n', at)) {
      message.replace(at, 1, " | ");
    }
    csv += csvField(message) + "\n";
  }
  return csv;
}

}  // namespace tarnex
