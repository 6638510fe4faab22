#include "loop/load_step_plot.h"

#include <cmath>

#include "base/finding_text.h"

namespace tarnex {

namespace {

constexpr Rgb kPageTrace{0, 0, 255};
constexpr Rgb kExactTrace{235, 120, 0};

// A time with its unit, µs below a millisecond, else ms.
std::string timeText(double seconds) {
  if (std::fabs(seconds) < 1e-3) return check::num(seconds * 1e6) + " µs";
  return check::num(seconds * 1e3) + " ms";
}

std::string whoseNetwork(const LoadStepTrace& trace) {
  return trace.name == "exact" ? "精确设计" : "本页网络";
}

}  // namespace

std::string loadStepReading(const LoadStepTrace& trace) {
  if (!trace.stable) return whoseNetwork(trace) + "：闭环不稳定，没有负载阶跃";
  const StepReading& r = trace.reading;
  const std::string settling =
      r.settling >= 0 ? "调节时间 " + timeText(r.settling) : "计算时段内未进入 ±2 % 带";
  return check::fill("{}：峰值 {} mV（{}），{}", {whoseNetwork(trace), check::num(r.peak * 1e3),
                                                  timeText(r.peakTime), settling});
}

PlotData loadStepPlot(const LoadStep& step) {
  PlotData d;
  d.title = "负载阶跃";
  // The step above the panel, with the networks whose loop draws no trace.
  std::string caption = "输出电压偏差，负载 " + check::num(step.load / 2) + " A → " +
                        check::num(step.load) + " A（50 % → 100 %）";
  const std::vector<double>* t = nullptr;
  for (const LoadStepTrace& trace : step.traces) {
    if (trace.stable && !trace.t.empty()) {
      t = t ? t : &trace.t;
    } else {
      caption += "；" + loadStepReading(trace);
    }
  }
  d.emptyText = caption;
  if (t == nullptr) return d;
  // Milliseconds once the shown time reaches 2 ms.
  const double scale = t->back() >= 2e-3 ? 1e3 : 1e6;
  d.xAxis.caption = "时间";
  d.xAxis.unit = scale == 1e3 ? "ms" : "µs";
  for (const double s : *t) d.x.push_back(s * scale);
  PlotPanel panel;
  panel.axis.unit = "mV";
  panel.axis.caption = caption;
  panel.axis.mustShow = 0;
  panel.axis.emphasised = 0;
  int row = 0;
  for (const LoadStepTrace& trace : step.traces) {
    if (!trace.stable || trace.t.size() != t->size()) continue;
    const bool exact = trace.name == "exact";
    PlotTrace p{loadStepReading(trace),
                {},
                exact ? kExactTrace : kPageTrace,
                2,
                exact ? PlotLine::Dash : PlotLine::Solid,
                row++,
                {}};
    for (const double v : trace.dv) p.y.push_back(v * 1e3);
    panel.traces.push_back(std::move(p));
  }
  d.panels.push_back(std::move(panel));
  return d;
}

}  // namespace tarnex
