// Which dialog's names a formula file may use: chosen by the file's bare name.

#include <array>

#include "formula/formula.h"

namespace tarnex {

namespace {

struct FileBinding {
  std::string_view fileName;
  const DialogTable& (*table)();
};

// The six DC-DC files share the DC-DC dialog's names, the two flyback files the flyback's.
constexpr std::array kFileBindings{
    FileBinding{"CCM反激变换器 cfg.txt", &flybackTable},
    FileBinding{"DCM反激变换器 cfg.txt", &flybackTable},
    FileBinding{"正激变换器 cfg.txt", &forwardTable},
    FileBinding{"RCC cfg.txt", &rccTable},
    FileBinding{"推挽变换器 cfg.txt", &pushPullTable},
    FileBinding{"半桥变换器 cfg.txt", &halfBridgeTable},
    FileBinding{"全桥变换器 cfg.txt", &fullBridgeTable},
    FileBinding{"CCM Buck cfg.txt", &dcdcTable},
    FileBinding{"DCM Buck cfg.txt", &dcdcTable},
    FileBinding{"CCM Boost cfg.txt", &dcdcTable},
    FileBinding{"DCM Boost cfg.txt", &dcdcTable},
    FileBinding{"CCM Buck-Boost cfg.txt", &dcdcTable},
    FileBinding{"DCM Buck-Boost cfg.txt", &dcdcTable},
};

}  // namespace

const DialogTable* bindingTableFor(std::string_view formulaFileName) {
  for (const FileBinding& binding : kFileBindings) {
    if (binding.fileName == formulaFileName) return &binding.table();
  }
  return nullptr;
}

}  // namespace tarnex
