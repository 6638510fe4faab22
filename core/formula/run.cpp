// The run operation: load the file, translate and check it, prepare and evaluate it, and
// show the first message. Each run is an object of its own; nothing survives it except what
// it assigned to the dialog's numbers.

#include <utility>
#include <vector>

#include "formula/checks.h"
#include "formula/formula.h"
#include "formula/machine.h"
#include "formula/reader.h"
#include "formula/source.h"

namespace tarnex {

namespace {

class FormulaRun {
 public:
  FormulaRun(const Folder& folder, std::string_view fileName, const DialogTable* bindings,
             FieldValues& values, Host& host)
      : folder_(folder), fileName_(fileName), bindings_(bindings), values_(values), host_(host) {}

  FormulaOutcome run() {
    const std::optional<std::string> text = formula::loadFormulaText(folder_, fileName_, host_);
    if (!text) return FormulaOutcome::Failed;
    if (!formula::holdsStatement(*text)) return FormulaOutcome::NoStatements;
    const std::optional<formula::Diagnostic> error = checkAndEvaluate(*text, bindings_, values_);
    if (!error) return FormulaOutcome::Computed;
    host_.showMessage(formula::formatDiagnostic(*error));
    return FormulaOutcome::Failed;
  }

 private:
  const Folder& folder_;
  std::string_view fileName_;
  const DialogTable* bindings_;
  FieldValues& values_;
  Host& host_;
};

// Sets the pinned fields to 1 for the length of a run and puts their numbers back after it,
// whatever the run assigned to them.
class PinnedFields {
 public:
  PinnedFields(FieldValues& values, std::span<const int> ids) : values_(values) {
    saved_.reserve(ids.size());
    for (const int id : ids) saved_.emplace_back(id, values.value(id));
    for (const int id : ids) values.setValue(id, 1.0f);
  }
  ~PinnedFields() {
    // In reverse, so that a field listed twice gets its number from before the run.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      values_.setValue(it->first, it->second);
  }
  PinnedFields(const PinnedFields&) = delete;
  PinnedFields& operator=(const PinnedFields&) = delete;

 private:
  FieldValues& values_;
  std::vector<std::pair<int, float>> saved_;
};

}  // namespace

std::optional<formula::Diagnostic> checkAndEvaluate(std::string_view text, const DialogTable* table,
                                                    FieldValues& values) {
  std::vector<formula::Token> tokens;
  if (auto error = formula::translate(text, tokens)) return error;
  if (auto error = formula::checkStatements(tokens)) return error;
  formula::Program program;
  if (auto error = formula::prepare(tokens, table, program)) return error;
  return formula::Machine(program, values).run();
}

FormulaOutcome runFormula(const Folder& folder, std::string_view fileName,
                          const DialogTable* bindings, FieldValues& values, Host& host,
                          std::span<const int> pinnedControlIds) {
  const PinnedFields pinned(values, pinnedControlIds);
  return FormulaRun(folder, fileName, bindings, values, host).run();
}

bool runFormulaFile(const Folder& folder, std::string_view fileName, const DialogTable* bindings,
                    FieldValues& values, Host& host) {
  return runFormula(folder, fileName, bindings, values, host) != FormulaOutcome::Failed;
}

bool runFormulaFilePinned(const Folder& folder, std::string_view fileName,
                          const DialogTable* bindings, FieldValues& values, Host& host,
                          std::span<const int> pinnedControlIds) {
  return runFormula(folder, fileName, bindings, values, host, pinnedControlIds) !=
         FormulaOutcome::Failed;
}

bool formulaFileHoldsStatement(const UserFile& file) {
  const MarkedText read = file.readUntil('#');
  if (read.status == MarkedText::Status::TooLong || read.status == MarkedText::Status::ReadError)
    return true;
  return formula::holdsStatement(withoutByteOrderMark(read.text));
}

}  // namespace tarnex
