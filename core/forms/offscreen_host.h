#pragma once
// The host of a window run without the desktop (the command-line program, a sweep): it
// records what the window asked of the outside world.
// The progress window has no animation here; a modal dialog or sheet opens and is closed at
// once, noted with its texts; nothing is handed to the desktop.

#include <string>
#include <vector>

#include "base/host.h"

namespace tarnex {

class OffscreenHost : public Host {
 public:
  struct Shown {
    std::string title;
    std::vector<std::string> texts;  // the dialog's captions, notes and group captions
  };

  void showMessage(const Message& message) override { messages.push_back(message); }
  void runProgress() override {}
  void runDialog(Form& dialog) override;
  void runSheet(Sheet& sheet) override;
  bool openInDesktop(const std::string&, bool) override { return true; }
  void repaint() override {}

  std::vector<Message> messages;
  std::vector<Shown> dialogs;
};

}  // namespace tarnex
