#include "designs/forward.h"

#include "designs/core_design_texts.h"
#include "designs/design_check.h"

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
    : DesignDialog(host, folder, forwardTable()), pick_(*this, {kAe, 0}) {}

// The estimate is the area product in cm⁴; the transformer is ungapped.
CoreNeed CForwardDlg::coreNeed() const {
  return shownNeed(*this, {CoreNeed::Kind::AreaProduct, kAp, 1e-8});
}

std::optional<magnetics::WindowKind> CForwardDlg::coreKind() const {
  return magnetics::WindowKind::Forward;
}

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

// The estimate needs no core: a blank Ae reads as 0 and stays blank. The built-in estimate
// shows the progress window before its hint, a formula file runs without it, and either way
// every number is written back, the outputs then emptied (they were read as "0").
void CForwardDlg::computeCore() {
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kCoreIncomplete;
  calc.keepResults = false;
  calc.estimates = {kAp};
  calc.blankAsZero = {kAe};
  // A formula reads Ae = 1, and what it assigns to Ae is dropped, so that the same file can
  // tell the estimate from the verification. What it computed is shown even after an error.
  calc.pinned = {kAe};
  calc.writeBackAfterFailedRun = true;
  calc.progressBeforeBuiltIn = true;
  calc.builtIn = [this] {
    const ForwardCoreEstimate est = forwardAreaProduct(bound(kInputs));
    showNotices(est.notices);
    setValue(kAp, est.Ap);
    return true;
  };
  calculate(calc);
}

void CForwardDlg::verify() {
  if (text(kAe).empty()) {
    setWritten(false);
    setOutputsText("");
    showOwned(kNeedCore);
    return;
  }
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kVerifyIncomplete;
  // A formula reads Ap = 1 during the verification, and what it assigns to Ap is dropped.
  // The estimate is its own command's result: a blank one reads as 0 and stays blank.
  calc.pinned = {kAp};
  calc.blankAsZero = {kAp};
  calc.builtIn = [&] {
    const ForwardDesign d = forwardVerify(bound(kInputs));
    if (d.ending == ForwardEnding::Impossible) {
      setOutputsText("");
      showOwned(kImpossibleDesign);
      return false;
    }
    showNotices(d.notices);
    store(d, kDesign);
    return true;
  };
  calc.check = [this] { return pick_.checked(checkForward(bound(kInputs), bound(kDesign))); };
  calculate(calc);
}

}  // namespace tarnex
