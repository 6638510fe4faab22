#pragma once
// The power stage as it is built, worked out as a circuit rather than by a window's design
// formulas: an inductor switched between input and output in one of the three basic ways,
// with the switch and diode drops the window assumes, at a given input and load, in steady
// state. Every transformer-coupled window reduces to one of them referred to its secondary:
// the forward and the bridges are a buck (their output inductor, behind the rectifier), the
// flyback and the ringing choke a buck-boost (their coupled inductor). The design check reads
// from it what the built circuit will do; the simulation decks take their drive from it.
//
// Units as on the forms: V, A, µs, µH, kHz, µF.

namespace tarnex {

enum class StageKind {
  Buck,       // switch from the input to the inductor, diode freewheels it into the output
  Boost,      // inductor from the input, switch to ground, diode into the output
  BuckBoost,  // switch puts the input across the inductor, the diode empties it into the output
};

enum class Conduction {
  Continuous,     // the inductor current never falls to zero
  Discontinuous,  // it falls to zero and rests there until the switch turns on again
};

struct Stage {
  StageKind kind = StageKind::Buck;
  double Vin = 0;  // input, V
  double Vsw = 0;  // drop of the switch while it conducts, V
  double Vdf = 0;  // drop of the diode while it conducts, V
  double Vo = 0;   // output, V
  double Io = 0;   // load current, A
  double L = 0;    // inductance, µH
  double f = 0;    // switching frequency the inductor sees, kHz
  // A leakage inductance in series with the switch, as a transformer's windings have it (a
  // buck-boost: the flyback referred to its secondary). At switch-off it holds the switch
  // current until a clamp resets it against the output's Vo + Vdf: meanwhile the diode
  // current rises from zero instead of taking the inductor current at once, and the output
  // misses that charge. The clamp holds Vclamp, or with Rclamp the voltage at which its
  // resistor burns the energy the leakage brings it.
  double Llk = 0;     // µH; 0: none
  double Vclamp = 0;  // V
  double Rclamp = 0;  // Ω; 0: the clamp holds Vclamp
};

// One switching period in steady state. The inductor current rises from iStart to iPeak while
// the switch is on (Ton), falls while the diode conducts (Toff) to iStart (continuous) or to
// zero (discontinuous), and rests at zero for Tdead.
struct StagePoint {
  bool valid = false;  // false when the stage cannot deliver the output from its input
  Conduction conduction = Conduction::Continuous;
  double Vin = 0, Vo = 0, Io = 0;
  double T = 0;                  // period, µs
  double Ton = 0;                // µs
  double Toff = 0;               // µs
  double Tdead = 0;              // µs
  double iStart = 0, iPeak = 0;  // A
  double iMean = 0;              // mean inductor current, A
  // With a leakage inductance (iStart is then the inductor's lowest current, once the switch
  // has taken it over from the diode): the times the switch takes to take the current from
  // the diode at switch-on and the clamp to reset the leakage at switch-off (the diode's
  // current then rises from zero), the diode's current at switch-on and when the leakage is
  // reset, and the clamp voltage.
  double Ttake = 0, Tleak = 0;                          // µs
  double iOff = 0, iHanded = 0;                         // A
  double Vclamp = 0;                                    // V
  double switchRms = 0, diodeRms = 0, inductorRms = 0;  // A
  // The current the stage puts into the output node (the inductor's for a buck, the diode's
  // otherwise): its RMS, and the RMS of its part above and below the load, which the output
  // capacitor carries.
  double outputRms = 0, capacitorRms = 0;

  double duty() const { return T > 0 ? Ton / T : 0; }
  double ripple() const { return iPeak - iStart; }  // peak to peak, A
  // Ripple over the mean inductor current; 2 or more in discontinuous conduction.
  double rippleRatio() const { return iMean > 0 ? ripple() / iMean : 0; }
};

// The on-time that holds the output at s.Vo with the load s.Io, continuous or discontinuous as
// the inductance gives it: what a regulating loop settles at.
StagePoint regulate(const Stage& s);

// The output a fixed on-time Ton (µs) reaches into a load resistance R (Ω), open loop:
// s.Vo and s.Io are ignored. The point returned carries that output and its load current.
StagePoint driveAt(const Stage& s, double Ton, double R);

// Critical conduction at the load s.Io: the period in which the current just returns to
// zero as the switch turns on again (s.f is ignored; the point's T gives the frequency).
StagePoint boundary(const Stage& s);

// Peak-to-peak voltage ripple of an ideal output capacitor of C µF at the point p: the
// charge the capacitor takes and gives as the stage's output current swings about the load.
double outputRipple(const Stage& s, const StagePoint& p, double C);

}  // namespace tarnex
