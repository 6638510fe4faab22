#include "designs/rcc.h"

#include "designs/core_design_texts.h"
#include "designs/design_check.h"

namespace tarnex {

namespace {

constexpr const char* kIncomplete = " 请输入完整的设计条件！";

// The design conditions, full load to minimum load, and the core.
constexpr Bound<RccInputs> kInputs[] = {TARNEX_BINDS(
    RccInputs, VacMin, VacMax, Vo, IoMax, IoMin, fMin, Eff, Vswm, Vswr, Vsw, Vdf, Bpk, Ae, Cmil)};

// The transformer at the lowest frequency, and the highest frequency.
constexpr Bound<RccDesign> kDesign[] = {
    TARNEX_BINDS(RccDesign, Lp, Ls, Ipkp, Ipks, Irmsp, Irmss, Np, Ns, Dp, Ds, fMax)};

}  // namespace

CRccDlg::CRccDlg(Host& host, const Folder& folder)
    : DesignDialog(host, folder, rccTable()), pick_(*this, {idOf("Ae"), 0}) {}

// No estimate: the gap must give the primary its inductance.
CoreNeed CRccDlg::coreNeed() const {
  return shownNeed(*this, {CoreNeed::Kind::None, 0, 1, idOf("Lp"), idOf("Np")});
}

std::optional<magnetics::WindowKind> CRccDlg::coreKind() const {
  return magnetics::WindowKind::RingingChoke;
}

void CRccDlg::command(int id) {
  if (id == kCalculateButton) {
    calculate(
        kIncomplete, [this] { return builtIn(); },
        [this] { return pick_.checked(checkRcc(bound(kInputs), bound(kDesign))); });
  } else {
    DesignDialog::command(id);
  }
}

bool CRccDlg::builtIn() {
  const RccDesign d = designRcc(bound(kInputs));
  if (d.ending == RccEnding::Impossible) {
    // The switch rating leaves no room for a reflected voltage: no design to show.
    setOutputsText("");
    showOwned(kImpossibleDesign);
    return false;
  }
  store(d, kDesign);
  return true;
}

}  // namespace tarnex
