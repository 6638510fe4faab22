#pragma once
// The load step of a page as the plot widget draws it (forms/plot.h): the output voltage's
// deviation in mV over the time in µs or ms, a trace per network whose loop is stable (the
// page's solid, the exact design's dashed), each named in the legend with its peak deviation,
// the peak's time and the settling time; above the panel the step and the networks whose
// closed loop is not stable (which draw no trace).

#include <string>

#include "forms/plot.h"
#include "loop/load_step.h"

namespace tarnex {

// What the plot's legend says of one network: "本页网络：峰值 −516 mV（0.225 µs），调节时间
// 58.4 µs", or that its closed loop is not stable.
std::string loadStepReading(const LoadStepTrace& trace);

PlotData loadStepPlot(const LoadStep& step);

}  // namespace tarnex
