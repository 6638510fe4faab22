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

// The table of the exact design's components under the panels: three rows (component, the
// page's value, the exact one) and the margin above and below it.
constexpr int kTableRow = 17;
constexpr int kTableMargin = 4;
// The smallest pixel size the table shrinks its font to before it elides its texts.
constexpr int kSmallestTablePixels = 9;

const QColor kGrid(222, 222, 222);
const QColor kAxis(120, 120, 120);
const QColor kCrossover(120, 0, 160);
const QColor kHalfSwitching(150, 150, 150);
// The exact design: its loop in orange, its network in teal, both dashed; its marks and its
// row of the table in a darker orange that reads as text.
constexpr Rgb kExactLoop{235, 120, 0};
constexpr Rgb kExactNetwork{0, 160, 190};
const QColor kExactMark(200, 90, 0);
const QColor kTableHeader(244, 244, 244);

constexpr const char* kExactPrefix = "精确设计 ";
constexpr int kNoteGap = 8;  // pixels between notes side by side

// A curve of the plot: its trace, name and look, in both panels.
struct Curve {
  const BodeTrace* trace;
  std::string name;
  Rgb color;
  double width;
  PlotLine line;
  int legendRow;  // 0: the page's curves, 1: the exact design's
};

// The curves of the plot that have values, the page's before the exact design's.
std::vector<Curve> curvesOf(const BodePlot& plot) {
  std::vector<Curve> all = {
      {&plot.compensator, "补偿网络", Rgb{0, 0, 255}, 1.5, PlotLine::Solid, 0},
      {&plot.stage, "控制到输出", Rgb{0, 140, 0}, 1.5, PlotLine::Solid, 0},
      {&plot.loop, "环路增益", Rgb{220, 0, 0}, 2.2, PlotLine::Solid, 0},
  };
  if (plot.exact) {
    const std::string prefix = kExactPrefix;
    all.push_back(
        {&plot.exact->compensator, prefix + "补偿网络", kExactNetwork, 1.5, PlotLine::Dash, 1});
    all.push_back({&plot.exact->loop, prefix + "环路增益", kExactLoop, 2.2, PlotLine::Dash, 1});
  }
  std::vector<Curve> shown;
  for (const Curve& c : all) {
    const bool matches =
        c.trace->gainDb.size() == plot.f.size() && c.trace->phaseDeg.size() == plot.f.size();
    if (!c.trace->empty() && matches) shown.push_back(c);
  }
  return shown;
}

// The plot as the plot widget draws it: gain in dB above phase in degrees over the
// logarithmic frequency axis, the gain's grid in steps of 20 dB through 0 dB, the phase's in
// steps of 45° through −180° when there is a loop to read its margin against.
PlotData plotData(const BodePlot* plot) {
  PlotData d;
  d.title = "波特图";
  d.emptyText = "计算后显示波特图";
  if (plot == nullptr || plot->f.size() < 2) return d;
  d.x = plot->f;
  d.xAxis.caption = "频率";
  d.xAxis.unit = std::string(plot->unit);
  d.xAxis.log = true;
  d.xAxis.siLabels = true;
  PlotPanel gain, phase;
  gain.axis.unit = "dB";
  gain.axis.step = 20;
  gain.axis.mustShow = 0;
  gain.axis.emphasised = 0;
  phase.axis.unit = "°";
  phase.axis.step = 45;
  phase.axis.emphasised = -180;
  if (!plot->loop.empty() || (plot->exact && !plot->exact->loop.empty())) {
    phase.axis.mustShow = -180;
  }
  for (const Curve& c : curvesOf(*plot)) {
    const PlotTrace look{c.name, {}, c.color, c.width, c.line, c.legendRow, {}};
    gain.traces.push_back(look);
    gain.traces.back().y = c.trace->gainDb;
    phase.traces.push_back(look);
    phase.traces.back().y = c.trace->phaseDeg;
  }
  d.panels = {std::move(gain), std::move(phase)};
  return d;
}

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

void drawLoopMarks(QPainter& p, Notes& notes, const PlotFrame& f, const BodePlot& plot,
                   const LoopMarks& m) {
  const QString unit = toQString(plot.unit);
  const QRect& gain = f.panel(0);
  const QRect& phase = f.panel(1);
  const auto dot = [&](QPointF at) {
    p.setPen(Qt::NoPen);
    p.setBrush(m.color);
    p.drawEllipse(at, 3, 3);
    p.setBrush(Qt::NoBrush);
  };
  if (m.crossover && f.onAxis(m.crossover->f)) {
    const LoopCrossover& c = *m.crossover;
    const double xc = f.x(c.f);
    p.setPen(QPen(m.color, 1, Qt::DashLine));
    p.drawLine(QPointF(xc, gain.top()), QPointF(xc, phase.bottom()));
    const QPointF atGain(xc, f.y(0, 0));
    const QPointF atPhase(xc, f.y(1, c.phaseDeg));
    const QPointF atLimit(xc, f.y(1, -180));
    p.setPen(QPen(m.color, 3));
    p.drawLine(atLimit, atPhase);
    dot(atGain);
    dot(atPhase);
    notes.place(
        p, gain, atGain,
        m.prefix + QStringLiteral("穿越频率 ") + fourDigits(c.f) + QStringLiteral(" ") + unit,
        m.color, m.side);
    notes.place(p, phase, atPhase,
                m.prefix + QStringLiteral("相位裕量 %1°").arg(c.phaseMargin, 0, 'f', 1), m.color,
                m.side);
  }
  if (m.gainMargin && std::isfinite(*m.gainMargin) && f.onAxis(plot.halfSwitching)) {
    const double xh = f.x(plot.halfSwitching);
    const QPointF atLoop(xh, f.y(0, -*m.gainMargin));
    const QPointF atZero(xh, f.y(0, 0));
    p.setPen(QPen(m.color, 3));
    p.drawLine(atZero, atLoop);
    dot(atLoop);
    notes.place(p, gain, atLoop,
                m.prefix + QStringLiteral("增益裕量 %1 dB").arg(*m.gainMargin, 0, 'f', 1), m.color,
                m.side);
  }
}

// Half the switching frequency: a dashed line through both panels, named at the top of the
// gain panel.
void drawHalfSwitching(QPainter& p, Notes& notes, const PlotFrame& f, const BodePlot& plot) {
  if (plot.halfSwitching <= 0 || !f.onAxis(plot.halfSwitching)) return;
  const double xh = f.x(plot.halfSwitching);
  p.setPen(QPen(kHalfSwitching, 1, Qt::DashDotLine));
  p.drawLine(QPointF(xh, f.panel(0).top()), QPointF(xh, f.panel(1).bottom()));
  notes.place(p, f.panel(0), QPointF(xh, f.panel(0).top()), QStringLiteral("fsw/2"), kAxis,
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

BodePlotWidget::BodePlotWidget(const Form& form, QWidget* parent)
    : PlotWidget(parent), form_(form) {}

QStringList BodePlotWidget::legend() const {
  return legendOf(plotData(form_.bode()));
}

void BodePlotWidget::paintEvent(QPaintEvent* event) {
  replacePlot(plotData(form_.bode()));
  PlotWidget::paintEvent(event);
}

int BodePlotWidget::reservedBelow() const {
  const BodePlot* plot = form_.bode();
  const bool table = plot && plot->exact && !plot->exact->components.empty();
  return table ? 3 * kTableRow + 2 * kTableMargin : 0;
}

void BodePlotWidget::paintOverlay(QPainter& p, const PlotFrame& f) {
  const BodePlot* plot = form_.bode();
  if (plot == nullptr || f.panelCount() < 2) return;
  Notes notes;
  drawHalfSwitching(p, notes, f, *plot);
  drawLoopMarks(p, notes, f, *plot,
                {plot->crossover, plot->gainMargin, kCrossover, QString(), Notes::Above});
  if (plot->exact) {
    drawLoopMarks(p, notes, f, *plot,
                  {plot->exact->crossover, plot->exact->gainMargin, kExactMark,
                   QString::fromUtf8(kExactPrefix), Notes::Below});
    drawComponentTable(p, QRect(8, f.axisBottom() + kTableMargin, width() - 16, 3 * kTableRow),
                       plot->exact->components);
  }
}

}  // namespace tarnex::qt
