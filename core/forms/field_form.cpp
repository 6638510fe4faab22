#include "forms/field_form.h"

#include <algorithm>

#include "base/number_text.h"

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

void FieldForm::runSetUp() {
  setOutputsText("");
  resetLists();
  markSetUp();
}

void FieldForm::setFieldsText(std::span<const int> ids, std::string_view text) {
  for (int id : ids) setText(id, std::string(text));
}

void FieldForm::setOutputsText(std::string_view text) {
  findings_.clear();
  setFieldsText(outputIds_, text);
}

void FieldForm::showOwned(std::string text) {
  host().showMessage(Message{kProgramName, std::move(text), Icon::None, true});
}

void FieldForm::showResults(std::span<const int> results) {
  setFieldsText(results, "");
  host().runProgress();
  writeFields();
  setWritten(true);
}

}  // namespace tarnex
