#include "bode_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "loop/bode.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// Room around the two panels: labels of the value axes on the left, the frequency labels
// and the axis caption below, the title and legend above, the gap between the panels.
constexpr int kLeft = 46;
constexpr int kRight = 12;
constexpr int kTop = 40;
constexpr int kBottom = 34;
constexpr int kGap = 22;

const QColor kGrid(222, 222, 222);
const QColor kMinorGrid(240, 240, 240);
const QColor kAxis(120, 120, 120);
const QColor kCrossover(120, 0, 160);

struct Curve {
  const BodeTrace* trace;
  QString name;
  QColor color;
  qreal width;
};

// A value range rounded outwards to whole steps, with no more than about eight steps.
struct Range {
  double lo = 0, hi = 1, step = 1;
  double fraction(double v) const { return (v - lo) / (hi - lo); }
};

Range roundedRange(double lo, double hi, double step, double mustShow) {
  lo = std::min(lo, mustShow);
  hi = std::max(hi, mustShow);
  if (!std::isfinite(lo) || !std::isfinite(hi)) return Range{0, step, step};
  while ((hi - lo) / step > 8) step *= 2;
  Range r;
  r.step = step;
  r.lo = std::floor(lo / step) * step;
  r.hi = std::ceil(hi / step) * step;
  if (r.hi <= r.lo) r.hi = r.lo + step;
  return r;
}

// The finite extent of a member of the curves; nullopt-like (lo > hi) when none.
template <class Member>
std::pair<double, double> extent(const std::vector<Curve>& curves, Member member) {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const Curve& c : curves) {
    for (double v : c.trace->*member) {
      if (!std::isfinite(v)) continue;
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
  }
  return {lo, hi};
}

// A frequency as the axis labels show it: 0.01, 0.1, 1, 10, 100, 1k, 10k, 100k, 1M.
QString frequencyLabel(double f) {
  if (f >= 1e6) return QString::number(f / 1e6, 'g', 3) + QStringLiteral("M");
  if (f >= 1e3) return QString::number(f / 1e3, 'g', 3) + QStringLiteral("k");
  return QString::number(f, 'g', 3);
}

class Panels {
 public:
  Panels(const QRect& area, const BodePlot& plot) : plot_(plot) {
    const int h = (area.height() - kTop - kBottom - kGap) / 2;
    gain_ = QRect(area.left() + kLeft, area.top() + kTop, area.width() - kLeft - kRight, h);
    phase_ = gain_.translated(0, h + kGap);
    logLo_ = std::log10(plot.f.front());
    logHi_ = std::log10(plot.f.back());
  }

  const QRect& gain() const { return gain_; }
  const QRect& phase() const { return phase_; }

  double x(double f) const {
    return gain_.left() + (std::log10(f) - logLo_) / (logHi_ - logLo_) * gain_.width();
  }
  static double y(const QRect& panel, const Range& r, double v) {
    return panel.bottom() - r.fraction(v) * panel.height();
  }

  // Decade lines with their labels below the phase panel, lighter lines at 2…9 of each decade.
  void drawFrequencyGrid(QPainter& p) const {
    for (int k = static_cast<int>(std::floor(logLo_)); k <= static_cast<int>(std::ceil(logHi_));
         ++k) {
      for (int m = 1; m <= 9; ++m) {
        const double f = m * std::pow(10.0, k);
        if (f < plot_.f.front() || f > plot_.f.back()) continue;
        p.setPen(m == 1 ? kGrid : kMinorGrid);
        const double xf = x(f);
        for (const QRect* panel : {&gain_, &phase_}) {
          p.drawLine(QPointF(xf, panel->top()), QPointF(xf, panel->bottom()));
        }
        if (m != 1) continue;
        p.setPen(Qt::black);
        p.drawText(QRectF(xf - 30, phase_.bottom() + 2, 60, 14), Qt::AlignCenter,
                   frequencyLabel(f));
      }
    }
  }

  // Value lines and their labels; `emphasised` (0 dB, −180°) is drawn darker.
  static void drawValueGrid(QPainter& p, const QRect& panel, const Range& r, double emphasised,
                            const QString& unit) {
    for (double v = r.lo; v <= r.hi + r.step / 2; v += r.step) {
      const double yv = y(panel, r, v);
      p.setPen(std::abs(v - emphasised) < r.step / 100 ? kAxis : kGrid);
      p.drawLine(QPointF(panel.left(), yv), QPointF(panel.right(), yv));
      p.setPen(Qt::black);
      p.drawText(QRectF(panel.left() - kLeft, yv - 7, kLeft - 4, 14),
                 Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 4) + unit);
    }
  }

  void drawCurve(QPainter& p, const QRect& panel, const Range& r, const std::vector<double>& v,
                 const QColor& color, qreal width) const {
    QPainterPath path;
    bool drawing = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
      if (!std::isfinite(v[i])) {
        drawing = false;
        continue;
      }
      const QPointF at(x(plot_.f[i]), y(panel, r, v[i]));
      if (drawing) {
        path.lineTo(at);
      } else {
        path.moveTo(at);
      }
      drawing = true;
    }
    p.save();
    p.setClipRect(panel.adjusted(0, -1, 1, 1));
    p.setPen(QPen(color, width));
    p.drawPath(path);
    p.restore();
  }

 private:
  const BodePlot& plot_;
  QRect gain_, phase_;
  double logLo_ = 0, logHi_ = 1;
};

// A number with four significant digits in fixed notation: 19984, 18.04, 0.5127.
QString fourDigits(double v) {
  const int magnitude = v > 0 ? static_cast<int>(std::floor(std::log10(v))) : 0;
  return QString::number(v, 'f', std::clamp(3 - magnitude, 0, 6));
}

// A short text beside a marker, kept inside the panel.
void drawNote(QPainter& p, const QRect& panel, QPointF at, const QString& text) {
  const QRectF box = p.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
  QPointF topLeft(at.x() + 6, at.y() - box.height() - 4);
  if (topLeft.x() + box.width() > panel.right()) topLeft.setX(at.x() - 6 - box.width());
  topLeft.setY(std::clamp(topLeft.y(), double(panel.top()), panel.bottom() - box.height()));
  const QRectF placed(topLeft, box.size());
  p.fillRect(placed, QColor(255, 255, 255, 220));
  p.setPen(kCrossover);
  p.drawText(placed, Qt::AlignCenter, text);
}

}  // namespace

BodePlotWidget::BodePlotWidget(const Form& form, QWidget* parent) : QWidget(parent), form_(form) {}

void BodePlotWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(kAxis);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::black);
  p.drawText(QRect(8, 4, width() - 16, 16), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("波特图"));

  const BodePlot* plot = form_.bode();
  std::vector<Curve> curves;
  if (plot != nullptr) {
    const std::array<Curve, 3> all = {
        Curve{&plot->compensator, QStringLiteral("补偿网络"), QColor(0, 0, 255), 1.5},
        Curve{&plot->stage, QStringLiteral("控制到输出"), QColor(0, 140, 0), 1.5},
        Curve{&plot->loop, QStringLiteral("环路增益"), QColor(220, 0, 0), 2.2},
    };
    for (const Curve& c : all) {
      if (!c.trace->empty()) curves.push_back(c);
    }
  }
  if (curves.empty() || plot->f.size() < 2) {
    p.setPen(kAxis);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("计算后显示波特图"));
    return;
  }

  // Legend beside the title.
  int lx = 70;
  for (const Curve& c : curves) {
    p.setPen(QPen(c.color, c.width));
    p.drawLine(lx, 12, lx + 18, 12);
    p.setPen(Qt::black);
    const int w = p.fontMetrics().horizontalAdvance(c.name);
    p.drawText(QRect(lx + 22, 4, w + 4, 16), Qt::AlignLeft | Qt::AlignVCenter, c.name);
    lx += 22 + w + 14;
  }

  const Panels panels(rect(), *plot);
  const auto [gLo, gHi] = extent(curves, &BodeTrace::gainDb);
  const auto [pLo, pHi] = extent(curves, &BodeTrace::phaseDeg);
  const Range gain = roundedRange(gLo, gHi, 20, 0);
  const Range phase = roundedRange(pLo, pHi, 45, plot->loop.empty() ? pLo : -180);

  panels.drawFrequencyGrid(p);
  Panels::drawValueGrid(p, panels.gain(), gain, 0, QStringLiteral("dB"));
  Panels::drawValueGrid(p, panels.phase(), phase, -180, QStringLiteral("°"));
  for (const Curve& c : curves) {
    panels.drawCurve(p, panels.gain(), gain, c.trace->gainDb, c.color, c.width);
    panels.drawCurve(p, panels.phase(), phase, c.trace->phaseDeg, c.color, c.width);
  }
  p.setPen(kAxis);
  p.drawRect(panels.gain());
  p.drawRect(panels.phase());
  p.setPen(Qt::black);
  p.drawText(QRect(0, panels.phase().bottom() + 16, width(), 16), Qt::AlignCenter,
             QStringLiteral("频率 (") + toQString(plot->unit) + QStringLiteral(")"));

  // The crossover: where the loop gain falls through 0 dB, its phase there, and the margin
  // from −180° up to it.
  if (const auto& c = plot->crossover) {
    const double xc = panels.x(c->f);
    p.setPen(QPen(kCrossover, 1, Qt::DashLine));
    p.drawLine(QPointF(xc, panels.gain().top()), QPointF(xc, panels.phase().bottom()));
    const QPointF atGain(xc, Panels::y(panels.gain(), gain, 0));
    const QPointF atPhase(xc, Panels::y(panels.phase(), phase, c->phaseDeg));
    const QPointF atLimit(xc, Panels::y(panels.phase(), phase, -180));
    p.setPen(QPen(kCrossover, 3));
    p.drawLine(atLimit, atPhase);
    p.setBrush(kCrossover);
    p.drawEllipse(atGain, 3, 3);
    p.drawEllipse(atPhase, 3, 3);
    p.setBrush(Qt::NoBrush);
    drawNote(p, panels.gain(), atGain,
             QStringLiteral("穿越频率 ") + fourDigits(c->f) + QStringLiteral(" ") +
                 toQString(plot->unit));
    drawNote(p, panels.phase(), atPhase,
             QStringLiteral("相位裕量 %1°").arg(c->phaseMargin, 0, 'f', 1));
  }
}

}  // namespace tarnex::qt
