#pragma once
// The Bode plot of a form that designs a loop (the compensation pages): gain in dB above
// phase in degrees, on a shared logarithmic frequency axis in the unit of the page, with the
// compensator, the power stage and the loop gain as far as the form knows them, the
// crossover and phase margin read off the loop's curves, and the gain margin at half the
// switching frequency. After the exact design, its network and loop are drawn dashed beside
// the page's, with their margins, and a table under the panels sets its components beside
// the page's. It paints what the form holds now; the form widget repaints it after every
// action.

#include <QStringList>

#include "forms/form.h"
#include "plot_widget.h"

namespace tarnex::qt {

class BodePlotWidget : public PlotWidget {
  Q_OBJECT

 public:
  BodePlotWidget(const Form& form, QWidget* parent);

  // The names of the curves the plot shows now, in the order of its legend; empty before a
  // calculation.
  QStringList legend() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  int reservedBelow() const override;
  void paintOverlay(QPainter& p, const PlotFrame& frame) override;

 private:
  const Form& form_;
};

}  // namespace tarnex::qt
