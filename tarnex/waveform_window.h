#pragma once
// The window of a design window's simulation: the waveforms of one end of the input range in
// the plot widget (cursor read-out, zoom), a choice of the end, and beside them the table of
// simulated against shown with the findings where they differ.

#include <QDialog>

#include "sim/window_sim.h"

class QComboBox;
class QTableWidget;

namespace tarnex::qt {

class DesignMenu;
class PlotWidget;

class WaveformWindow : public QDialog {
  Q_OBJECT

 public:
  // Not shown yet; deleted when closed. `title`: the design window's.
  WaveformWindow(sim::WindowSimulation simulation, const QString& title, QWidget* owner);

  PlotWidget* plot() const { return plot_; }
  QTableWidget* table() const { return table_; }
  QComboBox* ends() const { return ends_; }

 private:
  void showEnd(int index);

  sim::WindowSimulation sim_;
  PlotWidget* plot_;
  QComboBox* ends_;
  QTableWidget* table_;
};

// The design window's simulation commands: "仿真波形" runs the simulation (its progress and
// cancel through `host`) and opens its window, or says why it could not; "导出网表…" asks for
// a file and writes the deck there whole.
void simulateAndShow(const Form& form, Host& host, QWidget* owner);
void exportNetlist(const Form& form, Host& host, QWidget* owner);
// Both in the design menu of a design window (`window`, showing `form`), enabled after a
// calculation that wrote its results.
void addSimulationItems(DesignMenu& menu, const Form& form, Host& host, QWidget* window);

}  // namespace tarnex::qt
