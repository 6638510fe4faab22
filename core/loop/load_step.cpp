#include "loop/load_step.h"

#include <algorithm>
#include <cmath>

namespace tarnex {

using namespace exact;

namespace {

// 1 + tau·s.
Polynomial corner(double tau) {
  return {1.0, tau};
}

// The pole 1/((R + ESR)·C) of a resistance with a capacitor and its ESR, from the pole
// without the ESR and the ESR zero (rad/s).
double withEsr(double wp, double wz) {
  return wp * wz / (wp + wz);
}

// The amplifier's R2–C1 ∥ C2 network (Ω, F) behind `gain`: gain·(1 + s·R2·C1) /
// (s·(C1 + C2) + s²·R2·C1·C2), its numerator and denominator; nothing without usable parts.
std::optional<Rational> zeroPole(double gain, double R2, double C1, double C2) {
  if (!allPositive(gain, R2, C1, C2)) return std::nullopt;
  return Rational{gain * corner(R2 * C1), {0.0, C1 + C2, R2 * C1 * C2}};
}

// A stage Zo = zoNum/zoDen and T = stageNum·network/(zoDen·network.den), for the page's
// network and the exact design's: the loops of the model.
struct StageOfLoop {
  Polynomial zoNum;     // Zo's numerator
  Polynomial stageNum;  // the control-to-output numerator over Zo's denominator...
  Polynomial extraDen;  // ...and over this further factor (current mode: the sampling poles)
  Polynomial zoDen;
};

void addLoop(LoadStepModel& model, const char* name, const StageOfLoop& st,
             const std::optional<Rational>& network) {
  if (!network) return;
  const Rational loop{st.stageNum * network->num, st.zoDen * st.extraDen * network->den};
  model.loops.push_back({name,
                         {st.zoNum, st.zoDen},
                         closedLoopImpedance(st.zoNum, st.extraDen * network->den, loop)});
}

std::optional<LoadStepModel> modelOf(double load, const StageOfLoop& st,
                                     const std::optional<Rational>& page,
                                     const std::optional<Rational>& exactNetwork) {
  if (!positive(load)) return std::nullopt;
  LoadStepModel model;
  model.load = load;
  addLoop(model, "page", st, page);
  addLoop(model, "exact", st, exactNetwork);
  if (model.loops.empty()) return std::nullopt;
  return model;
}

// The sample of `v` nearest to time t.
double sampleAt(const std::vector<double>& v, double dt, double t) {
  const auto i = static_cast<std::size_t>(std::llround(t / dt));
  return v[std::min(i, v.size() - 1)];
}

}  // namespace

Rational closedLoopImpedance(const Polynomial& zoNum, const Polynomial& loopDenOverZoDen,
                             const Rational& loop) {
  return {trimmed(zoNum * loopDenOverZoDen), trimmed(loop.den + loop.num)};
}

std::optional<LoadStepModel> currentModeLoadStepModel(const CurrentModeInputs& in,
                                                      const CurrentModeResults& r,
                                                      const CurrentModeExact* exact) {
  if (in.type == CurrentModeAmplifier::None) return std::nullopt;
  const double gain = currentModeAmplifierGain(in);
  const CurrentModeStage st = currentModeStage(in, r);
  if (!allPositive(st.G, st.fp, st.fz, st.fRHP, st.fn, r.Rx) || !std::isfinite(st.Qs) ||
      st.Qs == 0) {
    return std::nullopt;
  }
  // The stage as loop_model.h has it: G·(1 + s/ωz)(1 − s/ωrhp) / ((1 + s/ωp')(1 + s/(ωn·Qs) +
  // s²/ωn²)); its output impedance Rx·(1 + s/ωz)/(1 + s/ωp').
  const double wz = kTwoPi * st.fz, wr = kTwoPi * st.fRHP, wn = kTwoPi * st.fn;
  const double wp = withEsr(kTwoPi * st.fp, wz);
  const Polynomial esrZero = corner(1 / wz);
  StageOfLoop stage;
  stage.zoNum = r.Rx * esrZero;
  stage.zoDen = corner(1 / wp);
  stage.stageNum = st.G * esrZero * corner(-1 / wr);
  stage.extraDen = {1.0, 1 / (wn * st.Qs), 1 / (wn * wn)};
  std::optional<Rational> exactNetwork;
  if (exact && exact->ok) {
    exactNetwork = zeroPole(gain, exact->R2, exact->C1 * 1e-6, exact->C2 * 1e-6);
  }
  return modelOf(in.Io, stage, zeroPole(gain, r.R2, r.C1 * 1e-6, r.C2 * 1e-6), exactNetwork);
}

std::optional<LoadStepModel> typeIILoadStepModel(const TypeIIInputs& in, const TypeIINetwork& n,
                                                 const TypeIIExact* exact) {
  const double fpo = double{in.fpo} * 1000, fesr = double{in.fesr} * 1000;
  if (!allPositive(fpo, fesr) || !std::isfinite(in.Gesr)) return std::nullopt;
  const double wpo = kTwoPi * fpo, wesr = kTwoPi * fesr;
  const Polynomial esrZero = corner(1 / wesr);
  StageOfLoop stage;
  stage.extraDen = {1.0};
  switch (in.kind) {
    case TypeIIKind::Forward: {
      // K·H(s) with H = (1 + s/ωesr)/(1 + s·(L/RL + Rc·Co) + s²·L·Co·(RL + Rc)/RL), L·Co from
      // the double pole; Zo = s·L·H.
      const double K = std::pow(10.0, double{in.Gesr} / 20) * (fesr / fpo) * (fesr / fpo);
      const double RL = double{in.Vo} / in.Iomax;
      const double L = double{in.L} * 1e-6, Co = double{in.Co} * 1e-6, Rc = in.ESR;
      if (!allPositive(K, RL, L, Co, Rc)) return std::nullopt;
      stage.zoDen = {1.0, L / RL + Rc * Co, (RL + Rc) / RL / (wpo * wpo)};
      stage.zoNum = Polynomial{0.0, L} * esrZero;
      stage.stageNum = K * esrZero;
      break;
    }
    case TypeIIKind::DcmFlyback: {
      // G0·H(s) with H = (1 + s/ωesr)/(1 + s/ωp); Zo = (RL/2)·H, RL = Vo/Iomin.
      const double G0 = std::pow(10.0, double{in.Gesr} / 20) * fesr / fpo;
      const double RL = double{in.Vo} / in.Iomin;
      if (!allPositive(G0, RL)) return std::nullopt;
      stage.zoDen = corner(1 / withEsr(wpo, wesr));
      stage.zoNum = (RL / 2) * esrZero;
      stage.stageNum = G0 * esrZero;
      break;
    }
    case TypeIIKind::None:
      return std::nullopt;
  }
  const double R1 = in.R1;
  std::optional<Rational> exactNetwork;
  if (exact && exact->ok) {
    exactNetwork = zeroPole(1 / R1, exact->R2, exact->C1 * 1e-12, exact->C2 * 1e-12);
  }
  return modelOf(in.Iomax, stage, zeroPole(1 / R1, n.R2, n.C1 * 1e-12, n.C2 * 1e-12), exactNetwork);
}

LoadStep loadStepOf(const LoadStepModel& model) {
  LoadStep step;
  step.load = model.load;
  step.step = model.load / 2;
  step.model = model;
  std::vector<Rational> stable;
  for (const LoadStepLoop& loop : model.loops) {
    if (hurwitz(loop.impedance.den)) stable.push_back(loop.impedance);
  }
  const StepTiming timing = stepTiming(stable, kStepSamples);
  std::vector<std::vector<double>> samples;
  double shown = 0;
  for (const LoadStepLoop& loop : model.loops) {
    LoadStepTrace trace;
    trace.name = loop.name;
    trace.stable = hurwitz(loop.impedance.den) && timing.count > 0;
    if (trace.stable) {
      // The load draws ΔI more: the output falls by ΔI·Zcl.
      const Rational& z = loop.impedance;
      samples.push_back(sampledStep(z, -step.step, timing.dt, timing.count));
      trace.reading =
          readStep(samples.back(), timing.dt, 0.0 - step.step * z.num[0] / z.den[0], kSettlingBand);
      const double settled = trace.reading.settling >= 0 ? 2 * trace.reading.settling : INFINITY;
      shown = std::max({shown, settled, 5 * trace.reading.peakTime});
    } else {
      samples.emplace_back();
    }
    step.traces.push_back(std::move(trace));
  }
  const double run = timing.dt * static_cast<double>(timing.count - (timing.count > 0));
  if (!(shown > 0) || shown > run) shown = run;
  for (std::size_t k = 0; k < step.traces.size(); ++k) {
    LoadStepTrace& trace = step.traces[k];
    if (!trace.stable) continue;
    // The output before the step, to an instant before it, then the shown points from just
    // after it: the plot draws the step as the jump it is.
    for (const double before : {-shown / 20, -shown * 1e-6}) {
      trace.t.push_back(before);
      trace.dv.push_back(0);
    }
    for (std::size_t i = 0; i < kStepShownPoints; ++i) {
      const double t = shown * static_cast<double>(i) / (kStepShownPoints - 1);
      trace.t.push_back(t);
      trace.dv.push_back(sampleAt(samples[k], timing.dt, t));
    }
  }
  return step;
}

}  // namespace tarnex
