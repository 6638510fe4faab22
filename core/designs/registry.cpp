#include "designs/registry.h"

#include <algorithm>

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
      {&dcdcTable(), &build<CDcDcDlg>, 0},
      {&flybackTable(), &build<CFlybackDlg>, 1},
      {&forwardTable(), &build<CForwardDlg>, 3},
      {&halfBridgeTable(), &build<CHalfBridgeDlg>, 5},
      {&rccTable(), &build<CRccDlg>, 2},
      {&pushPullTable(), &build<CPushPullDlg>, 4},
      {&fullBridgeTable(), &build<CFullBridgeDlg>, 6},
  };
  return kDesigns;
}

std::vector<const DesignInfo*> designsInToolboxOrder() {
  std::vector<const DesignInfo*> order;
  for (const DesignInfo& d : designs()) order.push_back(&d);
  std::sort(order.begin(), order.end(), [](const DesignInfo* a, const DesignInfo* b) {
    return a->toolboxPlace < b->toolboxPlace;
  });
  return order;
}

std::unique_ptr<Form> makeDesign(std::string_view key, Host& host, const Folder& folder) {
  for (const DesignInfo& d : designs()) {
    if (d.key() == key) return d.make(host, folder);
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
