#include "plot_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// Room around the panels: labels of the value axes on the left (wider when a label needs
// it), the shared axis' labels and caption below, the title and legend above (a row per
// legend row), the gap between panels, which holds a panel's caption.
constexpr int kLeft = 46;
constexpr int kRight = 12;
constexpr int kTitleRow = 16;
constexpr int kBelowLegend = 20;
constexpr int kBottom = 34;
constexpr int kGap = 22;
constexpr int kLegendLeft = 70;
// Pixels a step of a value grid keeps at least, so that its labels stay apart; and those of
// a step of a linear shared axis.
constexpr int kMinStepPixels = 20;
constexpr int kMinColumnPixels = 80;
// A drag shorter than this is a click, not a zoom.
constexpr int kSmallestDrag = 5;

const QColor kGrid(222, 222, 222);
const QColor kMinorGrid(240, 240, 240);
const QColor kAxis(120, 120, 120);
const QColor kCursor(90, 90, 90);
const QColor kSelection(0, 120, 215, 40);

QColor toColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

Qt::PenStyle toStyle(PlotLine line) {
  switch (line) {
    case PlotLine::Dash:
      return Qt::DashLine;
    case PlotLine::DashDot:
      return Qt::DashDotLine;
    case PlotLine::Solid:
      break;
  }
  return Qt::SolidLine;
}

bool usable(const PlotData& d, const PlotTrace& t) {
  return t.y.size() == d.x.size();
}

int legendRows(const PlotData& d) {
  int rows = 1;
  for (const PlotPanel& panel : d.panels) {
    for (const PlotTrace& t : panel.traces) rows = std::max(rows, t.legendRow + 1);
  }
  return rows;
}

// The first trace of each name, in the order the panels hold them.
std::vector<const PlotTrace*> legendTraces(const PlotData& d) {
  std::vector<const PlotTrace*> named;
  for (const PlotPanel& panel : d.panels) {
    for (const PlotTrace& t : panel.traces) {
      if (!usable(d, t) || t.name.empty()) continue;
      const bool seen = std::any_of(named.begin(), named.end(),
                                    [&](const PlotTrace* n) { return n->name == t.name; });
      if (!seen) named.push_back(&t);
    }
  }
  return named;
}

// 1, 2 or 5 times a power of ten, at least `raw`.
double niceStep(double raw) {
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double m = raw / power;
  return (m <= 1 ? 1 : m <= 2 ? 2 : m <= 5 ? 5 : 10) * power;
}

// A linear value range rounded outwards to whole steps, with no more than about `maxSteps`.
PlotFrame::Range linearRange(double lo, double hi, const PlotAxis& axis, int maxSteps) {
  if (axis.mustShow) {
    lo = std::min(lo, *axis.mustShow);
    hi = std::max(hi, *axis.mustShow);
  }
  double step = axis.step;
  if (!std::isfinite(lo) || !std::isfinite(hi)) {
    const double s = step > 0 ? step : 1;
    return {0, s, s, false};
  }
  if (step <= 0) {
    const double span = hi > lo ? hi - lo : std::max(std::abs(lo), 1e-30);
    step = niceStep(span / maxSteps);
  }
  while ((hi - lo) / step > maxSteps) step *= 2;
  PlotFrame::Range r;
  r.step = step;
  r.lo = std::floor(lo / step) * step;
  r.hi = std::ceil(hi / step) * step;
  if (r.hi <= r.lo) r.hi = r.lo + step;
  return r;
}

// A logarithmic value range in whole decades (lo and hi are exponents).
PlotFrame::Range logRange(double lo, double hi) {
  if (!(lo > 0) || !std::isfinite(hi)) return {0, 1, 1, true};
  PlotFrame::Range r{std::floor(std::log10(lo)), std::ceil(std::log10(hi)), 1, true};
  r.lo = std::clamp(r.lo, -300.0, 300.0);
  r.hi = std::clamp(r.hi, -300.0, 300.0);
  if (r.hi <= r.lo) r.hi = r.lo + 1;
  return r;
}

// A value as the labels of a logarithmic shared axis with SI labels show it: 0.01, 1, 10,
// 100, 1k, 10k, 100k, 1M.
QString siLabel(double f) {
  if (f >= 1e6) return QString::number(f / 1e6, 'g', 3) + QStringLiteral("M");
  if (f >= 1e3) return QString::number(f / 1e3, 'g', 3) + QStringLiteral("k");
  return QString::number(f, 'g', 3);
}

QString number(double v) {
  return QString::number(v, 'g', 4);
}

// A unit after a number in the read-out: after a space, except a degree sign.
QString unitAfter(const std::string& unit) {
  if (unit.empty() || unit == "°") return toQString(unit);
  return QStringLiteral(" ") + toQString(unit);
}

// A line of a grid, with its label (empty: none) and the colour of its line.
struct Tick {
  double v;
  QString label;
  QColor color;
};

std::vector<Tick> valueTicks(const PlotFrame::Range& r, const PlotAxis& axis) {
  std::vector<Tick> ticks;
  const QString unit = toQString(axis.unit);
  if (r.log) {
    const bool few = r.hi - r.lo <= 1;
    for (int k = static_cast<int>(r.lo); k <= static_cast<int>(r.hi); ++k) {
      for (int m = 1; m <= 9; ++m) {
        const double v = m * std::pow(10.0, k);
        if (std::log10(v) > r.hi + 1e-9) break;
        const bool labelled = m == 1 || (few && (m == 2 || m == 5));
        ticks.push_back({v, labelled ? QString::number(v, 'g', 3) + unit : QString(),
                         m == 1 ? kGrid : kMinorGrid});
      }
    }
    return ticks;
  }
  const int steps = static_cast<int>(std::lround((r.hi - r.lo) / r.step));
  for (int k = 0; k <= steps; ++k) {
    double v = r.lo + k * r.step;
    if (std::abs(v) < r.step * 1e-9) v = 0;
    const bool strong = axis.emphasised && std::abs(v - *axis.emphasised) < r.step / 100;
    ticks.push_back({v, number(v) + unit, strong ? kAxis : kGrid});
  }
  return ticks;
}

std::vector<Tick> axisTicks(const PlotFrame& f, const PlotAxis& axis, int width) {
  std::vector<Tick> ticks;
  if (f.logX()) {
    // The axis spans a few decades of finite, positive values; the bounds stay small.
    const int first =
        static_cast<int>(std::floor(std::clamp(std::log10(f.shownLo()), -30.0, 30.0)));
    const int last = static_cast<int>(std::ceil(std::clamp(std::log10(f.shownHi()), -30.0, 30.0)));
    int decades = 0;
    for (int k = first; k <= last; ++k) decades += f.onAxis(std::pow(10.0, k)) ? 1 : 0;
    for (int k = first; k <= last; ++k) {
      for (int m = 1; m <= 9; ++m) {
        const double v = m * std::pow(10.0, k);
        if (!f.onAxis(v)) continue;
        const bool labelled = m == 1 || (decades < 2 && (m == 2 || m == 5));
        const QString label = axis.siLabels ? siLabel(v) : QString::number(v, 'g', 3);
        ticks.push_back({v, labelled ? label : QString(), m == 1 ? kGrid : kMinorGrid});
      }
    }
    return ticks;
  }
  const int maxSteps = std::clamp(width / kMinColumnPixels, 2, 10);
  const double step = niceStep((f.shownHi() - f.shownLo()) / maxSteps);
  for (double k = std::ceil(f.shownLo() / step); k * step <= f.shownHi() + step * 1e-9; k += 1) {
    double v = k * step;
    if (std::abs(v) < step * 1e-9) v = 0;
    ticks.push_back({v, number(v), kGrid});
  }
  return ticks;
}

void drawTrace(QPainter& p, const PlotFrame& f, std::size_t panel, const PlotData& d,
               const PlotTrace& t) {
  QPainterPath path;
  bool drawing = false;
  for (std::size_t i = 0; i < t.y.size(); ++i) {
    const double yv = f.y(panel, t.y[i]);
    if (!std::isfinite(t.y[i]) || !std::isfinite(yv)) {
      drawing = false;
      continue;
    }
    const QPointF at(f.x(d.x[i]), yv);
    if (drawing) {
      path.lineTo(at);
    } else {
      path.moveTo(at);
    }
    drawing = true;
  }
  p.save();
  p.setClipRect(f.panel(panel).adjusted(0, -1, 1, 1));
  p.setPen(QPen(toColor(t.color), t.width, toStyle(t.line)));
  p.drawPath(path);
  p.restore();
}

}  // namespace

// --- the frame ---------------------------------------------------------------------------

double PlotFrame::x(double v) const {
  const QRect& r = panels_.front();
  if (logX_) {
    return r.left() +
           (std::log10(v) - std::log10(lo_)) / (std::log10(hi_) - std::log10(lo_)) * r.width();
  }
  return r.left() + (v - lo_) / (hi_ - lo_) * r.width();
}

double PlotFrame::valueAt(double px) const {
  const QRect& r = panels_.front();
  const double t = (px - r.left()) / std::max(1, r.width());
  if (logX_) {
    return std::pow(10.0, std::log10(lo_) + t * (std::log10(hi_) - std::log10(lo_)));
  }
  return lo_ + t * (hi_ - lo_);
}

bool PlotFrame::onAxis(double v) const {
  return std::isfinite(v) && v >= lo_ && v <= hi_;
}

double PlotFrame::y(const QRect& panel, const Range& r, double v) {
  if (r.log) {
    if (!(v > 0)) return std::numeric_limits<double>::quiet_NaN();
    v = std::log10(v);
  }
  return panel.bottom() - (v - r.lo) / (r.hi - r.lo) * panel.height();
}

double PlotFrame::y(std::size_t i, double v) const {
  return y(panels_[i], ranges_[i], v);
}

int PlotFrame::axisBottom() const {
  return panels_.back().bottom() + kBottom;
}

// --- the widget --------------------------------------------------------------------------

PlotWidget::PlotWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
}

void PlotWidget::replacePlot(PlotData next) {
  const bool sameAxis =
      next.x.size() == data_.x.size() &&
      (next.x.empty() || (next.x.front() == data_.x.front() && next.x.back() == data_.x.back()));
  if (!sameAxis || next.xAxis.log != data_.xAxis.log) zoom_.reset();
  data_ = std::move(next);
}

void PlotWidget::setPlot(PlotData next) {
  replacePlot(std::move(next));
  update();
}

QStringList PlotWidget::legendOf(const PlotData& plot) {
  QStringList names;
  if (plot.empty()) return names;
  for (const PlotTrace* t : legendTraces(plot)) names << toQString(t->name);
  return names;
}

void PlotWidget::setZoom(double lo, double hi) {
  if (data_.x.size() < 2 || !(hi > lo)) return;
  lo = std::max(lo, data_.x.front());
  hi = std::min(hi, data_.x.back());
  if (lo <= data_.x.front() && hi >= data_.x.back()) {
    zoom_.reset();
  } else if (hi > lo) {
    zoom_ = std::make_pair(lo, hi);
  }
  update();
}

void PlotWidget::resetZoom() {
  zoom_.reset();
  update();
}

PlotFrame PlotWidget::layout(const QFontMetrics& fm) const {
  PlotFrame f;
  const int n = std::max<int>(1, static_cast<int>(data_.panels.size()));
  const int top = 4 + legendRows(data_) * kTitleRow + kBelowLegend;
  const int h = std::max(20, (height() - top - kBottom - kGap * (n - 1) - reservedBelow()) / n);
  f.logX_ = data_.xAxis.log;
  f.lo_ = zoom_ ? zoom_->first : data_.x.front();
  f.hi_ = zoom_ ? zoom_->second : data_.x.back();
  // About eight steps in a panel of a plot beside a page; fewer when the panels are low.
  const int maxSteps = std::clamp(h / kMinStepPixels, 3, 8);
  int widest = 0;
  for (const PlotPanel& panel : data_.panels) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const PlotTrace& t : panel.traces) {
      if (!usable(data_, t)) continue;
      for (std::size_t i = 0; i < t.y.size(); ++i) {
        const double v = t.y[i];
        if (!std::isfinite(v) || !f.onAxis(data_.x[i]) || (panel.axis.log && !(v > 0))) continue;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
      }
    }
    f.ranges_.push_back(panel.axis.log ? logRange(lo, hi)
                                       : linearRange(lo, hi, panel.axis, maxSteps));
    for (const Tick& t : valueTicks(f.ranges_.back(), panel.axis)) {
      widest = std::max(widest, fm.horizontalAdvance(t.label));
    }
  }
  const int left = std::max(kLeft, widest + 8);
  for (int i = 0; i < n; ++i) {
    f.panels_.emplace_back(left, top + i * (h + kGap), width() - left - kRight, h);
  }
  return f;
}

void PlotWidget::drawLegend(QPainter& p) const {
  // The legend beside the title, a row per legend row.
  std::vector<int> lx(static_cast<std::size_t>(legendRows(data_)), kLegendLeft);
  for (const PlotTrace* t : legendTraces(data_)) {
    int& x = lx[static_cast<std::size_t>(t->legendRow)];
    const int top = 4 + t->legendRow * kTitleRow;
    const QString name = toQString(t->name);
    p.setPen(QPen(toColor(t->color), t->width, toStyle(t->line)));
    p.drawLine(x, top + 8, x + 18, top + 8);
    p.setPen(Qt::black);
    const int w = p.fontMetrics().horizontalAdvance(name);
    p.drawText(QRect(x + 22, top, w + 4, kTitleRow), Qt::AlignLeft | Qt::AlignVCenter, name);
    x += 22 + w + 14;
  }
}

void PlotWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(kAxis);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::black);
  p.drawText(QRect(8, 4, width() - 16, kTitleRow), Qt::AlignLeft | Qt::AlignVCenter,
             toQString(data_.title));
  if (data_.empty()) {
    p.setPen(kAxis);
    p.drawText(rect(), Qt::AlignCenter, toQString(data_.emptyText));
    frame_ = PlotFrame();
    return;
  }
  drawLegend(p);
  frame_ = layout(p.fontMetrics());
  const PlotFrame& f = frame_;
  const QRect& last = f.panel(f.panelCount() - 1);

  for (const Tick& t : axisTicks(f, data_.xAxis, last.width())) {
    p.setPen(t.color);
    const double xv = f.x(t.v);
    for (std::size_t i = 0; i < f.panelCount(); ++i) {
      p.drawLine(QPointF(xv, f.panel(i).top()), QPointF(xv, f.panel(i).bottom()));
    }
    if (t.label.isEmpty()) continue;
    p.setPen(Qt::black);
    p.drawText(QRectF(xv - 30, last.bottom() + 2, 60, 14), Qt::AlignCenter, t.label);
  }
  for (std::size_t i = 0; i < f.panelCount(); ++i) {
    const QRect& panel = f.panel(i);
    const PlotAxis& axis = data_.panels[i].axis;
    for (const Tick& t : valueTicks(f.range(i), axis)) {
      const double yv = f.y(i, t.v);
      p.setPen(t.color);
      p.drawLine(QPointF(panel.left(), yv), QPointF(panel.right(), yv));
      if (t.label.isEmpty()) continue;
      p.setPen(Qt::black);
      p.drawText(QRectF(0, yv - 7, panel.left() - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
                 t.label);
    }
    if (!axis.caption.empty()) {
      p.drawText(QRect(panel.left(), panel.top() - kTitleRow - 2, panel.width(), kTitleRow),
                 Qt::AlignLeft | Qt::AlignVCenter, toQString(axis.caption));
    }
  }
  for (std::size_t i = 0; i < f.panelCount(); ++i) {
    for (const PlotTrace& t : data_.panels[i].traces) {
      if (usable(data_, t)) drawTrace(p, f, i, data_, t);
    }
  }
  p.setPen(kAxis);
  for (std::size_t i = 0; i < f.panelCount(); ++i) p.drawRect(f.panel(i));
  p.setPen(Qt::black);
  QString caption = toQString(data_.xAxis.caption);
  if (!data_.xAxis.unit.empty()) {
    caption += QStringLiteral(" (") + toQString(data_.xAxis.unit) + QStringLiteral(")");
  }
  p.drawText(QRect(0, last.bottom() + 16, width(), 16), Qt::AlignCenter, caption);

  paintOverlay(p, f);
  if (dragFrom_ && cursor_) {
    const int a = std::min(*dragFrom_, *cursor_), b = std::max(*dragFrom_, *cursor_);
    p.fillRect(QRect(a, f.panel(0).top(), b - a, last.bottom() - f.panel(0).top()), kSelection);
  } else {
    drawReadOut(p, f);
  }
}

// --- reading the plot with the mouse -------------------------------------------------------

std::optional<std::size_t> PlotWidget::pointAt(int px) const {
  if (frame_.panelCount() == 0 || data_.x.empty()) return std::nullopt;
  const QRect& r = frame_.panel(0);
  if (px < r.left() || px > r.right()) return std::nullopt;
  std::optional<std::size_t> best;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < data_.x.size(); ++i) {
    if (!frame_.onAxis(data_.x[i])) continue;
    const double d = std::abs(frame_.x(data_.x[i]) - px);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

QStringList PlotWidget::readOut(int px) const {
  QStringList lines;
  const std::optional<std::size_t> at = pointAt(px);
  if (!at) return lines;
  const QString xName =
      data_.xAxis.caption.empty() ? QStringLiteral("x") : toQString(data_.xAxis.caption);
  lines << xName + QStringLiteral(": ") + number(data_.x[*at]) + unitAfter(data_.xAxis.unit);
  for (const PlotPanel& panel : data_.panels) {
    for (const PlotTrace& t : panel.traces) {
      if (!usable(data_, t)) continue;
      const double v = t.y[*at];
      const QString value =
          std::isfinite(v) ? number(v) + unitAfter(panel.axis.unit) : QStringLiteral("—");
      lines << toQString(t.name) + QStringLiteral(": ") + value;
    }
  }
  return lines;
}

QString PlotWidget::gapNoteAt(int px) const {
  const std::optional<std::size_t> at = pointAt(px);
  if (!at) return QString();
  for (const PlotPanel& panel : data_.panels) {
    for (const PlotTrace& t : panel.traces) {
      const bool gap = usable(data_, t) && !std::isfinite(t.y[*at]);
      if (gap && *at < t.gapNotes.size() && !t.gapNotes[*at].empty()) {
        return toQString(t.gapNotes[*at]);
      }
    }
  }
  return QString();
}

void PlotWidget::drawReadOut(QPainter& p, const PlotFrame& f) const {
  if (!cursor_) return;
  const std::optional<std::size_t> at = pointAt(*cursor_);
  if (!at) return;
  const double xv = f.x(data_.x[*at]);
  const QRect& first = f.panel(0);
  const QRect& last = f.panel(f.panelCount() - 1);
  p.setPen(QPen(kCursor, 1, Qt::DotLine));
  p.drawLine(QPointF(xv, first.top()), QPointF(xv, last.bottom()));
  const QStringList lines = readOut(*cursor_);
  const QFontMetrics fm = p.fontMetrics();
  int w = 0;
  for (const QString& line : lines) w = std::max(w, fm.horizontalAdvance(line));
  const int lineHeight = fm.height();
  QRect box(0, first.top() + 4, w + 10, lineHeight * static_cast<int>(lines.size()) + 6);
  box.moveLeft(xv + 8 + box.width() <= first.right() ? static_cast<int>(xv) + 8
                                                     : static_cast<int>(xv) - 8 - box.width());
  p.fillRect(box, QColor(255, 255, 255, 230));
  p.setPen(kAxis);
  p.drawRect(box);
  p.setPen(Qt::black);
  for (int k = 0; k < lines.size(); ++k) {
    p.drawText(QRect(box.left() + 5, box.top() + 3 + k * lineHeight, w, lineHeight),
               Qt::AlignLeft | Qt::AlignVCenter, lines[k]);
  }
}

void PlotWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pointAt(event->position().toPoint().x())) {
    dragFrom_ = event->position().toPoint().x();
  }
  QWidget::mousePressEvent(event);
}

void PlotWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  cursor_ = at.x();
  const QString note = dragFrom_ ? QString() : gapNoteAt(at.x());
  if (note.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(event->globalPosition().toPoint(), note, this);
  }
  update();
}

void PlotWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (dragFrom_ && event->button() == Qt::LeftButton) {
    const int from = *dragFrom_, to = event->position().toPoint().x();
    dragFrom_.reset();
    if (std::abs(to - from) >= kSmallestDrag && frame_.panelCount() > 0) {
      setZoom(frame_.valueAt(std::min(from, to)), frame_.valueAt(std::max(from, to)));
    }
    update();
  }
  QWidget::mouseReleaseEvent(event);
}

void PlotWidget::mouseDoubleClickEvent(QMouseEvent*) {
  dragFrom_.reset();
  resetZoom();
}

void PlotWidget::wheelEvent(QWheelEvent* event) {
  if (frame_.panelCount() == 0 || data_.x.size() < 2) return;
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  // About the value under the pointer, on the axis' own scale.
  const auto t = [&](double v) { return frame_.logX() ? std::log10(v) : v; };
  const auto back = [&](double v) { return frame_.logX() ? std::pow(10.0, v) : v; };
  const double c = t(frame_.valueAt(event->position().x()));
  const double factor = std::pow(0.8, notches);
  setZoom(back(c + (t(frame_.shownLo()) - c) * factor),
          back(c + (t(frame_.shownHi()) - c) * factor));
  event->accept();
}

void PlotWidget::leaveEvent(QEvent* event) {
  cursor_.reset();
  dragFrom_.reset();
  update();
  QWidget::leaveEvent(event);
}

}  // namespace tarnex::qt
