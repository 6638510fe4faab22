#pragma once
// A design dialog's numbers, addressed by the control id of their edit field. The formula
// interpreter reads and writes a dialog only through this interface.

namespace tarnex {

class FieldValues {
 public:
  virtual ~FieldValues() = default;
  // The current number of the field; the dialog guarantees every id of its table exists.
  virtual float value(int controlId) const = 0;
  virtual void setValue(int controlId, float value) = 0;
};

}  // namespace tarnex
