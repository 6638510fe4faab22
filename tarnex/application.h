#pragma once
// Start of the desktop program: the application-wide look (fonts, Chinese texts of Qt's own
// buttons, icon), the start-up work with its loading and welcome windows, and the launcher.

#include "base/host.h"
#include "base/user_file.h"

class QApplication;

namespace tarnex::qt {

// Installs Qt's Simplified Chinese texts, the dialog font and the program icon.
void setUpApplication(QApplication& app);

// The launcher's start-up work: prepares the working folder (the help document is taken from
// beside the executable or from the installed share folder), runs the loading window and,
// unless "System.cfg" carries the welcome mark, the welcome window. A file that cannot be
// opened is reported through `host` and ends the work early.
void runStartup(const Folder& folder, Host& host);

// The whole program; returns the exit code. It works in the folder of `--dir DIR`, else of
// $TARNEX_HOME, else ~/Tarnex, created when missing, and changes into it, so that its files
// are addressed by bare name in the process's working directory.
int runProgram(int argc, char** argv);

}  // namespace tarnex::qt
