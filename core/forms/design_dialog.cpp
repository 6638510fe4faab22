#include "forms/design_dialog.h"

#include <utility>

#include "forms/core_pick.h"
#include "formula/formula.h"
#include "iface/interface_file.h"

namespace tarnex {

DesignDialog::DesignDialog(Host& host, const Folder& folder, const DialogTable& table)
    : FieldForm(host, table), folder_(folder) {}

std::string_view DesignDialog::formulaFile() const {
  const auto files = form().formulaFiles;
  for (const FormulaFileRow& f : files) {
    if (selected(f.when[0]) && selected(f.when[1])) return f.fileName;
  }
  return files.empty() ? std::string_view{} : files.front().fileName;
}

void DesignDialog::updateTitle() {
  const TitleMarkers& markers = *form().markers;
  std::string title(form().titleName);
  title += customCaptions_ ? markers.customCaptions : markers.systemCaptions;
  title += customFormulas_ ? markers.customFormulas : markers.builtInFormulas;
  setTitle(std::move(title));
}

void DesignDialog::runSetUp() {
  setOutputsText("");
  resetLists();
  prepare();
  setInterfaceMarker(false);
  setFormulaMarker(false);
  const std::optional<bool> applied = applyInterface();
  if (!applied) return;
  if (*applied) setInterfaceMarker(true);
  if (!refreshFormulaMode(form().formulaFiles.front().fileName)) return;
  updateTitle();
  markSetUp();
}

std::optional<bool> DesignDialog::applyInterface() {
  const std::optional<int> first = firstByte(form().interfaceFile);
  if (!first) return std::nullopt;
  if (*first == '#') return false;
  const std::vector<int> labels = relabelList(form());
  const std::optional<InterfaceFileResult> result =
      applyInterfaceFile(folder_, form().interfaceFile, static_cast<int>(labels.size()), host());
  if (!result) return std::nullopt;
  if (!result->applied) return false;
  for (const auto& [number, caption] : result->captions) {
    if (number < 1 || number > static_cast<int>(labels.size())) continue;
    if (Control* label = control(labels[static_cast<std::size_t>(number - 1)])) {
      label->text = caption;
    }
  }
  return true;
}

bool DesignDialog::refreshFormulaMode(std::string_view fileName) {
  const std::optional<bool> inUse = inUseForTitle(fileName);
  if (!inUse) return false;
  setFormulaMarker(*inUse);
  for (int id : form().disabledInFormulaMode) setEnabled(id, !*inUse);
  return true;
}

std::optional<int> DesignDialog::firstByte(std::string_view fileName) {
  std::optional<UserFile> file = UserFile::openOrReport(folder_, fileName, host());
  if (!file) return std::nullopt;
  return file->firstByte();
}

std::optional<bool> DesignDialog::inUseForTitle(std::string_view fileName) {
  std::optional<UserFile> file = UserFile::openOrReport(folder_, fileName, host());
  if (!file) return std::nullopt;
  return file->firstByte() != '#' && file->length() > 2 && formulaFileHoldsStatement(*file);
}

std::optional<bool> DesignDialog::inUseForCalculation(std::string_view fileName) {
  const std::optional<int> first = firstByte(fileName);
  if (!first) return std::nullopt;
  return *first != '#';
}

FormulaOutcome DesignDialog::runFormula(std::string_view fileName, std::span<const int> pinned) {
  return tarnex::runFormula(folder_, fileName, &form(), *this, host(), pinned);
}

CalcEnd DesignDialog::calculate(const Calculation& calc) {
  const std::span<const int> results =
      calc.results.empty() ? std::span<const int>(outputIds()) : std::span<const int>(calc.results);
  // Findings belong to the results they were made of: a command that computes every result
  // drops them at once (one that computes a few, the clamp, keeps them until it succeeds).
  // The loss sheet goes with them, and comes back with a checked calculation.
  CorePick* pick = corePick();
  if (calc.results.empty()) {
    clearFindings();
    if (pick != nullptr) pick->resultsChanged(std::nullopt);
  }
  const CalculateFrame frame{.results = results,
                             .keepResults = calc.keepResults,
                             .estimates = calc.estimates,
                             .blankAsZero = calc.blankAsZero,
                             .incomplete = calc.incompleteMessage,
                             .progress = !calc.progressBeforeBuiltIn};
  CalcEnd end = CalcEnd::Written;
  const auto compute = [&] {
    // The read retried the set-up, and a file it needs has failed again and been reported:
    // the command ends here, so that one cause shows one box.
    const std::optional<bool> useFile =
        setUpDone() ? inUseForCalculation(calc.formulaFile) : std::nullopt;
    if (!useFile) {
      end = CalcEnd::FileError;
      return false;
    }
    // A file without a statement (emptied, or saved as a bare line end) computes with the
    // built-in procedure, as one switched off by '#' does.
    bool builtIn = !*useFile;
    if (*useFile) {
      const FormulaOutcome run = runFormula(calc.formulaFile, calc.pinned);
      if (run == FormulaOutcome::Failed && !calc.writeBackAfterFailedRun) {
        end = CalcEnd::RunFailed;
        return false;
      }
      builtIn = run == FormulaOutcome::NoStatements;
    }
    if (!builtIn) return true;
    if (calc.progressBeforeBuiltIn) {
      setFieldsText(results, "");
      setFieldsText(calc.estimates, "");
      host().runProgress();
    }
    if (calc.builtIn()) return true;
    end = CalcEnd::Stopped;
    return false;
  };
  if (calculateFrame(frame, compute) == FrameEnd::Incomplete) return CalcEnd::Incomplete;
  if (end == CalcEnd::Written && calc.check) {
    // The check states the circuit it solves afresh each time, or none.
    if (pick != nullptr) pick->setCircuit(std::nullopt);
    setFindings(calc.check());
    if (pick != nullptr) pick->resultsChanged(coreKind(), coreNeed());
  }
  return end;
}

CalcEnd DesignDialog::calculate(std::string_view incompleteMessage, std::function<bool()> builtIn,
                                std::function<std::vector<Finding>()> check) {
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = incompleteMessage;
  calc.builtIn = std::move(builtIn);
  calc.check = std::move(check);
  return calculate(calc);
}

}  // namespace tarnex
