#pragma once
// Sweeps: a window run once per point with one input (or two, as a grid) stepped through a
// list of values, and chosen results read back as numbers. Every point runs in a fresh
// window of its own, made on the one working folder prepared before the sweep, set up as the
// window to sweep stands (its list entries and field texts), with the point's texts typed
// over them and the window's calculating commands pressed; so a point computes exactly what
// a single run with the same texts computes. A point the window refuses keeps the message it
// showed, with the name of the field a failed read points at.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "forms/form.h"
#include "forms/offscreen_host.h"
#include "tables/field_table.h"

namespace tarnex {

// How every point's window is made and set up before its own texts are typed.
struct SweepWindow {
  // A fresh window on the prepared working folder, serving `host`; never nullptr.
  std::function<std::unique_ptr<Form>(Host&)> make;
  std::vector<std::pair<int, int>> selections;     // list id, entry index, in this order
  std::vector<std::pair<int, std::string>> texts;  // field id, text as typed
  // The buttons pressed in order; empty: the window's default ones (defaultCommands).
  std::vector<int> commands;
  // Runs after the window opened, before the selections (a design file).
  std::function<void(Form&)> afterOpen;
  // Runs after the selections and before the texts are typed (a catalogue core).
  std::function<void(Form&)> afterSelections;
  // Messages shown before the window opened (the working folder's preparation): every
  // point's host starts with them, so that each point reads as a run of its own.
  std::vector<Message> earlier;
};

// A window's default commands: its default button, else the steps its table marks for the
// command line. Empty when it has neither.
std::vector<int> defaultCommands(const Form& form);

// One run of a window. The host is kept beside the window it serves and outlives it.
struct PointRun {
  std::unique_ptr<OffscreenHost> host;
  std::unique_ptr<Form> form;
  bool written = false;  // the last command wrote its results into the fields
  // Beside each message of the host: the field a failed read put the focus on with it (0:
  // none), so that a refusal can name the field.
  std::vector<int> messageFields;
};

// Opens a fresh window, applies the set-up, types `texts` (field id, text) after the set-up's
// and presses the commands.
PointRun runPoint(const SweepWindow& window, std::span<const std::pair<int, std::string>> texts);

// A message as a refusal names it: a failed read's with the name of the field it points at
// ("请键入一个数。（VinMin）"), every other one as it is.
std::string messageWithField(const Form& form, const Message& message, int fieldId);
// What a run that wrote nothing showed: its messages, one per line, as messageWithField
// names them. Empty after a run that wrote its results.
std::string refusalOf(const PointRun& run);
// The name of a field of the window's table, by control id; empty when it has none.
std::string_view fieldName(const Form& form, int controlId);

// The numbers a field text stands for: the number the window reads from it, NaN when it
// reads none (a blank result, a refusal).
double fieldNumber(std::string_view text);

// --- the points of a sweep -----------------------------------------------------------------

// A value as a field takes it: six significant digits ("85", "0.45", "1e+006").
std::string sweepText(double value);

// The values of "FROM:TO:STEP" (FROM, FROM+STEP, … up to TO; TO below FROM steps down) or
// "FROM:TO:xFACTOR" (FROM, FROM·FACTOR, … up to TO, all of one sign and nonzero). TO is
// included when a step lands on it within a millionth of the step. An explanation when the
// text is not such a range or gives more than `maxPoints` values.
std::variant<std::vector<double>, std::string> sweepValues(std::string_view spec,
                                                           std::size_t maxPoints);

// `count` values from `from` to `to`, both included: evenly spaced, or evenly on a log scale.
std::vector<double> spacedValues(double from, double to, std::size_t count, bool log);

// An input of the sweep: the field and the texts it takes, one per point.
struct SweepInput {
  int fieldId = 0;
  std::vector<std::string> texts;
};

struct SweepRow {
  std::vector<std::string> inputs;  // the texts typed, one per input
  std::vector<double> outputs;      // one per output field; NaN where there is no number
  bool written = false;
  std::string refusal;  // refusalOf the point's run
};

// Runs every point: one input's texts in turn, or every pair of two inputs' texts (the
// first input's text held while the second's runs through). `progress` is called after each
// point with the points done and the total; returning false stops the sweep there.
std::vector<SweepRow> sweep(const SweepWindow& window, std::span<const SweepInput> inputs,
                            std::span<const int> outputs,
                            const std::function<bool(std::size_t, std::size_t)>& progress = {});

// The rows as CSV: a header of the inputs' and outputs' names (with their units in brackets)
// and "message", then a line per row; a refused row has empty outputs and its messages,
// parted by " | ".
std::string sweepCsv(const DialogTable& table, std::span<const SweepInput> inputs,
                     std::span<const int> outputs, std::span<const SweepRow> rows);

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string csvField(std::string_view text);

}  // namespace tarnex
