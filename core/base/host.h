#pragma once
// The one way the core reaches the world outside it: message boxes, the short progress
// animation, modal windows of its own (a hint dialog, a sheet of pages), handing a file to
// the desktop, and asking for a repaint. The desktop program, the command-line program and
// the tests (as a recorder) each implement it.

#include <chrono>
#include <string>
#include <thread>

namespace tarnex {

class Form;
class Sheet;

enum class Icon { None, Information, Warning, Error };

// A modal message box with an OK button. `owned` says whether the box belongs to the window
// that raised it (a design dialog's own messages) or stands without an owner (the formula
// interpreter, the interface reader, file errors).
struct Message {
  std::string caption;
  std::string text;  // UTF-8; "\n" is a line break
  Icon icon = Icon::None;
  bool owned = false;
};

// A task that runs outside the window's own thread of control (a simulation in a process of
// its own), which the host waits for.
class LongTask {
 public:
  virtual ~LongTask() = default;
  // Whether it has ended; returns at once.
  virtual bool finished() = 0;
  // Ends it at once (the user's cancel); finished() is true afterwards.
  virtual void cancel() = 0;
};

class Host {
 public:
  virtual ~Host() = default;
  // Shows the box and returns when the user has dismissed it.
  virtual void showMessage(const Message& message) = 0;
  // Runs the progress window modally (34 ticks of 10 ms on the desktop).
  virtual void runProgress() = 0;
  // Runs a form as a modal dialog over the window that asked (a hint dialog): opens it and
  // returns when it has been closed.
  virtual void runDialog(Form& dialog) = 0;
  // Runs a sheet of pages modally, with the standard OK and Cancel that apply nothing.
  virtual void runSheet(Sheet& sheet) = 0;
  // Hands a file to the desktop's associated application. False when the desktop is known to
  // have failed (no application registered for the file's type, a missing file); true when
  // it took the file or when its answer is not known.
  virtual bool openInDesktop(const std::string& path, bool minimized) = 0;
  // Waits until `task` has ended. The desktop shows a progress window with a cancel button
  // (its caption `caption`) once the task has run for half a second, and keeps the window
  // painted meanwhile; the default waits without one.
  virtual void runTask(const std::string& caption, LongTask& task) {
    (void)caption;
    while (!task.finished()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // The window's drawing changed (for example the circuit picture of another topology).
  virtual void repaint() = 0;
};

// The program's name, the caption of a design dialog's own messages.
inline constexpr const char* kProgramName = "Tarnex";

}  // namespace tarnex
