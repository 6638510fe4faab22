// The design checks of the two windows whose transformer stores the energy: the flyback and
// the ringing choke. Referred to the secondary, the coupled inductor is a buck-boost with the
// input divided by the turns ratio as wound and the inductance by its square.
#include <algorithm>
#include <cmath>

#include "designs/check_text.h"
#include "designs/design_check.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

using namespace check;

// The coupled inductor seen from the secondary: input V / n, inductance Lp / n².
Stage referred(double Vin, double Vsw, double n, const double Lp, double Vdf, double Vo, double Io,
               double f) {
  return Stage{StageKind::BuckBoost, (Vin - Vsw) / n, 0, Vdf, Vo, Io, Lp / (n * n), f};
}

// A gapped core: the flux follows the magnetising current, B = Lp·Ip / (Np·Ae), with the
// primary's peak the secondary-referred peak divided by n.
double gappedFlux(double Lp, const StagePoint& p, double n, double Np, double Ae) {
  return Lp * (p.iPeak / n) * 1e4 / (Np * Ae);
}

// The coupled inductor's circuit at p for the loss sheet, its flux peaking at `Bpeak` gauss:
// the primary carries the switch's current, the secondary the diode's, and the flux follows
// the magnetising current. With a leakage inductance the switch first takes the current over
// from the diode (Ttake) and the clamp resets the leakage before the diode carries it all
// (Tleak); without, the current passes at once.
magnetics::CircuitValues coupledCircuit(const StagePoint& p, double Bpeak, double primaryRms,
                                        double secondaryRms) {
  magnetics::CircuitValues v;
  v.primaryRms = primaryRms;
  v.secondaryRms = secondaryRms;
  if (!usable(p.T, p.iPeak)) return v;
  const bool leaky = p.Ttake > 0 || p.Tleak > 0;
  const double i0 = leaky ? p.iOff : p.iStart, i1 = p.iStart, pk = p.iPeak;
  const double i2 = leaky ? p.iHanded : pk;
  const double a = p.Ttake / p.T, on = p.Ton / p.T, c = (p.Ton + p.Tleak) / p.T;
  const double end = std::min(1.0, (p.Ton + p.Toff) / p.T);
  v.primary = {{0, 0}, {a, i1}, {on, pk}, {on, 0}, {1, 0}};
  v.secondary = {{0, i0}, {a, 0}, {on, 0}, {c, i2}, {end, i0}, {end, 0}, {1, 0}};
  v.flux = {{0, i0}, {a, i1}, {on, pk}, {c, i2}, {end, i0}, {1, i0}};
  double lo = pk;
  for (const magnetics::WavePoint& w : v.flux) lo = std::min(lo, w.y);
  v.Bpeak = Bpeak * 1e-4;
  v.swing = v.Bpeak * (pk - lo) / pk;
  v.f = 1e6 / p.T;
  return v;
}

std::string frequency(const StagePoint& p) {
  return num(1000 / p.T);
}

void clampFindings(FlybackCheck& c, const FlybackInputs& in, const FlybackDesign& d,
                   const FlybackClamp& clamp) {
  if (!usable(clamp.Rlk, in.Per, d.Lp)) return;
  const double Vpk = acPeak(in.VacMax);
  const double Vc = double{in.Vswm} - in.Vswr - Vpk;  // the clamp voltage the window sizes for
  const double R = clamp.Rlk * 1000;
  // The stage resets its leakage against the clamp: its clamp voltage referred back.
  c.clampLow = c.low.Vclamp * c.n;
  c.clampHigh = c.high.Vclamp * c.n;
  c.switchPeak = Vpk + c.clampHigh;

  const double P = Vc * Vc / R;
  const double share = P / in.Po;
  if (share > 0.1) {
    add(c.findings, Severity::Failure,
        fill("钳位电阻功耗 Vc²/Rlk 约 {} W，占输出功率的 {}（Vc = {} V，漏感 {}%）",
             {num(P), percent(share), num(Vc), num(in.Per)}));
  } else {
    add(c.findings, Severity::Info,
        fill("钳位电阻功耗 Vc²/Rlk 约 {} W，占输出功率的 {}", {num(P), percent(share)}));
  }
  const std::string peak = fill("最高输入时开关管峰值电压约 {} V（钳位 {} V，耐压 {} V）",
                                {num(c.switchPeak), num(c.clampHigh), num(in.Vswm)});
  if (c.switchPeak > in.Vswm) {
    add(c.findings, Severity::Failure, peak + "：超过耐压");
  } else if (c.switchPeak > in.Vswm - in.Vswr) {
    add(c.findings, Severity::Warning, peak + fill("：占用了 {} V 的余量", {num(in.Vswr)}));
  } else {
    add(c.findings, Severity::Info, peak);
  }
}

}  // namespace

FlybackCheck checkFlyback(bool continuous, const FlybackInputs& in, const FlybackDesign& d,
                          const FlybackClamp& clamp) {
  FlybackCheck c;
  if (!usable(d.Np, d.Ns, d.Lp, in.Po, in.Vo, in.f)) return c;
  c.n = double{d.Np} / d.Ns;
  const double Io = double{in.Po} / in.Vo;
  const double Vmin = acPeak(in.VacMin);
  const double Vpk = acPeak(in.VacMax);
  // The leakage inductance, Per % of Lp, is reset at each switch-off by the clamp: by its
  // resistor once the clamp command has sized it, else at the clamp voltage the window designs
  // for, what the switch rating leaves above the margin and the input peak.
  const double Vc = double{in.Vswm} - in.Vswr - Vpk;
  auto stage = [&](double Vin) {
    Stage s = referred(Vin, 0, c.n, d.Lp, in.Vdf, in.Vo, Io, in.f);
    if (usable(in.Per)) {
      s.Llk = in.Per * 0.01 * d.Lp / (c.n * c.n);
      if (usable(clamp.Rlk)) {
        s.Rclamp = clamp.Rlk * 1000 / (c.n * c.n);
      } else {
        s.Vclamp = Vc / c.n;
      }
    }
    return s;
  };
  c.lowStage = stage(Vmin);
  c.highStage = stage(Vpk);
  c.low = regulate(c.lowStage);
  c.high = regulate(c.highStage);
  c.reachedLow = driveAt(c.lowStage, d.Ton, in.Vo / Io);
  std::vector<Finding>& f = c.findings;
  if (!c.low.valid || !c.high.valid) {
    Stage bare = c.lowStage;
    bare.Llk = 0;
    if (c.lowStage.Llk > 0 && regulate(bare).valid) {
      add(f, Severity::Failure,
          fill("漏感 {}% 在关断期间来不及由钳位复位：钳位电压不高于反射电压", {num(in.Per)}));
    }
    return c;
  }

  if (usable(in.Ae)) c.Bpeak = gappedFlux(d.Lp, c.low, c.n, d.Np, in.Ae);
  fluxFinding(f, c.Bpeak, in.Bpk, in.Bsat);

  if (continuous) {
    if (in.r >= 2) {
      add(f, Severity::Failure,
          fill("纹波率 r = {} ≥ 2：电流每周期回到零，这是断续模式的设计", {num(in.r)}));
    } else if (c.low.conduction == Conduction::Discontinuous) {
      add(f, Severity::Failure, "最低输入满载时电流断续，不是连续模式");
    } else if (c.high.conduction == Conduction::Discontinuous) {
      add(f, Severity::Info,
          fill("初级电流纹波率在最低输入时为 {}（设定 {}）；最高输入满载时进入断续模式",
               {num(c.low.rippleRatio()), num(in.r)}));
    } else {
      add(f, Severity::Info,
          fill("初级电流纹波率在最低输入时为 {}（设定 {}），在最高输入时为 {}",
               {num(c.low.rippleRatio()), num(in.r), num(c.high.rippleRatio())}));
    }
  } else if (c.low.conduction == Conduction::Continuous) {
    add(f, Severity::Failure, "最低输入满载时电流连续，不是断续模式");
  } else {
    add(f, Severity::Info,
        fill("最低输入满载时电流为零的时间占周期的 {}（设定死区 {}%）",
             {percent(c.low.Tdead / c.low.T), num(in.Ptd)}));
  }

  if (c.low.Tleak > 0) {
    // While the leakage hands the current over, the secondary delivers less of it.
    const double share = c.low.Tleak / c.low.T;
    add(f, share > 0.1 ? Severity::Warning : Severity::Info,
        fill("漏感 {}% 在最低输入满载时每周期约 {} μs（周期的 {}）才把电流交给次级，"
             "占空比因此要 {}",
             {num(in.Per), num(c.low.Tleak), percent(share), num(c.low.duty())}));
  }

  // The bulk capacitor sags between the line's peaks: the converter meets its lowest input
  // at the valley, not at the peak the design takes.
  const double Pin = double{in.Po} * 100 / in.Eff;
  const bool assumed = !usable(d.Cin);
  const double C = assumed ? kBulkPerWatt * Pin : d.Cin;
  c.valley = bulkValley(in.VacMin, Pin, C);
  c.atValley = regulate(stage(c.valley));
  const double designDuty = d.Ton * in.f / 1000;
  const StagePoint limit = driveAt(stage(c.valley), d.Ton, in.Vo / Io);
  valleyFinding(f, C, assumed, c.valley, Vmin, c.atValley, designDuty, limit.valid ? limit.Vo : 0);
  if (c.atValley.valid && usable(in.Ae)) {
    const double B = gappedFlux(d.Lp, c.atValley, c.n, d.Np, in.Ae);
    if (!continuous && c.atValley.conduction == Conduction::Continuous) {
      add(f, Severity::Warning, fill("谷值 {} V 时电流连续，不再是断续模式", {num(c.valley)}));
    }
    if (B > (1 + kOverAsked) * in.Bpk) {
      add(f, in.Bsat > 0 && B > in.Bsat ? Severity::Failure : Severity::Warning,
          fill("谷值 {} V 时峰值磁密约 {} GS", {num(c.valley), num(B)}));
    }
  }

  clampFindings(c, in, d, clamp);
  capacitorFinding(f, c.low.capacitorRms, outputRipple(c.lowStage, c.low, d.Co), in.Vopp);
  reachFinding(f, c.reachedLow.valid ? c.reachedLow.Vo : 0, in.Vo,
               fill("最低输入、导通时间 {} μs", {num(d.Ton)}));
  const double primary = std::max(c.low.switchRms, c.high.switchRms) / c.n;
  const double secondary = std::max(c.low.diodeRms, c.high.diodeRms);
  c.circuit = coupledCircuit(c.low, c.Bpeak, primary, secondary);
  currentFinding(f, "初级电流有效值", d.Irmsp, primary);
  currentFinding(f, "次级电流有效值", d.Irmss, secondary);
  wireFinding(f, "初级线径", d.Dp, in.f);
  wireFinding(f, "次级线径", d.Ds, in.f);
  return c;
}

RccCheck checkRcc(const RccInputs& in, const RccDesign& d) {
  RccCheck c;
  if (!usable(d.Np, d.Ns, d.Lp, in.Vo, in.IoMax)) return c;
  c.n = double{d.Np} / d.Ns;
  const double Vmin = acPeak(in.VacMin);
  const double Vpk = acPeak(in.VacMax);
  auto stage = [&](double Vin, double Io) {
    return referred(Vin, in.Vsw, c.n, d.Lp, in.Vdf, in.Vo, Io, 0);
  };
  // A self-oscillating flyback switches on as the secondary current ends: it runs in
  // critical conduction, its frequency set by the load and the input.
  c.lowStage = stage(Vmin, in.IoMax);
  c.highStage = stage(Vpk, in.IoMin);
  c.low = boundary(c.lowStage);
  c.high = boundary(c.highStage);
  std::vector<Finding>& f = c.findings;
  if (!c.low.valid) return c;

  if (usable(in.Ae)) c.Bpeak = gappedFlux(d.Lp, c.low, c.n, d.Np, in.Ae);
  fluxFinding(f, c.Bpeak, in.Bpk, 0);

  const double fLow = 1000 / c.low.T;
  const std::string full =
      fill("满载最低输入时工作频率约 {} kHz（最低频率 {} kHz）", {frequency(c.low), num(in.fMin)});
  add(f, usable(in.fMin) && fLow < 0.9 * in.fMin ? Severity::Warning : Severity::Info, full);
  if (c.high.valid) {
    add(f, Severity::Info,
        fill("最小负载最高输入时工作频率约 {} kHz（窗口给出 {} kHz）",
             {frequency(c.high), num(d.fMax)}));
  }

  const double Pin = double{in.Vo} * in.IoMax * 100 / in.Eff;
  const double C = kBulkPerWatt * Pin;
  c.valley = bulkValley(in.VacMin, Pin, C);
  c.atValley = boundary(stage(c.valley, in.IoMax));
  valleyFinding(f, C, true, c.valley, Vmin, c.atValley, 0, 0);
  if (c.atValley.valid && usable(in.fMin) && 1000 / c.atValley.T < 0.9 * in.fMin) {
    add(f, Severity::Warning,
        fill("谷值 {} V 时工作频率降到约 {} kHz", {num(c.valley), frequency(c.atValley)}));
  }

  // While the switch is off it holds the input and the reflected output.
  const double stress = Vpk + c.n * (in.Vo + in.Vdf);
  const std::string peak =
      fill("最高输入时开关管承受约 {} V（不含漏感尖峰，耐压 {} V）", {num(stress), num(in.Vswm)});
  add(f, stress > double{in.Vswm} - in.Vswr ? Severity::Warning : Severity::Info, peak);

  c.circuit = coupledCircuit(c.low, c.Bpeak, c.low.switchRms / c.n, c.low.diodeRms);
  currentFinding(f, "初级电流有效值", d.Irmsp, c.low.switchRms / c.n);
  currentFinding(f, "次级电流有效值", d.Irmss, c.low.diodeRms);
  wireFinding(f, "初级线径", d.Dp, in.fMin);
  wireFinding(f, "次级线径", d.Ds, in.fMin);
  return c;
}

}  // namespace tarnex
