#include "designs/flyback_procedures.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// Share of the voltage left under the switch rating that the reflected voltage may take.
constexpr double kReflectedShare = 0.7142857142857143;  // 5/7
// Circular mils in one cm².
constexpr double kCmilPerCm2 = 197353;
// µ0 in H/cm scaled so that the inductance comes out in H with Aec in cm² and Lec in cm.
constexpr double kMu0 = 2.51327408e-5;
// 1.414² / 100: peak of the low-line input squared, with Eff taken from percent.
constexpr double kDcmInductance = 0.01999396;
// 4/7000: the clamp's power balance R = (4/7)·Vc² / (Llk·Ipkp²·f) with a reflected voltage of
// 5/7 of the clamp voltage, and Llk·f in µH·kHz and R in kΩ (a factor 1/1000).
constexpr double kClampShare = 0.0005714285714285714;

// What the switch rating leaves after the margin and the peak of the highest input: the
// clamp voltage, of which the reflected voltage takes 5/7.
double headroomOf(const FlybackInputs& in) {
  return double{in.Vswm} - in.Vswr - acPeak(in.VacMax);
}

double vminOf(const FlybackInputs& in) {
  return acPeak(in.VacMin);
}

// Reflected voltage n·(Vo + Vdf).
double reflectedVoltage(const FlybackInputs& in, double n) {
  return n * (in.Vo + in.Vdf);
}

// The longest DCM on-time in µs: the volt-seconds of the primary at low line are reset by the
// reflected voltage within the period less the dead time.
double dcmOnTime(const FlybackInputs& in, double n) {
  const double Vr = reflectedVoltage(in, n);
  const double T = switchingPeriod(in.f);
  return T * Vr * (1 - in.Ptd * 0.01) / (Vr + vminOf(in));
}

// Output capacitor in µF for the ripple Vopp (mV). The rectifier delivers only while the
// switch is off: the capacitor alone feeds the load Io through the on-time, and in DCM also
// through the dead time after the secondary current has ended. The ripple follows the longer
// of that and the off-time (the off-time alone undersizes it above a duty cycle of 0.5).
double outputCapacitor(const FlybackInputs& in, double Ton, double dead) {
  const double T = 1000 / double{in.f};
  return (double{in.Po} / in.Vo) * std::max(T - Ton, Ton + dead) / (in.Vopp * 0.001);
}

// The conditions every command but the CCM core estimate needs: room under the switch
// rating for the reflected and the clamp voltage, and an input range the right way round.
bool possible(const FlybackInputs& in) {
  return flybackHeadroom(in) && in.VacMin <= in.VacMax;
}

// Whole turns from the raw primary count, common to both verifications.
void finishTurns(FlybackDesign& d) {
  d.turns = flybackTurns(d.Np0, d.n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);
}

}  // namespace

double flybackTurnsRatio(const FlybackInputs& in) {
  return headroomOf(in) * kReflectedShare / (in.Vo + in.Vdf);
}

bool flybackHeadroom(const FlybackInputs& in) {
  const double headroom = headroomOf(in);
  return headroom > 0;  // false for NaN too
}

FlybackTurns flybackTurns(double Np0, double n) {
  FlybackTurns t;
  t.Ns0 = Np0 / n;
  t.Ns = roundTurnsUp(t.Ns0);
  t.Np1 = n * t.Ns;
  t.Np = roundTurnsHalfDown(t.Np1);
  return t;
}

double flybackInputCapacitor(const FlybackInputs& in) {
  const double vac = in.VacMin;
  return (double{in.Po} * 30 / in.Eff) * 1000000 / (vac * vac * vac * 50 * 0.0064);
}

double flybackAirGap(double Ae, double Le, double Np, double Lp) {
  const double Aec = Ae * 0.01;  // cm²
  const double Lec = Le * 0.1;   // cm
  // Relative permeability the gapped core must fall to, less one, times the path length.
  return ((Aec * Np * Np * kMu0) / (Lec * Lp * 0.000001) * Lec - Lec) * 0.005;
}

FlybackCoreEstimate flybackCcmCoreVolume(const FlybackInputs& in) {
  const double r = in.r;
  const double inputPower = double{in.Po} * 100 / in.Eff;
  // The stored energy grows with (r + 2)² / r for a ripple ratio r around the centre current.
  FlybackCoreEstimate est;
  est.Ve = toSingle((inputPower / in.f) * ((r + 2) * (r + 2) / r) * 700);
  return est;
}

FlybackCoreEstimate flybackDcmAreaProduct(const FlybackInputs& in) {
  FlybackCoreEstimate est;
  if (!possible(in)) {
    est.ending = FlybackEnding::Impossible;
    return est;
  }
  const double Ton = dcmOnTime(in, flybackTurnsRatio(in));
  const double D = Ton / (1000000 / (double{in.f} * 1000));
  // Below a fifth of the period the secondary current may not reach zero before the next
  // switch-on: the converter would slide into continuous conduction.
  if (in.Ptd < 20) est.notices.push_back(FlybackNotice::DeadTimeShort);
  est.Ve = toSingle(double{in.Po} * 1000000 /
                    ((kCmilPerCm2 / in.Cmil) * std::sqrt(3 / D) * in.Eff * in.f * 0.0015));
  return est;
}

FlybackDesign flybackVerifyCcm(const FlybackInputs& in) {
  FlybackDesign d;
  if (!possible(in)) {
    d.ending = FlybackEnding::Impossible;
    return d;
  }
  d.n = flybackTurnsRatio(in);
  const double n = d.n;
  const double Vmin = vminOf(in);
  const double Vpk = acPeak(in.VacMax);

  d.Iin = toSingle((double{in.Po} * 100 / in.Eff) / Vmin);
  const double Io = double{in.Po} / in.Vo;
  // Input and reflected output currents share the period in the ratio D : (1 − D).
  d.D = d.Iin / (Io / n + d.Iin);
  const double D = d.D;
  const double Ic = Io / (1 - D);  // secondary current at the centre of the ramp
  d.Ipkp = toSingle((in.r * 0.5 + 1) * Ic / n);
  d.Irmsp = toSingle((Ic / n) * std::sqrt(D));
  d.Iswe = toSingle(10.0 * d.Irmsp);
  d.Ton = toSingle(D / (double{in.f} * 1000) * 1000000);
  d.Cin = toSingle(flybackInputCapacitor(in));

  const double VT = d.Ton * double{in.VacMin} * kSqrt2;  // V·µs at low line
  d.Lp = toSingle(VT / ((Ic / n) * in.r));
  d.Ls = toSingle(d.Lp / (n * n));
  d.Irmss = toSingle(Ic * std::sqrt(1 - D));
  d.Ipks = toSingle(d.Ipkp * n);
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));
  d.Vdm = toSingle((Vpk / n + in.Vo) * 1.2);
  d.Idm = toSingle(2.0 * d.Irmss);

  // The volt-seconds set the flux swing; with the ripple r times the centre current, the peak
  // flux is K/2 times that swing, K = 2/r + 1.
  const double K = 2 / double{in.r} + 1;
  const double AeCm2 = in.Ae * 0.01;
  d.Np0 = K * (VT * 0.000001) / (2 * AeCm2 * in.Bpk * 0.00000001);
  finishTurns(d);
  d.Bact = K * (VT * 0.000001) / (2 * AeCm2 * d.Np * 0.00000001);
  if (d.Bact > in.Bsat) d.notices.push_back(FlybackNotice::FluxAboveSaturation);

  d.Zc = toSingle(flybackAirGap(in.Ae, in.Le, d.Np, d.Lp));
  d.Co = toSingle(outputCapacitor(in, d.Ton, 0));
  d.Vcm = toSingle(in.Vo * 1.2);
  return d;
}

FlybackDesign flybackVerifyDcm(const FlybackInputs& in) {
  FlybackDesign d;
  if (!possible(in)) {
    d.ending = FlybackEnding::Impossible;
    return d;
  }
  d.n = flybackTurnsRatio(in);
  const double n = d.n;
  const double Vmin = vminOf(in);
  const double Vpk = acPeak(in.VacMax);
  const double T = switchingPeriod(in.f);
  const double vac = in.VacMin;

  d.Ton = toSingle(dcmOnTime(in, n));
  const double Ton = d.Ton;
  // The energy ½·Lp·Ipkp² per period carries Po / Eff.
  d.Lp = toSingle(vac * vac * Ton * Ton * in.Eff * kDcmInductance / (2 * T * in.Po));
  d.Ipkp = toSingle(vac * Ton * kSqrt2 / d.Lp);
  d.Ipks = toSingle(d.Ipkp * n);
  d.Iin = toSingle((double{in.Po} * 100 / in.Eff) / Vmin);
  // Triangular pulses: RMS = peak / √3 × √(conduction share).
  d.Irmsp = toSingle(d.Ipkp / std::sqrt(3.0) * std::sqrt(Ton / T));
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  d.Iswe = toSingle(10.0 * d.Irmsp);
  d.Cin = toSingle(flybackInputCapacitor(in));

  const double Tr = T * (1 - in.Ptd * 0.01) - Ton;  // secondary conduction time
  d.Irmss = toSingle(d.Ipks / std::sqrt(3.0) * std::sqrt(Tr / T));
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));
  // The rectifier sees the ringing of the discontinuous tail: more margin than in CCM.
  d.Vdm = toSingle((Vpk / n + in.Vo) * 1.5);
  d.Idm = toSingle(2.0 * d.Irmss);
  d.Co = toSingle(outputCapacitor(in, Ton, T * in.Ptd * 0.01));
  d.Vcm = toSingle(in.Vo * 1.2);
  d.Ls = toSingle(d.Lp / (n * n));

  d.Np0 = double{d.Ipkp} * d.Lp * 10000 / (double{in.Bpk} * in.Ae);
  finishTurns(d);
  d.Zc = toSingle(flybackAirGap(in.Ae, in.Le, d.Np, d.Lp));
  return d;
}

FlybackSnubber flybackSnubber(const FlybackInputs& in, float Lp, float Ipkp) {
  FlybackSnubber s;
  if (!possible(in)) {
    s.ending = FlybackEnding::Impossible;
    return s;
  }
  const double Vc = headroomOf(in);  // the clamp voltage
  const double ipk = Ipkp;
  // A resistance: volts squared over the power the clamp must burn.
  s.Rlk = toSingle(Vc * Vc * kClampShare / (in.Per * 0.01 * ipk * ipk * Lp * in.f * 0.001));
  s.Clk = toSingle(Vc * 1000000000 / (double{s.Rlk} * in.f * Vc * 100000));
  return s;
}

}  // namespace tarnex
