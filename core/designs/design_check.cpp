#include "designs/design_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "designs/check_text.h"
#include "designs/magnetics.h"
#include "magnetics/copper_loss.h"

namespace tarnex {

double skinDepth(double fKHz) {
  // The form works in kHz and mm.
  return magnetics::skinDepth(fKHz * 1000) * 1000;
}

Strands strandsFor(double diameter, double fKHz) {
  const double thickest = 2 * skinDepth(fKHz);
  if (!check::usable(diameter, thickest) || diameter <= thickest) return {1, diameter};
  // The same copper area in strands no thicker than 2δ: the current density stays.
  const double ratio = diameter / thickest;
  const double count = std::ceil(ratio * ratio);
  if (count > 1e6) return {1, diameter};
  const int n = static_cast<int>(count);
  return {n, diameter / std::sqrt(count)};
}

double bulkValley(double vacRms, double power, double C, double lineHz) {
  const double peak = acPeak(vacRms);
  if (!check::usable(peak, power, C, lineHz)) return 0;
  const double omega = 2 * std::numbers::pi * lineHz;
  // After the peak the capacitor alone feeds the load until the next half cycle's rising sine
  // meets it again at V: π/2 + asin(V / peak) of phase. The energy it gave, ½·C·(peak² − V²),
  // equals what the load took in that time.
  auto surplus = [&](double V) {
    const double t = (std::numbers::pi / 2 + std::asin(V / peak)) / omega;
    return 0.5 * C * 1e-6 * (peak * peak - V * V) - power * t;
  };
  if (surplus(0) <= 0) return 0;  // the capacitor empties before the sine returns
  double lo = 0, hi = peak;
  for (int i = 0; i < 100; ++i) {
    const double mid = (lo + hi) / 2;
    (surplus(mid) > 0 ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

double bridgePrimaryVoltage(BridgeKind kind, double Vin) {
  return kind == BridgeKind::HalfBridge ? Vin / 2 : Vin;
}

namespace check {

namespace {

// Below this share of alternating current a winding counts as carrying direct current.
constexpr double kMostlyDirect = 0.3;

}  // namespace

void fluxFinding(std::vector<Finding>& findings, double B, double asked, double bsat,
                 std::string_view askedLabel) {
  if (!usable(B, asked)) return;
  const std::string label(askedLabel);
  if (bsat > 0 && B > bsat) {
    add(findings, Severity::Failure,
        fill("峰值磁密约 {} GS，超过饱和磁密 {} GS：磁芯会饱和", {num(B), num(bsat)}));
  } else if (B > (1 + kOverAsked) * asked) {
    add(findings, Severity::Warning,
        fill("峰值磁密约 {} GS，比{}的 {} GS 高 {}（按取整后的匝数）",
             {num(B), label, num(asked), percent(B / asked - 1)}));
  } else if (bsat > 0) {
    add(findings, Severity::Info,
        fill("峰值磁密约 {} GS（{} {} GS，饱和 {} GS）", {num(B), label, num(asked), num(bsat)}));
  } else {
    add(findings, Severity::Info,
        fill("峰值磁密约 {} GS（{} {} GS）", {num(B), label, num(asked)}));
  }
}

void wireFinding(std::vector<Finding>& findings, std::string_view label, double diameter,
                 double fKHz, double acShare) {
  if (!usable(diameter, fKHz)) return;
  const double delta = skinDepth(fKHz);
  const Strands s = strandsFor(diameter, fKHz);
  const std::string name(label);
  if (s.count <= 1) {
    add(findings, Severity::Info,
        fill("{} {} mm，不超过两倍集肤深度（{} kHz 时 δ = {} mm）",
             {name, num(diameter), num(fKHz), num(delta)}));
  } else if (acShare < kMostlyDirect) {
    add(findings, Severity::Info,
        fill("{} {} mm 超过两倍集肤深度（{} kHz 时 δ = {} mm），但电流以直流为主（交流分量占 {}），"
             "集肤效应影响小",
             {name, num(diameter), num(fKHz), num(delta), percent(acShare)}));
  } else {
    add(findings, Severity::Warning,
        fill("{} {} mm 超过两倍集肤深度（{} kHz 时 δ = {} mm）：宜用 {} 股 {} mm 并绕",
             {name, num(diameter), num(fKHz), num(delta), std::to_string(s.count),
              num(s.diameter)}));
  }
}

void valleyFinding(std::vector<Finding>& findings, double C, bool assumed, double valley,
                   double designPeak, const StagePoint& there, double dutyLimit,
                   double reachedAtLimit) {
  if (!usable(C, designPeak)) return;
  const std::string cap = assumed ? fill("按每瓦 2 μF 估计的输入电容 {} μF", {num(C)})
                                  : fill("输入电容 {} μF", {num(C)});
  if (!(valley > 0)) {
    add(findings, Severity::Failure, fill("{} 在最低输入满载时放电到零：电容太小", {cap}));
    return;
  }
  const std::string head = fill("{} 在最低输入满载时谷值约 {} V（设计按峰值 {} V）",
                                {cap, num(valley), num(designPeak)});
  const bool limited = usable(dutyLimit);
  const std::string reached =
      limited && usable(reachedAtLimit)
          ? fill("：占空比 {} 时满载输出只能到 {} V", {num(dutyLimit), num(reachedAtLimit)})
          : std::string();
  if (!there.valid) {
    add(findings, limited ? Severity::Failure : Severity::Warning,
        head + "，此时占空比再大也给不出输出电压" + reached);
  } else if (limited && there.duty() > dutyLimit * 1.001) {
    add(findings, Severity::Warning,
        head + fill("，此时需要占空比 {}，超过 {}", {num(there.duty()), num(dutyLimit)}) + reached);
  } else {
    add(findings, Severity::Info, head + fill("，此时占空比 {}", {num(there.duty())}));
  }
}

void currentFinding(std::vector<Finding>& findings, std::string_view label, double stated,
                    double circuit) {
  if (!usable(stated, circuit) || stated >= (1 - kCurrentBelow) * circuit) return;
  add(findings, Severity::Warning,
      fill("{}按电路约 {} A，窗口给出 {} A，低 {}",
           {std::string(label), num(circuit), num(stated), percent(1 - stated / circuit)}));
}

void capacitorFinding(std::vector<Finding>& findings, double rippleCurrent, double rippleVolts,
                      double Vopp) {
  if (!usable(rippleCurrent)) return;
  const std::string current = fill("输出电容纹波电流有效值约 {} A", {num(rippleCurrent)});
  if (!usable(rippleVolts, Vopp)) {
    add(findings, Severity::Info, current);
    return;
  }
  const double mV = rippleVolts * 1000;
  if (mV > (1 + kOverAsked) * Vopp) {
    add(findings, Severity::Warning,
        fill("输出纹波约 {} mV，超过设定的 {} mV（理想电容，未计 ESR）；{}",
             {num(mV), num(Vopp), current}));
  } else {
    add(findings, Severity::Info,
        fill("{}，纹波约 {} mV（理想电容，未计 ESR）", {current, num(mV)}));
  }
}

void reachFinding(std::vector<Finding>& findings, double reached, double Vo,
                  std::string_view condition) {
  if (!usable(Vo)) return;
  const std::string when(condition);
  if (!usable(reached)) {
    add(findings, Severity::Failure, fill("{} 时电路给不出输出电压", {when}));
  } else if (reached < (1 - kReachShortfall) * Vo) {
    add(findings, Severity::Failure,
        fill("{} 时输出只能达到 {} V，比 {} V 低 {}",
             {when, num(reached), num(Vo), percent(1 - reached / Vo)}));
  } else if (reached < 0.999 * Vo) {
    add(findings, Severity::Warning,
        fill("{} 时输出只能达到 {} V，比 {} V 低 {}",
             {when, num(reached), num(Vo), percent(1 - reached / Vo)}));
  } else {
    add(findings, Severity::Info, fill("{} 时输出可达 {} V", {when, num(reached)}));
  }
}

}  // namespace check

}  // namespace tarnex
