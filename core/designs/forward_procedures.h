#pragma once
// The built-in design procedures of the single-switch forward converter with a reset winding,
// fed from rectified AC mains: the core area-product estimate, and the verification of the
// chosen core (turns, RMS currents, wire and the output inductor).
//
// Every procedure takes the window's numbers (single precision) and returns its results
// (single precision, stored through toSingle) and its notices. Arithmetic is done in double;
// a result that a later step uses is used as stored. Zero inputs are not refused: they give
// infinite or undefined values, which are results like any other.

#include <vector>

#include "designs/transformer_turns.h"

namespace tarnex {

// The design conditions and the chosen core, by their formula names.
struct ForwardInputs {
  float VacMin = 0;  // lowest AC input, V rms
  float VacMax = 0;  // highest AC input, V rms
  float Vo = 0;      // output voltage, V
  float Io = 0;      // output current, A
  float f = 0;       // switching frequency, kHz
  float Eff = 0;     // efficiency, %
  float Vdf = 0;     // output rectifier forward drop, V
  float Dmax = 0;    // maximum duty cycle
  float Bpk = 0;     // peak flux density, gauss
  float Cmil = 0;    // current density, circular mil per A
  float Kw = 0;      // window utilisation factor
  float Ae = 0;      // effective area of the chosen core, mm²
};

enum class ForwardEnding {
  Ok,
  Impossible,  // verification with VacMin > VacMax or Dmax ≥ 1: nothing computed, no notice
};

// Messages a procedure raises without stopping.
enum class ForwardNotice {
  DutyAtHalf,  // Dmax ≥ 0.5: a reset winding equal to the primary cannot reset the core
};

// Whole turns: the secondary to nearest, an exact half going down (but never below one turn),
// then the primary n × Ns to nearest the same way.
TransformerTurns forwardTurns(double Np0, double n);

// The compute-core command.
struct ForwardCoreEstimate {
  float Ap = 0;  // core area product Ae·Wa, cm⁴
  std::vector<ForwardNotice> notices;
};
ForwardCoreEstimate forwardAreaProduct(const ForwardInputs& in);

// The verify command.
struct ForwardDesign {
  ForwardEnding ending = ForwardEnding::Ok;
  float Np = 0, Ns = 0;        // turns
  float Dp = 0, Ds = 0;        // wire diameters, mm
  float Irmsp = 0, Irmss = 0;  // RMS currents, A
  float Lo = 0;                // output inductance, µH
  // How the numbers came about, for display in tests and listings.
  double Vmin = 0;  // peak of the lowest input, V
  double Ton = 0;   // longest on-time, µs
  double Np0 = 0;   // raw primary turns for Ton at low line
  double n = 0;     // turns ratio Np/Ns
  TransformerTurns turns;
  double Vs = 0;    // secondary voltage at the highest input, V
  double Dmin = 0;  // duty cycle at the highest input
  std::vector<ForwardNotice> notices;
};
ForwardDesign forwardVerify(const ForwardInputs& in);

}  // namespace tarnex
