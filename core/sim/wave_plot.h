#pragma once
// The waveforms of one end of a simulated design window as a plot (forms/plot.h) over the last
// switching periods, a panel each: the switch's voltage, the switch's current, the diode's
// current, the inductor's (or the magnetising) current, and the output voltage, whose axis
// spans its ripple.

#include "forms/plot.h"
#include "sim/window_sim.h"

namespace tarnex::sim {

PlotData wavePlot(const WindowSimulation& sim, const WindowWaves& end);

}  // namespace tarnex::sim
