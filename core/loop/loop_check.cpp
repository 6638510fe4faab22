#include "loop/loop_check.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "designs/check_text.h"

namespace tarnex {

namespace {

using namespace check;

// Limits of the check.
constexpr double kCrossoverTolerance = 0.3;  // exact crossover within ±30 % of the asked one
constexpr double kMarginFailure = 30;        // phase margin, degrees
constexpr double kMarginWarning = 45;
constexpr double kGainMarginWarning = 6;     // dB at half the switching frequency
constexpr double kRhpShare = 1.0 / 3;        // highest crossover against the RHP zero
constexpr double kNetworkGainTolerance = 1;  // type III gain at fc against the typed one, dB
// A margin designed to the limit reads as that limit: a hundredth of a degree is no shortfall.
constexpr double kMarginSlack = 0.01;
// Sampling poles above this Q peak the loop gain at half the switching frequency; mc·D' = 1
// (Qs = 2/π) damps them.
constexpr double kSamplingQWarning = 1;

struct Component {
  const char* label;  // as the page labels it, with its unit
  double value;
};

bool buildable(double v) {
  return std::isfinite(v) && v > 0;
}

// A frequency of the plot, in kHz as the pages type them.
double kHz(const BodePlot& plot, double f) {
  return plot.unit == "Hz" ? f / 1000 : f;
}

void networkFindings(std::vector<Finding>& out, std::initializer_list<Component> parts,
                     const char* which) {
  for (const Component& c : parts) {
    if (buildable(c.value)) continue;
    add(out, Severity::Failure,
        fill("{}无法实现：{} = {}（元件须为有限的正值）", {which, c.label, num(c.value)}));
  }
}

// What a loop does: crossover against the asked one, phase margin, gain margin at fsw/2.
// `who` opens every line ("" for the page's own network); `pageMargin` is the page's own
// asymptotic margin where it shows one.
void loopFindings(std::vector<Finding>& out, const BodePlot& plot, const BodeTrace& loop,
                  const std::optional<LoopCrossover>& crossover,
                  const std::optional<double>& gainMargin, double askedKHz, const char* who,
                  const double* pageMargin = nullptr) {
  if (loop.empty()) return;
  const std::string whoText = who;
  if (!crossover) {
    add(out, Severity::Failure, whoText + "环路增益在图中没有穿越 0 dB：环路不能按要求闭合");
    return;
  }
  const double f = kHz(plot, crossover->f);
  const double half = kHz(plot, plot.halfSwitching);
  if (plot.halfSwitching > 0 && f >= half) {
    add(out, Severity::Failure,
        fill("{}实际穿越频率 {} kHz 不低于开关频率的一半 {} kHz：环路在那里不再是线性的",
             {whoText, num(f), num(half)}));
  } else if (usable(askedKHz) && std::abs(f / askedKHz - 1) > kCrossoverTolerance) {
    add(out, Severity::Warning,
        fill("{}实际穿越频率 {} kHz，要求 {} kHz（相差 {}）",
             {whoText, num(f), num(askedKHz), percent(f / askedKHz - 1)}));
  } else {
    add(out, Severity::Info,
        fill("{}实际穿越频率 {} kHz（要求 {} kHz）", {whoText, num(f), num(askedKHz)}));
  }
  const double pm = crossover->phaseMargin;
  std::string text = fill("{}精确相位裕量 {}°", {whoText, num(pm)});
  if (pageMargin) text += fill("（本页按渐近线算出 {}°）", {num(*pageMargin)});
  const Severity pmSeverity = pm < kMarginFailure - kMarginSlack   ? Severity::Failure
                              : pm < kMarginWarning - kMarginSlack ? Severity::Warning
                                                                   : Severity::Info;
  if (pmSeverity != Severity::Info) {
    text += pmSeverity == Severity::Failure ? "：低于 30°，环路将振荡或严重振铃"
                                            : "：低于 45°，负载阶跃时振铃";
  }
  add(out, pmSeverity, text);
  if (gainMargin) {
    const double gm = *gainMargin;
    const std::string g =
        fill("{}开关频率一半（{} kHz）处的增益裕量 {} dB", {whoText, num(half), num(gm)});
    if (gm <= 0) {
      add(out, Severity::Failure, g + "：环路增益在那里仍高于 0 dB，将出现次谐波振荡");
    } else if (gm < kGainMarginWarning) {
      add(out, Severity::Warning, g + "：低于 6 dB");
    } else {
      add(out, Severity::Info, g);
    }
  }
}

}  // namespace

std::vector<Finding> currentModeFindings(const CurrentModeInputs& in, const CurrentModeResults& r,
                                         const BodePlot& plot, const CurrentModeExact* exact) {
  std::vector<Finding> out;
  if (in.type == CurrentModeAmplifier::None) return out;
  networkFindings(out, {{"C1(μF)", r.C1}, {"R2(Ω)", r.R2}, {"C2(μF)", r.C2}}, "补偿网络");
  const CurrentModeStage st = currentModeStage(in, r);
  const double Dp = 1 - double{in.D};
  if (std::isfinite(st.mc) && st.mc * Dp <= 0.5) {
    add(out, Severity::Failure,
        fill("斜率补偿不足：mc·(1−D) = {} ≤ 0.5，电流环在开关频率的一半处次谐波振荡",
             {num(st.mc * Dp)}));
  } else if (std::isfinite(st.Qs) && st.Qs > kSamplingQWarning) {
    // mc·D' = 1: Se/Sn = 1/D' − 1 = D/D', Vse = Se·Ri/fsw with the on-slope Sn = Vin/L.
    const double vse =
        double{in.D} / Dp * (double{in.Vin} / (in.L * 1e-6)) * in.Ri / (double{in.fsw} * 1000);
    add(out, Severity::Warning,
        fill("采样双极点 Q = {}（mc·(1−D) = "
             "{}），在开关频率的一半处抬高环路增益；斜率补偿电压加到约 {} V 时 Q ≈ 0.64",
             {num(st.Qs), num(st.mc * Dp), num(vse)}));
  }
  loopFindings(out, plot, plot.loop, plot.crossover, plot.gainMargin, in.fc, "");
  if (usable(st.fRHP)) {
    const double limit = st.fRHP * kRhpShare / 1000;
    // The loop's own crossover where it lies too high, else the asked one where that does.
    const double actual = plot.crossover ? kHz(plot, plot.crossover->f) : 0;
    const double asked = in.fc;
    const bool actualAbove = actual > limit;
    if (actualAbove || asked > limit) {
      add(out, Severity::Failure,
          fill("{} {} kHz 高于右半平面零点 {} kHz 的三分之一（{} kHz）：它的滞后相位使环路不稳",
               {actualAbove ? "实际穿越频率" : "要求的穿越频率", num(actualAbove ? actual : asked),
                num(st.fRHP / 1000), num(limit)}));
    } else {
      add(out, Severity::Info, fill("右半平面零点 {} kHz", {num(st.fRHP / 1000)}));
    }
  }
  if (exact) {
    if (!exact->ok || !plot.exact) {
      add(out, Severity::Failure, "精确设计：级的数值或零极点位置不可用，无法求出网络");
    } else {
      if (exact->lowered) {
        add(out, Severity::Warning,
            fill("精确设计把穿越频率降到 {} kHz（{}）",
                 {num(exact->fc / 1000),
                  exact->byRhpZero ? "右半平面零点的三分之一" : "开关频率的五分之一"}));
      }
      loopFindings(out, plot, plot.exact->loop, plot.exact->crossover, plot.exact->gainMargin,
                   exact->fc / 1000, "精确设计：");
    }
  }
  return out;
}

std::vector<Finding> typeIIFindings(const TypeIIInputs& in, const TypeIINetwork& n,
                                    const BodePlot& plot, const TypeIIExact* exact) {
  std::vector<Finding> out;
  if (in.kind == TypeIIKind::None) return out;
  networkFindings(out, {{"C1(pF)", n.C1}, {"C2(pF)", n.C2}, {"R2(Ω)", n.R2}}, "补偿网络");
  const double pageMargin = n.PM;
  loopFindings(out, plot, plot.loop, plot.crossover, plot.gainMargin, in.fc, "", &pageMargin);
  if (in.kind == TypeIIKind::DcmFlyback) {
    add(out, Severity::Info, "DCM反激的右半平面零点要用到匝比，本页没有匝比，未计入");
  }
  if (exact) {
    if (!exact->ok || !plot.exact) {
      add(out, Severity::Failure, "精确设计：级的数值不可用，无法求出网络");
    } else {
      if (!exact->reachable) {
        add(out, Severity::Warning,
            exact->boost > 45
                ? fill("精确设计：期望相位裕量要求网络超前 {}°，Ⅱ型网络最多约 89°，已取 k = {}",
                       {num(exact->boost), num(exact->k)})
                : fill("精确设计：功率级在穿越频率处的相位已足够（{}°），相位裕量将高于期望",
                       {num(exact->stagePhase)}));
      }
      loopFindings(out, plot, plot.exact->loop, plot.exact->crossover, plot.exact->gainMargin,
                   in.fc, "精确设计：");
    }
  }
  return out;
}

std::vector<Finding> typeIIIFindings(const TypeIIIInputs& in, const TypeIIIResults& r,
                                     const BodePlot& /*plot*/, const TypeIIIExact* exact) {
  std::vector<Finding> out;
  networkFindings(
      out,
      {{"C1(nF)", r.C1}, {"C2(nF)", r.C2}, {"C3(pF)", r.C3}, {"R2(KΩ)", r.R2}, {"R3(KΩ)", r.R3}},
      "补偿网络");
  const auto gainAndPhase =
      [&](const TypeIIIResults& net) -> std::optional<std::pair<double, double>> {
    const Transfer h = typeIIINetworkTransfer(in.R1 * 1e3, net.R2 * 1e3, net.R3 * 1e3,
                                              net.C1 * 1e-9, net.C2 * 1e-9, net.C3 * 1e-12);
    if (!h || !usable(in.fc)) return std::nullopt;
    const Complex v = h(exact::jw(double{in.fc} * 1000));
    return std::pair{20 * std::log10(std::abs(v)), exact::phaseDeg(v)};
  };
  if (const auto gp = gainAndPhase(r)) {
    const auto [gain, phase] = *gp;
    const std::string text =
        fill("网络在穿越频率 {} kHz 处的增益 {} dB（调节器增益要求 {} dB），相位 {}°",
             {num(in.fc), num(gain), num(in.GdB), num(phase)});
    add(out, std::abs(gain - in.GdB) > kNetworkGainTolerance ? Severity::Warning : Severity::Info,
        text);
  }
  if (exact) {
    if (!exact->ok) {
      add(out, Severity::Failure, "精确设计：网络无法实现（零极点的位置给出零、负或无穷大的元件）");
    } else if (const auto gp = gainAndPhase(exact->network)) {
      add(out, Severity::Info,
          fill("精确设计：网络在穿越频率处的增益 {} dB，零极点位置不变", {num(gp->first)}));
    }
  }
  return out;
}

}  // namespace tarnex
