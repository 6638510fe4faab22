#include "designs/bridge.h"

namespace tarnex {

namespace {

// The three windows' incomplete-input message, exactly as shown.
constexpr const char* kIncomplete = " 请输入完整的设计条件！！";

constexpr Bound<BridgeInputs> kInputs[] = {
    TARNEX_BIND(BridgeInputs, VacMin), TARNEX_BIND(BridgeInputs, VacMax),
    TARNEX_BIND(BridgeInputs, Vo),     TARNEX_BIND(BridgeInputs, Io),
    TARNEX_BIND(BridgeInputs, f),      TARNEX_BIND(BridgeInputs, Eff),
    TARNEX_BIND(BridgeInputs, Vdf),    TARNEX_BIND(BridgeInputs, Dmax),
    TARNEX_BIND(BridgeInputs, DB),     TARNEX_BIND(BridgeInputs, Cmil),
    TARNEX_BIND(BridgeInputs, Ae),
};

constexpr Bound<BridgeDesign> kDesign[] = {
    TARNEX_BIND(BridgeDesign, Np),    TARNEX_BIND(BridgeDesign, Ns),
    TARNEX_BIND(BridgeDesign, Dp),    TARNEX_BIND(BridgeDesign, Ds),
    TARNEX_BIND(BridgeDesign, Irmsp), TARNEX_BIND(BridgeDesign, Irmss),
    TARNEX_BIND(BridgeDesign, Lo),
};

}  // namespace

BridgeDialog::BridgeDialog(Host& host, const Folder& folder, const DialogTable& table,
                           BridgeProcedure procedure)
    : DesignDialog(host, folder, table), procedure_(procedure) {}

void BridgeDialog::runSetUp() {
  // The window counts as set up from the start, even if a file below cannot be opened.
  markSetUp();
  DesignDialog::runSetUp();
}

void BridgeDialog::command(int id) {
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

bool BridgeDialog::builtIn() {
  const BridgeDesign d = procedure_(bound(kInputs));
  // Hints stop nothing: they come before the progress window and the results.
  for (BridgeNotice notice : d.notices) {
    switch (notice) {
      case BridgeNotice::DutyAboveLimit:
        showOwned(kPushPullDutyHint);
        break;
    }
  }
  store(d, kDesign);
  return true;
}

CPushPullDlg::CPushPullDlg(Host& host, const Folder& folder)
    : BridgeDialog(host, folder, pushPullTable(), designPushPull) {}

CHalfBridgeDlg::CHalfBridgeDlg(Host& host, const Folder& folder)
    : BridgeDialog(host, folder, halfBridgeTable(), designHalfBridge) {}

CFullBridgeDlg::CFullBridgeDlg(Host& host, const Folder& folder)
    : BridgeDialog(host, folder, fullBridgeTable(), designFullBridge) {}

}  // namespace tarnex
