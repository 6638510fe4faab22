#include "designs/forward.h"

#include <optional>

#include "designs/core_design_texts.h"
#include "designs/design_check.h"
#include "forms/empty_fields.h"

namespace tarnex {

using namespace forward;

namespace {

// The design conditions and the chosen core: both commands read all of them.
constexpr Bound<ForwardInputs> kInputs[] = {
    TARNEX_BINDS(ForwardInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, Bpk, Cmil, Kw, Ae)};

// What the verification shows; the estimate Ap is its own command's.
constexpr Bound<ForwardDesign> kDesign[] = {
    TARNEX_BINDS(ForwardDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};

}  // namespace

CForwardDlg::CForwardDlg(Host& host, const Folder& folder)
    : DesignDialog(host, folder, forwardTable()) {}

// No estimate has been made and no core chosen yet.
void CForwardDlg::prepare() {
  const int unknown[] = {kAp, kAe};
  setFieldsText(unknown, "");
}

void CForwardDlg::command(int id) {
  switch (id) {
    case kCoreButton:
      computeCore();
      return;
    case kVerifyButton:
      verify();
      return;
    default:
      DesignDialog::command(id);
  }
}

void CForwardDlg::showNotices(const std::vector<ForwardNotice>& notices) {
  for (ForwardNotice notice : notices) {
    switch (notice) {
      case ForwardNotice::DutyAtHalf:
        showOwned(kForwardDutyHint);
        break;
    }
  }
}

// The estimate needs no core. Its frame is its own: the built-in estimate shows the progress
// window before its hint, a formula file runs without it, and either way every number is
// written back, the outputs then emptied (they were read as "0").
void CForwardDlg::computeCore() {
  setWritten(false);
  setOutputsText("0");
  EmptyFields empty(*this, {kAp, kAe});
  empty.fillZero({kAp, kAe});
  if (!readFields()) {
    setOutputsText("");
    setText(kAp, "");
    empty.reblank({kAe});
    showOwned(kCoreIncomplete);
    return;
  }
  empty.reblank({kAe});
  // The read retried the set-up, and a file it needs has failed again and been reported.
  if (!setUpDone()) return;
  const std::optional<bool> useFile = inUseForCalculation(formulaFile());
  if (!useFile) return;
  // A file without a statement computes with the built-in estimate, as one switched off does.
  bool builtIn = !*useFile;
  if (*useFile) {
    // A formula reads Ae = 1, and what it assigns to Ae is dropped, so that the same file can
    // tell the estimate from the verification. What it computed is shown even after an error.
    const int pinned[] = {kAe};
    builtIn = runFormula(formulaFile(), pinned) == FormulaOutcome::NoStatements;
  }
  if (builtIn) {
    setOutputsText("");
    setText(kAp, "");
    host().runProgress();
    const ForwardCoreEstimate est = forwardAreaProduct(bound(kInputs));
    showNotices(est.notices);
    setValue(kAp, est.Ap);
  }
  writeFields();
  setWritten(true);
  empty.reblank({kAe});
  setOutputsText("");
}

void CForwardDlg::verify() {
  EmptyFields empty(*this, {kAp, kAe});
  if (empty.wasEmpty(kAe)) {
    setWritten(false);
    setOutputsText("");
    showOwned(kNeedCore);
    return;
  }
  empty.fillZero({kAp});

  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kVerifyIncomplete;
  // A formula reads Ap = 1 during the verification, and what it assigns to Ap is dropped.
  calc.pinned = {kAp};
  calc.afterRead = [&](bool) { empty.reblank({kAp}); };
  calc.builtIn = [&] {
    const ForwardDesign d = forwardVerify(bound(kInputs));
    showNotices(d.notices);
    store(d, kDesign);
    return true;
  };
  calc.check = [this] { return checkForward(bound(kInputs), bound(kDesign)).findings; };
  calculate(calc);
  // The estimate is its own command's result: what was read as "0" is no estimate.
  empty.reblank({kAp});
}

}  // namespace tarnex
