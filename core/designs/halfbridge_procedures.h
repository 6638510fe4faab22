#pragma once
// The built-in design procedure of the half-bridge converter fed from rectified AC mains: two
// switches, two capacitors that split the input, so that the primary sees half of it, and a
// centre-tapped secondary. It gives the transformer and the output inductor.
//
// The procedure takes the window's numbers (single precision) and returns its results (single
// precision, stored through toSingle). Arithmetic is done in double; a result that a later step
// uses is used as stored. Zero inputs are not refused: they give infinite or undefined values,
// which are results like any other.

#include "designs/transformer_turns.h"

namespace tarnex {

// The design conditions and the core, by their formula names.
struct HalfBridgeInputs {
  float VacMin = 0;  // lowest AC input, V rms
  float VacMax = 0;  // highest AC input, V rms (not used by the built-in design)
  float Vo = 0;      // output voltage, V
  float Io = 0;      // output current, A
  float f = 0;       // switching frequency, kHz
  float Eff = 0;     // efficiency, %
  float Vdf = 0;     // output rectifier forward drop, V
  float Dmax = 0;    // maximum duty cycle of both switches together
  float DB = 0;      // half the flux swing, gauss
  float Cmil = 0;    // current density, circular mil per A
  float Ae = 0;      // effective core area, mm²
};

// Whole turns: the secondary half rounded up whenever it has a fraction, then the primary
// n × Ns to nearest, an exact half going up.
TransformerTurns halfBridgeTurns(double Np0, double n);

struct HalfBridgeDesign {
  float Np = 0, Ns = 0;        // primary turns, turns of each secondary half
  float Dp = 0, Ds = 0;        // wire diameters, mm
  float Irmsp = 0, Irmss = 0;  // primary RMS current, RMS current of one secondary half, A
  float Lo = 0;                // output inductance, µH
  // How the numbers came about, for display in tests and listings.
  double Ton = 0;  // on-time of one switch, µs
  double Vh = 0;   // half the peak of the lowest input: the primary voltage, V
  double Np0 = 0;  // raw primary turns for the flux swing 2·DB
  double n = 0;    // turns ratio Np/Ns
  TransformerTurns turns;
};
HalfBridgeDesign designHalfBridge(const HalfBridgeInputs& in);

}  // namespace tarnex
