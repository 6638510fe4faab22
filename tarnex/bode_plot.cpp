#include "bode_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "loop/bode.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// Room around the two panels: labels of the value axes on the left, the frequency labels
// and the axis caption below, the title and legend above (a row per set of curves), the gap
// between the panels.
constexpr int kLeft = 46;
constexpr int kRight = 12;
constexpr int kTitleRow = 16;
constexpr int kBelowLegend = 20;
constexpr int kBottom = 34;
constexpr int kGap = 22;
constexpr int kLegendLeft = 70;
// The table of the exact design's components under the panels: three rows (component, the
// page's value, the exact one) and the margin above and below it.
constexpr int kTableRow = 17;
constexpr int kTableMargin = 4;
// The smallest pixel size the table shrinks its font to before it elides its texts.
constexpr int kSmallestTablePixels = 9;

const QColor kGrid(222, 222, 222);
const QColor kMinorGrid(240, 240, 240);
const QColor kAxis(120, 120, 120);
const QColor kCrossover(120, 0, 160);
const QColor kHalfSwitching(150, 150, 150);
// The exact design: its loop in orange, its network in teal, both dashed; its marks and its
// row of the table in a darker orange that reads as text.
const QColor kExactLoop(235, 120, 0);
const QColor kExactNetwork(0, 160, 190);
const QColor kExactMark(200, 90, 0);
const QColor kTableHeader(244, 244, 244);

constexpr const char* kExactPrefix = "精确设计 ";
constexpr int kNoteGap = 8;  // pixels between notes side by side

struct Curve {
  const BodeTrace* trace;
  QString name;
  QColor color;
  qreal width;
  Qt::PenStyle style;
  int legendRow;  // 0: the page's curves, 1: the exact design's
};

// The curves of the plot that have values, the page's before the exact design's.
std::vector<Curve> curvesOf(const BodePlot& plot) {
  std::vector<Curve> all = {
      {&plot.compensator, QStringLiteral("补偿网络"), QColor(0, 0, 255), 1.5, Qt::SolidLine, 0},
      {&plot.stage, QStringLiteral("控制到输出"), QColor(0, 140, 0), 1.5, Qt::SolidLine, 0},
      {&plot.loop, QStringLiteral("环路增益"), QColor(220, 0, 0), 2.2, Qt::SolidLine, 0},
  };
  if (plot.exact) {
    const QString prefix = QString::fromUtf8(kExactPrefix);
    all.push_back({&plot.exact->compensator, prefix + QStringLiteral("补偿网络"), kExactNetwork,
                   1.5, Qt::DashLine, 1});
    all.push_back(
        {&plot.exact->loop, prefix + QStringLiteral("环路增益"), kExactLoop, 2.2, Qt::DashLine, 1});
  }
  std::vector<Curve> shown;
  for (const Curve& c : all) {
    const bool matches =
        c.trace->gainDb.size() == plot.f.size() && c.trace->phaseDeg.size() == plot.f.size();
    if (!c.trace->empty() && matches) shown.push_back(c);
  }
  return shown;
}

int legendRows(const std::vector<Curve>& curves) {
  int rows = 1;
  for (const Curve& c : curves) rows = std::max(rows, c.legendRow + 1);
  return rows;
}

// Pixels a step of the value grid keeps at least, so that its labels stay apart.
constexpr int kMinStepPixels = 20;

// A value range rounded outwards to whole steps, with no more than about `maxSteps` of them.
struct Range {
  double lo = 0, hi = 1, step = 1;
  double fraction(double v) const { return (v - lo) / (hi - lo); }
};

Range roundedRange(double lo, double hi, double step, double mustShow, int maxSteps) {
  lo = std::min(lo, mustShow);
  hi = std::max(hi, mustShow);
  if (!std::isfinite(lo) || !std::isfinite(hi)) return Range{0, step, step};
  while ((hi - lo) / step > maxSteps) step *= 2;
  Range r;
  r.step = step;
  r.lo = std::floor(lo / step) * step;
  r.hi = std::ceil(hi / step) * step;
  if (r.hi <= r.lo) r.hi = r.lo + step;
  return r;
}

// The finite extent of a member of the curves; lo > hi when none.
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
  // The panels within `area`, `top` pixels left above them and `below` under their labels.
  Panels(const QRect& area, int top, int below, const BodePlot& plot) : plot_(plot) {
    const int h = std::max(20, (area.height() - top - kBottom - kGap - below) / 2);
    gain_ = QRect(area.left() + kLeft, area.top() + top, area.width() - kLeft - kRight, h);
    phase_ = gain_.translated(0, h + kGap);
    logLo_ = std::log10(plot.f.front());
    logHi_ = std::log10(plot.f.back());
  }

  const QRect& gain() const { return gain_; }
  const QRect& phase() const { return phase_; }

  double x(double f) const {
    return gain_.left() + (std::log10(f) - logLo_) / (logHi_ - logLo_) * gain_.width();
  }
  bool onAxis(double f) const {
    return std::isfinite(f) && f >= plot_.f.front() && f <= plot_.f.back();
  }
  static double y(const QRect& panel, const Range& r, double v) {
    return panel.bottom() - r.fraction(v) * panel.height();
  }

  // Decade lines with their labels below the phase panel, lighter lines at 2…9 of each decade.
  void drawFrequencyGrid(QPainter& p) const {
    // The axis spans a few decades of finite, positive frequencies; the bounds stay small.
    const int first = static_cast<int>(std::floor(std::clamp(logLo_, -30.0, 30.0)));
    const int last = static_cast<int>(std::ceil(std::clamp(logHi_, -30.0, 30.0)));
    for (int k = first; k <= last; ++k) {
      for (int m = 1; m <= 9; ++m) {
        const double f = m * std::pow(10.0, k);
        if (!onAxis(f)) continue;
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
                 const Curve& curve) const {
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
    p.setPen(QPen(curve.color, curve.width, curve.style));
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
  const double magnitude = std::isfinite(v) && v > 0 ? std::floor(std::log10(v)) : 0;
  return QString::number(v, 'f', static_cast<int>(std::clamp(3 - magnitude, 0.0, 6.0)));
}

// Short texts beside the marks, each kept inside its panel and clear of the ones placed
// before it where the panel leaves room: on the side of the mark it prefers (above or
// below), right or left of it, then on the other side, then further away.
class Notes {
 public:
  enum Side { Above, Below };

  void place(QPainter& p, const QRect& panel, QPointF at, const QString& text, const QColor& color,
             Side side) {
    const QSizeF size = p.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1).size();
    const double right = at.x() + 6, left = at.x() - 6 - size.width();
    const double above = at.y() - size.height() - 4, below = at.y() + 4;
    std::vector<QPointF> candidates;
    for (int step = 0; step <= 6; ++step) {
      const double shift = step * (size.height() + 2);
      const double near = side == Above ? above - shift : below + shift;
      const double far = side == Above ? below + shift : above - shift;
      for (double y : {near, far}) {
        for (double x : {right, left}) candidates.emplace_back(x, y);
      }
    }
    std::optional<QRectF> chosen;
    for (const QPointF& c : candidates) {
      const QRectF box = inside(panel, QRectF(c, size));
      // Notes side by side keep a gap, so that each reads as a text of its own.
      const QRectF spaced = box.adjusted(-kNoteGap, -1, kNoteGap, 1);
      const bool clear = std::none_of(placed_.begin(), placed_.end(),
                                      [&](const QRectF& r) { return r.intersects(spaced); });
      if (!clear) continue;
      chosen = box;
      break;
    }
    const QRectF box = chosen.value_or(inside(panel, QRectF(candidates.front(), size)));
    placed_.push_back(box);
    p.fillRect(box, QColor(255, 255, 255, 220));
    p.setPen(color);
    p.drawText(box, Qt::AlignCenter, text);
  }

 private:
  static QRectF inside(const QRect& panel, QRectF box) {
    box.moveLeft(std::clamp(box.left(), double(panel.left()) + 1,
                            std::max(double(panel.left()) + 1, panel.right() - box.width())));
    box.moveTop(std::clamp(box.top(), double(panel.top()) + 1,
                           std::max(double(panel.top()) + 1, panel.bottom() - box.height())));
    return box;
  }

  std::vector<QRectF> placed_;
};

// The marks of one loop: at its crossover a dashed line through both panels, a dot on 0 dB
// and on the phase, and a bar from −180° up to the phase, the margin; at half the switching
// frequency a dot on the loop's gain and a bar up to 0 dB, the gain margin.
struct LoopMarks {
  const std::optional<LoopCrossover>& crossover;
  const std::optional<double>& gainMargin;
  QColor color;
  QString prefix;    // opens every note: "" for the page's loop
  Notes::Side side;  // where its notes go first: the page's above, the exact design's below
};

void drawLoopMarks(QPainter& p, Notes& notes, const Panels& panels, const Range& gain,
                   const Range& phase, const BodePlot& plot, const LoopMarks& m) {
  const QString unit = toQString(plot.unit);
  const auto dot = [&](QPointF at) {
    p.setPen(Qt::NoPen);
    p.setBrush(m.color);
    p.drawEllipse(at, 3, 3);
    p.setBrush(Qt::NoBrush);
  };
  if (m.crossover && panels.onAxis(m.crossover->f)) {
    const LoopCrossover& c = *m.crossover;
    const double xc = panels.x(c.f);
    p.setPen(QPen(m.color, 1, Qt::DashLine));
    p.drawLine(QPointF(xc, panels.gain().top()), QPointF(xc, panels.phase().bottom()));
    const QPointF atGain(xc, Panels::y(panels.gain(), gain, 0));
    const QPointF atPhase(xc, Panels::y(panels.phase(), phase, c.phaseDeg));
    const QPointF atLimit(xc, Panels::y(panels.phase(), phase, -180));
    p.setPen(QPen(m.color, 3));
    p.drawLine(atLimit, atPhase);
    dot(atGain);
    dot(atPhase);
    notes.place(
        p, panels.gain(), atGain,
        m.prefix + QStringLiteral("穿越频率 ") + fourDigits(c.f) + QStringLiteral(" ") + unit,
        m.color, m.side);
    notes.place(p, panels.phase(), atPhase,
                m.prefix + QStringLiteral("相位裕量 %1°").arg(c.phaseMargin, 0, 'f', 1), m.color,
                m.side);
  }
  if (m.gainMargin && std::isfinite(*m.gainMargin) && panels.onAxis(plot.halfSwitching)) {
    const double xh = panels.x(plot.halfSwitching);
    const QPointF atLoop(xh, Panels::y(panels.gain(), gain, -*m.gainMargin));
    const QPointF atZero(xh, Panels::y(panels.gain(), gain, 0));
    p.setPen(QPen(m.color, 3));
    p.drawLine(atZero, atLoop);
    dot(atLoop);
    notes.place(p, panels.gain(), atLoop,
                m.prefix + QStringLiteral("增益裕量 %1 dB").arg(*m.gainMargin, 0, 'f', 1), m.color,
                m.side);
  }
}

// Half the switching frequency: a dashed line through both panels, named at the top of the
// gain panel.
void drawHalfSwitching(QPainter& p, Notes& notes, const Panels& panels, const BodePlot& plot) {
  if (plot.halfSwitching <= 0 || !panels.onAxis(plot.halfSwitching)) return;
  const double xh = panels.x(plot.halfSwitching);
  p.setPen(QPen(kHalfSwitching, 1, Qt::DashDotLine));
  p.drawLine(QPointF(xh, panels.gain().top()), QPointF(xh, panels.phase().bottom()));
  notes.place(p, panels.gain(), QPointF(xh, panels.gain().top()), QStringLiteral("fsw/2"), kAxis,
              Notes::Below);
}

// The exact design's components beside the page's, a column per component: its label, the
// page's value, the exact one. The font shrinks until the columns fit the width; below the
// smallest size the texts are elided.
void drawComponentTable(QPainter& p, const QRect& area, const std::vector<ComponentPair>& parts) {
  if (parts.empty() || area.width() <= 0) return;
  const QString pageRow = QStringLiteral("本页");
  const QString exactRow = QStringLiteral("精确设计");
  p.save();
  QFont font = p.font();
  int pixels = font.pixelSize() > 0 ? font.pixelSize() : p.fontMetrics().height();
  int headerWidth = 0;
  std::vector<int> widths;
  for (;; --pixels) {
    font.setPixelSize(pixels);
    p.setFont(font);
    const QFontMetrics fm = p.fontMetrics();
    headerWidth = std::max(fm.horizontalAdvance(pageRow), fm.horizontalAdvance(exactRow)) + 10;
    widths.clear();
    int total = headerWidth;
    for (const ComponentPair& c : parts) {
      const int w = std::max({fm.horizontalAdvance(toQString(c.label)),
                              fm.horizontalAdvance(toQString(c.page)),
                              fm.horizontalAdvance(toQString(c.exact))}) +
                    10;
      widths.push_back(w);
      total += w;
    }
    if (total <= area.width() || pixels <= kSmallestTablePixels) {
      // The columns share what is left of the width (or give up what they lack) evenly.
      const int share = (area.width() - total) / static_cast<int>(widths.size());
      for (int& w : widths) w = std::max(8, w + share);
      break;
    }
  }
  std::vector<int> lefts = {area.left() + headerWidth};
  for (int w : widths) lefts.push_back(lefts.back() + w);
  const int right = lefts.back();
  const auto cell = [&](int column, int row) {
    const int left = column < 0 ? area.left() : lefts[static_cast<std::size_t>(column)];
    const int width = column < 0 ? headerWidth : widths[static_cast<std::size_t>(column)];
    return QRect(left, area.top() + row * kTableRow, width, kTableRow);
  };
  p.fillRect(QRect(area.left(), area.top(), right - area.left(), kTableRow), kTableHeader);
  const auto text = [&](const QRect& r, const QString& s, const QColor& color) {
    p.setPen(color);
    p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignCenter,
               p.fontMetrics().elidedText(s, Qt::ElideRight, r.width() - 4));
  };
  text(cell(-1, 1), pageRow, Qt::black);
  text(cell(-1, 2), exactRow, kExactMark);
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const int column = static_cast<int>(i);
    text(cell(column, 0), toQString(parts[i].label), Qt::black);
    text(cell(column, 1), toQString(parts[i].page), Qt::black);
    text(cell(column, 2), toQString(parts[i].exact), kExactMark);
  }
  p.setPen(kGrid);
  for (int row = 0; row <= 3; ++row) {
    const int y = area.top() + row * kTableRow;
    p.drawLine(area.left(), y, right, y);
  }
  p.drawLine(area.left(), area.top(), area.left(), area.top() + 3 * kTableRow);
  for (int x : lefts) p.drawLine(x, area.top(), x, area.top() + 3 * kTableRow);
  p.restore();
}

}  // namespace

BodePlotWidget::BodePlotWidget(const Form& form, QWidget* parent) : QWidget(parent), form_(form) {}

QStringList BodePlotWidget::legend() const {
  QStringList names;
  const BodePlot* plot = form_.bode();
  if (plot == nullptr || plot->f.size() < 2) return names;
  for (const Curve& c : curvesOf(*plot)) names << c.name;
  return names;
}

void BodePlotWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(kAxis);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(Qt::black);
  p.drawText(QRect(8, 4, width() - 16, kTitleRow), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("波特图"));

  const BodePlot* plot = form_.bode();
  const std::vector<Curve> curves = plot ? curvesOf(*plot) : std::vector<Curve>{};
  if (curves.empty() || plot->f.size() < 2) {
    p.setPen(kAxis);
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("计算后显示波特图"));
    return;
  }

  // The legend beside the title, the exact design's curves in a row of their own.
  const int rows = legendRows(curves);
  std::vector<int> lx(static_cast<std::size_t>(rows), kLegendLeft);
  for (const Curve& c : curves) {
    int& x = lx[static_cast<std::size_t>(c.legendRow)];
    const int top = 4 + c.legendRow * kTitleRow;
    p.setPen(QPen(c.color, c.width, c.style));
    p.drawLine(x, top + 8, x + 18, top + 8);
    p.setPen(Qt::black);
    const int w = p.fontMetrics().horizontalAdvance(c.name);
    p.drawText(QRect(x + 22, top, w + 4, kTitleRow), Qt::AlignLeft | Qt::AlignVCenter, c.name);
    x += 22 + w + 14;
  }

  const std::vector<ComponentPair> noParts;
  const std::vector<ComponentPair>& parts = plot->exact ? plot->exact->components : noParts;
  const int tableHeight = parts.empty() ? 0 : 3 * kTableRow + 2 * kTableMargin;
  const Panels panels(rect(), 4 + rows * kTitleRow + kBelowLegend, tableHeight, *plot);
  const auto [gLo, gHi] = extent(curves, &BodeTrace::gainDb);
  const auto [pLo, pHi] = extent(curves, &BodeTrace::phaseDeg);
  const bool loops = !plot->loop.empty() || (plot->exact && !plot->exact->loop.empty());
  // About eight steps in a panel of a plot beside a page; fewer when the panels are low.
  const int maxSteps = std::clamp(panels.gain().height() / kMinStepPixels, 3, 8);
  const Range gain = roundedRange(gLo, gHi, 20, 0, maxSteps);
  const Range phase = roundedRange(pLo, pHi, 45, loops ? -180 : pLo, maxSteps);

  panels.drawFrequencyGrid(p);
  Panels::drawValueGrid(p, panels.gain(), gain, 0, QStringLiteral("dB"));
  Panels::drawValueGrid(p, panels.phase(), phase, -180, QStringLiteral("°"));
  for (const Curve& c : curves) {
    panels.drawCurve(p, panels.gain(), gain, c.trace->gainDb, c);
    panels.drawCurve(p, panels.phase(), phase, c.trace->phaseDeg, c);
  }
  p.setPen(kAxis);
  p.drawRect(panels.gain());
  p.drawRect(panels.phase());
  p.setPen(Qt::black);
  p.drawText(QRect(0, panels.phase().bottom() + 16, width(), 16), Qt::AlignCenter,
             QStringLiteral("频率 (") + toQString(plot->unit) + QStringLiteral(")"));

  Notes notes;
  drawHalfSwitching(p, notes, panels, *plot);
  drawLoopMarks(p, notes, panels, gain, phase, *plot,
                {plot->crossover, plot->gainMargin, kCrossover, QString(), Notes::Above});
  if (plot->exact) {
    drawLoopMarks(p, notes, panels, gain, phase, *plot,
                  {plot->exact->crossover, plot->exact->gainMargin, kExactMark,
                   QString::fromUtf8(kExactPrefix), Notes::Below});
  }
  drawComponentTable(
      p, QRect(8, panels.phase().bottom() + kBottom + kTableMargin, width() - 16, 3 * kTableRow),
      parts);
}

}  // namespace tarnex::qt
