#include "sim/wave_plot.h"

namespace tarnex::sim {

namespace {

PlotTrace trace(std::string name, const std::vector<double>* v, Rgb color) {
  PlotTrace t;
  t.name = std::move(name);
  if (v != nullptr) t.y = *v;
  t.color = color;
  return t;
}

PlotPanel panel(std::string caption, std::string unit, std::vector<PlotTrace> traces) {
  PlotPanel p;
  p.axis.caption = std::move(caption);
  p.axis.unit = std::move(unit);
  p.traces = std::move(traces);
  return p;
}

}  // namespace

PlotData wavePlot(const WindowSimulation& sim, const WindowWaves& end) {
  PlotData plot;
  plot.emptyText = "没有波形";
  plot.xAxis.caption = "时间";
  plot.xAxis.unit = "μs";
  const Waveforms& w = end.waves;
  if (w.time.size() < 2) return plot;
  // From the start of the periods shown.
  for (double t : w.time) plot.x.push_back((t - w.time.front()) * 1e6);
  constexpr Rgb kGreen{0, 128, 0}, kBrown{160, 80, 0};
  plot.panels.push_back(panel("开关管电压", "V", {trace("开关管电压", w.find("v(wv)"), kBlue)}));
  // Each current on its own axis: a transformer's diode carries the switch's times the turns.
  plot.panels.push_back(panel("开关管电流", "A", {trace("开关管电流", w.find("v(wi)"), kRed)}));
  plot.panels.push_back(panel("二极管电流", "A", {trace("二极管电流", w.find("v(wd)"), kGreen)}));
  plot.panels.push_back(
      panel(sim.inductorLabel, "A", {trace(sim.inductorLabel, w.find("v(il)"), kBrown)}));
  plot.panels.push_back(panel("输出电压", "V", {trace("输出电压", w.find("v(vout)"), kBlue)}));
  return plot;
}

}  // namespace tarnex::sim
