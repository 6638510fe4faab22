#include "loop/compensation.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"
#include "loop/loop_model.h"

namespace tarnex {

namespace {

// The factor 1/20 that turns decibels into a power of ten, as the pages hold it: in single
// precision.
constexpr double kDbToDecade = double{0.05f};

// Arctangent in degrees.
double atanDeg(double x) {
  return std::atan(x) * kDegreesPerRadianPage;
}

// A resistor ratio for a gain in decibels, whole decibels only: the fraction is dropped
// towards zero (on the double, so an infinite gain gives an infinite ratio and an undefined
// one an undefined ratio).
double wholeDbRatio(double gainDb) {
  return std::pow(10.0, kDbToDecade * std::trunc(gainDb));
}

// The type II network's capacitor in pF that places a pole or zero at f (kHz) with R2 (Ω).
double capacitorFor(double R2, double f) {
  return 1e12 / (R2 * f * kTwoPiPageKilo);
}

// The ratio search of the forward type: the zero goes to fc/k and the pole to k·fc, k from 1
// upwards in steps of 0.01, until the amplifier's lag at the crossover comes within 0.1° of
// what the wanted margin allows. No such k below 10000 gives 0.
constexpr double kSearchStep = 0.01;
constexpr double kSearchLimit = 10000;
constexpr double kSearchTolerance = 0.1;

// Lag of the inverting type II amplifier at the crossover: 180° inversion and 90° integrator,
// less the lead of the zero at fc/k, plus the lag of the pole at k·fc.
double amplifierLag(double k) {
  return atanDeg(1 / k) + (270 - atanDeg(k));
}

double searchRatio(double lagAllowed) {
  double k = 1.0;
  while (amplifierLag(k) - lagAllowed > kSearchTolerance) {
    k += kSearchStep;
    if (k >= kSearchLimit) return 0;
  }
  return k;
}

// The gain in dB the network must supply at fc so that the loop crosses there: from the exact
// stage and the network's shape, R2 = R1 with C1 and C2 scaled to keep the zero at fz1 and the
// pole at fp1 (the impedance of R2–C1 ∥ C2 scales with R2 when the capacitors scale inversely).
// Not finite when the stage or the placement has no usable numbers.
double exactGainNeeded(const TypeIIInputs& in, double fz1, double fp1) {
  const Transfer stage = typeIIStageTransfer(in);
  if (!stage) return std::nan("");
  const double R1 = in.R1;
  const double C1 = 1 / (R1 * fz1 * kTwoPiPageKilo);
  const double C2 = 1 / (R1 * fp1 * kTwoPiPageKilo);
  const Complex s{0, double{in.fc} * kTwoPiPageKilo};
  return -20 * std::log10(std::abs(stage(s)) * std::abs(zeroPoleImpedance(s, R1, C1, C2) / R1));
}

// The exact gain where it can be had, else the asymptotic one.
double gainNeeded(double exact, double asymptotic) {
  return std::isfinite(exact) ? exact : asymptotic;
}

TypeIINetwork forwardNetwork(const TypeIIInputs& in) {
  TypeIINetwork n;
  const double fc = in.fc;
  // Above the LC double pole the stage falls at 40 dB per decade and, past the ESR zero, at
  // 20 dB per decade: its gain at fc is the gain at the ESR zero less 20·log(fc/fesr).
  const double u = fc / in.fesr;
  n.Gfc = in.Gesr - 20 * std::log10(u);
  // The LC pair lags 180° well above its resonance; the ESR zero gives some of it back.
  const double stageLag = 180 - atanDeg(u);
  const double lagAllowed = (360 - double{in.PMwant}) - stageLag;
  n.k = searchRatio(lagAllowed);
  n.PM = toSingle(360 - (amplifierLag(n.k) + stageLag));
  n.fz1 = toSingle(fc / n.k);
  n.fp1 = toSingle(n.k * fc);
  // Between its zero and pole the network must supply what the stage lacks at fc.
  n.gainNeeded = gainNeeded(exactGainNeeded(in, n.fz1, n.fp1), -n.Gfc);
  n.R2 = toSingle(in.R1 * wholeDbRatio(n.gainNeeded));
  n.C1 = toSingle(capacitorFor(n.R2, n.fz1));
  n.C2 = toSingle(capacitorFor(n.R2, n.fp1));
  return n;
}

TypeIINetwork flybackNetwork(const TypeIIInputs& in) {
  TypeIINetwork n;
  const double fc = in.fc;
  n.fp1 = in.fp1;
  n.fz1 = in.fz1;
  // Past the ESR zero the stage is flat at Gesr. The network's flat gain R2/R1, falling at
  // 20 dB per decade past its pole fp1, makes up for Gesr at fc where that asymptote holds.
  const double v = fc / in.fp1;
  n.gainNeeded = gainNeeded(exactGainNeeded(in, in.fz1, in.fp1), 20 * std::log10(v) - in.Gesr);
  n.R2 = toSingle(in.R1 * wholeDbRatio(n.gainNeeded));
  n.C2 = toSingle(capacitorFor(n.R2, in.fp1));
  n.C1 = toSingle(capacitorFor(n.R2, in.fz1));
  // Stage: output pole lags, ESR zero leads. Amplifier: inversion and integrator 270°, the
  // zero leads, the pole lags.
  n.PM = toSingle(360 - (atanDeg(fc / in.fpo) - atanDeg(fc / in.fesr)) -
                  ((270 - atanDeg(fc / in.fz1)) + atanDeg(v)));
  return n;
}

}  // namespace

CurrentModeResults currentModeCompensation(const CurrentModeInputs& in) {
  CurrentModeResults r;
  const double RL = double{in.Vo} / in.Io;
  // The compensation ramp, as a current slope Vse·fsw/Ri, over the inductor current's on-slope
  // Vin/L; plus one, less one half.
  r.Q = (double{in.Vse} * in.fsw * 1000 / in.Ri) / (in.Vin / (in.L * 0.000001)) + 1.0 - 0.5;
  const double Dp = 1 - double{in.D};
  // The modulator with its sampling gain and the load appear to the output capacitor as one
  // resistance Rx.
  r.Rx = 1 / (Dp * Dp * Dp * r.Q / (double{in.fsw} * 1000 * in.L * 0.000001) + (in.D + 1.0) / RL);
  r.G = r.Rx / (in.Ri / Dp);
  r.GdB = toSingle(20 * std::log10(r.G));
  r.fp = toSingle(1 / (r.Rx * in.Co * kTwoPiPageMicro));
  r.fz = toSingle(1 / (double{in.ESR} * in.Co * kTwoPiPageMicro));
  // The amplifier's integrator must cross where the loop is to cross, divided by the stage gain.
  r.fEA = toSingle(double{in.fc} * 1000 / r.G);

  switch (in.type) {
    case CurrentModeAmplifier::Transconductance: {
      // The divider y = Vref/Vo feeds the amplifier; y·gm/(2π·C1) is its unity-gain frequency.
      const double y = double{in.Vref} / in.Vo;
      r.C1F = (y * in.gm) / (r.fEA * kTwoPiPage);
      break;
    }
    case CurrentModeAmplifier::OpAmp:
      r.C1F = 1 / (in.R1 * double{r.fEA} * kTwoPiPage);
      break;
    case CurrentModeAmplifier::None:
      return r;
  }
  // The zero of R2–C1 cancels the output pole; the pole of R2–C2 cancels the ESR zero.
  r.R2 = toSingle(1 / (r.C1F * r.fp * kTwoPiPage));
  r.C1 = toSingle(r.C1F * 1000000);
  r.C2 = toSingle(1 / (r.fz * double{r.R2} * kTwoPiPage) * 1000000);
  return r;
}

double typeIIFlybackEfficiency(double Po) {
  if (Po < 10) return 0.75;
  if (Po <= 30) return 0.8;
  if (Po > 30) return 0.85;
  return std::nan("");  // an undefined power
}

TypeIIStage typeIIControlToOutput(const TypeIIInputs& in) {
  TypeIIStage s;
  s.fesr = toSingle(0.001 / (double{in.ESR} * in.Co * kTwoPiPageMicro));
  switch (in.kind) {
    case TypeIIKind::Forward:
      // The LC filter resonates at 1/(2π·√(L·Co)); L in µH, Co in µF.
      s.fpo = toSingle(0.001 / (std::sqrt(double{in.L} * in.Co * 0.000000000001) * kTwoPiPage));
      // The duty cycle swings over the ramp Vramp and switches the input Vin = Vo/Dmax onto
      // the filter: Vin/Vramp per volt of control.
      s.A = (double{in.Vo} / in.Dmax) / in.Vramp;
      // Gain at the ESR zero: modulator and divider, less 40 dB per decade past the double pole.
      s.Gesr = toSingle(20 * std::log10(s.A) + 20 * std::log10(double{in.Vref} / in.Vo) -
                        40 * std::log10(double{s.fesr} / s.fpo));
      break;
    case TypeIIKind::DcmFlyback:
      // The lightest load sets the lowest output pole. A DCM flyback's output is a current
      // source whose own output resistance equals the load: the pole lies at 2/(2π·RL·Co).
      s.RL = double{in.Vo} / in.Iomin;
      s.fpo = toSingle(2 * 0.001 / (in.Co * s.RL * kTwoPiPageMicro));
      s.Po = double{in.Iomax} * in.Vo;
      s.eta = typeIIFlybackEfficiency(s.Po);
      // A DCM flyback delivers a power set by the peak current, not a voltage: its gain from
      // the ramp goes with the input and √(RL·T·η / 2Lp).
      s.G0 = (double{in.Vinmax} / in.Vramp) *
             std::sqrt((0.001 / in.fsw) * s.RL * s.eta / (2 * in.L * 0.000001));
      s.Gesr = toSingle(20 * std::log10(s.G0) - 20 * std::log10(double{s.fesr} / s.fpo));
      break;
    case TypeIIKind::None:
      return {};
  }
  return s;
}

TypeIINetwork typeIINetwork(const TypeIIInputs& in) {
  switch (in.kind) {
    case TypeIIKind::Forward:
      return forwardNetwork(in);
    case TypeIIKind::DcmFlyback:
      return flybackNetwork(in);
    case TypeIIKind::None:
      break;
  }
  TypeIINetwork n;
  n.fp1 = in.fp1;
  n.fz1 = in.fz1;
  return n;
}

TypeIIIResults typeIIINetwork(const TypeIIIInputs& in) {
  TypeIIIResults r;
  const double R1 = in.R1;
  r.k = std::pow(10.0, in.GdB * kDbToDecade);
  // The network's mid-band gain k at fc is set by C1 against R1 (kHz × kΩ, nF).
  r.C1 = toSingle(r.k * 1000000000 / (in.fc * R1 * kTwoPiPageMega));
  r.fEA = toSingle(0.001 / (double{r.C1} * R1 * kTwoPiPageMicro));
  // fz2 = 1/(2π(R1+R3)C2) and fp1 = 1/(2π·R3·C2): their periods differ by 2π·R1·C2.
  r.C2 = toSingle((1 / double{in.fz2} - 1 / double{in.fp1}) * (1 / (R1 * kTwoPiPageMega)) *
                  1000000000);
  r.R2 = toSingle(double{r.fEA} / in.fz1 * R1);
  // C3 in series with C1 through R2 makes fp2; 1/C3 = 2π(R2·fp2 − R1·fEA).
  r.C3 = toSingle(1e12 /
                  ((double{r.R2} * in.fp2 * 1000000 - double{r.fEA} * R1 * 1000000) * kTwoPiPage));
  r.R3 = toSingle(R1 * in.fz2 * 1000000 / (double{in.fp1} * 1000 - double{in.fz2} * 1000) *
                  double{0.001f});
  return r;
}

}  // namespace tarnex
