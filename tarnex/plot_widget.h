#pragma once
// The plot widget: draws a PlotData (forms/plot.h) as one or more panels stacked over a
// shared horizontal axis, each with its own value axis and unit, linear or logarithmic, a
// legend beside the title, and traces that break where a value is missing. The mouse reads
// it: a vertical cursor follows the pointer with the values under it, the reason of a gap
// shows as a tooltip over the gap, dragging across the panels zooms into that stretch of the
// shared axis, the wheel zooms about the pointer, and a double click shows it all again.
// Views with more to say (the marks of a Bode plot) draw over the panels in paintOverlay.

#include <QStringList>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "forms/plot.h"

namespace tarnex::qt {

// Where the last paint put things: the panels, and the mapping of values to pixels.
class PlotFrame {
 public:
  struct Range {
    double lo = 0, hi = 1, step = 1;
    bool log = false;
  };

  std::size_t panelCount() const { return panels_.size(); }
  const QRect& panel(std::size_t i) const { return panels_[i]; }
  const Range& range(std::size_t i) const { return ranges_[i]; }
  // The pixel column of a value of the shared axis, and the value at a column.
  double x(double v) const;
  double valueAt(double px) const;
  // Whether a value lies within the stretch of the shared axis shown.
  bool onAxis(double v) const;
  // The pixel row of value `v` in panel `i`.
  double y(std::size_t i, double v) const;
  static double y(const QRect& panel, const Range& r, double v);
  // The lowest pixel row of the shared axis' labels and caption.
  int axisBottom() const;
  double shownLo() const { return lo_; }
  double shownHi() const { return hi_; }
  bool logX() const { return logX_; }

 private:
  friend class PlotWidget;
  std::vector<QRect> panels_;
  std::vector<Range> ranges_;
  double lo_ = 0, hi_ = 1;
  bool logX_ = false;
};

class PlotWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PlotWidget(QWidget* parent);

  // Shows `data`; a zoom stays while the shared axis keeps its ends.
  void setPlot(PlotData next);
  const PlotData& plot() const { return data_; }

  // The names of the traces in the order of the legend (each once); empty when the plot is.
  QStringList legend() const { return legendOf(data_); }
  static QStringList legendOf(const PlotData& plot);

  // The stretch of the shared axis shown when zoomed in; nothing when all of it is.
  std::optional<std::pair<double, double>> zoom() const { return zoom_; }
  void setZoom(double lo, double hi);
  void resetZoom();

  // What the read-out says at a pixel column of the panels: the shared axis' value and each
  // trace's (or the reason of its gap), as the cursor box lists them; empty off the panels.
  QStringList readOut(int px) const;
  // The reason of a gap at a pixel column, shown as the tooltip there; empty when none.
  QString gapNoteAt(int px) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

  // Pixels kept free under the shared axis' caption for what paintOverlay draws there.
  virtual int reservedBelow() const { return 0; }
  // Drawn after the panels, their traces and the axis caption, before the read-out.
  virtual void paintOverlay(QPainter&, const PlotFrame&) {}

  // Replaces the data from within a subclass's paintEvent without scheduling a repaint.
  void replacePlot(PlotData next);

 private:
  PlotFrame layout(const QFontMetrics& fm) const;
  std::optional<std::size_t> pointAt(int px) const;
  void drawLegend(QPainter& p) const;
  void drawReadOut(QPainter& p, const PlotFrame& frame) const;

  PlotData data_;
  std::optional<std::pair<double, double>> zoom_;
  std::optional<int> cursor_;    // the pointer's column over the panels
  std::optional<int> dragFrom_;  // where a zooming drag started
  PlotFrame frame_;              // of the last paint
};

}  // namespace tarnex::qt
