#include "designs/dcdc_procedures.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// The single-precision values of 1/12 and 1/3 that the procedures use.
constexpr double kTwelfth = 0.083333336f;
constexpr double kThird = 0.33333334f;

DcDcResult impossible() {
  return DcDcResult{DcDcEnding::Impossible, {}, 0};
}

// Conditions no stage of the topology can meet, tested before anything is computed.
bool possible(DcDcTopology topology, DcDcMode mode, const DcDcInputs& in) {
  if (in.VinMin > in.VinMax) return false;
  // The dead time would leave nothing of the period for the on- and off-time.
  if (mode == DcDcMode::Dcm && in.Ptd >= 100) return false;
  switch (topology) {
    case DcDcTopology::Buck:
      // While the switch is on the inductor sees VinMin − Vsw − Vo: it must be positive, or
      // the current never rises at the lowest input.
      return static_cast<double>(in.VinMin) - in.Vsw > in.Vo;
    case DcDcTopology::Boost:
      // The inductor charges from VinMin − Vsw, and a boost only lifts the voltage.
      return in.VinMin > in.Vsw && in.Vo > in.VinMax;
    case DcDcTopology::BuckBoost:
      return in.VinMin > in.Vsw;
  }
  return false;
}

// Output capacitor: the charge the load draws while the capacitor alone carries it, `alone`
// µs, within the ripple Vopp (mV). Its rating.
void outputCapacitor(const DcDcInputs& in, double alone, DcDcOutputs& out) {
  out.Co = toSingle(alone * in.IoMax / (in.Vopp * 0.001));
  out.Vc = toSingle(1.2 * in.Vo);
}

// The boost and buck-boost diode delivers only while the switch is off: the capacitor alone
// feeds the load during the on-time, and in DCM also during the dead time after the inductor
// has emptied. The ripple is set by the longer of that and the off-time.
double liftingCapacitorTime(double T, double Ton, double dead) {
  return std::max(T - Ton, Ton + dead);
}

// Ton in µs from a duty cycle at f kHz.
float onTime(float duty, float f) {
  return toSingle(duty * 1000000.0 / (f * 1000.0));
}

// Turns rounded to nearest, an exact half going down, with the raw count kept.
void roundTurns(double raw, DcDcOutputs& o) {
  o.NLraw = toSingle(raw);
  o.NL = toSingle(roundTurnsHalfDown(o.NLraw));
}

// Continuous conduction: the inductor ripple is r times the mean inductor current IL, so the
// RMS inductor current is IL·√(1 + r²/12) and the peak IL·(1 + r/2). The turns carry the
// flux swing 2·r·Bpk/(r + 2) of the ripple part for the volt-seconds of the on-time.
DcDcResult ccmBuck(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  const double T = 1000.0 / in.f;
  o.Duty = toSingle((static_cast<double>(in.Vo) + in.Vdf) /
                    (static_cast<double>(in.VinMax) - in.Vsw + in.Vdf));
  // The switch current is largest at the lowest input, where the duty cycle is longest.
  const double dMax =
      (static_cast<double>(in.Vo) + in.Vdf) / (static_cast<double>(in.VinMin) - in.Vsw + in.Vdf);
  if (o.Duty >= 1 || dMax >= 1) return impossible();
  o.Ton = onTime(o.Duty, in.f);
  const double vOn = static_cast<double>(in.VinMax) - in.Vsw - in.Vo;
  o.L = toSingle(vOn * o.Ton / (static_cast<double>(in.IoMax) * in.r));
  const double r = in.r;
  o.Ipk = toSingle((1.0 + 0.5 * r) * in.IoMax);
  o.Irms = toSingle(in.IoMax * std::sqrt(1.0 + r * r * kTwelfth));
  o.DL = toSingle(wireDiameter(o.Irms, in.Cmil));
  roundTurns(vOn * o.Ton * 10000.0 / ((2.0 * r * in.Bpk / (r + 2.0)) * in.Ae), o);
  const double tMax = dMax * 1000.0 / in.f;
  const double rMin = tMax * (static_cast<double>(in.VinMin) - in.Vsw - in.Vo) /
                      (o.L * static_cast<double>(in.IoMax));
  o.Iswrms = toSingle(in.IoMax * std::sqrt(dMax * (1.0 + rMin * rMin * kTwelfth)));
  o.Vswm = toSingle(1.2 * in.VinMax);
  o.Idrms = toSingle(in.IoMax * std::sqrt(1.0 - o.Duty));
  o.Vdm = toSingle(1.2 * in.VinMax);
  outputCapacitor(in, T - o.Ton, o);
  return res;
}

// Boost and buck-boost in continuous conduction share everything after the duty cycle: the
// inductor carries IL = IoMax / (1 − Duty) and sees VinMin − Vsw during the on-time.
void ccmInductorStage(const DcDcInputs& in, DcDcOutputs& o) {
  const double r = in.r;
  const double il = in.IoMax / (1.0 - o.Duty);
  const double vOn = static_cast<double>(in.VinMin) - in.Vsw;
  o.L = toSingle(vOn * o.Ton / (il * r));
  // The peak is half the ripple above the mean inductor current IL (not above the load
  // current, which is smaller than IL by the factor 1 − Duty).
  o.Ipk = toSingle((1.0 + 0.5 * r) * il);
  o.Irms = toSingle(il * std::sqrt(1.0 + r * r * kTwelfth));
  o.DL = toSingle(wireDiameter(o.Irms, in.Cmil));
  roundTurns(vOn * o.Ton * 10000.0 / ((2.0 * r * in.Bpk / (r + 2.0)) * in.Ae), o);
  o.Iswrms = toSingle(il * std::sqrt((1.0 + r * r * kTwelfth) * o.Duty));
  // The diode carries the inductor current IL during the off-time, 1 − Duty of the period: its
  // mean is then IL·(1 − Duty) = IoMax, and its RMS IL·√(1 − Duty) is never below that mean.
  o.Idrms = toSingle(il * std::sqrt(1.0 - o.Duty));
  outputCapacitor(in, liftingCapacitorTime(1000.0 / in.f, o.Ton, 0), o);
}

DcDcResult ccmBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  o.Duty = toSingle((static_cast<double>(in.Vo) - in.VinMin + in.Vdf) /
                    (static_cast<double>(in.Vo) - in.Vsw + in.Vdf));
  if (o.Duty >= 1) return impossible();
  o.Ton = onTime(o.Duty, in.f);
  ccmInductorStage(in, o);
  o.Vswm = toSingle(1.2 * in.Vo);
  o.Vdm = toSingle(1.2 * in.Vo);
  return res;
}

DcDcResult ccmBuckBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  o.Duty = toSingle((static_cast<double>(in.Vo) + in.Vdf) /
                    (static_cast<double>(in.Vo) + in.VinMin - in.Vsw + in.Vdf));
  if (o.Duty >= 1) return impossible();
  o.Ton = onTime(o.Duty, in.f);
  ccmInductorStage(in, o);
  // The switch and the diode both see the input plus the output.
  o.Vswm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  o.Vdm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  return res;
}

// Discontinuous conduction: the current ramps from zero to Ipk during the on-time (fraction
// D1 of the period) and back to zero while the diode conducts (fraction D2); the dead time
// keeps (Ptd % of the period) free so that the inductor empties before the next cycle. The
// RMS of a triangle of height Ipk over a fraction D is Ipk·√(D/3).
struct DcmShape {
  double T;
  double k;  // the fraction of the period filled by on-time and freewheeling
};

DcmShape dcmShape(const DcDcInputs& in) {
  return DcmShape{1000.0 / in.f, 1.0 - in.Ptd * 0.01};
}

// The on fraction of the period for an on-time in µs.
double onFraction(double Ton, float f) {
  return Ton * static_cast<double>(f) * 0.001;
}

// Everything after Ipk: the RMS currents from the triangle fractions, wire, turns for the
// volt-seconds vOn·Ton at the full swing Bpk.
void dcmCurrents(const DcDcInputs& in, double d2, double vOn, DcDcOutputs& o) {
  const double d1 = onFraction(o.Ton, in.f);
  o.Irms = toSingle(o.Ipk * std::sqrt(d1 * kThird + d2 * kThird));
  o.DL = toSingle(wireDiameter(o.Irms, in.Cmil));
  roundTurns(vOn * o.Ton * 10000.0 / (static_cast<double>(in.Ae) * in.Bpk), o);
  o.Iswrms = toSingle(o.Ipk * std::sqrt(d1 * kThird));
  o.Idrms = toSingle(o.Ipk * std::sqrt(d2 * kThird));
}

// The DCM buck must stay discontinuous down to the lowest input, where the inductor current
// takes longest to fall (it falls by Vo + Vdf and rises by the least): L is chosen there.
// With that L, the peak current and the flux are highest at the highest input, where the
// inductor, the diode, the turns and the on-time are sized; the switch RMS current is largest
// at the lowest input, with its longer on-time.
DcDcResult dcmBuck(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  const auto [T, k] = dcmShape(in);
  // Inductor voltages: Va(V) = V − Vsw − Vo while the switch is on, Vb = Vo + Vdf while the
  // diode conducts.
  const double vB = static_cast<double>(in.Vo) + in.Vdf;
  const double aMin = static_cast<double>(in.VinMin) - in.Vsw - in.Vo;
  const double aMax = static_cast<double>(in.VinMax) - in.Vsw - in.Vo;

  // At VinMin the on- and off-time fill k of the period at full load.
  const double ton0 = k * T * vB / (static_cast<double>(in.VinMin) - in.Vsw + in.Vdf);
  const double duty0 = ton0 / T;
  if (duty0 >= 1) return impossible();
  o.L = toSingle(aMin * (aMin + vB) * duty0 * duty0 * T / (2.0 * vB * in.IoMax));

  // At VinMax the same L delivers IoMax with a shorter on-time: the mean inductor current
  // Ipk·(Ton + Toff)/(2T), with Ipk = Va·Ton/L and Toff = Ton·Va/Vb, equals the load.
  o.Ton = toSingle(std::sqrt(2.0 * o.L * T * in.IoMax * vB / (aMax * (aMax + vB))));
  o.Duty = toSingle(o.Ton / T);
  if (o.Duty >= 1) return impossible();
  o.Ipk = toSingle(aMax * o.Ton / o.L);
  // The mean inductor current equals the load: Ipk·(D1 + D2)/2 = IoMax.
  const double d2 = 2.0 * in.IoMax / o.Ipk - onFraction(o.Ton, in.f);
  dcmCurrents(in, d2, aMax, o);
  // The switch at VinMin: the longer on-time ton0 ramps the same L to its own peak.
  const double ipkMin = aMin * ton0 / o.L;
  o.Iswrms = toSingle(ipkMin * std::sqrt(onFraction(ton0, in.f) * kThird));
  o.Vswm = toSingle(1.2 * in.VinMax);
  o.Vdm = toSingle(1.2 * in.VinMax);
  outputCapacitor(in, T - o.Ton, o);
  return res;
}

DcDcResult dcmBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  const auto [T, k] = dcmShape(in);
  o.Ton = toSingle(k * T * (static_cast<double>(in.Vo) - in.VinMin + in.Vdf) /
                   (static_cast<double>(in.Vo) - in.Vsw + in.Vdf));
  o.Duty = toSingle(o.Ton / T);
  if (o.Duty >= 1) return impossible();
  const double duty = o.Duty;
  const double vOn = static_cast<double>(in.VinMin) - in.Vsw;
  o.L = toSingle(vOn * vOn * duty * duty * 1000000.0 /
                 ((static_cast<double>(in.Vo) + in.Vdf - in.VinMin) * in.IoMax * in.f * 2000.0));
  o.Ipk = toSingle(vOn * o.Ton / o.L);
  // The diode delivers the load: Ipk·D2/2 = IoMax.
  const double d2 = 2.0 * in.IoMax / o.Ipk;
  o.Vswm = toSingle(1.2 * in.Vo);
  o.Vdm = toSingle(1.2 * in.Vo);
  dcmCurrents(in, d2, vOn, o);
  outputCapacitor(in, liftingCapacitorTime(T, o.Ton, in.Ptd * 0.01 * T), o);
  return res;
}

DcDcResult dcmBuckBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  const auto [T, k] = dcmShape(in);
  const double vOut = static_cast<double>(in.Vo) + in.Vdf;
  o.Ton = toSingle(k * T * vOut / (vOut + in.VinMin - in.Vsw));
  o.Duty = toSingle(o.Ton / T);
  if (o.Duty >= 1) return impossible();
  const double duty = o.Duty;
  const double vOn = static_cast<double>(in.VinMin) - in.Vsw;
  o.L = toSingle(vOn * vOn * duty * duty * 1000000.0 / (vOut * in.IoMax * in.f * 2000.0));
  o.Ipk = toSingle(vOn * o.Ton / o.L);
  const double d2 = 2.0 * in.IoMax / o.Ipk;
  o.Vswm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  o.Vdm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  dcmCurrents(in, d2, vOn, o);
  outputCapacitor(in, liftingCapacitorTime(T, o.Ton, in.Ptd * 0.01 * T), o);
  return res;
}

}  // namespace

DcDcResult designDcDc(DcDcTopology topology, DcDcMode mode, const DcDcInputs& in) {
  if (!possible(topology, mode, in)) return impossible();
  DcDcResult res;
  if (mode == DcDcMode::Ccm) {
    switch (topology) {
      case DcDcTopology::Buck:
        res = ccmBuck(in);
        break;
      case DcDcTopology::Boost:
        res = ccmBoost(in);
        break;
      case DcDcTopology::BuckBoost:
        res = ccmBuckBoost(in);
        break;
    }
  } else {
    switch (topology) {
      case DcDcTopology::Buck:
        res = dcmBuck(in);
        break;
      case DcDcTopology::Boost:
        res = dcmBoost(in);
        break;
      case DcDcTopology::BuckBoost:
        res = dcmBuckBoost(in);
        break;
    }
  }
  if (res.ending != DcDcEnding::Ok) return res;
  // The last test of every procedure, once all outputs are known. Rounding the turns down
  // raises the flux by NLraw / NL; without whole turns to compare (a zero core area gives
  // infinite ones) the asked Bpk stands.
  const double nl = res.out.NL;
  res.Bpeak = std::isfinite(nl) && nl != 0 ? double{in.Bpk} * res.out.NLraw / nl : in.Bpk;
  if (res.Bpeak > in.Bsat) res.ending = DcDcEnding::Saturation;
  return res;
}

}  // namespace tarnex
