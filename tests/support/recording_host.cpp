#include "support/recording_host.h"

#include "forms/form.h"
#include "forms/sheet.h"

namespace tarnex::testing {

void RecordingHost::runDialog(Form& dialog) {
  dialog.open();
  dialogs.push_back(dialog.title());
}

void RecordingHost::runSheet(Sheet& sheet) {
  sheet.open();
  dialogs.push_back(sheet.title());
  sheet.close();
}

std::vector<std::string> RecordingHost::summary() const {
  std::vector<std::string> out;
  out.reserve(messages.size());
  for (const Message& m : messages) out.push_back(m.caption + "|" + m.text);
  return out;
}

void RecordingHost::clear() {
  messages.clear();
  opened.clear();
  openedMinimized.clear();
  dialogs.clear();
  progressRuns = 0;
  repaints = 0;
}

}  // namespace tarnex::testing
