#include "designs/rcc.h"

namespace tarnex {

namespace {

constexpr const char* kIncomplete = " 请输入完整的设计条件！";

constexpr Bound<RccInputs> kInputs[] = {
    TARNEX_BIND(RccInputs, VacMin), TARNEX_BIND(RccInputs, VacMax), TARNEX_BIND(RccInputs, Vo),
    TARNEX_BIND(RccInputs, IoMax),  TARNEX_BIND(RccInputs, IoMin),  TARNEX_BIND(RccInputs, fMin),
    TARNEX_BIND(RccInputs, Eff),    TARNEX_BIND(RccInputs, Vswm),   TARNEX_BIND(RccInputs, Vswr),
    TARNEX_BIND(RccInputs, Vsw),    TARNEX_BIND(RccInputs, Vdf),    TARNEX_BIND(RccInputs, Bpk),
    TARNEX_BIND(RccInputs, Ae),     TARNEX_BIND(RccInputs, Cmil),
};

constexpr Bound<RccDesign> kDesign[] = {
    TARNEX_BIND(RccDesign, Lp),   TARNEX_BIND(RccDesign, Ls),    TARNEX_BIND(RccDesign, Ipkp),
    TARNEX_BIND(RccDesign, Ipks), TARNEX_BIND(RccDesign, Irmsp), TARNEX_BIND(RccDesign, Irmss),
    TARNEX_BIND(RccDesign, Np),   TARNEX_BIND(RccDesign, Ns),    TARNEX_BIND(RccDesign, Dp),
    TARNEX_BIND(RccDesign, Ds),   TARNEX_BIND(RccDesign, fMax),
};

}  // namespace

CRccDlg::CRccDlg(Host& host, const Folder& folder) : DesignDialog(host, folder, rccTable()) {}

void CRccDlg::runSetUp() {
  // The window counts as set up from the start, even if a file below cannot be opened.
  markSetUp();
  DesignDialog::runSetUp();
}

void CRccDlg::command(int id) {
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

bool CRccDlg::builtIn() {
  const RccDesign d = designRcc(bound(kInputs));
  if (d.ending == RccEnding::Impossible) {
    // The switch rating leaves no room for a reflected voltage: no design to show.
    setOutputsText("");
    showOwned(kRccImpossibleText);
    return false;
  }
  store(d, kDesign);
  return true;
}

}  // namespace tarnex
