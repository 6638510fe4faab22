#pragma once
// A loop gain as an AC analysis swept it, read as an engineer reads a Bode plot: gain in dB
// and phase in degrees at each swept frequency, the phase unwrapped along the sweep from its
// principal value at the lowest frequency; the crossover and the value at a given frequency by
// linear interpolation in log f between the two swept points around it.

#include <optional>
#include <vector>

#include "sim/spice_output.h"

namespace tarnex::testing {

struct SweptGain {
  std::vector<double> f;  // Hz, rising
  std::vector<double> gainDb;
  std::vector<double> phaseDeg;  // unwrapped
};

// The sweep of ngspice's printed vector; points out of order or not finite are refused (an
// empty sweep).
SweptGain sweptGain(const std::vector<sim::AcPoint>& points);

struct GainPhase {
  double gainDb = 0;
  double phaseDeg = 0;
};

struct SweptCrossover {
  double f = 0;            // Hz
  double phaseDeg = 0;     // on the unwrapped branch
  double phaseMargin = 0;  // 180° + phaseDeg
};

// The highest frequency of the sweep at which the gain falls through 0 dB.
std::optional<SweptCrossover> crossoverOf(const SweptGain& sweep);

// Gain and phase at `f`; empty outside the sweep.
std::optional<GainPhase> valueAt(const SweptGain& sweep, double f);

}  // namespace tarnex::testing
