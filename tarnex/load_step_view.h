#pragma once
// The load step of the compensation page in front: "负载阶跃" in the sheet's design menu
// opens a window with the core's load-step plot (loop/load_step_plot.h) on the plot widget,
// its peak deviations and settling times in the legend. The item is enabled on the pages that
// know their power stage; before a calculation it says what is missing.

#include <functional>

class QAction;
class QWidget;

namespace tarnex::qt {

class DesignMenu;
class FormWidget;

// Adds "负载阶跃" to `menu` of `window`, acting on the form `shown` gives now.
QAction* addLoadStepItem(DesignMenu& menu, QWidget* window, std::function<FormWidget*()> shown);

}  // namespace tarnex::qt
