#pragma once
// Start of the desktop program: the application-wide look (fonts, Chinese texts of Qt's own
// buttons, icon), the start-up work with its loading and welcome windows, and the launcher.

#include <functional>

#include "base/host.h"
#include "base/user_file.h"

class QApplication;
class QWidget;

namespace tarnex::qt {

// Installs Qt's Simplified Chinese texts, the dialog font and the program icon.
void setUpApplication(QApplication& app);

// The launcher's start-up work: prepares the working folder (the help document is taken from
// beside the executable or from the installed share folder), runs the loading window and,
// unless "System.cfg" carries the welcome mark, the welcome window. A file that cannot be
// opened is reported through `host` and ends the work early.
// `whileLoading` runs once while the loading window shows (the launcher's preparation).
void runStartup(const Folder& folder, Host& host, const std::function<void()>& whileLoading = {});

// The whole program; returns the exit code. It works in the folder of `--dir DIR`, else of
// $TARNEX_HOME, else ~/Tarnex, created when missing, and changes into it, so that its files
// are addressed by bare name in the process's working directory. Every other argument that is
// no option names a design file, opened once the launcher shows. `launcherReady`, when given,
// is called with the launcher just before it is shown (the start-up benchmark watches its
// first paint).
int runProgram(int argc, char** argv,
               const std::function<void(QWidget& launcher)>& launcherReady = {});

}  // namespace tarnex::qt
