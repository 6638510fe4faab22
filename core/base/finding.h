#pragma once
// A finding of a window's design check: what the circuit built from the window's numbers will
// really do, one line, with how much it matters. The windows make them (designs/design_check.h);
// the desktop program lists them in the window, tarnex-calc prints them.

#include <string>

namespace tarnex {

enum class Severity {
  Info,     // what the circuit does, within what the window promises
  Warning,  // beyond what was asked, or a margin gone
  Failure,  // the circuit will not do what the window promises
};

// "info", "warning", "failure": the names tarnex-calc prints.
inline const char* severityKey(Severity severity) {
  switch (severity) {
    case Severity::Info:
      return "info";
    case Severity::Warning:
      return "warning";
    case Severity::Failure:
      return "failure";
  }
  return "info";
}

struct Finding {
  Severity severity = Severity::Info;
  std::string text;  // UTF-8, one line
};

}  // namespace tarnex
