#include "designs/registry.h"

#include "designs/bridge.h"
#include "designs/dcdc.h"
#include "designs/flyback.h"
#include "designs/forward.h"
#include "designs/rcc.h"

namespace tarnex {

namespace {

template <typename Dialog>
std::unique_ptr<Form> build(Host& host, const Folder& folder) {
  return std::make_unique<Dialog>(host, folder);
}

}  // namespace

std::span<const DesignInfo> designs() {
  static const DesignInfo kDesigns[] = {
      {&dcdcTable(), &build<CDcDcDlg>},
      {&flybackTable(), &build<CFlybackDlg>},
      {&forwardTable(), &build<CForwardDlg>},
      {&halfBridgeTable(), &build<CHalfBridgeDlg>},
      {&rccTable(), &build<CRccDlg>},
      {&pushPullTable(), &build<CPushPullDlg>},
      {&fullBridgeTable(), &build<CFullBridgeDlg>},
  };
  return kDesigns;
}

std::unique_ptr<Form> makeDesign(std::string_view key, Host& host, const Folder& folder) {
  for (const DesignInfo& d : designs()) {
    if (d.key() == key && d.make != nullptr) return d.make(host, folder);
  }
  return nullptr;
}

const DialogTable* bindingTableFor(std::string_view formulaFileName) {
  for (const DesignInfo& d : designs()) {
    for (const FormulaFileRow& f : d.table->formulaFiles) {
      if (f.fileName == formulaFileName) return d.table;
    }
  }
  return nullptr;
}

}  // namespace tarnex
