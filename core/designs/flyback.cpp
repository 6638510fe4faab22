#include "designs/flyback.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace tarnex {

using namespace flyback;

namespace {

// Texts of the window, exactly as shown.
constexpr const char* kCoreText = "计算磁芯(&C)";
constexpr const char* kVerifyText = "验证(&R)";
constexpr const char* kSnubberText = "计算(&K)";
constexpr const char* kCloseText = "返回(&B)";
constexpr const char* kModeCaption = "工作模式";
constexpr const char* kCcmFile = "CCM反激变换器 cfg.txt";
constexpr const char* kDcmFile = "DCM反激变换器 cfg.txt";
constexpr const char* kCoreIncomplete = "请输入完整的设计条件！！";
constexpr const char* kVerifyIncomplete = "请输入完整的设计条件!";
constexpr const char* kSnubberIncomplete = " 请输入完整的设计条件!";
constexpr const char* kNeedCore = "请先输入你选择的磁芯参数！";
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

constexpr int kConditionsGroup = 1069;
constexpr int kCoreGroup = 1071;
constexpr int kSnubberGroup = 1074;

const std::vector<std::string> kModeEntries{"连续(CCM)", "断续(DCM)"};
const std::vector<std::string> kModeKeys{"ccm", "dcm"};

// Circuit drawing: bitmap 166 is 270 × 154 pixels; the source rectangle reaches 10 pixels
// below it.
constexpr int kDrawingWidth = 270;
constexpr int kDrawingHeight = 154;

// The core fields (Ve, Ae, Le) the user may leave empty: an empty field does not read as a
// number, so a command fills it with "0" for the read and empties it again afterwards, so
// that no estimate or core data appears that the user did not give.
class EmptyFields {
 public:
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

}  // namespace

CFlybackDlg::CFlybackDlg(Host& host, const Folder& folder)
    : DesignDialog(host, folder, flybackTable(), DesignOptions{kCcmFile, {}}) {
  // A list's text is the caption beside it; the set-up fills its entries again.
  Control modeList = makeControl(kModeList, ControlKind::DropList, kModeCaption, kConditionsGroup);
  modeList.entries = kModeEntries;
  modeList.selection = 0;
  modeList.key = "mode";
  modeList.entryKeys = kModeKeys;
  add(std::move(modeList));

  add(makeControl(kEmpiricalNote, ControlKind::Label, kEmpiricalText, kEstimateGroup));
  add(makeControl(kDrawingFrame, ControlKind::Frame, ""));

  // No default button: Enter only checks the fields (the framework's behaviour).
  Control core = makeControl(kCoreButton, ControlKind::Button, kCoreText, kEstimateGroup);
  core.key = "core";
  add(std::move(core));
  Control verifyButton = makeControl(kVerifyButton, ControlKind::Button, kVerifyText, kCoreGroup);
  verifyButton.key = "verify";
  add(std::move(verifyButton));
  Control snubber = makeControl(kSnubberButton, ControlKind::Button, kSnubberText, kSnubberGroup);
  snubber.key = "snubber";
  add(std::move(snubber));
  add(makeControl(kCloseButton, ControlKind::Button, kCloseText));
}

FlybackMode CFlybackDlg::mode() const {
  return control(kModeList)->selection == 0 ? FlybackMode::Ccm : FlybackMode::Dcm;
}

std::string_view CFlybackDlg::formulaFile() const {
  return mode() == FlybackMode::Ccm ? kCcmFile : kDcmFile;
}

std::optional<Picture> CFlybackDlg::picture() const {
  return Picture{"bitmap166", kDrawingFrame, 432, 20, kDrawingWidth, kDrawingHeight + 10};
}

void CFlybackDlg::runSetUp() {
  setInterfaceMarker(false);
  setFormulaMarker(false);
  Control* list = control(kModeList);
  list->entries = kModeEntries;
  list->selection = 0;
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
  if (!refreshFormulaMode(kCcmFile)) return;
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

  const std::optional<int> first = firstByte(table()->interfaceFile);
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

FlybackInputs CFlybackDlg::inputs() const {
  FlybackInputs in;
  in.Po = value(kPo);
  in.Vo = value(kVo);
  in.Eff = value(kEff);
  in.VacMin = value(kVacMin);
  in.VacMax = value(kVacMax);
  in.Vswm = value(kVswm);
  in.Vswr = value(kVswr);
  in.f = value(kF);
  in.Vdf = value(kVdf);
  in.r = value(kR);
  in.Ptd = value(kPtd);
  in.Cmil = value(kCmil);
  in.Vopp = value(kVopp);
  in.Ae = value(kAe);
  in.Le = value(kLe);
  in.Bpk = value(kBpk);
  in.Bsat = value(kBsat);
  in.Per = value(kPer);
  return in;
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
  setOutputsText("0");
  EmptyFields empty(*this, {kVe, kAe, kLe});
  empty.fillZero({kVe, kAe, kLe});

  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kCoreIncomplete;
  // The estimate needs no core: a formula reads Ae = Le = 1, and what it assigns to them is
  // dropped, so the same file can tell the estimate from the verification.
  calc.pinned = {kAe, kLe};
  calc.afterRead = [&](bool read) {
    if (!read) setText(kVe, "");
    empty.reblank({kAe, kLe});
  };
  calc.builtIn = [&] {
    const FlybackInputs in = inputs();
    const FlybackCoreEstimate est =
        current == FlybackMode::Ccm ? flybackCcmCoreVolume(in) : flybackDcmAreaProduct(in);
    showNotices(est.notices);
    setValue(kVe, est.Ve);
    return true;
  };
  if (calculate(calc) == CalcEnd::Incomplete) return;
  // Only the estimate and the inputs show numbers: the outputs were read as "0".
  empty.reblank({kAe, kLe});
  setOutputsText("");
}

void CFlybackDlg::verify() {
  EmptyFields empty(*this, {kVe, kAe, kLe});
  if (empty.wasEmpty(kAe) || empty.wasEmpty(kLe)) {
    empty.reblank({kVe});
    setOutputsText("");
    showOwned(kNeedCore);
    return;
  }
  const FlybackMode current = mode();
  setOutputsText("0");
  empty.fillZero({kVe});

  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kVerifyIncomplete;
  // A formula reads Ve = 1 during the verification, and what it assigns to Ve is dropped.
  calc.pinned = {kVe};
  calc.afterRead = [&](bool) { empty.reblank({kVe}); };
  calc.builtIn = [&] {
    const FlybackInputs in = inputs();
    const FlybackDesign d =
        current == FlybackMode::Ccm ? flybackVerifyCcm(in) : flybackVerifyDcm(in);
    showNotices(d.notices);
    const std::pair<int, float> results[] = {
        {kLp, d.Lp},     {kLs, d.Ls},   {kNp, d.Np},   {kNs, d.Ns},       {kDp, d.Dp},
        {kDs, d.Ds},     {kZc, d.Zc},   {kIin, d.Iin}, {kIpkp, d.Ipkp},   {kIrmsp, d.Irmsp},
        {kIswe, d.Iswe}, {kTon, d.Ton}, {kCin, d.Cin}, {kIrmss, d.Irmss}, {kIpks, d.Ipks},
        {kVdm, d.Vdm},   {kIdm, d.Idm}, {kCo, d.Co},   {kVcm, d.Vcm},
    };
    for (const auto& [id, v] : results) setValue(id, v);
    return true;
  };
  if (calculate(calc) == CalcEnd::Incomplete) return;
  // The clamp is sized by its own command, from the inductance just verified.
  empty.reblank({kVe});
  const int clamp[] = {kRlk, kClk};
  setFieldsText(clamp, "");
}

void CFlybackDlg::computeSnubber() {
  // Lp is 0 until a verification has run, and again after a mode switch or a core estimate.
  if (value(kLp) == 0.0f) {
    showOwned(kNeedInductance);
    return;
  }
  EmptyFields empty(*this, {kVe});
  empty.fillZero({kVe});

  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kSnubberIncomplete;
  calc.results = {kRlk, kClk};
  // The last step of a design: what a formula computed before an error is still shown.
  calc.writeBackAfterFailedRun = true;
  calc.builtIn = [&] {
    const FlybackSnubber s = flybackSnubber(inputs(), value(kLp), value(kIpkp));
    setValue(kRlk, s.Rlk);
    setValue(kClk, s.Clk);
    return true;
  };
  calculate(calc);
  // Also after a refused read: the "0" put there for the read is no estimate.
  empty.reblank({kVe});
}

}  // namespace tarnex
