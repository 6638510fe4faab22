#include "magnetics/loss_sheet.h"

#include <cmath>

#include "base/finding_text.h"

namespace tarnex::magnetics {

namespace {

using check::add;
using check::fill;
using check::num;
using check::percent;
using check::usable;

WindingLoss windingLoss(const WindingSpec& w, const TransformerSpec& spec,
                        std::span<const Wire> wires) {
  WindingLoss l;
  const double T = spec.temperature;
  l.Rdc = dcResistance(w.turns, spec.core.meanTurn, copperArea(w.wire), T);
  // A litz bundle is taken as √n layers of its strands for each layer of bundles, with the
  // copper of the bundle as the conductor that fills the layer.
  const double root = std::sqrt(std::max(1, w.wire.strands));
  const bool litz = w.wire.litz;
  const int parallel = litz ? 1 : w.wire.strands;
  const double conductor = litz ? w.wire.strandDiameter * root : w.wire.strandDiameter;
  l.layering =
      layering(w.turns, parallel, conductor, w.wire.outerDiameter, spec.core.windowBreadth);
  const double skin = skinDepth(spec.f, T);
  if (l.layering.layers > 0) {
    const double layers = litz ? l.layering.layers * root : l.layering.layers;
    const double delta = penetration(w.wire.strandDiameter, skin, l.layering.porosity);
    l.Fr = effectiveAcFactor(scaledToRms(w.current, 1), delta, layers);
  }
  l.P = w.Irms * w.Irms * l.Rdc * l.Fr;
  if (l.Fr > kMaxAcFactor) l.suggestion = finerWire(w.wire, skin, wires);
  return l;
}

std::string wireText(const WireSuggestion& s) {
  // By its strands, as a winder orders it (the table's names are makers' part numbers).
  if (s.litz) {
    return fill("{}×{} mm 利兹线",
                {std::to_string(s.wire.strands), num(s.wire.strandDiameter * 1e3)});
  }
  return fill("{} 股 {} mm 并绕",
              {std::to_string(s.wire.strands), num(s.wire.strandDiameter * 1e3)});
}

void coreFindings(LossSheet& s, const TransformerSpec& spec, const RangeChoice& choice) {
  const Material& m = spec.material;
  if (!choice.range) {
    add(s.findings, Severity::Warning, fill("材料 {} 没有损耗拟合：磁芯损耗未计", {m.name}));
  } else if (choice.outside) {
    add(s.findings, Severity::Warning,
        fill("开关频率 {} kHz 不在材料 {} 损耗拟合的频率范围内：按最近的 {}–{} kHz 一段估算",
             {num(spec.f / 1e3), m.name, num(choice.range->fMin / 1e3),
              num(choice.range->fMax / 1e3)}));
  }
  if (usable(m.Bsat100)) {
    const double limit = kFluxShareOfSaturation * m.Bsat100;
    const std::string text =
        fill("峰值磁密约 {} mT，100 °C 时饱和磁密 {} mT 的 {}",
             {num(s.Bpeak * 1e3), num(m.Bsat100 * 1e3), percent(s.Bpeak / m.Bsat100)});
    add(s.findings, s.Bpeak > limit ? Severity::Failure : Severity::Info,
        s.Bpeak > limit ? text + fill("：超过 {}，高温时会饱和", {percent(kFluxShareOfSaturation)})
                        : text);
  }
}

void fillFinding(LossSheet& s, const TransformerSpec& spec) {
  std::string missing;
  for (std::size_t i = 0; i < s.fill.windings.size(); ++i) {
    if (s.fill.windings[i].fits) continue;
    missing += (missing.empty() ? "" : "、") + spec.windings[i].name;
  }
  const std::string text =
      fill("绕组占窗口 Aw × 填充系数 {}（{} mm²）的 {}",
           {num(spec.fillFactor), num(s.fill.allowed * 1e6), percent(s.fill.fill)});
  if (s.fill.fill > 1) {
    add(s.findings, Severity::Failure, text + fill("：绕不下（{} 放不进）", {missing}));
  } else {
    add(s.findings, Severity::Info, text);
  }
}

}  // namespace

double thermalResistance(double Ve) {
  if (!usable(Ve)) return 0;
  return 53 * std::pow(Ve * 1e6, -0.54);
}

LossSheet lossSheet(const TransformerSpec& spec, std::span<const Wire> wires) {
  LossSheet s;
  const CoreGeometry& core = spec.core;
  if (!usable(core.Ae, core.Ve, core.Aw, core.meanTurn, spec.f) || spec.windings.empty()) {
    add(s.findings, Severity::Failure, "磁芯或工作频率的数据不全：无法计算损耗与绕组占用");
    return s;
  }
  for (const WindingSpec& w : spec.windings) {
    if (!usable(w.turns, w.wire.strandDiameter, w.wire.outerDiameter) || !(w.Irms >= 0)) {
      add(s.findings, Severity::Failure,
          fill("{}的匝数或线径不可用：无法计算损耗与绕组占用", {w.name}));
      return s;
    }
  }
  s.complete = true;

  std::vector<WindingOnCore> onCore;
  for (const WindingSpec& w : spec.windings) onCore.push_back({w.turns, w.wire});
  s.fill = windowFill(onCore, core.Aw, spec.fillFactor);
  s.rows.push_back({"窗口占用率", s.fill.fill * 100, "%"});
  fillFinding(s, spec);

  s.swing = fluxSwing(1, spec.voltSeconds, spec.primaryTurns, core.Ae);
  s.Bpeak = spec.Bpeak > 0 ? spec.Bpeak : s.swing;
  const RangeChoice choice = steinmetzRangeAt(spec.material, spec.f);
  s.outsideFit = choice.outside;
  if (choice.range) s.Pv = igseLoss(*choice.range, spec.flux, s.swing, spec.f, spec.temperature);
  s.Pcore = s.Pv * core.Ve;
  s.rows.push_back({"磁通摆幅 ΔB", s.swing * 1e3, "mT"});
  s.rows.push_back({"峰值磁密", s.Bpeak * 1e3, "mT"});
  s.rows.push_back({"磁芯损耗密度", s.Pv / 1e3, "kW/m³"});
  s.rows.push_back({"磁芯损耗", s.Pcore, "W"});
  coreFindings(s, spec, choice);

  if (!usable(core.windowBreadth)) {
    add(s.findings, Severity::Warning, "磁芯窗口宽度未知：绕组层数无从得知，交流系数按 1 计");
  }
  for (const WindingSpec& w : spec.windings) {
    const WindingLoss l = windingLoss(w, spec, wires);
    s.rows.push_back({w.name + "电流有效值", w.Irms, "A"});
    s.rows.push_back({w.name + "直流电阻", l.Rdc * 1e3, "mΩ"});
    s.rows.push_back({w.name + "交流系数 Fr", l.Fr, ""});
    s.rows.push_back({w.name + "铜损", l.P, "W"});
    if (l.Fr > kMaxAcFactor) {
      const std::string advice = l.suggestion ? wireText(*l.suggestion) : "更细的多股线";
      add(s.findings, Severity::Warning,
          fill("{}交流系数 Fr = {}（{} 层）：宜改用{}",
               {w.name, num(l.Fr), std::to_string(l.layering.layers), advice}));
    }
    s.Pcopper += l.P;
    s.windings.push_back(l);
  }

  s.Ptotal = s.Pcore + s.Pcopper;
  s.Rth = thermalResistance(core.Ve);
  s.rise = s.Rth * s.Ptotal;
  s.rows.push_back({"总损耗", s.Ptotal, "W"});
  s.rows.push_back({"热阻", s.Rth, "°C/W"});
  s.rows.push_back({"温升", s.rise, "K"});
  const std::string rise =
      fill("温升约 {} K（热阻 {} °C/W × 总损耗 {} W）", {num(s.rise), num(s.Rth), num(s.Ptotal)});
  add(s.findings, s.rise > kMaxRise ? Severity::Failure : Severity::Info,
      s.rise > kMaxRise ? rise + fill("：超过 {} K", {num(kMaxRise)}) : rise);
  return s;
}

}  // namespace tarnex::magnetics
