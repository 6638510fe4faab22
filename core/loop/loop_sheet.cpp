#include "loop/loop_sheet.h"

#include <array>
#include <string>
#include <vector>

#include "loop/loop_pages.h"

namespace tarnex {

namespace {

template <class Page>
std::unique_ptr<Form> makePage(Host& host) {
  return std::make_unique<Page>(host);
}

const std::array<LoopPageInfo, 3>& pages() {
  static const std::array<LoopPageInfo, 3> kPages = {
      LoopPageInfo{&currentModeTable(), &makePage<CICtrl>},
      LoopPageInfo{&typeIITable(), &makePage<CVCtrl>},
      LoopPageInfo{&typeIIITable(), &makePage<CType3>},
  };
  return kPages;
}

}  // namespace

std::span<const LoopPageInfo> loopPages() {
  return pages();
}

std::unique_ptr<Form> makeLoopPage(std::string_view key, Host& host) {
  for (const LoopPageInfo& p : pages()) {
    if (p.key() == key) return p.make(host);
  }
  return nullptr;
}

std::unique_ptr<Sheet> makeLoopSheet(Host& host) {
  std::vector<std::unique_ptr<Form>> made;
  for (const LoopPageInfo& p : pages()) made.push_back(p.make(host));
  return std::make_unique<Sheet>(kLoopSheetTitle, std::move(made), kLoopSheetKey);
}

}  // namespace tarnex
