#pragma once
// The sweep of a design window or a compensation page ("扫描…"): an input of the window
// stepped from one value to another (evenly or on a log scale), every point computed in a
// fresh copy of the window as it stands, and the chosen results plotted against the input,
// a panel per result in its unit. Points the window refuses are gaps, their message shown
// over the gap; the rows can be saved as CSV. The window itself is left as it was.

#include <QDialog>
#include <functional>
#include <vector>

#include "forms/form.h"
#include "forms/sweep.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace tarnex::qt {

class PlotWidget;

class SweepDialog : public QDialog {
  Q_OBJECT

 public:
  // Sweeps a copy of `form` as it stands now; `form` must outlive the dialog's runs only
  // while it is constructed (its texts and list entries are copied).
  SweepDialog(const Form& form, QWidget* parent);

  // The points the last run gave, and what was swept and read.
  const std::vector<SweepRow>& rows() const { return rows_; }
  PlotWidget* plot() const { return plot_; }
  QComboBox* inputs() const { return input_; }
  QComboBox* command() const { return command_; }
  QListWidget* outputs() const { return outputs_; }
  QLineEdit* from() const { return from_; }
  QLineEdit* to() const { return to_; }
  QSpinBox* points() const { return count_; }
  QCheckBox* logSteps() const { return logX_; }
  QCheckBox* logValues() const { return logY_; }

  // Runs the sweep with the choices shown; false (with the reason in the status line) when
  // they are not usable.
  bool run();
  // The rows as CSV, as saved.
  std::string csv() const;
  // Saves the rows to `path` whole or not at all; the reason when it failed.
  QString save(const QString& path) const;

 private:
  void choose(int inputIndex);
  void showRows();
  void exportRows();

  const DialogTable* table_;
  SweepWindow window_;
  std::vector<const FieldRow*> inputRows_, outputRows_;
  QComboBox* input_;
  QComboBox* command_;  // the window's command pressed at every point
  std::vector<int> commandIds_;
  QLineEdit* from_;
  QLineEdit* to_;
  QSpinBox* count_;
  QCheckBox* logX_;
  QCheckBox* logY_;
  QListWidget* outputs_;
  QPushButton* export_;
  QLabel* status_;
  PlotWidget* plot_;
  // What the rows were computed for.
  std::vector<SweepInput> swept_;
  std::vector<int> read_;
  std::vector<double> xs_;
  std::vector<SweepRow> rows_;
};

class DesignMenu;
class FormWidget;

// Opens the sweep of `form` over `parent`, modal.
void runSweepDialog(const Form& form, QWidget* parent);
// The item "扫描…" of a window's design menu: sweeps the form `shown` gives (the page shown,
// on a sheet).
void addSweepItem(DesignMenu& menu, QWidget* window, std::function<FormWidget*()> shown);

}  // namespace tarnex::qt
