// --batch and --sweep: many runs of one window on a working folder prepared once, a row per
// run, as CSV under a header or as JSON lines.
#include <algorithm>
#include <string_view>

#include "calc.h"
#include "forms/offscreen_host.h"
#include "forms/sweep.h"
#include "loss.h"
#include "run.h"
#include "tables/field_table.h"

namespace tarnex::calc {

namespace {

// The most points a sweep may give, and a grid of two.
constexpr std::size_t kMostPoints = 100000;

// A line's words, split at blanks and tabs.
std::vector<std::string> wordsOf(std::string_view line) {
  std::vector<std::string> words;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    words.emplace_back(line.substr(start, end - start));
    at = end;
  }
  return words;
}

struct Job {
  std::size_t line = 0;  // of standard input; 0 without --batch
  Plan plan;
};

// The runs of the lines of standard input, each line's words set over the command line's;
// the first usage error, with its line number, when a line does not fit the window.
std::variant<std::vector<Job>, UsageError> jobsOf(const Options& o, const Form& form,
                                                  std::istream& in) {
  std::vector<Job> jobs;
  std::size_t number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> words = wordsOf(line);
    if (words.empty() || words.front().starts_with("#")) continue;
    Options lineOptions = o;
    std::vector<std::string> commands;
    for (const std::string& w : words) {
      const std::size_t eq = w.find('=');
      if (eq != std::string::npos && eq > 0) {
        lineOptions.assignments.emplace_back(w.substr(0, eq), w.substr(eq + 1));
      } else {
        commands.push_back(w);
      }
    }
    if (!commands.empty()) lineOptions.commands = commands;
    auto planned = plan(lineOptions, form);
    if (auto* e = std::get_if<UsageError>(&planned)) {
      return UsageError{"line " + std::to_string(number) + ": " + e->text};
    }
    jobs.push_back({number, std::move(std::get<Plan>(planned))});
  }
  return jobs;
}

// The sweeps' fields with their texts.
std::variant<std::vector<SweepInput>, UsageError> sweepsOf(const Options& o, const Form& form) {
  std::vector<SweepInput> inputs;
  std::size_t points = 1;
  for (const auto& [name, spec] : o.sweeps) {
    const FieldRow* row = form.table() ? findField(*form.table(), name) : nullptr;
    if (row == nullptr) {
      return UsageError{"--sweep: unknown field '" + name + "' of dialog '" + o.dialog + "'"};
    }
    auto values = sweepValues(spec, kMostPoints);
    if (const auto* why = std::get_if<std::string>(&values)) {
      return UsageError{"--sweep " + name + "=" + spec + ": " + *why};
    }
    SweepInput input{row->controlId, {}};
    for (const double v : std::get<std::vector<double>>(values)) {
      input.texts.push_back(sweepText(v));
    }
    points *= input.texts.size();
    if (points > kMostPoints) {
      return UsageError{"--sweep: a grid may have at most " + std::to_string(kMostPoints) +
                        " points"};
    }
    inputs.push_back(std::move(input));
  }
  return inputs;
}

std::string csvHeader(const Form& form) {
  std::string header = "line,status,message,check";
  if (const DialogTable* table = form.table()) {
    for (const FieldRow& row : table->fields) header += "," + csvField(row.name);
  }
  return header + "\n";
}

// A run as a CSV row: its number, whether it wrote its results, its messages (parted by
// " | ", so that a row is one line), the worst
// finding of its design check and every field as shown.
std::string csvRow(std::size_t number, const PointRun& r) {
  std::string messages;
  for (std::size_t i = 0; i < r.host->messages.size(); ++i) {
    if (!messages.empty()) messages += " | ";
    messages += messageWithField(*r.form, r.host->messages[i], r.messageFields[i]);
  }
  std::string worst;
  if (!r.form->findings().empty()) {
    const auto by = [](const Finding& a, const Finding& b) { return a.severity < b.severity; };
    const auto& findings = r.form->findings();
    worst = severityKey(std::max_element(findings.begin(), findings.end(), by)->severity);
  }
  std::string row = std::to_string(number) + "," + (r.written ? "0" : "1") + "," +
                    csvField(messages) + "," + worst;
  if (const DialogTable* table = r.form->table()) {
    for (const FieldRow& f : table->fields) row += "," + csvField(r.form->text(f.controlId));
  }
  return row + "\n";
}

}  // namespace

int runBatch(const Options& o, const Form& form, const Folder& folder, std::istream& in,
             std::ostream& out, std::ostream& err) {
  const auto swept = sweepsOf(o, form);
  if (const auto* e = std::get_if<UsageError>(&swept)) {
    err << "tarnex-calc: " << e->text << '\n';
    return kUsage;
  }
  const std::vector<SweepInput>& inputs = std::get<std::vector<SweepInput>>(swept);
  std::vector<Job> jobs;
  if (o.batch) {
    auto read = jobsOf(o, form, in);
    if (const auto* e = std::get_if<UsageError>(&read)) {
      err << "tarnex-calc: " << e->text << '\n';
      return kUsage;
    }
    jobs = std::move(std::get<std::vector<Job>>(read));
  } else {
    jobs.push_back({0, std::get<Plan>(plan(o, form))});
  }

  OffscreenHost host;
  if (const std::optional<std::string> error = prepareFolder(folder, host)) {
    err << "tarnex-calc: " << *error << '\n';
    return kUsage;
  }
  if (!o.json) out << csvHeader(form);
  std::size_t points = 1;
  for (const SweepInput& input : inputs) points *= input.texts.size();
  bool allWritten = true;
  std::size_t number = 0;
  for (const Job& job : jobs) {
    const SweepWindow window = windowOf(o, job.plan, folder, host.messages);
    for (std::size_t k = 0; k < points; ++k) {
      std::vector<std::pair<int, std::string>> texts;
      std::size_t rest = k;
      for (std::size_t i = inputs.size(); i-- > 0;) {
        const std::size_t n = inputs[i].texts.size();
        texts.emplace(texts.begin(), inputs[i].fieldId, inputs[i].texts[rest % n]);
        rest /= n;
      }
      PointRun r = runPoint(window, texts);
      allWritten = allWritten && r.written;
      ++number;
      if (o.json) {
        std::vector<std::pair<int, std::string>> typed = job.plan.texts;
        typed.insert(typed.end(), texts.begin(), texts.end());
        std::optional<Record> loss = lossRecord(o, *r.form);
        print(o, runRecord(o, r, typed, std::move(loss)), out);
      } else {
        out << csvRow(o.batch && points == 1 ? job.line : number, r);
      }
    }
  }
  return allWritten ? kWritten : kNotWritten;
}

}  // namespace tarnex::calc
