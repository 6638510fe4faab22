#include "designs/flyback.h"

#include <string>
#include <utility>
#include <vector>

#include "designs/core_design_texts.h"
#include "designs/design_check.h"

namespace tarnex {

using namespace flyback;

namespace {

// Texts of the window, exactly as shown (the estimate's and the verification's are shared
// with the forward window).
constexpr const char* kSnubberIncomplete = " 请输入完整的设计条件!";
constexpr const char* kNeedInductance = "没有足够的信息，请先计算电感量！";
constexpr const char* kDeadTimeHint =
    "提示：死区时间建议设置大于工作周期的20%，以保证工作于断续模式 ！";
constexpr const char* kFluxWarning = "注意：实际磁通密度峰值已经超过最大值！";
// Captions of the estimate: the group, its field's label and the note under it.
constexpr const char* kCcmEstimateCaption = "估算所需磁芯体积Ve=Ae*Le";
constexpr const char* kDcmEstimateCaption = "估算所需磁芯面积乘积Ae*Aw";
constexpr const char* kCcmEstimateLabel = "磁芯体积Ve(mm3)";
constexpr const char* kDcmEstimateLabel = "磁芯面积乘积(mm4)";
constexpr const char* kCustomEstimateCaption = "磁芯参数:";
constexpr const char* kEmpiricalText = "(铁氧体)经验公式";

constexpr Bound<FlybackInputs> kInputs[] = {TARNEX_BINDS(FlybackInputs, Po, Vo, Eff, VacMin, VacMax,
                                                         Vswm, Vswr, f, Vdf, r, Ptd, Cmil, Vopp, Ae,
                                                         Le, Bpk, Bsat, Per)};

// The verification's results; the clamp (Rlk, Clk) has a command of its own.
constexpr Bound<FlybackDesign> kDesign[] = {TARNEX_BINDS(FlybackDesign, Lp, Ls, Np, Ns, Dp, Ds, Zc,
                                                         Iin, Ipkp, Irmsp, Iswe, Ton, Cin, Irmss,
                                                         Ipks, Vdm, Idm, Co, Vcm)};

constexpr Bound<FlybackSnubber> kSnubber[] = {TARNEX_BINDS(FlybackSnubber, Rlk, Clk)};

}  // namespace

CFlybackDlg::CFlybackDlg(Host& host, const Folder& folder)
    : DesignDialog(host, folder, flybackTable()), pick_(*this, {kAe, kLe}) {}

FlybackMode CFlybackDlg::mode() const {
  return selectedEntry(kModeList) == kDcm ? FlybackMode::Dcm : FlybackMode::Ccm;
}

// The estimate is the core volume in CCM and the area product in DCM; the gap must give the
// primary its inductance.
CoreNeed CFlybackDlg::coreNeed() const {
  const bool dcm = mode() == FlybackMode::Dcm;
  return shownNeed(*this, {dcm ? CoreNeed::Kind::AreaProduct : CoreNeed::Kind::Volume, kVe,
                           dcm ? 1e-12 : 1e-9, kLp, idOf("Np"), idOf("Zc")});
}

std::optional<magnetics::WindowKind> CFlybackDlg::coreKind() const {
  return mode() == FlybackMode::Dcm ? magnetics::WindowKind::FlybackDcm
                                    : magnetics::WindowKind::FlybackCcm;
}

void CFlybackDlg::runSetUp() {
  setInterfaceMarker(false);
  setFormulaMarker(false);
  resetLists();
  // CCM: the ripple ratio applies, the dead time does not.
  setEnabled(kPtd, false);
  setOutputsText("");
  const int unknownCore[] = {kVe, kAe, kLe};
  setFieldsText(unknownCore, "");
  // The window counts as set up from here on, even if a file below cannot be opened.
  markSetUp();

  const std::optional<bool> applied = applyInterface();
  if (!applied) return;
  if (*applied) {
    control(kEstimateGroup)->text = kCustomEstimateCaption;
    setInterfaceMarker(true);
  } else {
    control(kEstimateGroup)->text = kCcmEstimateCaption;
  }
  if (!refreshFormulaMode(formulaFile())) return;
  updateTitle();
}

void CFlybackDlg::command(int id) {
  switch (id) {
    case kCoreButton:
      computeCore();
      return;
    case kVerifyButton:
      verify();
      return;
    case kSnubberButton:
      computeSnubber();
      return;
    default:
      DesignDialog::command(id);
  }
}

void CFlybackDlg::select(int listId, int index) {
  if (!setSelection(listId, index)) return;
  if (listId == kModeList) onModeChanged();
}

void CFlybackDlg::setModeCaptions() {
  const bool dcm = mode() == FlybackMode::Dcm;
  control(kEstimateGroup)->text = dcm ? kDcmEstimateCaption : kCcmEstimateCaption;
  control(kEstimateLabel)->text = dcm ? kDcmEstimateLabel : kCcmEstimateLabel;
  control(kEmpiricalNote)->text = kEmpiricalText;
}

void CFlybackDlg::onModeChanged() {
  // A design of the other mode starts from the conditions only: the core data and every
  // result are dropped, so the snubber cannot run on an inductance of the other mode.
  const int coreData[] = {kAe, kLe, kVe};
  for (int id : coreData) setValue(id, 0);
  for (int id : outputIds()) setValue(id, 0);
  setOutputsText("");
  setFieldsText(coreData, "");

  const bool dcm = mode() == FlybackMode::Dcm;
  setEnabled(kR, !dcm);
  setEnabled(kPtd, dcm);

  const std::optional<int> first = firstByte(form().interfaceFile);
  if (!first) return;
  if (*first == '#') {
    setModeCaptions();
  } else {
    const std::optional<bool> applied = applyInterface();
    if (!applied) return;
    if (*applied) {
      control(kEstimateGroup)->text = kCustomEstimateCaption;
      control(kEmpiricalNote)->text = kEmpiricalText;
    } else {
      setModeCaptions();
    }
    setInterfaceMarker(*applied);
  }
  if (!refreshFormulaMode(formulaFile())) return;
  updateTitle();
}

void CFlybackDlg::showNotices(const std::vector<FlybackNotice>& notices) {
  for (FlybackNotice notice : notices) {
    switch (notice) {
      case FlybackNotice::DeadTimeShort:
        showOwned(kDeadTimeHint);
        break;
      case FlybackNotice::FluxAboveSaturation:
        showOwned(kFluxWarning);
        break;
    }
  }
}

void CFlybackDlg::computeCore() {
  const FlybackMode current = mode();
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kCoreIncomplete;
  // Only the estimate and the inputs show numbers: the outputs are read as "0".
  calc.keepResults = false;
  calc.estimates = {kVe};
  // The estimate needs no core: a formula reads Ae = Le = 1, and what it assigns to them is
  // dropped, so the same file can tell the estimate from the verification.
  calc.blankAsZero = {kAe, kLe};
  calc.pinned = {kAe, kLe};
  calc.builtIn = [&] {
    const FlybackInputs in = bound(kInputs);
    // The DCM area product needs the turns ratio; the CCM volume does not.
    const FlybackCoreEstimate est =
        current == FlybackMode::Ccm ? flybackCcmCoreVolume(in) : flybackDcmAreaProduct(in);
    if (est.ending == FlybackEnding::Impossible) {
      setText(kVe, "");
      showOwned(kImpossibleDesign);
      return false;
    }
    showNotices(est.notices);
    setValue(kVe, est.Ve);
    return true;
  };
  calculate(calc);
}

void CFlybackDlg::verify() {
  if (text(kAe).empty() || text(kLe).empty()) {
    setOutputsText("");
    showOwned(kNeedCore);
    return;
  }
  const FlybackMode current = mode();
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kVerifyIncomplete;
  // A formula reads Ve = 1 during the verification, and what it assigns to Ve is dropped; a
  // blank estimate reads as 0 and stays blank.
  calc.pinned = {kVe};
  calc.blankAsZero = {kVe};
  calc.builtIn = [&] {
    const FlybackInputs in = bound(kInputs);
    const FlybackDesign d =
        current == FlybackMode::Ccm ? flybackVerifyCcm(in) : flybackVerifyDcm(in);
    if (d.ending == FlybackEnding::Impossible) {
      setOutputsText("");
      showOwned(kImpossibleDesign);
      return false;
    }
    showNotices(d.notices);
    store(d, kDesign);
    return true;
  };
  // The clamp is not sized yet: the check leaves it out.
  calc.check = [&] {
    return pick_.checked(
        checkFlyback(current == FlybackMode::Ccm, bound(kInputs), bound(kDesign), {}));
  };
  if (calculate(calc) == CalcEnd::Incomplete) return;
  // The clamp is sized by its own command, from the inductance just verified.
  const int clamp[] = {kRlk, kClk};
  setFieldsText(clamp, "");
}

void CFlybackDlg::computeSnubber() {
  // Lp is 0 until a verification has run, and again after a mode switch or a core estimate.
  if (value(kLp) == 0.0f) {
    showOwned(kNeedInductance);
    return;
  }
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kSnubberIncomplete;
  calc.results = {kRlk, kClk};
  // The estimate is no input of the clamp: a blank one reads as 0 and stays blank, also
  // after a refused read.
  calc.blankAsZero = {kVe};
  // The last step of a design: what a formula computed before an error is still shown.
  calc.writeBackAfterFailedRun = true;
  calc.builtIn = [&] {
    const FlybackSnubber s = flybackSnubber(bound(kInputs), value(kLp), value(kIpkp));
    if (s.ending == FlybackEnding::Impossible) {
      const int clamp[] = {kRlk, kClk};
      setFieldsText(clamp, "");
      showOwned(kImpossibleDesign);
      return false;
    }
    store(s, kSnubber);
    return true;
  };
  // The verified design with its clamp.
  calc.check = [&] {
    const FlybackSnubber s = bound(kSnubber);
    return pick_.checked(
        checkFlyback(mode() == FlybackMode::Ccm, bound(kInputs), bound(kDesign), {s.Rlk, s.Clk}));
  };
  calculate(calc);
}

}  // namespace tarnex
