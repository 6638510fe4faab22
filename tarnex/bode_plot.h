#pragma once
// The Bode plot of a form that designs a loop (the compensation pages): gain in dB above
// phase in degrees, on a shared logarithmic frequency axis in the unit of the page, with the
// compensator, the power stage and the loop gain as far as the form knows them, and the
// crossover and phase margin read off the loop's curves. It paints what the form holds now;
// the form widget repaints it after every action.

#include <QWidget>

#include "forms/form.h"

namespace tarnex::qt {

class BodePlotWidget : public QWidget {
  Q_OBJECT

 public:
  BodePlotWidget(const Form& form, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Form& form_;
};

}  // namespace tarnex::qt
