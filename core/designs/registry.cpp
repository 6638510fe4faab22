#include "designs/registry.h"

#include <array>
#include <iterator>

#include "designs/dcdc.h"
#include "designs/flyback.h"

namespace tarnex {

namespace {

using Factory = std::unique_ptr<Form> (*)(Host&, const Folder&);

struct Entry {
  DesignInfo info;
  Factory make;
};

template <typename Dialog>
std::unique_ptr<Form> build(Host& host, const Folder& folder) {
  return std::make_unique<Dialog>(host, folder);
}

// In launcher order.
constexpr Entry kEntries[] = {
    {{"dcdc", 1016}, &build<CDcDcDlg>},
    {{"flyback", 1015}, &build<CFlybackDlg>},
};

constexpr auto kInfos = [] {
  std::array<DesignInfo, std::size(kEntries)> infos{};
  for (std::size_t i = 0; i < std::size(kEntries); ++i) infos[i] = kEntries[i].info;
  return infos;
}();

}  // namespace

std::span<const DesignInfo> designs() {
  return kInfos;
}

std::unique_ptr<Form> makeDesign(std::string_view key, Host& host, const Folder& folder) {
  for (const Entry& e : kEntries) {
    if (e.info.key == key) return e.make(host, folder);
  }
  return nullptr;
}

}  // namespace tarnex
