#include "forms/offscreen_host.h"

#include <utility>

#include "forms/form.h"
#include "forms/sheet.h"

namespace tarnex {

void OffscreenHost::runDialog(Form& dialog) {
  dialog.open();
  Shown shown{dialog.title(), {}};
  for (const Control& c : dialog.controls()) {
    const bool text =
        c.kind == ControlKind::Label || c.kind == ControlKind::Note || c.kind == ControlKind::Group;
    if (text && !c.text.empty()) shown.texts.push_back(c.text);
  }
  dialogs.push_back(std::move(shown));
}

void OffscreenHost::runSheet(Sheet& sheet) {
  sheet.open();
  dialogs.push_back({sheet.title(), {}});
  sheet.close();
}

}  // namespace tarnex
