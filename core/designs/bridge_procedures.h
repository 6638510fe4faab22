#pragma once
// The built-in design procedures of the three symmetric converters fed from rectified AC
// mains: push-pull (two switches, centre-tapped primary), half-bridge (two switches, two
// capacitors that split the input, so that the primary sees half of it) and full-bridge (two
// diagonals that put the whole input across the primary in turn). Each has a centre-tapped
// secondary and an output inductor, takes the same design conditions and gives the same
// results: turns, RMS currents and wire of the transformer, and the output inductance.
//
// A procedure takes the window's numbers (single precision) and returns its results (single
// precision, stored through toSingle) and its notices. Arithmetic is done in double; a result
// that a later step uses is used as stored. Zero inputs are not refused: they give infinite or
// undefined values, which are results like any other.

#include <vector>

#include "designs/transformer_turns.h"

namespace tarnex {

// The design conditions and the core, by their formula names.
struct BridgeInputs {
  float VacMin = 0;  // lowest AC input, V rms
  float VacMax = 0;  // highest AC input, V rms (the output inductor is sized there)
  float Vo = 0;      // output voltage, V
  float Io = 0;      // output current, A
  float f = 0;       // switching frequency, kHz
  float Eff = 0;     // efficiency, %
  float Vdf = 0;     // output rectifier forward drop, V
  float Dmax = 0;    // maximum duty cycle of both switches (or diagonals) together
  float DB = 0;      // half the flux swing, gauss
  float Cmil = 0;    // current density, circular mil per A
  float Ae = 0;      // effective core area, mm²
};

enum class BridgeEnding {
  Ok,
  Impossible,  // VacMin > VacMax or Dmax ≥ 1: nothing computed, no notice
};

// Messages a procedure raises without stopping.
enum class BridgeNotice {
  DutyAboveLimit,  // push-pull Dmax above 0.8: too little dead time between the two switches
};

// Whole turns of all three: the secondary half rounded up whenever it has a fraction, then
// the primary n × Ns to nearest, an exact half going up.
TransformerTurns bridgeTurns(double Np0, double n);

struct BridgeDesign {
  BridgeEnding ending = BridgeEnding::Ok;
  float Np = 0, Ns = 0;        // primary turns (of one half in the push-pull), secondary half
  float Dp = 0, Ds = 0;        // wire diameters, mm
  float Irmsp = 0, Irmss = 0;  // RMS currents of the primary (half) and of one secondary half, A
  float Lo = 0;                // output inductance, µH
  // How the numbers came about, for display in tests and listings.
  double Ton = 0;  // on-time of one switch or diagonal, µs
  double Vp = 0;   // voltage across the primary (half) during the on-time at low line, V
  double Np0 = 0;  // raw primary turns for the flux swing 2·DB
  double n = 0;    // turns ratio Np/Ns
  TransformerTurns turns;
  double Ipk = 0;   // push-pull: primary pulse current at low line, A
  double Vs = 0;    // secondary half's voltage at the highest input, V
  double Dmin = 0;  // duty cycle of both halves together at the highest input
  std::vector<BridgeNotice> notices;
};

using BridgeProcedure = BridgeDesign (*)(const BridgeInputs& in);

BridgeDesign designPushPull(const BridgeInputs& in);
BridgeDesign designHalfBridge(const BridgeInputs& in);
BridgeDesign designFullBridge(const BridgeInputs& in);

}  // namespace tarnex
