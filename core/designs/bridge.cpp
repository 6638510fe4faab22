#include "designs/bridge.h"

#include "designs/core_design_texts.h"
#include "designs/design_check.h"

namespace tarnex {

namespace {

// The three windows' incomplete-input message, exactly as shown.
constexpr const char* kIncomplete = " 请输入完整的设计条件！！";

// The same names in the three windows.
constexpr Bound<BridgeInputs> kInputs[] = {
    TARNEX_BINDS(BridgeInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, DB, Cmil, Ae)};

constexpr Bound<BridgeDesign> kDesign[] = {
    TARNEX_BINDS(BridgeDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};

}  // namespace

BridgeDialog::BridgeDialog(Host& host, const Folder& folder, const DialogTable& table,
                           BridgeKind kind, BridgeProcedure procedure)
    : DesignDialog(host, folder, table),
      kind_(kind),
      procedure_(procedure),
      pick_(*this, {idOf("Ae"), 0}) {}

// The three transformers are ungapped and the windows make no estimate: any core will do.
std::optional<magnetics::WindowKind> BridgeDialog::coreKind() const {
  switch (kind_) {
    case BridgeKind::PushPull:
      return magnetics::WindowKind::PushPull;
    case BridgeKind::HalfBridge:
      return magnetics::WindowKind::HalfBridge;
    case BridgeKind::FullBridge:
      break;
  }
  return magnetics::WindowKind::FullBridge;
}

void BridgeDialog::command(int id) {
  if (id == kCalculateButton) {
    calculate(
        kIncomplete, [this] { return builtIn(); },
        [this] { return pick_.checked(checkBridge(kind_, bound(kInputs), bound(kDesign))); });
  } else {
    DesignDialog::command(id);
  }
}

bool BridgeDialog::builtIn() {
  const BridgeDesign d = procedure_(bound(kInputs));
  if (d.ending == BridgeEnding::Impossible) {
    setOutputsText("");
    showOwned(kImpossibleDesign);
    return false;
  }
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
    : BridgeDialog(host, folder, pushPullTable(), BridgeKind::PushPull, designPushPull) {}

CHalfBridgeDlg::CHalfBridgeDlg(Host& host, const Folder& folder)
    : BridgeDialog(host, folder, halfBridgeTable(), BridgeKind::HalfBridge, designHalfBridge) {}

CFullBridgeDlg::CFullBridgeDlg(Host& host, const Folder& folder)
    : BridgeDialog(host, folder, fullBridgeTable(), BridgeKind::FullBridge, designFullBridge) {}

}  // namespace tarnex
