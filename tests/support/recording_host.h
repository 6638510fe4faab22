#pragma once
// A host that records what the core asked of the outside world, for assertions.

#include <algorithm>
#include <string>
#include <vector>

#include "base/host.h"

namespace tarnex::testing {

class RecordingHost : public Host {
 public:
  void showMessage(const Message& message) override { messages.push_back(message); }
  void runProgress() override { ++progressRuns; }
  // A modal dialog or sheet is opened, noted by its title and closed at once.
  void runDialog(Form& dialog) override;
  void runSheet(Sheet& sheet) override;
  // Every path is noted; those in `unopenable` the desktop fails to open.
  bool openInDesktop(const std::string& path, bool minimized) override {
    opened.push_back(path);
    openedMinimized.push_back(minimized);
    return std::find(unopenable.begin(), unopenable.end(), path) == unopenable.end();
  }
  void repaint() override { ++repaints; }

  // "caption|text" of every message, in order, for compact expectations.
  std::vector<std::string> summary() const;
  void clear();

  std::vector<Message> messages;
  std::vector<std::string> opened;
  std::vector<bool> openedMinimized;
  std::vector<std::string> unopenable;
  std::vector<std::string> dialogs;  // titles of the modal dialogs and sheets run
  int progressRuns = 0;
  int repaints = 0;
};

}  // namespace tarnex::testing
