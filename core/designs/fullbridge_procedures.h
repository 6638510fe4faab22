#pragma once
// The built-in design procedure of the full-bridge converter fed from rectified AC mains: two
// diagonals of switches put the whole rectified input across the primary in turn, and a
// centre-tapped secondary rectifies. It gives the transformer and the output inductor.
//
// The procedure takes the window's numbers (single precision) and returns its results (single
// precision, stored through toSingle). Arithmetic is done in double; a result that a later step
// uses is used as stored. Zero inputs are not refused: they give infinite or undefined values,
// which are results like any other.

#include "designs/transformer_turns.h"

namespace tarnex {

// The design conditions and the core, by their formula names.
struct FullBridgeInputs {
  float VacMin = 0;  // lowest AC input, V rms
  float VacMax = 0;  // highest AC input, V rms (not used by the built-in design)
  float Vo = 0;      // output voltage, V
  float Io = 0;      // output current, A
  float f = 0;       // switching frequency, kHz
  float Eff = 0;     // efficiency, %
  float Vdf = 0;     // output rectifier forward drop, V
  float Dmax = 0;    // maximum duty cycle of both diagonals together
  float DB = 0;      // half the flux swing, gauss
  float Cmil = 0;    // current density, circular mil per A
  float Ae = 0;      // effective core area, mm²
};

// Whole turns: the secondary half rounded up whenever it has a fraction, then the primary
// n × Ns to nearest, an exact half going up.
TransformerTurns fullBridgeTurns(double Np0, double n);

struct FullBridgeDesign {
  float Np = 0, Ns = 0;        // primary turns, turns of each secondary half
  float Dp = 0, Ds = 0;        // wire diameters, mm
  float Irmsp = 0, Irmss = 0;  // primary RMS current, RMS current of one secondary half, A
  float Lo = 0;                // output inductance, µH
  // How the numbers came about, for display in tests and listings.
  double Ton = 0;  // on-time of one diagonal, µs
  double Vdc = 0;  // peak of the lowest input: the primary voltage, V
  double Np0 = 0;  // raw primary turns for the flux swing 2·DB
  double n = 0;    // turns ratio Np/Ns
  TransformerTurns turns;
};
FullBridgeDesign designFullBridge(const FullBridgeInputs& in);

}  // namespace tarnex
