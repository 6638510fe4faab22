#pragma once
// What the Qt tests of the launcher's windows share: a launcher on the test's working folder
// with the guard of modal windows, the windows it opens from its buttons, and the modal sheets
// it runs, driven while they run.

#include <QObject>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/user_file.h"
#include "launcher.h"
#include "support/modal_guard.h"
#include "support/recording_host.h"

class QWidget;

namespace tarnex::qt {
class FormView;
class FormWidget;
class SheetView;
}  // namespace tarnex::qt

namespace tarnex::testing {

// Writes `bytes` into the file `name` of `folder`.
void writeUserFile(const Folder& folder, std::string_view name, const std::string& bytes);
// Every formula and interface file of `folder` switched off with '#' (built-in formulas and
// system captions, no message boxes) and the welcome window counted down.
void switchOffUserFiles(const Folder& folder);

// Clicks the button of `body`'s form whose key is `key`: false when the form has none.
bool pressKey(qt::FormWidget& body, std::string_view key);
// The design check of `window`: its group box, or the first tab beside a core's loss sheet.
QWidget* designCheck(const QWidget& window);
// Empty while the frame of `window` lies on its screen's free area, else where the frame is.
QString offScreen(const QWidget& window);

class LauncherFixture {
 public:
  // Shows a new launcher on `folder`: false when it is not exposed.
  bool start(const Folder& folder);
  // Closes the launcher and its windows: the modal windows the guard had to close meanwhile.
  QStringList finish();

  qt::Launcher& launcher() { return *launcher_; }
  RecordingHost& desktop() { return desktop_; }

  // Presses a launcher button that opens a design window: the new window, or nullptr.
  qt::FormView* openWindow(int button);
  // Presses a launcher button that runs a modal sheet and hands the sheet to `drive` while it
  // runs; the sheet is closed after it. Returns when the sheet has closed.
  void runSheet(int button, const std::function<void(qt::SheetView&)>& drive);

 private:
  RecordingHost desktop_;
  std::unique_ptr<qt::Launcher> launcher_;
  ModalGuard guard_;
};

// The base of a Qt test of the launcher's windows, on the process's working folder: before
// each test the user files switched off and a new launcher shown, after it a failure for each
// modal window the guard had to close. A test that needs another start defines its own init().
class LauncherTest : public QObject {
  Q_OBJECT

 protected:
  static Folder folder() { return Folder(std::filesystem::current_path()); }
  LauncherFixture fixture_;

 private slots:
  void init();
  void cleanup();
};

}  // namespace tarnex::testing
