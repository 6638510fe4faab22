#pragma once
// A design window simulated as it stands: the circuit of its inputs and results (decks.h)
// driven at both ends of its input range at the steady state the design check works out,
// run in ngspice, its waveforms over the last switching periods, and the table of what the
// circuit did against what the window shows, with a finding where they differ by more than
// the design check allows.

#include <cmath>
#include <string>
#include <vector>

#include "base/finding.h"
#include "base/host.h"
#include "forms/form.h"
#include "sim/raw_file.h"

namespace tarnex::sim {

// The time limit of one simulation, s.
inline constexpr double kWindowSimSeconds = 60;

// The deck of a window at one end of its input range.
struct WindowDeck {
  std::string end;  // "最低输入" or "最高输入"
  double Vin = 0;   // V
  std::string netlist;
};

// The decks of a window, lowest input first; `error` says why there are none (no
// calculation shown yet, numbers that make no circuit).
struct WindowDecks {
  std::string error;
  std::vector<WindowDeck> decks;
};
WindowDecks windowDecks(const Form& window);

// The deck `ngspice -b` runs as it stands: the lowest input's, "" with `error` set when the
// window has none.
std::string windowNetlist(const Form& window, std::string& error);

// One row of the table: what the circuit did (the worse of both ends) and what the window
// shows for it, in the row's unit.
struct ComparedRow {
  std::string label;  // "开关管电流有效值"
  std::string unit;   // "A"
  double simulated = NAN;
  double shown = NAN;  // NaN: the window shows nothing to compare with
  std::string basis;   // the field shown ("Irmsp"), or "设计检查" for the check's own number
  bool differs = false;
};

// The waveforms of one end, by the names of the deck's saved vectors (decks.h).
struct WindowWaves {
  std::string end;
  double Vin = 0;
  Waveforms waves;
};

struct WindowSimulation {
  std::string error;  // why there are no results (the one message to show)
  bool cancelled = false;
  std::vector<ComparedRow> table;
  std::vector<Finding> findings;  // one per row that differs
  std::vector<WindowWaves> ends;  // lowest input first
  // What the inductor current v(il) is in this circuit, as its trace is named.
  std::string inductorLabel = "电感电流";
  bool ok() const { return error.empty(); }
};

// Builds the decks, runs them through ngspice while `host` shows its progress, and compares.
WindowSimulation simulateWindow(const Form& window, Host& host, double seconds = kWindowSimSeconds);

}  // namespace tarnex::sim
