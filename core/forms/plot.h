#pragma once
// A plot as plain data, for the desktop's plot widget to draw: one or more panels stacked
// over one shared horizontal axis, each with its own value axis and unit, and traces of
// values over the axis' points. A value that is not finite breaks its trace: the line stops
// before it and starts again after it (a point the design refused, a phase that could not be
// computed). The core fills it; the widget only draws it.

#include <optional>
#include <string>
#include <vector>

#include "tables/field_table.h"

namespace tarnex {

enum class PlotLine { Solid, Dash, DashDot };

// An axis: its unit (written after every label of a value axis, and in the caption of the
// shared axis), linear or logarithmic, and how its grid is chosen.
struct PlotAxis {
  std::string unit;
  // The shared axis: its caption under the panels, e.g. "频率" (the unit is added in
  // brackets). A value axis: its name at the top of its panel (none when empty).
  std::string caption;
  bool log = false;
  // Linear value axes: the grid step the range is rounded to (doubled until no more than the
  // steps the panel's height allows remain); 0 chooses 1, 2 or 5 times a power of ten.
  double step = 0;
  // A value the range always includes (0 dB, −180°), and one drawn darker on the grid.
  std::optional<double> mustShow;
  std::optional<double> emphasised;
  // The shared logarithmic axis labels its decades with k and M (1k, 10k, 1M).
  bool siLabels = false;
};

struct PlotTrace {
  std::string name;       // in the legend and the read-out
  std::vector<double> y;  // one value per point of the shared axis
  Rgb color{0, 0, 255};
  double width = 1.5;  // pixels
  PlotLine line = PlotLine::Solid;
  int legendRow = 0;  // the row of the legend beside the title it is named in
  // Why a point has no value, by point (empty, or as many as the points): shown over the
  // gap it leaves.
  std::vector<std::string> gapNotes;
};

struct PlotPanel {
  PlotAxis axis;
  std::vector<PlotTrace> traces;
};

struct PlotData {
  std::string title;      // at the top left, before the legend
  std::string emptyText;  // in the middle when there is nothing to draw
  PlotAxis xAxis;
  std::vector<double> x;  // the points of the shared axis, rising
  std::vector<PlotPanel> panels;

  bool empty() const {
    if (x.size() < 2) return true;
    for (const PlotPanel& p : panels) {
      if (!p.traces.empty()) return false;
    }
    return true;
  }
};

}  // namespace tarnex
