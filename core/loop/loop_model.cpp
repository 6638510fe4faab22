#include "loop/loop_model.h"

#include <algorithm>
#include <cmath>

#include "base/number_text.h"

namespace tarnex {

using namespace exact;

namespace {

// The type II ratio limits of the exact design: k = 1.1 adds 5.4° to an integrator, k = 100
// adds 88.9°. Nearer 1 the pole sits on the zero and the network is an integrator with a
// vanishing gain; beyond 100 the zero lies so far below fc that C1 grows without bound while
// the last degree of lead costs another decade.
constexpr double kMinRatio = 1.1;
constexpr double kMaxRatio = 100;

// The pole of a resistance R with a capacitor C and its ESR in series, from the pole ωp =
// 1/(R·C) without the ESR and the ESR zero ωz = 1/(ESR·C): 1/((R + ESR)·C) = ωp·ωz/(ωp + ωz).
double withEsr(double wp, double wz) {
  return wp * wz / (wp + wz);
}

double boostOf(double k) {
  return 2 * std::atan(k) * kDegreesPerRadian - 90;
}

// C2 that puts the pole of R2–C1 ∥ C2 at fPole: R2·C1·C2/(C1 + C2) = 1/(2π·fPole). Needs the
// pole above the zero 1/(2π·R2·C1).
double poleCapacitor(double R2, double C1, double fPole) {
  const double series = 1 / (kTwoPi * R2 * fPole);
  return series * C1 / (C1 - series);
}

}  // namespace

// --- power stages --------------------------------------------------------------------------

CurrentModeStage currentModeStage(const CurrentModeInputs& in, const CurrentModeResults& r) {
  CurrentModeStage s;
  s.G = std::pow(10.0, double{r.GdB} / 20);
  s.fp = r.fp;
  s.fz = r.fz;
  const double D = in.D;
  const double Dp = 1 - D;
  const double RL = double{in.Vo} / in.Io;
  s.fRHP = RL * Dp * Dp / (kTwoPi * D * in.L * 1e-6);
  s.fn = double{in.fsw} * 1000 / 2;
  s.mc = r.Q + 0.5;
  s.Qs = 1 / (std::numbers::pi * (s.mc * Dp - 0.5));
  return s;
}

Transfer stageTransfer(const CurrentModeStage& st) {
  if (!allPositive(st.G, st.fp, st.fz, st.fRHP, st.fn) || !std::isfinite(st.Qs) || st.Qs == 0) {
    return {};
  }
  // The page's output pole is that of Rx with Co alone; the ESR in series with Co adds to Rx:
  // 1/((Rx + ESR)·Co) = ωp·ωz/(ωp + ωz).
  const double wz = kTwoPi * st.fz, wr = kTwoPi * st.fRHP;
  const double wp = withEsr(kTwoPi * st.fp, wz);
  const double wn = kTwoPi * st.fn, Q = st.Qs;
  return [=](Complex s) {
    return st.G * (1.0 + s / wz) * (1.0 - s / wr) /
           ((1.0 + s / wp) * (1.0 + s / (wn * Q) + s * s / (wn * wn)));
  };
}

Transfer typeIIStageTransfer(const TypeIIInputs& in) {
  const double fpo = double{in.fpo} * 1000, fesr = double{in.fesr} * 1000;
  if (!allPositive(fpo, fesr) || !std::isfinite(in.Gesr)) return {};
  const double wpo = kTwoPi * fpo, wesr = kTwoPi * fesr;
  switch (in.kind) {
    case TypeIIKind::Forward: {
      const double K = std::pow(10.0, double{in.Gesr} / 20) * (fesr / fpo) * (fesr / fpo);
      const double RL = double{in.Vo} / in.Iomax;
      const double L = double{in.L} * 1e-6, Co = double{in.Co} * 1e-6, Rc = in.ESR;
      if (!allPositive(K, RL, L, Co, Rc)) return {};
      const double damping = L / RL + Rc * Co;  // s term of the denominator, seconds
      const double curvature = (RL + Rc) / RL / (wpo * wpo);
      return
          [=](Complex s) { return K * (1.0 + s / wesr) / (1.0 + s * damping + s * s * curvature); };
    }
    case TypeIIKind::DcmFlyback: {
      const double G0 = std::pow(10.0, double{in.Gesr} / 20) * fesr / fpo;
      if (!positive(G0)) return {};
      // The ESR in series with Co adds to the RL/2 the capacitor sees.
      const double wp = withEsr(wpo, wesr);
      return [=](Complex s) { return G0 * (1.0 + s / wesr) / (1.0 + s / wp); };
    }
    case TypeIIKind::None:
      break;
  }
  return {};
}

// --- networks ------------------------------------------------------------------------------------

double currentModeAmplifierGain(const CurrentModeInputs& in) {
  switch (in.type) {
    case CurrentModeAmplifier::Transconductance:
      return double{in.Vref} / in.Vo * in.gm;
    case CurrentModeAmplifier::OpAmp:
      return 1 / double{in.R1};
    case CurrentModeAmplifier::None:
      break;
  }
  return 0;
}

Complex zeroPoleImpedance(Complex s, double R2, double C1, double C2) {
  return 1.0 / (s * C1 / (1.0 + s * R2 * C1) + s * C2);
}

Transfer zeroPoleNetwork(double gain, double R2, double C1, double C2) {
  if (!allPositive(gain, R2, C1, C2)) return {};
  return [=](Complex s) { return gain * zeroPoleImpedance(s, R2, C1, C2); };
}

Transfer typeIIINetworkTransfer(double R1, double R2, double R3, double C1, double C2, double C3) {
  if (!allPositive(R1, R2, R3, C1, C2, C3)) return {};
  return [=](Complex s) {
    const Complex inputAdmittance = 1.0 / R1 + s * C2 / (1.0 + s * R3 * C2);
    return zeroPoleImpedance(s, R2, C1, C3) * inputAdmittance;
  };
}

// --- exact designs -------------------------------------------------------------------------------

CurrentModeExact currentModeExactDesign(const CurrentModeInputs& in, const CurrentModeResults& r) {
  CurrentModeExact e;
  const CurrentModeStage st = currentModeStage(in, r);
  const Transfer stage = stageTransfer(st);
  if (in.type == CurrentModeAmplifier::None) return e;
  const double gain = currentModeAmplifierGain(in);
  const double asked = double{in.fc} * 1000;
  const double byRhp = st.fRHP / 3;
  const double bySwitching = double{in.fsw} * 1000 / 5;
  e.fc = std::min({asked, byRhp, bySwitching});
  e.lowered = e.fc < asked;
  e.byRhpZero = e.lowered && byRhp <= bySwitching;
  // The zero on the output pole as the ESR leaves it.
  const double fZero = withEsr(st.fp, st.fz);
  const double fPole = std::min(st.fz, st.fn);
  if (!stage || !allPositive(gain, e.fc, fZero, fPole) || fPole <= fZero * 1.01) return e;
  // The network with R2 = 1 Ω has the right shape; its impedance scales with R2.
  const double C1unit = 1 / (kTwoPi * fZero);
  const double C2unit = poleCapacitor(1, C1unit, fPole);
  const Complex s = jw(e.fc);
  const double loopUnit = std::abs(stage(s) * gain * zeroPoleImpedance(s, 1, C1unit, C2unit));
  const double R2 = 1 / loopUnit;
  e.R2 = toSingle(R2);
  e.C1 = toSingle(C1unit / R2 * 1e6);
  e.C2 = toSingle(C2unit / R2 * 1e6);
  e.ok = allPositive(double{e.R2}, double{e.C1}, double{e.C2});
  return e;
}

TypeIIExact typeIIExactDesign(const TypeIIInputs& in) {
  TypeIIExact e;
  const Transfer stage = typeIIStageTransfer(in);
  const double fc = double{in.fc} * 1000;
  const double R1 = in.R1;
  if (!stage || !allPositive(fc, R1) || !std::isfinite(in.PMwant)) return e;
  const Complex s = jw(fc);
  const Complex g = stage(s);
  e.stagePhase = phaseDeg(g);
  // PM = 180° + stage phase − 90° (integrator) + boost.
  e.boost = double{in.PMwant} - 90 - e.stagePhase;
  e.reachable = e.boost >= boostOf(kMinRatio) && e.boost <= boostOf(kMaxRatio);
  e.k = std::clamp(std::tan((45 + e.boost / 2) / kDegreesPerRadian), kMinRatio, kMaxRatio);
  if (!(e.boost > -90 && e.boost < 90)) e.k = e.boost <= -90 ? kMinRatio : kMaxRatio;
  const double fz = fc / e.k, fp = fc * e.k;
  const double C1unit = 1 / (kTwoPi * fz);
  const double C2unit = poleCapacitor(1, C1unit, fp);
  const double loopUnit = std::abs(g * zeroPoleImpedance(s, 1, C1unit, C2unit) / R1);
  const double R2 = 1 / loopUnit;
  e.R2 = toSingle(R2);
  e.C1 = toSingle(C1unit / R2 * 1e12);
  e.C2 = toSingle(C2unit / R2 * 1e12);
  e.fz1 = toSingle(fz / 1000);
  e.fp1 = toSingle(fp / 1000);
  e.ok = allPositive(double{e.R2}, double{e.C1}, double{e.C2});
  return e;
}

TypeIIIExact typeIIIExactDesign(const TypeIIIInputs& in) {
  TypeIIIExact e;
  const TypeIIIResults p = typeIIINetwork(in);
  e.network = p;
  const Transfer page = typeIIINetworkTransfer(in.R1 * 1e3, p.R2 * 1e3, p.R3 * 1e3, p.C1 * 1e-9,
                                               p.C2 * 1e-9, p.C3 * 1e-12);
  const double fc = double{in.fc} * 1000;
  if (!page || !positive(fc) || !std::isfinite(in.GdB)) return e;
  const double gain = std::abs(page(jw(fc)));
  e.pageGainDb = 20 * std::log10(gain);
  // Scaling C1 and C3 by x (R2 by 1/x) keeps every pole and zero and divides the gain by x.
  const double x = gain / std::pow(10.0, double{in.GdB} / 20);
  TypeIIIResults& n = e.network;
  n.C1 = toSingle(p.C1 * x);
  n.C3 = toSingle(p.C3 * x);
  n.R2 = toSingle(p.R2 / x);
  n.fEA = toSingle(p.fEA / x);
  n.k = std::pow(10.0, double{in.GdB} / 20);
  e.ok = allPositive(double{n.C1}, double{n.C2}, double{n.C3}, double{n.R2}, double{n.R3});
  return e;
}

}  // namespace tarnex
