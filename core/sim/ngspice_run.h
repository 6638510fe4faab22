#pragma once
// Runs decks through ngspice in batch mode (`ngspice -b deck.cir`, the deck writing its raw
// file of waveforms), each in a process of its own with a time limit, all at once, while the
// host waits with its progress window (which can cancel them), and reads back what each
// printed and the waveforms it saved.
// A simulator fault (a crash, a deck it never finishes) ends only its own process; a cancelled
// or timed-out run leaves no process behind.

#include <string>
#include <vector>

#include "base/host.h"
#include "sim/raw_file.h"
#include "sim/spice_output.h"

namespace tarnex::sim {

// The message when ngspice is not on PATH.
inline constexpr const char* kNoNgspice =
    "未找到 ngspice 程序，无法仿真。请安装 ngspice（Debian：sudo apt install ngspice）后重试。";

struct NgspiceRun {
  enum class End {
    Done,          // it ran to its end: `run` holds what it printed (check run.failure())
    NotInstalled,  // no ngspice on PATH
    Failed,        // it could not be started, crashed or gave no result (`error` says why)
    TimedOut,      // killed at the time limit
    Cancelled,     // the user cancelled
  };
  End end = End::Failed;
  std::string error;   // why there are no results ("" when there are)
  std::string output;  // what ngspice printed, output and errors together
  SpiceRun run;
  Waveforms waves;  // the vectors saved, when ngspice wrote its raw file
  bool ok() const { return error.empty(); }
};

// Runs every deck at once, each within `seconds`, while `host` waits (runTask, with
// `caption`); one result per deck, in order. Cancelling stops them all. With `waveforms` each
// deck also writes the raw file its waves are read from; without, it runs as it stands (an AC
// analysis's printed table is printed only then).
std::vector<NgspiceRun> runNgspice(Host& host, const std::string& caption,
                                   const std::vector<std::string>& decks, double seconds,
                                   bool waveforms = true);

}  // namespace tarnex::sim
