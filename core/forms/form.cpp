#include "forms/form.h"

#include <algorithm>
#include <utility>

#include "forms/core_pick.h"

namespace tarnex {

const Control* Form::control(int id) const {
  const auto it = std::find_if(controls_.begin(), controls_.end(),
                               [id](const Control& c) { return c.id == id; });
  return it == controls_.end() ? nullptr : &*it;
}

Control* Form::control(int id) {
  return const_cast<Control*>(static_cast<const Form&>(*this).control(id));
}

const std::string& Form::text(int id) const {
  static const std::string kEmpty;
  const Control* c = control(id);
  return c ? c->text : kEmpty;
}

void Form::setText(int id, std::string text) {
  if (Control* c = control(id)) c->text = std::move(text);
}

void Form::enterKey() {
  const auto it = std::find_if(controls_.begin(), controls_.end(), [](const Control& c) {
    return c.kind == ControlKind::Button && c.isDefault && c.enabled;
  });
  if (it != controls_.end()) command(it->id);
}

std::optional<Form::FocusRequest> Form::takeFocusRequest() {
  return std::exchange(focus_, {});
}

Control& Form::add(Control c) {
  controls_.push_back(std::move(c));
  return controls_.back();
}

CoreNeed Form::coreNeed() const {
  return {};
}

}  // namespace tarnex
