#include "loop/bode.h"

#include <cmath>
#include <complex>
#include <functional>
#include <initializer_list>
#include <limits>
#include <numbers>

namespace tarnex {

namespace {

using Complex = std::complex<double>;
// A transfer function of the complex frequency s (rad/s); empty when not modelled.
using Transfer = std::function<Complex(Complex s)>;

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kDegreesPerRadian = 180 / std::numbers::pi;
// Bisection steps that pin the crossover between two neighbouring points far below a
// double's resolution.
constexpr int kBisections = 60;

bool positive(double x) {
  return std::isfinite(x) && x > 0;
}

template <class... T>
bool allPositive(T... x) {
  return (positive(x) && ...);
}

// Corner frequency in Hz of a time constant in seconds.
double cornerHz(double tau) {
  return 1 / (kTwoPi * tau);
}

// R2 in series with C1, the pair shunted by C2 (ohms, farads): the feedback impedance of the
// type II network, and of the type III network with C3 in the place of C2.
Complex feedbackImpedance(Complex s, double R2, double C1, double C2) {
  return 1.0 / (s * C1 / (1.0 + s * R2 * C1) + s * C2);
}

// A plot's frequencies, in the page's unit, and the complex frequency of each.
struct Axis {
  std::vector<double> f;
  double hzPerUnit = 1;
  Complex s(double fUnit) const { return {0, kTwoPi * fUnit * hzPerUnit}; }
};

// Two decades below the lowest of the marks to a decade above the highest; marks that are not
// finite and positive are ignored, and without any the axis is empty.
Axis makeAxis(std::initializer_list<double> marks, double hzPerUnit) {
  Axis axis;
  axis.hzPerUnit = hzPerUnit;
  double lo = std::numeric_limits<double>::infinity();
  double hi = 0;
  for (const double m : marks) {
    if (!positive(m)) continue;
    lo = std::fmin(lo, m);
    hi = std::fmax(hi, m);
  }
  if (hi == 0) return axis;
  lo /= 100;
  hi *= 10;
  const double span = std::log(hi / lo);
  axis.f.reserve(kBodePoints);
  for (int i = 0; i < kBodePoints; ++i) {
    axis.f.push_back(lo * std::exp(span * i / (kBodePoints - 1)));
  }
  return axis;
}

// The phase plus whole turns that brings it nearest to the reference.
double unwrapNear(double phaseDeg, double referenceDeg) {
  return phaseDeg + 360 * std::round((referenceDeg - phaseDeg) / 360);
}

double phaseDegOf(Complex v) {
  return std::arg(v) * kDegreesPerRadian;
}

BodeTrace traceOf(const Axis& axis, const Transfer& h) {
  BodeTrace t;
  t.gainDb.reserve(axis.f.size());
  t.phaseDeg.reserve(axis.f.size());
  for (const double f : axis.f) {
    const Complex v = h(axis.s(f));
    t.gainDb.push_back(20 * std::log10(std::abs(v)));
    const double phase = phaseDegOf(v);
    t.phaseDeg.push_back(t.phaseDeg.empty() ? phase : unwrapNear(phase, t.phaseDeg.back()));
  }
  return t;
}

// The highest frequency of the plot at which the loop gain falls through 0 dB.
std::optional<LoopCrossover> findCrossover(const Axis& axis, const BodeTrace& loop,
                                           const Transfer& t) {
  if (loop.gainDb.size() < 2) return std::nullopt;
  for (std::size_t i = loop.gainDb.size() - 1; i-- > 0;) {
    if (!(loop.gainDb[i] >= 0 && loop.gainDb[i + 1] < 0)) continue;
    double lo = std::log(axis.f[i]);
    double hi = std::log(axis.f[i + 1]);
    for (int n = 0; n < kBisections; ++n) {
      const double mid = (lo + hi) / 2;
      if (std::abs(t(axis.s(std::exp(mid)))) >= 1) {
        lo = mid;
      } else {
        hi = mid;
      }
    }
    LoopCrossover c;
    c.f = std::exp((lo + hi) / 2);
    c.phaseDeg = unwrapNear(phaseDegOf(t(axis.s(c.f))), loop.phaseDeg[i]);
    c.phaseMargin = 180 + c.phaseDeg;
    return c;
  }
  return std::nullopt;
}

BodePlot plotOf(Axis axis, const Transfer& stage, const Transfer& compensator) {
  BodePlot plot;
  plot.unit = axis.hzPerUnit == 1 ? "Hz" : "kHz";
  if (axis.f.empty()) return plot;
  if (compensator) plot.compensator = traceOf(axis, compensator);
  if (stage) plot.stage = traceOf(axis, stage);
  if (stage && compensator) {
    // Gains in dB and unwrapped phases add along the cascade.
    plot.loop = plot.stage;
    for (std::size_t i = 0; i < axis.f.size(); ++i) {
      plot.loop.gainDb[i] += plot.compensator.gainDb[i];
      plot.loop.phaseDeg[i] += plot.compensator.phaseDeg[i];
    }
    const Transfer loop = [&](Complex s) { return stage(s) * compensator(s); };
    plot.crossover = findCrossover(axis, plot.loop, loop);
  }
  plot.f = std::move(axis.f);
  return plot;
}

// Control to output with a DC gain G, `order` coincident real poles at fpo and a zero at fz
// (all in Hz).
Transfer poleZeroStage(double G, double fpo, int order, double fz) {
  if (!allPositive(G, fpo, fz)) return {};
  const double wp = kTwoPi * fpo;
  const double wz = kTwoPi * fz;
  return [=](Complex s) { return G * (1.0 + s / wz) / std::pow(1.0 + s / wp, order); };
}

}  // namespace

BodePlot currentModeBode(const CurrentModeInputs& in, const CurrentModeResults& r) {
  const double R2 = r.R2;
  const double C1 = r.C1 * 1e-6;
  const double C2 = r.C2 * 1e-6;
  const double fZero = cornerHz(R2 * C1);
  const double fPole = cornerHz(R2 * C1 * C2 / (C1 + C2));
  Axis axis = makeAxis({r.fp, r.fz, r.fEA, in.fc * 1000.0, in.fsw * 1000.0, fZero, fPole}, 1.0);

  Transfer compensator;
  switch (in.type) {
    case CurrentModeAmplifier::Transconductance: {
      // The amplifier's output current gm·y·v drives the network to ground.
      const double ygm = double{in.Vref} / in.Vo * in.gm;
      if (allPositive(ygm, R2, C1, C2)) {
        compensator = [=](Complex s) { return ygm * feedbackImpedance(s, R2, C1, C2); };
      }
      break;
    }
    case CurrentModeAmplifier::OpAmp: {
      const double R1 = in.R1;
      if (allPositive(R1, R2, C1, C2)) {
        compensator = [=](Complex s) { return feedbackImpedance(s, R2, C1, C2) / R1; };
      }
      break;
    }
    case CurrentModeAmplifier::None:
      break;
  }
  const Transfer stage = poleZeroStage(std::pow(10.0, r.GdB / 20.0), r.fp, 1, r.fz);
  return plotOf(std::move(axis), stage, compensator);
}

BodePlot typeIIBode(const TypeIIInputs& in, const TypeIINetwork& n) {
  const double R1 = in.R1;
  const double R2 = n.R2;
  const double C1 = n.C1 * 1e-12;
  const double C2 = n.C2 * 1e-12;
  const double fZero = cornerHz(R2 * C1) / 1000;
  const double fPole = cornerHz(R2 * C1 * C2 / (C1 + C2)) / 1000;
  Axis axis = makeAxis({in.fpo, in.fesr, in.fc, in.fsw, fZero, fPole}, 1000);

  Transfer compensator;
  if (allPositive(R1, R2, C1, C2)) {
    compensator = [=](Complex s) { return feedbackImpedance(s, R2, C1, C2) / R1; };
  }
  Transfer stage;
  const int order = in.kind == TypeIIKind::Forward ? 2 : in.kind == TypeIIKind::DcmFlyback ? 1 : 0;
  if (order > 0) {
    // Above the poles the asymptote falls by 20·order dB per decade; it meets Gesr at fesr.
    const double fesrOverFpo = double{in.fesr} / in.fpo;
    const double dcGainDb = in.Gesr + 20.0 * order * std::log10(fesrOverFpo);
    stage = poleZeroStage(std::pow(10.0, dcGainDb / 20), in.fpo * 1000.0, order, in.fesr * 1000.0);
  }
  return plotOf(std::move(axis), stage, compensator);
}

BodePlot typeIIIBode(const TypeIIIInputs& in, const TypeIIIResults& r) {
  const double R1 = in.R1 * 1e3;
  const double R2 = r.R2 * 1e3;
  const double R3 = r.R3 * 1e3;
  const double C1 = r.C1 * 1e-9;
  const double C2 = r.C2 * 1e-9;
  const double C3 = r.C3 * 1e-12;
  // The network's poles and zeros, kHz.
  const double fp0 = cornerHz(R1 * (C1 + C3)) / 1000;
  const double fp1 = cornerHz(R3 * C2) / 1000;
  const double fp2 = cornerHz(R2 * (C1 * C3 / (C1 + C3))) / 1000;
  const double fz1 = cornerHz(R2 * C1) / 1000;
  const double fz2 = cornerHz((R1 + R3) * C2) / 1000;
  Axis axis = makeAxis({fp0, fp1, fp2, fz1, fz2, in.fc}, 1000);

  Transfer compensator;
  if (allPositive(R1, R2, R3, C1, C2, C3)) {
    // Feedback R2–C1 shunted by C3; input R1 shunted by R3–C2.
    compensator = [=](Complex s) {
      const Complex inputAdmittance = 1.0 / R1 + s * C2 / (1.0 + s * R3 * C2);
      return feedbackImpedance(s, R2, C1, C3) * inputAdmittance;
    };
  }
  return plotOf(std::move(axis), {}, compensator);
}

}  // namespace tarnex
