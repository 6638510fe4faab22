#include "designs/rcc_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// Share of the voltage left under the switch rating that the reflected voltage may take.
constexpr double kReflectedShare = 0.7142857142857143;  // 5/7
// 1.414²: the peak of the highest input, squared.
constexpr double kSqrt2Squared = 1.999396;

}  // namespace

TransformerTurns rccTurns(double Np0, double n) {
  return windTurns(Np0, n, roundTurnsUp, roundTurnsHalfDown);
}

RccDesign designRcc(const RccInputs& in) {
  RccDesign d;
  const double Vo = in.Vo;
  const double IoMax = in.IoMax;
  const double IoMin = in.IoMin;
  const double fMin = in.fMin;
  const double Eff = in.Eff;
  const double VacMin = in.VacMin;
  const double VacMax = in.VacMax;

  // An input range or a load range upside down, or a low-line peak that does not even cover
  // the switch drop, leave no design.
  if (VacMin > VacMax || IoMin > IoMax || kSqrt2 * VacMin <= in.Vsw) {
    d.ending = RccEnding::Impossible;
    return d;
  }
  // What the switch rating leaves after the margin and the input peak is shared by the
  // reflected voltage and the leakage spike. With nothing left (or an undefined remainder)
  // no turns ratio exists.
  d.headroom = double{in.Vswm} - in.Vswr - kSqrt2 * VacMax;
  if (!(d.headroom > 0)) {
    d.ending = RccEnding::Impossible;
    return d;
  }
  d.n = d.headroom * kReflectedShare / (double{in.Vdf} + Vo);
  const double n = d.n;

  // Full load at low line: input and reflected output currents share the period in the ratio
  // D : (1 − D).
  const double Po = IoMax * Vo;
  const double Vmin = acPeak(VacMin);
  d.Iin = (Po / (Eff * 0.01)) / Vmin;
  d.D = d.Iin / (IoMax / n + d.Iin);
  const double D = d.D;
  d.Vp = Vmin - in.Vsw;

  // Critical conduction at the lowest frequency: ½·Lp·Ipkp²·fMin is drawn from the input,
  // the output power over the efficiency (the duty D above already includes it).
  d.Lp = toSingle(D * D * d.Vp * d.Vp * 1000 * Eff * 0.01 / (2 * Po * fMin));
  d.Ls = toSingle(d.Lp / (n * n));
  d.Ipkp = toSingle(d.Vp * (D / (fMin * 1000)) / (d.Lp * 0.000001));
  d.Ipks = toSingle(double{d.Ipkp} * n);

  // In critical conduction both currents are triangles from zero: the primary's over the
  // on-share D, the secondary's over the rest of the period.
  d.Irmsp = toSingle(d.Ipkp * std::sqrt(D / 3));
  d.Irmss = toSingle(d.Ipks * std::sqrt((1 - D) / 3));
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));

  // Volt-seconds of the on-time at low line over the flux Bpk·Ae (gauss, mm²).
  d.Ton = D * 1000 / fMin;
  d.Np0 = d.Ton * VacMin * 10000 * kSqrt2 / (double{in.Bpk} * in.Ae);
  d.turns = rccTurns(d.Np0, n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);

  // Minimum load at high line: the same current share gives the duty cycle, and the critical
  // conduction energy balance, with the light-load input power, the frequency.
  const double Il = (IoMin * Vo * 100 / Eff) / (kSqrt2 * VacMax);
  d.Dl = Il / (IoMin / n + Il);
  d.fMax = toSingle(VacMax * VacMax * d.Dl * d.Dl * kSqrt2Squared * Eff * 0.01 /
                    (2 * double{d.Lp} * IoMin * Vo * 0.001));
  return d;
}

}  // namespace tarnex
