#pragma once
// Fields a command lets the user leave empty (the data of a core not chosen yet, an estimate
// not made yet). An empty field does not read as a number, so the command fills it with "0"
// for the read and empties it again afterwards: no estimate or core data appears that the
// user did not give.

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "forms/form.h"

namespace tarnex {

class EmptyFields {
 public:
  // Notes which of `ids` are empty now.
  EmptyFields(Form& form, std::initializer_list<int> ids) : form_(form) {
    for (int id : ids) {
      if (form_.text(id).empty()) empty_.push_back(id);
    }
  }
  bool wasEmpty(int id) const {
    return std::find(empty_.begin(), empty_.end(), id) != empty_.end();
  }
  // Writes "0" into those of `ids` that were empty.
  void fillZero(std::initializer_list<int> ids) { setWhereEmpty(ids, "0"); }
  // Empties again those of `ids` that were empty.
  void reblank(std::initializer_list<int> ids) { setWhereEmpty(ids, ""); }

 private:
  void setWhereEmpty(std::initializer_list<int> ids, const char* text) {
    for (int id : ids) {
      if (wasEmpty(id)) form_.setText(id, text);
    }
  }

  Form& form_;
  std::vector<int> empty_;
};

}  // namespace tarnex
