#include "forms/design_dialog.h"

#include <algorithm>
#include <utility>

#include "base/number_text.h"
#include "formula/formula.h"
#include "iface/interface_file.h"

namespace tarnex {

namespace {

constexpr TitleMarkers kMarkers{"   <界面:系统", "   <界面:自定义", "   公式:内置>",
                                "   公式:自定义>"};
// The ringing-choke window has one blank less before its interface marker and one more
// before its custom formula marker.
constexpr TitleMarkers kRccMarkers{"  <界面:系统", "  <界面:自定义", "   公式:内置>",
                                   "    公式:自定义>"};

float openingValue(std::string_view text) {
  if (text.empty()) return 0.0f;
  return parseFieldText(text).value_or(0.0f);
}

}  // namespace

const TitleMarkers& titleMarkersFor(std::string_view tableKey) {
  return tableKey == "rcc" ? kRccMarkers : kMarkers;
}

DesignDialog::DesignDialog(Host& host, const Folder& folder, const DialogTable& table,
                           DesignOptions options)
    : Form(host),
      table_(table),
      folder_(folder),
      options_(std::move(options)),
      markers_(titleMarkersFor(table.key)) {
  values_.reserve(table_.fields.size());
  for (const GroupRow& g : table_.groups) {
    Control& group = add(makeControl(g.id, ControlKind::Group, std::string(g.caption)));
    if (g.colored) group.color = g.color;
  }
  for (const FieldRow& row : table_.fields) {
    values_.push_back(openingValue(row.opening));
    if (row.output) outputIds_.push_back(row.controlId);
    if (row.labelId != 0) {
      add(makeControl(row.labelId, ControlKind::Label, std::string(row.caption), row.groupId));
    }
    add(makeControl(row.controlId, ControlKind::Edit, "", row.groupId));
  }
  // The title is the template's caption until the set-up has decided the modes.
  setTitle(std::string(table_.titleName));
}

int DesignDialog::indexOf(int controlId) const {
  for (std::size_t i = 0; i < table_.fields.size(); ++i) {
    if (table_.fields[i].controlId == controlId) return static_cast<int>(i);
  }
  return -1;
}

float DesignDialog::value(int controlId) const {
  const int i = indexOf(controlId);
  return i < 0 ? 0.0f : values_[static_cast<std::size_t>(i)];
}

void DesignDialog::setValue(int controlId, float v) {
  const int i = indexOf(controlId);
  if (i >= 0) values_[static_cast<std::size_t>(i)] = v;
}

void DesignDialog::open() {
  writeFields();
}

void DesignDialog::command(int id) {
  if (id == kCloseButton) requestClose();
}

bool DesignDialog::setSelection(int listId, int index) {
  Control* list = control(listId);
  if (list == nullptr || list->kind != ControlKind::DropList) return false;
  if (index < 0 || index >= static_cast<int>(list->entries.size())) return false;
  // Picking the entry already shown changes nothing: its handler would only throw away
  // what the user typed (the flyback's core data, the results on screen).
  if (index == list->selection) return false;
  list->selection = index;
  return true;
}

void DesignDialog::select(int listId, int index) {
  setSelection(listId, index);
}

void DesignDialog::setEnabled(int id, bool enabled) {
  if (Control* c = control(id)) c->enabled = enabled;
}

void DesignDialog::enterKey() {
  const bool hasDefault = std::any_of(controls_.begin(), controls_.end(), [](const Control& c) {
    return c.kind == ControlKind::Button && c.isDefault;
  });
  if (hasDefault) {
    Form::enterKey();
    return;
  }
  // No default button: check the fields and keep the window (and the user's inputs) open.
  readFields();
}

void DesignDialog::writeFields() {
  for (std::size_t i = 0; i < table_.fields.size(); ++i) {
    Control* edit = control(table_.fields[i].controlId);
    if (edit == nullptr) continue;
    std::string text = formatFieldValue(values_[i]);
    if (edit->text != text) edit->text = std::move(text);
  }
  if (!setUp_) runSetUp();
}

bool DesignDialog::readFields() {
  for (std::size_t i = 0; i < table_.fields.size(); ++i) {
    const int id = table_.fields[i].controlId;
    const std::optional<float> v = parseFieldText(text(id));
    if (!v) {
      host().showMessage(Message{kProgramName, kNotANumber, Icon::Warning, true});
      requestFocus(id, true);
      return false;
    }
    values_[i] = *v;
  }
  if (!setUp_) runSetUp();
  return true;
}

void DesignDialog::setFieldsText(std::span<const int> ids, std::string_view text) {
  for (int id : ids) setText(id, std::string(text));
}

void DesignDialog::setOutputsText(std::string_view text) {
  setFieldsText(outputIds_, text);
}

void DesignDialog::showOwned(std::string text) {
  host().showMessage(Message{kProgramName, std::move(text), Icon::None, true});
}

void DesignDialog::setInterfaceMarker(bool custom) {
  customCaptions_ = custom;
}
void DesignDialog::setFormulaMarker(bool custom) {
  customFormulas_ = custom;
}

void DesignDialog::updateTitle() {
  std::string title(table_.titleName);
  title += customCaptions_ ? markers_.customCaptions : markers_.systemCaptions;
  title += customFormulas_ ? markers_.customFormulas : markers_.builtInFormulas;
  setTitle(std::move(title));
}

std::vector<int> DesignDialog::relabelList() const {
  std::vector<int> list;
  for (const FieldRow& row : table_.fields) {
    if (row.relabel <= 0) continue;
    const auto k = static_cast<std::size_t>(row.relabel);
    if (list.size() < k) list.resize(k, 0);
    list[k - 1] = row.labelId;
  }
  return list;
}

void DesignDialog::runSetUp() {
  setOutputsText("");
  prepare();
  setInterfaceMarker(false);
  setFormulaMarker(false);
  const std::optional<bool> applied = applyInterface();
  if (!applied) return;
  if (*applied) setInterfaceMarker(true);
  if (!refreshFormulaMode(options_.titleFormulaFile)) return;
  updateTitle();
  markSetUp();
}

std::optional<bool> DesignDialog::applyInterface() {
  const std::optional<int> first = firstByte(table_.interfaceFile);
  if (!first) return std::nullopt;
  if (*first == '#') return false;
  const std::vector<int> labels = relabelList();
  const std::optional<InterfaceFileResult> result =
      applyInterfaceFile(folder_, table_.interfaceFile, static_cast<int>(labels.size()), host());
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
  for (int id : options_.disabledInFormulaMode) setEnabled(id, !*inUse);
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

CalcEnd DesignDialog::calculate(const Calculation& calc) {
  lastWritten_ = false;
  const std::span<const int> results =
      calc.results.empty() ? std::span<const int>(outputIds_) : std::span<const int>(calc.results);
  // An empty field does not read as a number: results read as "0".
  setFieldsText(results, "0");
  const bool read = readFields();
  if (calc.afterRead) calc.afterRead(read);
  if (!read) {
    setFieldsText(results, "");
    showOwned(std::string(calc.incompleteMessage));
    return CalcEnd::Incomplete;
  }
  // The read retried the set-up, and a file it needs has failed again and been reported:
  // the command ends here, so that one cause shows one box.
  if (!setUp_) return CalcEnd::FileError;
  const std::optional<bool> useFile = inUseForCalculation(calc.formulaFile);
  if (!useFile) return CalcEnd::FileError;
  // A file without a statement (emptied, or saved as a bare line end) computes with the
  // built-in procedure, as one switched off by '#' does.
  bool builtIn = !*useFile;
  if (*useFile) {
    const FormulaOutcome run = runFormula(folder_, calc.formulaFile, *this, host(), calc.pinned);
    if (run == FormulaOutcome::Failed && !calc.writeBackAfterFailedRun) return CalcEnd::RunFailed;
    builtIn = run == FormulaOutcome::NoStatements;
  }
  if (builtIn && !calc.builtIn()) return CalcEnd::Stopped;
  showResults(results);
  return CalcEnd::Written;
}

void DesignDialog::showResults(std::span<const int> results) {
  setFieldsText(results, "");
  host().runProgress();
  writeFields();
  lastWritten_ = true;
}

}  // namespace tarnex
