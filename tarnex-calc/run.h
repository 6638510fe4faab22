#pragma once
// The parts of a run of tarnex-calc that a single run and a batch of runs share: the
// command line checked against a window, the window set up for a run, and what a run
// shows as a record.

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/form.h"
#include "forms/sweep.h"
#include "options.h"
#include "output.h"

namespace tarnex::calc {

// The command line as the window's controls: list entries to select, field texts to type
// and buttons to press.
struct Plan {
  std::vector<std::pair<int, int>> selections;     // list id, entry index
  std::vector<std::pair<int, std::string>> texts;  // field id, text
  std::vector<int> buttons;
};

// A design window or a loop-compensation page by its key; nullptr for an unknown key.
std::unique_ptr<Form> makeForm(const std::string& dialog, Host& host, const Folder& folder);

// The names of the options' assignments and commands looked up in the (unopened) window.
std::variant<Plan, UsageError> plan(const Options& o, const Form& form);

// Every run's window: made on `folder`, set up by the plan, the catalogue core chosen after
// the list entries; `earlier` the messages of the folder's preparation.
SweepWindow windowOf(const Options& o, const Plan& p, const Folder& folder,
                     std::vector<Message> earlier);

// Makes and fills the working folder as the desktop's first start does; the reason when the
// folder cannot be made.
std::optional<std::string> prepareFolder(const Folder& folder, Host& host);

// What the window shows after the run; `typed` the texts typed into it (for the warnings).
Record runRecord(const Options& o, const PointRun& r,
                 std::span<const std::pair<int, std::string>> typed, std::optional<Record> loss);

void print(const Options& o, const Record& record, std::ostream& out);

// --batch and --sweep: the runs of the lines of `in` and of the sweeps' points (batch.cpp).
int runBatch(const Options& o, const Form& form, const Folder& folder, std::istream& in,
             std::ostream& out, std::ostream& err);

}  // namespace tarnex::calc
