// The design checks of the windows whose transformer only passes the energy on: the forward,
// the push-pull and the two bridges. Behind the rectifier each is a buck: the secondary
// voltage (the primary's times Ns / Np as wound) less the rectifier's drop, into the output
// inductor, freewheeling through a diode (the forward's) or both halves of the centre-tapped
// rectifier (the others, whose inductor sees twice the switching frequency).
#include <algorithm>
#include <cmath>

#include "designs/check_text.h"
#include "designs/design_check.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

using namespace check;

// The output inductor behind the rectifier, at a secondary voltage Vs.
Stage behindRectifier(double Vs, double Vdf, double Vo, double Io, double Lo, double f) {
  return Stage{StageKind::Buck, Vs, Vdf, Vdf, Vo, Io, Lo, f};
}

// The output inductor's ripple at both ends against the 0.4·Io it is designed for at the
// highest input.
void inductorFindings(std::vector<Finding>& f, const StagePoint& low, const StagePoint& high,
                      double Io) {
  if (high.conduction == Conduction::Discontinuous) {
    add(f, Severity::Warning, "最高输入满载时输出电感电流断续");
    return;
  }
  const std::string text =
      fill("输出电感纹波在最高输入时为 {} Io，在最低输入时为 {} Io（设计 0.4 Io）",
           {num(high.ripple() / Io), num(low.ripple() / Io)});
  add(f, high.ripple() > 0.44 * Io ? Severity::Warning : Severity::Info, text);
}

// The stage at the peak of the lowest and of the highest input, regulated there.
template <class Check, class StageAt>
bool regulatedAtBothEnds(Check& c, StageAt stage, double Vmin, double Vpk) {
  c.lowStage = stage(Vmin);
  c.highStage = stage(Vpk);
  c.low = regulate(c.lowStage);
  c.high = regulate(c.highStage);
  return c.low.valid && c.high.valid;
}

// The output the longest on-time (tonMax, at Dmax) gives at the lowest input, and the bulk
// capacitor's valley (2 µF per watt of input power assumed) with the duty cycle the stage
// needs there against Dmax.
template <class Check, class Inputs, class StageAt>
void atTheDutyLimit(Check& c, StageAt stage, const Inputs& in, double tonMax) {
  const double R = double{in.Vo} / in.Io;
  c.reachedLow = driveAt(c.lowStage, tonMax, R);
  reachFinding(c.findings, c.reachedLow.valid ? c.reachedLow.Vo : 0, in.Vo,
               fill("最低输入、最大占空比 {}", {num(in.Dmax)}));
  const double Pin = double{in.Vo} * in.Io * 100 / in.Eff;
  const double C = kBulkPerWatt * Pin;
  c.valley = bulkValley(in.VacMin, Pin, C);
  c.atValley = regulate(stage(c.valley));
  const StagePoint limit = driveAt(stage(c.valley), tonMax, R);
  valleyFinding(c.findings, C, true, c.valley, acPeak(in.VacMin), c.atValley, in.Dmax,
                limit.valid ? limit.Vo : 0);
}

// The bridge's circuit at p (the output inductor's, at twice the switching frequency) for the
// loss sheet, its flux peaking at `Bpeak` gauss and swinging from −B to +B. In one switching
// period the primary carries the inductor current divided by n in each on-time, the second
// one reversed (a push-pull half: only the first); a secondary half carries all of it in its
// own on-time and half of it while both halves freewheel.
magnetics::CircuitValues bridgeCircuit(BridgeKind kind, const StagePoint& p, double Bpeak,
                                       double primaryRms, double secondaryRms) {
  magnetics::CircuitValues v;
  v.Bpeak = Bpeak * 1e-4;
  v.swing = 2 * v.Bpeak;
  v.primaryRms = primaryRms;
  v.secondaryRms = secondaryRms;
  if (!usable(p.T)) return v;
  const double on = p.Ton / (2 * p.T), end = std::min(0.5, (p.Ton + p.Toff) / (2 * p.T));
  const double a = p.iStart, b = p.iPeak;
  v.primary = kind == BridgeKind::PushPull
                  ? magnetics::pulse(0, on, a, b)
                  : magnetics::Waveform{{0, 0},    {0, a},         {on, b},       {on, 0}, {0.5, 0},
                                        {0.5, -a}, {0.5 + on, -b}, {0.5 + on, 0}, {1, 0}};
  v.secondary = {{0, a},   {on, b},       {on, b / 2},       {end, a / 2},       {0.5, a / 2},
                 {0.5, 0}, {0.5 + on, 0}, {0.5 + on, b / 2}, {0.5 + end, a / 2}, {1, a / 2}};
  return v;
}

}  // namespace

ForwardCheck checkForward(const ForwardInputs& in, const ForwardDesign& d) {
  ForwardCheck c;
  if (!usable(d.Np, d.Ns, d.Lo, in.Vo, in.Io, in.f)) return c;
  c.n = double{d.Np} / d.Ns;
  const double Vmin = acPeak(in.VacMin);
  const double Vpk = acPeak(in.VacMax);
  const double T = 1000 / double{in.f};
  auto stage = [&](double Vin) {
    return behindRectifier(Vin / c.n, in.Vdf, in.Vo, in.Io, d.Lo, in.f);
  };
  std::vector<Finding>& f = c.findings;
  if (!regulatedAtBothEnds(c, stage, Vmin, Vpk)) return c;

  // The core resets to zero each period: the peak is the whole swing of the longest on-time.
  if (usable(in.Ae)) c.Bpeak = Vmin * in.Dmax * T * 1e4 / (d.Np * in.Ae);
  fluxFinding(f, c.Bpeak, in.Bpk, 0);

  // A reset winding of Nr turns resets the core in Np/Nr of the on-time; with Nr = Np the
  // on-time may take at most half the period.
  constexpr double kResetLimit = 0.5;
  if (in.Dmax > kResetLimit) {
    add(f, Severity::Failure,
        fill("最大占空比 {} 超过 Nr/(Np+Nr) = "
             "0.5（复位绕组与初级等匝）：磁芯来不及复位，逐周期走向饱和",
             {num(in.Dmax)}));
  } else if (in.Dmax == kResetLimit) {
    add(f, Severity::Warning, "最大占空比等于 Nr/(Np+Nr) = 0.5：复位没有余量");
  }

  atTheDutyLimit(c, stage, in, in.Dmax * T);

  // While the core resets, the reset winding holds the input across itself and the switch
  // sees the input once more.
  c.switchPeak = 2 * Vpk;
  add(f, Severity::Info,
      fill("最高输入时开关管承受约 {} V（复位绕组与初级等匝，不含漏感尖峰）", {num(c.switchPeak)}));

  inductorFindings(f, c.low, c.high, in.Io);
  capacitorFinding(f, std::max(c.low.capacitorRms, c.high.capacitorRms), 0, 0);
  // The secondary carries the inductor current while the switch conducts, the primary the
  // same divided by n.
  const double secondary = std::max(c.low.switchRms, c.high.switchRms);
  // The flux of the loss sheet rises from zero over Dmax, as the window has it: the peak is
  // the swing.
  c.circuit.emplace();
  c.circuit->Bpeak = c.circuit->swing = c.Bpeak * 1e-4;
  c.circuit->primaryRms = secondary / c.n;
  c.circuit->secondaryRms = secondary;
  if (usable(c.low.T)) {
    c.circuit->primary = magnetics::pulse(0, c.low.duty(), c.low.iStart, c.low.iPeak);
    c.circuit->secondary = c.circuit->primary;
  }
  currentFinding(f, "初级电流有效值", d.Irmsp, secondary / c.n);
  currentFinding(f, "次级电流有效值", d.Irmss, secondary);
  wireFinding(f, "初级线径", d.Dp, in.f);
  wireFinding(f, "次级线径", d.Ds, in.f);
  return c;
}

BridgeCheck checkBridge(BridgeKind kind, const BridgeInputs& in, const BridgeDesign& d) {
  BridgeCheck c;
  if (!usable(d.Np, d.Ns, d.Lo, in.Vo, in.Io, in.f)) return c;
  c.n = double{d.Np} / d.Ns;
  const double Vmin = acPeak(in.VacMin);
  const double Vpk = acPeak(in.VacMax);
  // Each switch (or diagonal) conducts once a period, the two in turn: the rectified output
  // and the inductor see twice the switching frequency.
  const double fL = 2.0 * in.f;
  const double halfPeriod = 1000 / fL;
  auto stage = [&](double Vin) {
    return behindRectifier(bridgePrimaryVoltage(kind, Vin) / c.n, in.Vdf, in.Vo, in.Io, d.Lo, fL);
  };
  std::vector<Finding>& f = c.findings;
  if (!regulatedAtBothEnds(c, stage, Vmin, Vpk)) return c;

  // The flux swings from −B to +B: the peak is half the swing of one on-time.
  if (usable(in.Ae)) {
    c.Bpeak = bridgePrimaryVoltage(kind, Vmin) * in.Dmax * halfPeriod * 1e4 / (2 * d.Np * in.Ae);
  }
  fluxFinding(f, c.Bpeak, in.DB, 0, "1/2△B");

  atTheDutyLimit(c, stage, in, in.Dmax * halfPeriod);

  // An off switch of the push-pull holds the input twice (its own half of the primary and the
  // other's); a bridge's switch holds the input.
  c.switchPeak = kind == BridgeKind::PushPull ? 2 * Vpk : Vpk;
  add(f, Severity::Info, fill("最高输入时开关管承受约 {} V（不含漏感尖峰）", {num(c.switchPeak)}));

  inductorFindings(f, c.low, c.high, in.Io);
  capacitorFinding(f, std::max(c.low.capacitorRms, c.high.capacitorRms), 0, 0);
  // A secondary half carries the inductor current while its switch conducts (every other
  // on-time) and half of it while both halves freewheel; the primary (a half of the push-pull's,
  // which conducts every other on-time) carries the on-time current divided by n.
  auto primary = [&](const StagePoint& p) {
    return (kind == BridgeKind::PushPull ? p.switchRms / std::sqrt(2.0) : p.switchRms) / c.n;
  };
  auto secondaryHalf = [](const StagePoint& p) {
    return std::sqrt(p.switchRms * p.switchRms / 2 + p.diodeRms * p.diodeRms / 4);
  };
  c.circuit = bridgeCircuit(kind, c.low, c.Bpeak, std::max(primary(c.low), primary(c.high)),
                            std::max(secondaryHalf(c.low), secondaryHalf(c.high)));
  currentFinding(f, "初级电流有效值", d.Irmsp, c.circuit->primaryRms);
  currentFinding(f, "次级电流有效值", d.Irmss, c.circuit->secondaryRms);
  wireFinding(f, "初级线径", d.Dp, in.f);
  wireFinding(f, "次级线径", d.Ds, in.f);
  return c;
}

}  // namespace tarnex
