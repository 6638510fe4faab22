#include "forms/field_form.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "forms/core_pick.h"

namespace tarnex {

namespace {

float openingValue(std::string_view text) {
  if (text.empty()) return 0.0f;
  return parseFieldText(text).value_or(0.0f);
}

}  // namespace

FieldForm::FieldForm(Host& host, const DialogTable& table) : TableForm(host, table) {
  values_.reserve(table.fields.size());
  for (const FieldRow& row : table.fields) {
    values_.push_back(openingValue(row.opening));
    if (row.role == FieldRole::Result) outputIds_.push_back(row.controlId);
  }
}

int FieldForm::indexOf(int controlId) const {
  const auto& fields = form().fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].controlId == controlId) return static_cast<int>(i);
  }
  return -1;
}

int FieldForm::idOf(std::string_view name) const {
  const FieldRow* row = findField(form(), name);
  if (row == nullptr) {
    throw std::logic_error("window " + std::string(form().key) + " has no field " +
                           std::string(name));
  }
  return row->controlId;
}

float FieldForm::value(int controlId) const {
  const int i = indexOf(controlId);
  return i < 0 ? 0.0f : values_[static_cast<std::size_t>(i)];
}

void FieldForm::setValue(int controlId, float v) {
  const int i = indexOf(controlId);
  if (i >= 0) values_[static_cast<std::size_t>(i)] = v;
}

void FieldForm::open() {
  writeFields();
}

void FieldForm::enterKey() {
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

void FieldForm::writeFields() {
  if (exchangeMovesValues()) {
    const auto& fields = form().fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      Control* edit = control(fields[i].controlId);
      std::string text = formatFieldValue(values_[i]);
      if (edit->text != text) edit->text = std::move(text);
    }
  }
  if (!setUp_) runSetUp();
  exchangeDone();
}

bool FieldForm::readFields() {
  if (exchangeMovesValues()) {
    const auto& fields = form().fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const int id = fields[i].controlId;
      if (showsOwnNonFinite(i)) continue;
      const std::optional<float> v = parseFieldText(text(id));
      if (!v) {
        host().showMessage(Message{kProgramName, kNotANumber, Icon::Warning, true});
        requestFocus(id, true);
        return false;
      }
      values_[i] = *v;
    }
  }
  if (!setUp_) runSetUp();
  exchangeDone();
  return true;
}

bool FieldForm::showsOwnNonFinite(std::size_t i) const {
  const float v = values_[i];
  return !std::isfinite(v) && text(form().fields[i].controlId) == formatFieldValue(v);
}

void FieldForm::runSetUp() {
  setOutputsText("");
  resetLists();
  markSetUp();
}

void FieldForm::setFieldsText(std::span<const int> ids, std::string_view text) {
  for (int id : ids) setText(id, std::string(text));
}

void FieldForm::setOutputsText(std::string_view text) {
  // The loss sheet was worked out from the results as well.
  dropCalculation();
  setFieldsText(outputIds_, text);
}

void FieldForm::dropCalculation() {
  findings_.clear();
  if (CorePick* pick = corePick()) pick->resultsChanged(std::nullopt);
}

void FieldForm::showOwned(std::string text) {
  host().showMessage(Message{kProgramName, std::move(text), Icon::None, true});
}

FrameEnd FieldForm::calculateFrame(const CalculateFrame& frame,
                                   const std::function<bool()>& compute) {
  setWritten(false);
  // An empty field does not read as a number: the results read as "0", and so do the blank
  // estimates and the fields left blank on purpose.
  std::vector<int> blankEstimates, blanks;
  for (int id : frame.estimates) {
    if (text(id).empty()) blankEstimates.push_back(id);
  }
  for (int id : frame.blankAsZero) {
    if (text(id).empty()) blanks.push_back(id);
  }
  setFieldsText(frame.results, "0");
  setFieldsText(blankEstimates, "0");
  setFieldsText(blanks, "0");
  commandExchange();
  const bool read = readFields();
  setFieldsText(blanks, "");
  if (!read) {
    // A failed read leaves the exchange unfinished.
    exchangeDone();
    setFieldsText(frame.results, "");
    setFieldsText(frame.estimates, "");
    readRefused();
    showOwned(std::string(frame.incomplete));
    return FrameEnd::Incomplete;
  }
  const bool write = compute();
  if (write) {
    commandExchange();
    setFieldsText(frame.results, "");
    if (frame.progress) host().runProgress();
    writeFields();
    setWritten(true);
  }
  if (!frame.keepResults) setFieldsText(frame.results, "");
  setFieldsText(blanks, "");
  return write ? FrameEnd::Written : FrameEnd::Stopped;
}

}  // namespace tarnex
