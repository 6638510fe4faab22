#pragma once
// The built-in design procedures of the single-ended flyback converter fed from rectified AC
// mains: core estimates (CCM core volume, DCM area product), the transformer and stress
// verification in both conduction modes, and the RCD clamp for the leakage energy.
//
// Every procedure takes the dialog's numbers (single precision) and returns its results
// (single precision, stored through toSingle) and its notices. Arithmetic is done in double;
// a result that a later step uses is used as stored. Numeric faults (a zero ripple ratio,
// frequency or core area) are not checked: they give infinite or undefined values, which are
// results like any other.

#include <vector>

namespace tarnex {

// The design conditions and core data the procedures read, by their formula names.
struct FlybackInputs {
  float Po = 0;      // output power, W
  float Vo = 0;      // output voltage, V
  float Eff = 0;     // efficiency, %
  float VacMin = 0;  // lowest AC input, V rms
  float VacMax = 0;  // highest AC input, V rms
  float Vswm = 0;    // switch voltage rating, V
  float Vswr = 0;    // margin kept below the rating, V
  float f = 0;       // switching frequency, kHz
  float Vdf = 0;     // output rectifier forward drop, V
  float r = 0;       // current ripple ratio (CCM)
  float Ptd = 0;     // dead time, % of the period (DCM)
  float Cmil = 0;    // current density, circular mil per A
  float Vopp = 0;    // output ripple voltage, mV
  float Ae = 0;      // effective core area, mm²
  float Le = 0;      // effective magnetic path length, mm
  float Bpk = 0;     // peak flux density, gauss
  float Bsat = 0;    // saturation flux density, gauss
  float Per = 0;     // leakage inductance, % of Lp
};

enum class FlybackEnding {
  Ok,
  // Nothing computed: no switch headroom (flybackHeadroom) or VacMin > VacMax. Every command
  // but the CCM core estimate, which needs neither, tests it.
  Impossible,
};

// Messages a procedure raises without stopping.
enum class FlybackNotice {
  DeadTimeShort,        // DCM area product with a dead time below 20 % of the period
  FluxAboveSaturation,  // CCM verification: the peak flux with the rounded Np exceeds Bsat
};

// Turns ratio Np/Ns: the reflected voltage n·(Vo + Vdf) takes 5/7 of what the switch rating
// leaves after the margin and the peak of the highest input.
double flybackTurnsRatio(const FlybackInputs& in);

// Whether the switch rating leaves any voltage above the margin and the peak of the highest
// input (Vswm − Vswr − 1.414·VacMax > 0). Without it there is nothing for the reflected and
// the clamp voltage: n ≤ 0, and the turns, on-time, wire and clamp that follow are
// meaningless. False as well when the headroom is not a number.
bool flybackHeadroom(const FlybackInputs& in);

// Whole turns from a raw primary count.
struct FlybackTurns {
  double Ns0 = 0;  // raw secondary turns, Np0 / n
  double Np1 = 0;  // primary turns for the whole secondary count, n × Ns
  double Ns = 0;   // Ns0 rounded up when it has a fraction
  double Np = 0;   // Np1 rounded to nearest, an exact half going down
};
// The secondary gets whole turns first (rounded up, so the flux does not rise), then the
// primary follows the turns ratio, to nearest with an exact half going down.
FlybackTurns flybackTurns(double Np0, double n);

// Bulk input capacitor in µF, sized for the hold-up at the lowest input (enters cubed).
double flybackInputCapacitor(const FlybackInputs& in);

// Air gap in mm that brings the ungapped core's inductance with Np turns down to Lp (µH);
// Ae in mm², Le in mm, with µ0 = 4π·1e-7 H/m scaled to the units used.
double flybackAirGap(double Ae, double Le, double Np, double Lp);

// Core estimate of the compute-core command, into the field Ve.
struct FlybackCoreEstimate {
  FlybackEnding ending = FlybackEnding::Ok;
  float Ve = 0;  // CCM: core volume Ae·Le in mm³; DCM: area product Ae·Aw in mm⁴
  std::vector<FlybackNotice> notices;
};
// Empirical ferrite core volume for continuous conduction.
FlybackCoreEstimate flybackCcmCoreVolume(const FlybackInputs& in);
// Area product for discontinuous conduction; hints when the dead time is short. Refuses
// impossible conditions, since it needs the turns ratio.
FlybackCoreEstimate flybackDcmAreaProduct(const FlybackInputs& in);

// The verified transformer, the primary and secondary stresses and the capacitors.
struct FlybackDesign {
  FlybackEnding ending = FlybackEnding::Ok;
  float Lp = 0, Ls = 0;  // inductances, µH
  float Np = 0, Ns = 0;  // turns
  float Dp = 0, Ds = 0;  // wire diameters, mm
  float Zc = 0;          // air gap, mm
  float Iin = 0;         // average input current at low line, A
  float Ipkp = 0;        // primary peak current, A
  float Irmsp = 0;       // primary RMS current, A
  float Iswe = 0;        // switch current rating, 10 × Irmsp, A
  float Ton = 0;         // longest on-time, µs
  float Cin = 0;         // input capacitor, µF
  float Irmss = 0;       // secondary RMS current, A
  float Ipks = 0;        // secondary peak current, A
  float Vdm = 0;         // rectifier voltage rating, V
  float Idm = 0;         // rectifier current rating, A
  float Co = 0;          // output capacitor, µF
  float Vcm = 0;         // output capacitor voltage rating, V
  // How the numbers came about, for display in tests and listings.
  double n = 0;    // turns ratio
  double D = 0;    // maximum duty cycle (CCM)
  double Np0 = 0;  // raw primary turns
  FlybackTurns turns;
  double Bact = 0;  // peak flux with the rounded Np, gauss (CCM)
  std::vector<FlybackNotice> notices;
};
FlybackDesign flybackVerifyCcm(const FlybackInputs& in);
FlybackDesign flybackVerifyDcm(const FlybackInputs& in);

// RCD clamp for the leakage-inductance energy. The clamp holds Vc, the headroom above the
// input peak, and the primary reflects 5/7 of it; the resistor burns the leakage energy
// ½·Llk·Ipkp²·f raised by Vc / (Vc − Vr) = 7/2, so R = Vc² / P = (4/7)·Vc² / (Llk·Ipkp²·f).
struct FlybackSnubber {
  FlybackEnding ending = FlybackEnding::Ok;
  float Rlk = 0;  // clamp resistor, kΩ
  float Clk = 0;  // clamp capacitor, nF
};
// Uses the primary inductance Lp (µH) and peak current Ipkp (A) as the fields hold them.
FlybackSnubber flybackSnubber(const FlybackInputs& in, float Lp, float Ipkp);

}  // namespace tarnex
