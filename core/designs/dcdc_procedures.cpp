#include "designs/dcdc_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// The single-precision values of 1/12 and 1/3 that the procedures use.
constexpr double kTwelfth = 0.083333336f;
constexpr double kThird = 0.33333334f;

// Output capacitor (the ripple charge over the off-time) and its rating.
void outputCapacitor(const DcDcInputs& in, double T, DcDcOutputs& out) {
  out.Co = toSingle((T - out.Ton) * in.IoMax / (in.Vopp * 0.001));
  out.Vc = toSingle(1.2 * in.Vo);
}

// Ton in µs from a duty cycle at f kHz.
float onTime(float duty, float f) {
  return toSingle(duty * 1000000.0 / (f * 1000.0));
}

// Continuous conduction: the inductor ripple is r times the mean inductor current IL, so the
// RMS inductor current is IL·√(1 + r²/12) and the peak IL·(1 + r/2). The turns carry the
// flux swing 2·r·Bpk/(r + 2) of the ripple part for the volt-seconds of the on-time.
DcDcResult ccmBuck(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  if (in.VinMin <= in.Vo) {
    res.ending = DcDcEnding::Impossible;
    return res;
  }
  const double T = 1000.0 / in.f;
  o.Duty = toSingle((static_cast<double>(in.Vo) + in.Vdf) /
                    (static_cast<double>(in.VinMax) - in.Vsw + in.Vdf));
  o.Ton = onTime(o.Duty, in.f);
  const double vOn = static_cast<double>(in.VinMax) - in.Vsw - in.Vo;
  o.L = toSingle(vOn * o.Ton / (static_cast<double>(in.IoMax) * in.r));
  const double r = in.r;
  o.Ipk = toSingle((1.0 + 0.5 * r) * in.IoMax);
  o.Irms = toSingle(in.IoMax * std::sqrt(1.0 + r * r * kTwelfth));
  o.DL = toSingle(wireDiameter(o.Irms, in.Cmil));
  o.NL = toSingle(roundTurnsHalfDown(
      toSingle(vOn * o.Ton * 10000.0 / ((2.0 * r * in.Bpk / (r + 2.0)) * in.Ae))));
  // The switch current is largest at the lowest input, where the duty cycle is longest.
  const double dMax =
      (static_cast<double>(in.Vo) + in.Vdf) / (static_cast<double>(in.VinMin) - in.Vsw + in.Vdf);
  const double tMax = dMax * 1000.0 / in.f;
  const double rMin = tMax * (static_cast<double>(in.VinMin) - in.Vsw - in.Vo) /
                      (o.L * static_cast<double>(in.IoMax));
  o.Iswrms = toSingle(in.IoMax * std::sqrt(dMax * (1.0 + rMin * rMin * kTwelfth)));
  o.Vswm = toSingle(1.2 * in.VinMax);
  o.Idrms = toSingle(in.IoMax * std::sqrt(1.0 - o.Duty));
  o.Vdm = toSingle(1.2 * in.VinMax);
  outputCapacitor(in, T, o);
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
  o.NL = toSingle(roundTurnsHalfDown(
      toSingle(vOn * o.Ton * 10000.0 / ((2.0 * r * in.Bpk / (r + 2.0)) * in.Ae))));
  o.Iswrms = toSingle(il * std::sqrt((1.0 + r * r * kTwelfth) * o.Duty));
  // The diode carries the inductor current IL during the off-time, 1 − Duty of the period: its
  // mean is then IL·(1 − Duty) = IoMax, and its RMS IL·√(1 − Duty) is never below that mean.
  o.Idrms = toSingle(il * std::sqrt(1.0 - o.Duty));
}

DcDcResult ccmBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  if (in.Vo <= in.VinMax) {
    res.ending = DcDcEnding::Impossible;
    return res;
  }
  const double T = 1000.0 / in.f;
  o.Duty = toSingle((static_cast<double>(in.Vo) - in.VinMin + in.Vdf) /
                    (static_cast<double>(in.Vo) - in.Vsw + in.Vdf));
  o.Ton = onTime(o.Duty, in.f);
  ccmInductorStage(in, o);
  o.Vswm = toSingle(1.2 * in.Vo);
  o.Vdm = toSingle(1.2 * in.Vo);
  outputCapacitor(in, T, o);
  return res;
}

DcDcResult ccmBuckBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  const double T = 1000.0 / in.f;
  o.Duty = toSingle((static_cast<double>(in.Vo) + in.Vdf) /
                    (static_cast<double>(in.Vo) + in.VinMin - in.Vsw + in.Vdf));
  o.Ton = onTime(o.Duty, in.f);
  ccmInductorStage(in, o);
  // The switch and the diode both see the input plus the output.
  o.Vswm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  o.Vdm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  outputCapacitor(in, T, o);
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

// Everything after Ipk: the RMS currents from the triangle fractions, wire, turns for the
// volt-seconds vOn·Ton at the full swing Bpk, capacitor.
void dcmCurrents(const DcDcInputs& in, double T, double d2, double vOn, DcDcOutputs& o) {
  const double d1 = o.Ton * static_cast<double>(in.f) * 0.001;
  o.Irms = toSingle(o.Ipk * std::sqrt(d1 * kThird + d2 * kThird));
  o.DL = toSingle(wireDiameter(o.Irms, in.Cmil));
  o.NL = toSingle(
      roundTurnsHalfDown(toSingle(vOn * o.Ton * 10000.0 / (static_cast<double>(in.Ae) * in.Bpk))));
  o.Iswrms = toSingle(o.Ipk * std::sqrt(d1 * kThird));
  o.Idrms = toSingle(o.Ipk * std::sqrt(d2 * kThird));
  outputCapacitor(in, T, o);
}

DcDcResult dcmBuck(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  if (in.VinMin <= in.Vo) {
    res.ending = DcDcEnding::Impossible;
    return res;
  }
  const auto [T, k] = dcmShape(in);
  const double vIn = static_cast<double>(in.VinMax) - in.Vsw + in.Vdf;
  const double vOut = static_cast<double>(in.Vo) + in.Vdf;
  o.Ton = toSingle(k * T * vOut / vIn);
  o.Duty = toSingle(o.Ton / T);
  const double duty = o.Duty;
  o.L = toSingle((static_cast<double>(in.VinMax) - in.Vsw - in.Vo) * vIn * duty * duty * 1000000.0 /
                 (vOut * in.IoMax * in.f * 2000.0));
  const double vOn = static_cast<double>(in.VinMax) - in.Vo - in.Vsw;
  o.Ipk = toSingle(vOn * o.Ton / o.L);
  const double d1 = o.Ton * static_cast<double>(in.f) * 0.001;
  // The mean inductor current equals the load: Ipk·(D1 + D2)/2 = IoMax.
  const double d2 = 2.0 * in.IoMax / o.Ipk - d1;
  o.Vswm = toSingle(1.2 * in.VinMax);
  o.Vdm = toSingle(1.2 * in.VinMax);
  dcmCurrents(in, T, d2, vOn, o);
  return res;
}

DcDcResult dcmBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  if (in.VinMax >= in.Vo) {
    res.ending = DcDcEnding::Impossible;
    return res;
  }
  const auto [T, k] = dcmShape(in);
  o.Ton = toSingle(k * T * (static_cast<double>(in.Vo) - in.VinMin + in.Vdf) /
                   (static_cast<double>(in.Vo) - in.Vsw + in.Vdf));
  o.Duty = toSingle(o.Ton / T);
  const double duty = o.Duty;
  const double vOn = static_cast<double>(in.VinMin) - in.Vsw;
  o.L = toSingle(vOn * vOn * duty * duty * 1000000.0 /
                 ((static_cast<double>(in.Vo) + in.Vdf - in.VinMin) * in.IoMax * in.f * 2000.0));
  o.Ipk = toSingle(vOn * o.Ton / o.L);
  // The diode delivers the load: Ipk·D2/2 = IoMax.
  const double d2 = 2.0 * in.IoMax / o.Ipk;
  o.Vswm = toSingle(1.2 * in.Vo);
  o.Vdm = toSingle(1.2 * in.Vo);
  dcmCurrents(in, T, d2, vOn, o);
  return res;
}

DcDcResult dcmBuckBoost(const DcDcInputs& in) {
  DcDcResult res;
  DcDcOutputs& o = res.out;
  const auto [T, k] = dcmShape(in);
  const double vOut = static_cast<double>(in.Vo) + in.Vdf;
  o.Ton = toSingle(k * T * vOut / (vOut + in.VinMin - in.Vsw));
  o.Duty = toSingle(o.Ton / T);
  const double duty = o.Duty;
  const double vOn = static_cast<double>(in.VinMin) - in.Vsw;
  o.L = toSingle(vOn * vOn * duty * duty * 1000000.0 / (vOut * in.IoMax * in.f * 2000.0));
  o.Ipk = toSingle(vOn * o.Ton / o.L);
  const double d2 = 2.0 * in.IoMax / o.Ipk;
  o.Vswm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  o.Vdm = toSingle(1.2 * (static_cast<double>(in.VinMax) + in.Vo));
  dcmCurrents(in, T, d2, vOn, o);
  return res;
}

}  // namespace

DcDcResult designDcDc(DcDcTopology topology, DcDcMode mode, const DcDcInputs& in) {
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
  // The last test of every procedure, once all outputs are known.
  if (res.ending == DcDcEnding::Ok && in.Bpk > in.Bsat) res.ending = DcDcEnding::Saturation;
  return res;
}

}  // namespace tarnex
