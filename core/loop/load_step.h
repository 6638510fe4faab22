#pragma once
// The load step of a closed loop the compensation pages design: the output voltage's deviation
// after the load current steps from 50 % to 100 % of the page's load, from the averaged
// small-signal models the Bode plots use (loop_model.h), computed in closed form
// (step_response.h).
//
// A load current step ΔI drawn from the output sees the closed loop's output impedance,
//   Zcl(s) = Zo(s) / (1 + T(s)),
// with T the loop gain (stage × network, the amplifier's inversion taken out, as plotted) and
// Zo the power stage's own output impedance in the same model:
//   forward type   the filter L into Co with its ESR and the full load RL: Zo = s·L·H(s),
//                  H the stage's filter transfer of loop_model.h (so that Zo and the stage share
//                  their denominator exactly);
//   DCM flyback    the averaged switch's own resistance RL in parallel with the lightest load
//                  RL (RL = Vo/Iomin) and Co with its ESR: Zo = (RL/2)·H(s);
//   current mode   Rx, which stands for the modulator and the load, across Co with its ESR:
//                  Zo = Rx·(1 + s/ωz)/(1 + s/ωp'); the right-half-plane zero and the sampling
//                  poles lie in the control path, T, not in Zo.
// The deviation is Δv(t) = −ΔI · L⁻¹{Zcl(s)/s}: it jumps at once by −ΔI·Zcl(∞) (the ESR with
// what lies in parallel with it) and returns to zero, the network's integrator leaving no
// error in the end.
//
// Settling: the network's integrator brings the deviation back to zero, so a band about the
// final value cannot be a share of that value; it is ±2 % of the response's largest distance
// from it (for a response that ends where it started, of the peak deviation), the settling
// time the last entry into that band.

#include <optional>
#include <string>
#include <vector>

#include "loop/compensation.h"
#include "loop/loop_model.h"
#include "loop/step_response.h"

namespace tarnex {

// What the load step says before a calculation has built the loop, or when the page's numbers
// make none.
inline constexpr const char* kNoLoadStep = "请先计算补偿元件，再看负载阶跃。";

// The band of the settling time: a share of the largest distance from the final value.
inline constexpr double kSettlingBand = 0.02;
// The most samples one run computes (the plot and the command line show fewer).
inline constexpr std::size_t kStepSamples = 400000;
// The points of each trace shown: the plot and tarnex-calc's rows.
inline constexpr std::size_t kStepShownPoints = 600;

// One loop of a page: the stage's own output impedance Zo, the closed loop's, and whose
// network it is.
struct LoadStepLoop {
  std::string name;  // "page" or "exact"
  Rational output;
  Rational impedance;
};

// The loops of a page's calculation: the page's network and, after the exact design, its
// network; the load in A. Empty when the page's numbers make no model.
struct LoadStepModel {
  double load = 0;
  std::vector<LoadStepLoop> loops;
};

// The response of one loop.
struct LoadStepTrace {
  std::string name;     // "page" or "exact"
  bool stable = false;  // the closed loop's poles all lie in the left half plane
  StepReading reading;  // deviations in V, times in s (valid when stable)
  // s, the shown points (empty when not stable): the first two a twentieth of the shown time
  // and a millionth of it before the step, with no deviation, the next just after it.
  std::vector<double> t;
  std::vector<double> dv;  // V, output deviation at each
};

struct LoadStep {
  double load = 0;                    // A: 100 % of the page's load
  double step = 0;                    // A: the step, 50 % to 100 %
  std::vector<LoadStepTrace> traces;  // as the model's loops
  LoadStepModel model;
};

// The current-mode page's loop: its stage, and its network or the exact design's.
std::optional<LoadStepModel> currentModeLoadStepModel(const CurrentModeInputs& in,
                                                      const CurrentModeResults& r,
                                                      const CurrentModeExact* exact);

// The type II page's loop of the forward type or the DCM flyback.
std::optional<LoadStepModel> typeIILoadStepModel(const TypeIIInputs& in, const TypeIINetwork& n,
                                                 const TypeIIExact* exact);

// The closed loop's output impedance of a stage Zo = zo.num/zo.den and a loop gain
// T = loop.num/loop.den: Zo/(1 + T) as one rational function, zo.den being a factor of
// loop.den (the stage's poles), as zo.num·(loop.den/zo.den)/(loop.den + loop.num).
Rational closedLoopImpedance(const Polynomial& zoNum, const Polynomial& loopDenOverZoDen,
                             const Rational& loop);

// The responses of every loop of the model to the step 50 % → 100 % of its load, on one time
// axis: the shown points spread evenly over twice the longest settling time, at least five
// times the latest peak's time, within the run.
LoadStep loadStepOf(const LoadStepModel& model);

}  // namespace tarnex
