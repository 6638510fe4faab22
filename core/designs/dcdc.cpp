#include "designs/dcdc.h"

#include "designs/core_design_texts.h"
#include "designs/design_check.h"

namespace tarnex {

using namespace dcdc;

namespace {

constexpr const char* kIncomplete = "请输入完整的设计条件！";
constexpr const char* kSaturation = "磁芯峰值磁通密度超过饱和磁通密度！";

constexpr Bound<DcDcInputs> kInputs[] = {TARNEX_BINDS(DcDcInputs, VinMin, VinMax, Vo, IoMax, Vsw,
                                                      Vdf, f, Ptd, r, Bpk, Bsat, Cmil, Vopp, Ae)};

constexpr Bound<DcDcOutputs> kOutputs[] = {
    TARNEX_BINDS(DcDcOutputs, L, Ipk, Irms, DL, NL, Ton, Duty, Iswrms, Vswm, Idrms, Vdm, Co, Vc)};

}  // namespace

CDcDcDlg::CDcDcDlg(Host& host, const Folder& folder)
    : DesignDialog(host, folder, dcdcTable()), pick_(*this, {idOf("Ae"), 0}) {}

// No estimate: the gap must give the inductor its inductance with its turns.
CoreNeed CDcDcDlg::coreNeed() const {
  return shownNeed(*this, {CoreNeed::Kind::None, 0, 1, idOf("L"), idOf("NL")});
}

std::optional<magnetics::WindowKind> CDcDcDlg::coreKind() const {
  return mode() == DcDcMode::Dcm ? magnetics::WindowKind::DcDcDcm : magnetics::WindowKind::DcDcCcm;
}

void CDcDcDlg::prepare() {
  enableForMode();
}

// CCM: the ripple ratio applies, the dead time does not; DCM the other way round.
void CDcDcDlg::enableForMode() {
  const bool dcm = mode() == DcDcMode::Dcm;
  setEnabled(kPtd, dcm);
  setEnabled(kR, !dcm);
}

DcDcTopology CDcDcDlg::topology() const {
  switch (selectedEntry(kTopologyList)) {
    case kBoost:
      return DcDcTopology::Boost;
    case kBuckBoost:
      return DcDcTopology::BuckBoost;
    default:
      return DcDcTopology::Buck;
  }
}

DcDcMode CDcDcDlg::mode() const {
  return selectedEntry(kModeList) == kDcm ? DcDcMode::Dcm : DcDcMode::Ccm;
}

void CDcDcDlg::command(int id) {
  if (id != kCalculateButton) {
    DesignDialog::command(id);
    return;
  }
  Calculation calc;
  calc.formulaFile = formulaFile();
  calc.incompleteMessage = kIncomplete;
  calc.builtIn = [this] { return builtIn(); };
  calc.check = [this] {
    return pick_.checked(checkDcDc(topology(), mode(), bound(kInputs), bound(kOutputs)));
  };
  calculate(calc);
}

void CDcDcDlg::select(int listId, int index) {
  if (!setSelection(listId, index)) return;
  // Another topology or mode: the results on screen belong to the old one.
  setOutputsText("");
  if (listId == kTopologyList) host().repaint();
  if (listId == kModeList) enableForMode();
  if (refreshFormulaMode(formulaFile())) updateTitle();
}

bool CDcDcDlg::builtIn() {
  const DcDcResult res = designDcDc(topology(), mode(), bound(kInputs));
  if (res.ending == DcDcEnding::Impossible) {
    setOutputsText("");
    showOwned(kImpossibleDesign);
    return false;
  }
  store(res.out, kOutputs);
  if (res.ending == DcDcEnding::Saturation) {
    // The numbers stay in the window's values but are not shown.
    setOutputsText("");
    showOwned(kSaturation);
    return false;
  }
  return true;
}

}  // namespace tarnex
