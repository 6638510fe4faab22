#include "loop/bode.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>

#include "base/number_text.h"

namespace tarnex {

using namespace exact;

namespace {

// Bisection steps that pin the crossover between two neighbouring points far below a
// double's resolution.
constexpr int kBisections = 60;

// Corner frequency in Hz of a time constant in seconds.
double cornerHz(double tau) {
  return 1 / (kTwoPi * tau);
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

BodeTrace traceOf(const Axis& axis, const Transfer& h) {
  BodeTrace t;
  t.gainDb.reserve(axis.f.size());
  t.phaseDeg.reserve(axis.f.size());
  for (const double f : axis.f) {
    const Complex v = h(axis.s(f));
    t.gainDb.push_back(20 * std::log10(std::abs(v)));
    const double phase = phaseDeg(v);
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
    c.phaseDeg = unwrapNear(phaseDeg(t(axis.s(c.f))), loop.phaseDeg[i]);
    c.phaseMargin = 180 + c.phaseDeg;
    return c;
  }
  return std::nullopt;
}

// The loop of one network with the stage: its traces (gains in dB and unwrapped phases add
// along the cascade), its crossover, and its gain margin at half the switching frequency.
struct LoopOf {
  BodeTrace loop;
  std::optional<LoopCrossover> crossover;
  std::optional<double> gainMargin;
};

LoopOf loopOf(const Axis& axis, const BodeTrace& stageTrace, const BodeTrace& compTrace,
              const Transfer& stage, const Transfer& compensator, double halfSwitching) {
  LoopOf l;
  if (!stage || !compensator) return l;
  l.loop = stageTrace;
  for (std::size_t i = 0; i < axis.f.size(); ++i) {
    l.loop.gainDb[i] += compTrace.gainDb[i];
    l.loop.phaseDeg[i] += compTrace.phaseDeg[i];
  }
  const Transfer loop = [&](Complex s) { return stage(s) * compensator(s); };
  l.crossover = findCrossover(axis, l.loop, loop);
  if (positive(halfSwitching)) {
    const double gain = std::abs(loop(axis.s(halfSwitching)));
    if (std::isfinite(gain) && gain > 0) l.gainMargin = -20 * std::log10(gain);
  }
  return l;
}

BodePlot plotOf(Axis axis, const Transfer& stage, const Transfer& compensator, double halfSwitching,
                const Transfer& exactCompensator) {
  BodePlot plot;
  plot.unit = axis.hzPerUnit == 1 ? "Hz" : "kHz";
  plot.halfSwitching = positive(halfSwitching) ? halfSwitching : 0;
  if (axis.f.empty()) return plot;
  if (compensator) plot.compensator = traceOf(axis, compensator);
  if (stage) plot.stage = traceOf(axis, stage);
  LoopOf page = loopOf(axis, plot.stage, plot.compensator, stage, compensator, halfSwitching);
  plot.loop = std::move(page.loop);
  plot.crossover = page.crossover;
  plot.gainMargin = page.gainMargin;
  if (exactCompensator) {
    ExactLoop e;
    e.compensator = traceOf(axis, exactCompensator);
    LoopOf exact = loopOf(axis, plot.stage, e.compensator, stage, exactCompensator, halfSwitching);
    e.loop = std::move(exact.loop);
    e.crossover = exact.crossover;
    e.gainMargin = exact.gainMargin;
    plot.exact = std::move(e);
  }
  plot.f = std::move(axis.f);
  return plot;
}

ComponentPair pairOf(const char* label, float page, float exact) {
  return {label, formatFieldValue(page), formatFieldValue(exact)};
}

// The corners of R2–C1 ∥ C2, in Hz: its zero and its pole.
std::pair<double, double> zeroPoleCorners(double R2, double C1, double C2) {
  return {cornerHz(R2 * C1), cornerHz(R2 * C1 * C2 / (C1 + C2))};
}

Transfer typeIIIOf(const TypeIIIInputs& in, const TypeIIIResults& r) {
  return typeIIINetworkTransfer(in.R1 * 1e3, r.R2 * 1e3, r.R3 * 1e3, r.C1 * 1e-9, r.C2 * 1e-9,
                                r.C3 * 1e-12);
}

}  // namespace

BodePlot currentModeBode(const CurrentModeInputs& in, const CurrentModeResults& r,
                         const CurrentModeExact* exact) {
  const double gain = currentModeAmplifierGain(in);
  const auto [fZero, fPole] = zeroPoleCorners(r.R2, r.C1 * 1e-6, r.C2 * 1e-6);
  const CurrentModeStage st = currentModeStage(in, r);
  Axis axis =
      makeAxis({r.fp, r.fz, r.fEA, in.fc * 1000.0, in.fsw * 1000.0, fZero, fPole, st.fRHP}, 1.0);
  const Transfer compensator = zeroPoleNetwork(gain, r.R2, r.C1 * 1e-6, r.C2 * 1e-6);
  Transfer exactNetwork;
  if (exact) exactNetwork = zeroPoleNetwork(gain, exact->R2, exact->C1 * 1e-6, exact->C2 * 1e-6);
  BodePlot plot = plotOf(std::move(axis), stageTransfer(st), compensator, st.fn, exactNetwork);
  if (plot.exact) {
    plot.exact->components = {pairOf("C1(μF)", r.C1, exact->C1), pairOf("R2(Ω)", r.R2, exact->R2),
                              pairOf("C2(μF)", r.C2, exact->C2)};
  }
  return plot;
}

BodePlot typeIIBode(const TypeIIInputs& in, const TypeIINetwork& n, const TypeIIExact* exact) {
  const double R1 = in.R1;
  const auto [zeroHz, poleHz] = zeroPoleCorners(n.R2, n.C1 * 1e-12, n.C2 * 1e-12);
  Axis axis = makeAxis({in.fpo, in.fesr, in.fc, in.fsw, zeroHz / 1000, poleHz / 1000}, 1000);
  const Transfer compensator = zeroPoleNetwork(1 / R1, n.R2, n.C1 * 1e-12, n.C2 * 1e-12);
  Transfer exactNetwork;
  if (exact) {
    exactNetwork = zeroPoleNetwork(1 / R1, exact->R2, exact->C1 * 1e-12, exact->C2 * 1e-12);
  }
  BodePlot plot =
      plotOf(std::move(axis), typeIIStageTransfer(in), compensator, in.fsw / 2.0, exactNetwork);
  if (plot.exact) {
    plot.exact->components = {
        pairOf("C1(pF)", n.C1, exact->C1),     pairOf("C2(pF)", n.C2, exact->C2),
        pairOf("R2(Ω)", n.R2, exact->R2),      pairOf("fz1(KHz)", n.fz1, exact->fz1),
        pairOf("fp1(KHz)", n.fp1, exact->fp1),
    };
  }
  return plot;
}

BodePlot typeIIIBode(const TypeIIIInputs& in, const TypeIIIResults& r, const TypeIIIExact* exact) {
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
  Transfer exactNetwork;
  if (exact) exactNetwork = typeIIIOf(in, exact->network);
  BodePlot plot = plotOf(std::move(axis), {}, typeIIIOf(in, r), 0, exactNetwork);
  if (plot.exact) {
    const TypeIIIResults& e = exact->network;
    plot.exact->components = {pairOf("C1(nF)", r.C1, e.C1), pairOf("C2(nF)", r.C2, e.C2),
                              pairOf("C3(pF)", r.C3, e.C3), pairOf("R2(KΩ)", r.R2, e.R2),
                              pairOf("R3(KΩ)", r.R3, e.R3)};
  }
  return plot;
}

}  // namespace tarnex
