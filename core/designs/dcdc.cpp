#include "designs/dcdc.h"

namespace tarnex {

using namespace dcdc;

namespace {

constexpr const char* kIncomplete = "请输入完整的设计条件！";
constexpr const char* kImpossible = "设计条件不正确，请检查！";
constexpr const char* kSaturation = "磁芯峰值磁通密度超过饱和磁通密度！";

constexpr Bound<DcDcInputs> kInputs[] = {
    TARNEX_BIND(DcDcInputs, VinMin), TARNEX_BIND(DcDcInputs, VinMax), TARNEX_BIND(DcDcInputs, Vo),
    TARNEX_BIND(DcDcInputs, IoMax),  TARNEX_BIND(DcDcInputs, Vsw),    TARNEX_BIND(DcDcInputs, Vdf),
    TARNEX_BIND(DcDcInputs, f),      TARNEX_BIND(DcDcInputs, Ptd),    TARNEX_BIND(DcDcInputs, r),
    TARNEX_BIND(DcDcInputs, Bpk),    TARNEX_BIND(DcDcInputs, Bsat),   TARNEX_BIND(DcDcInputs, Cmil),
    TARNEX_BIND(DcDcInputs, Vopp),   TARNEX_BIND(DcDcInputs, Ae),
};

constexpr Bound<DcDcOutputs> kOutputs[] = {
    TARNEX_BIND(DcDcOutputs, L),    TARNEX_BIND(DcDcOutputs, Ipk),
    TARNEX_BIND(DcDcOutputs, Irms), TARNEX_BIND(DcDcOutputs, DL),
    TARNEX_BIND(DcDcOutputs, NL),   TARNEX_BIND(DcDcOutputs, Ton),
    TARNEX_BIND(DcDcOutputs, Duty), TARNEX_BIND(DcDcOutputs, Iswrms),
    TARNEX_BIND(DcDcOutputs, Vswm), TARNEX_BIND(DcDcOutputs, Idrms),
    TARNEX_BIND(DcDcOutputs, Vdm),  TARNEX_BIND(DcDcOutputs, Co),
    TARNEX_BIND(DcDcOutputs, Vc),
};

}  // namespace

CDcDcDlg::CDcDcDlg(Host& host, const Folder& folder) : DesignDialog(host, folder, dcdcTable()) {}

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
    showOwned(kImpossible);
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
