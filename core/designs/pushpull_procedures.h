#pragma once
// The built-in design procedure of the two-switch push-pull converter fed from rectified AC
// mains: the centre-tapped transformer (turns and currents of one half of each winding) and
// the output inductor.
//
// The procedure takes the window's numbers (single precision) and returns its results (single
// precision, stored through toSingle) and its notices. Arithmetic is done in double; a result
// that a later step uses is used as stored. Zero inputs are not refused: they give infinite or
// undefined values, which are results like any other.

#include <vector>

#include "designs/transformer_turns.h"

namespace tarnex {

// The design conditions and the core, by their formula names.
struct PushPullInputs {
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

// Messages the procedure raises without stopping.
enum class PushPullNotice {
  DutyAboveLimit,  // Dmax above 0.8: too little dead time between the two switches
};

inline constexpr const char* kPushPullDutyHint = " 建议留最大占空比设置为小于0.8，留0.2的余量！";

// Whole turns: the secondary rounded up whenever it has a fraction, then the primary n × Ns
// to nearest, an exact half going up.
TransformerTurns pushPullTurns(double Np0, double n);

struct PushPullDesign {
  float Np = 0, Ns = 0;        // turns of one half winding
  float Dp = 0, Ds = 0;        // wire diameters, mm
  float Irmsp = 0, Irmss = 0;  // RMS currents of one half winding, A
  float Lo = 0;                // output inductance, µH
  // How the numbers came about, for display in tests and listings.
  double Ton = 0;   // on-time of one switch, µs
  double Vmin = 0;  // peak of the lowest input, V
  double Np0 = 0;   // raw primary turns for the flux swing 2·DB
  double n = 0;     // turns ratio Np/Ns
  TransformerTurns turns;
  double Ipk = 0;  // primary pulse current at low line, A
  std::vector<PushPullNotice> notices;
};
PushPullDesign designPushPull(const PushPullInputs& in);

}  // namespace tarnex
