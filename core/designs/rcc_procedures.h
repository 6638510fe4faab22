#pragma once
// The built-in design procedure of the ringing choke converter (a self-oscillating flyback in
// critical conduction) fed from rectified AC mains. Its frequency falls with load and input
// voltage: the transformer is designed at the lowest frequency (full load, low line), and the
// highest frequency (minimum load, high line) is reported.
//
// The procedure takes the window's numbers (single precision) and returns its results (single
// precision, stored through toSingle). Arithmetic is done in double; a result that a later step
// uses is used as stored. Zero inputs are not refused: they give infinite or undefined values,
// which are results like any other.

#include "designs/transformer_turns.h"

namespace tarnex {

// The design conditions and the core, by their formula names.
struct RccInputs {
  float VacMin = 0;  // lowest AC input, V rms
  float VacMax = 0;  // highest AC input, V rms
  float Vo = 0;      // output voltage, V
  float IoMax = 0;   // full-load current, A
  float IoMin = 0;   // minimum load current, A
  float fMin = 0;    // lowest switching frequency (full load, low line), kHz
  float Eff = 0;     // efficiency, %
  float Vswm = 0;    // switch voltage rating, V
  float Vswr = 0;    // margin kept below the rating, V
  float Vsw = 0;     // switch on-state drop, V
  float Vdf = 0;     // output rectifier forward drop, V
  float Bpk = 0;     // peak flux density, gauss
  float Ae = 0;      // effective core area, mm²
  float Cmil = 0;    // current density, circular mil per A
};

enum class RccEnding {
  Ok,
  // Nothing computed: VacMin > VacMax, IoMin > IoMax, a low-line peak 1.414·VacMin that does
  // not exceed the switch drop Vsw, or a switch rating that leaves no room for a reflected
  // voltage.
  Impossible,
};

// Whole turns: the secondary rounded up whenever it has a fraction, then the primary n × Ns
// to nearest, an exact half going down.
TransformerTurns rccTurns(double Np0, double n);

struct RccDesign {
  RccEnding ending = RccEnding::Ok;
  float Lp = 0, Ls = 0;        // inductances, µH
  float Ipkp = 0, Ipks = 0;    // peak currents, A
  float Irmsp = 0, Irmss = 0;  // RMS currents, A
  float Np = 0, Ns = 0;        // turns
  float Dp = 0, Ds = 0;        // wire diameters, mm
  float fMax = 0;              // highest frequency, at IoMin and VacMax, kHz
  // How the numbers came about, for display in tests and listings.
  double headroom = 0;  // switch rating less margin and the peak of the highest input, V
  double n = 0;         // turns ratio Np/Ns
  double Iin = 0;       // average input current at full load and low line, A
  double D = 0;         // duty cycle at full load and low line
  double Vp = 0;        // voltage across the primary during the on-time, V
  double Ton = 0;       // on-time at full load and low line, µs
  double Np0 = 0;       // raw primary turns
  TransformerTurns turns;
  double Dl = 0;  // duty cycle at minimum load and high line
};
RccDesign designRcc(const RccInputs& in);

}  // namespace tarnex
