#pragma once
// Bode plots of the loops the compensation pages design: the error amplifier's network as
// built from the computed components, the control-to-output stage as the page models it, and
// their product, the loop gain, with its crossover and phase margin.
//
// Sign convention: the error amplifiers invert, and that 180° is left out of every trace, as
// loop plots usually do. A network's phase is that of its impedance ratio (an integrator
// starts at −90°), and the phase margin is 180° plus the loop phase at the crossover. This is
// the margin the type II page computes as 360° less the total lag with the inversion counted.
//
// Each plot spans from two decades below the lowest pole, zero or crossover of the design to a
// decade above the highest of them, the switching frequency included, at log-spaced points.
// Phases are unwrapped along the frequency axis from their principal value at the lowest
// point, which lies well below every pole and zero. A trace whose values are not all finite
// and positive (a design computed from zeros, a negative capacitor) is left empty.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "loop/compensation.h"
#include "loop/loop_model.h"

namespace tarnex {

// Number of points of every plot.
inline constexpr int kBodePoints = 401;

// Gain and phase of one transfer function at the frequencies of its plot.
struct BodeTrace {
  std::vector<double> gainDb;    // dB
  std::vector<double> phaseDeg;  // degrees, unwrapped
  bool empty() const { return gainDb.empty(); }
};

// Where the loop gain falls through 0 dB: the highest such frequency of the plot, found by
// bisection on the log-frequency axis between the two points that straddle it.
struct LoopCrossover {
  double f = 0;            // frequency, in the unit of the plot
  double phaseDeg = 0;     // loop phase there, on the branch of the plotted trace
  double phaseMargin = 0;  // 180° + phaseDeg
};

// A component of the exact design beside the page's own: "R2(Ω)", its text on the page and
// in the exact design, each as a field shows a number.
struct ComponentPair {
  std::string label;
  std::string page;
  std::string exact;
};

// The network the exact design solves and the loop it makes.
struct ExactLoop {
  BodeTrace compensator;
  BodeTrace loop;  // empty without a stage
  std::optional<LoopCrossover> crossover;
  std::optional<double> gainMargin;  // dB, as BodePlot::gainMargin
  std::vector<ComponentPair> components;
};

struct BodePlot {
  std::string_view unit;  // the unit of the page's frequencies: "Hz" or "kHz"
  std::vector<double> f;  // log-spaced frequencies, in that unit
  BodeTrace compensator;  // the amplifier's network, inversion left out
  BodeTrace stage;        // control to output; empty when the page does not model it
  BodeTrace loop;         // stage × compensator; empty without both
  std::optional<LoopCrossover> crossover;  // empty without a loop or a crossover
  // Half the switching frequency, in the plot's unit (0 when the page has none), and how far
  // below 0 dB the loop gain lies there: the sampling limit of every switching converter.
  double halfSwitching = 0;
  std::optional<double> gainMargin;  // dB; empty without a loop
  std::optional<ExactLoop> exact;    // after the exact design
};

// Current-mode page, frequencies in Hz. The compensator is the transconductance amplifier
// y·gm·Z(R2–C1 ∥ C2) with y = Vref/Vo, or the op-amp Z(R2–C1 ∥ C2)/R1; none for no type. The
// stage is the complete current-mode stage of loop_model.h.
BodePlot currentModeBode(const CurrentModeInputs& in, const CurrentModeResults& r,
                         const CurrentModeExact* exact = nullptr);

// Type II page, frequencies in kHz. The compensator is Z(R2–C1 ∥ C2)/R1 with R2, C1 and C2 of
// the network; the stage is typeIIStageTransfer of the fields.
BodePlot typeIIBode(const TypeIIInputs& in, const TypeIINetwork& n,
                    const TypeIIExact* exact = nullptr);

// Type III page, frequencies in kHz: the network Z(R2–C1 ∥ C3)·(1/R1 + 1/(R3–C2)) alone, the
// page not knowing the power stage.
BodePlot typeIIIBode(const TypeIIIInputs& in, const TypeIIIResults& r,
                     const TypeIIIExact* exact = nullptr);

}  // namespace tarnex
