#pragma once
// The three pages of the loop-compensation sheet as form models: the current-mode page
// CICtrl, the voltage-mode type II page CVCtrl and the type III page CType3. Each is a field
// form on its table whose data exchange moves values only while its exchange flag is set: at
// the first exchange (which fills the fields and runs the set-up) and during its own
// commands. The exchanges the sheet runs when the user switches pages move nothing and never
// fail. After each calculation that wrote its results, the page holds the Bode plot of the
// loop as designed.

#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "forms/field_form.h"
#include "loop/bode.h"
#include "loop/compensation.h"
#include "loop/load_step.h"
#include "loop/loop_check.h"
#include "loop/loop_tables.h"

namespace tarnex {

class LoopPage : public FieldForm {
 public:
  LoopPage(Host& host, const DialogTable& table) : FieldForm(host, table) {}

  // Whether the next data exchange moves values.
  bool exchangeFlag() const { return exchange_; }

  bool plotsBode() const override { return true; }
  const BodePlot* bode() const override { return plot_ ? &*plot_ : nullptr; }
  // The load step of the plotted loop, computed when first asked for.
  const LoadStep* loadStep() override;
  // The loop's design check, read off the exact plot after each calculation.
  bool checksDesign() const override { return true; }
  void dropCalculation() override {
    FieldForm::dropCalculation();
    plot_.reset();
  }

 protected:
  bool exchangeMovesValues() const override { return exchange_; }
  void exchangeDone() override { exchange_ = false; }

  // A command's exchanges move values; a refused read drops the plot with the results.
  void commandExchange() override { exchange_ = true; }
  void readRefused() override { dropPlot(); }

  // The calculate frame of a command that computes every result of the page: true when
  // `compute` ran and its numbers were written back.
  bool calculateAll(std::string_view incomplete, const std::function<void()>& compute);

  // The read of the exact design, which writes no field: every field read, the blank ones as
  // 0 and left blank. When a field does not read, `incomplete` is shown and the plot dropped;
  // false.
  bool readForExact(std::string_view incomplete);

  // The plot of the loop, the check of what it does and, for a page that knows its stage, the
  // loop whose load step it shows.
  void setPlot(BodePlot plot, std::vector<Finding> findings,
               std::optional<LoadStepModel> stepModel = std::nullopt) {
    plot_ = std::move(plot);
    setFindings(std::move(findings));
    stepModel_ = std::move(stepModel);
    step_.reset();
  }
  // The plot no longer matches the fields (results blanked).
  void dropPlot() {
    plot_.reset();
    clearFindings();
    stepModel_.reset();
    step_.reset();
  }

  // Runs hint dialog `dialogId` (one of `hint`) modally over the page.
  void showHint(int dialogId);

 private:
  bool exchange_ = true;
  std::optional<BodePlot> plot_;
  std::optional<LoadStepModel> stepModel_;
  std::optional<LoadStep> step_;
};

// Current-mode control with slope compensation, transconductance or op-amp amplifier.
class CICtrl : public LoopPage {
 public:
  explicit CICtrl(Host& host);

  void command(int id) override;
  void select(int listId, int index) override;

  CurrentModeAmplifier amplifier() const;
  bool stepsLoad() const override { return true; }

 protected:
  void runSetUp() override;

 private:
  void calculate();
  void exactDesign();
};

// Voltage-mode type II network for a DCM flyback or a forward-type converter, in two steps:
// the control-to-output characteristic (step 2), then the network (step 4).
class CVCtrl : public LoopPage {
 public:
  explicit CVCtrl(Host& host);

  void command(int id) override;
  void select(int listId, int index) override;

  TypeIIKind kind() const;
  bool stepsLoad() const override { return true; }

 protected:
  void runSetUp() override;

 private:
  void enableForKind(int entry);
  TypeIIInputs inputs() const;
  void controlToOutput();
  void network();
  void exactDesign();
};

// Voltage-mode type III network from its placed poles and zeros.
class CType3 : public LoopPage {
 public:
  explicit CType3(Host& host);

  void command(int id) override;

 private:
  void calculate();
  void exactDesign();
};

}  // namespace tarnex
