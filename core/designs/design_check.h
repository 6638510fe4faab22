#pragma once
// The design check: after a calculation, what the circuit built from the window's numbers
// will really do, worked out from the power stage as built (power_stage.h) with the turns as
// rounded, the inductance as computed and the input at both ends of its range, and told as
// a short list of findings. Each window's check reads only the window's fields (inputs and
// results as shown), so it applies alike to the built-in procedure and to a formula file; a
// check whose fields do not hold usable numbers (zero, negative, not finite) is left out.
//
// Units as on the forms: V, A, µs, µH, µF, kHz, gauss, mm, mm², W.

#include <optional>
#include <string>
#include <vector>

#include "base/finding.h"
#include "designs/bridge_procedures.h"
#include "designs/dcdc_procedures.h"
#include "designs/flyback_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/power_stage.h"
#include "designs/rcc_procedures.h"
#include "magnetics/window_windings.h"

namespace tarnex {

// --- rules shared by the windows -------------------------------------------------------

// The check's tolerances, which the simulated circuit is held to as well: an output this share
// below Vo fails; a flux or ripple this share above what was asked warns; a current the window
// states this share below the circuit's warns.
inline constexpr double kReachShortfall = 0.03;
inline constexpr double kOverAsked = 0.10;
inline constexpr double kCurrentBelow = 0.10;

// Skin depth of copper at 100 °C (a winding at work) at fKHz, in mm.
double skinDepth(double fKHz);

// A round wire of `diameter` mm at fKHz: the strands of at most twice the skin depth that
// carry the same current density in parallel (one strand when the wire itself is thin enough).
struct Strands {
  int count = 1;
  double diameter = 0;  // mm, of each strand
};
Strands strandsFor(double diameter, double fKHz);

// Lowest voltage of a bulk capacitor of C µF behind a full-wave rectifier of an AC input of
// vacRms volts at lineHz, feeding `power` watts: it falls from the peak until the rising sine
// meets it again, once every half cycle.
double bulkValley(double vacRms, double power, double C, double lineHz = 50);

// Bulk capacitor assumed where a window does not size one: 2 µF per watt of input power.
inline constexpr double kBulkPerWatt = 2;

// --- DC-DC -----------------------------------------------------------------------------

struct DcDcCheck {
  Stage lowStage, highStage;  // the stage as built at VinMin and at VinMax, full load
  StagePoint low, high;       // regulated there
  double Bpeak = 0;           // peak flux with the rounded turns, at the input where it peaks
  double outputRipple = 0;    // V peak to peak on Co, the larger of the two ends
  // What the loss sheet takes of the circuit; none when the stage could not be solved.
  std::optional<magnetics::CircuitValues> circuit;
  std::vector<Finding> findings;
};
DcDcCheck checkDcDc(DcDcTopology topology, DcDcMode mode, const DcDcInputs& in,
                    const DcDcOutputs& out);

// --- flyback ---------------------------------------------------------------------------

// The clamp resistor and capacitor, when the clamp command has sized them.
struct FlybackClamp {
  double Rlk = 0;  // kΩ
  double Clk = 0;  // nF
};

struct FlybackCheck {
  double n = 0;  // turns ratio as wound, Np / Ns
  // The coupled inductor referred to the secondary (a buck-boost) at the peak of VacMin and
  // of VacMax, full load, and regulated there; with its leakage inductance (Per % of Lp)
  // reset by the clamp (by Rlk once sized, else at the Vc the window designs for).
  Stage lowStage, highStage;
  StagePoint low, high;
  // Open loop at the lowest input with the design's on-time Ton.
  StagePoint reachedLow;
  double Bpeak = 0;   // at the lowest input, gauss
  double valley = 0;  // bulk capacitor's lowest voltage at VacMin, full load, V
  StagePoint atValley;
  // With a clamp: its voltage above the input at the lowest and the highest input, and the
  // switch's peak voltage at the highest.
  double clampLow = 0, clampHigh = 0, switchPeak = 0;
  // What the loss sheet takes of the circuit; none when the stage could not be solved.
  std::optional<magnetics::CircuitValues> circuit;
  std::vector<Finding> findings;
};
FlybackCheck checkFlyback(bool continuous, const FlybackInputs& in, const FlybackDesign& d,
                          const FlybackClamp& clamp);

// --- forward ---------------------------------------------------------------------------

struct ForwardCheck {
  double n = 0;  // Np / Ns as wound
  // The output inductor behind the rectifier (a buck) at the peak of VacMin and of VacMax.
  Stage lowStage, highStage;
  StagePoint low, high;
  StagePoint reachedLow;  // open loop at Dmax at the lowest input
  double Bpeak = 0;       // at Dmax and the lowest input, gauss (the flux starts from zero)
  double valley = 0;
  StagePoint atValley;
  double switchPeak = 0;  // at VacMax, the reset winding as long as the primary
  // What the loss sheet takes of the circuit; none when the stage could not be solved.
  std::optional<magnetics::CircuitValues> circuit;
  std::vector<Finding> findings;
};
ForwardCheck checkForward(const ForwardInputs& in, const ForwardDesign& d);

// --- ringing choke ---------------------------------------------------------------------

struct RccCheck {
  double n = 0;
  // The coupled inductor referred to the secondary in critical conduction: full load at the
  // peak of VacMin, and the minimum load at the peak of VacMax.
  Stage lowStage, highStage;
  StagePoint low, high;  // their T gives the frequencies
  double Bpeak = 0;      // full load, lowest input
  double valley = 0;
  StagePoint atValley;
  // What the loss sheet takes of the circuit; none when the stage could not be solved.
  std::optional<magnetics::CircuitValues> circuit;
  std::vector<Finding> findings;
};
RccCheck checkRcc(const RccInputs& in, const RccDesign& d);

// --- push-pull, half-bridge, full-bridge -----------------------------------------------

enum class BridgeKind { PushPull, HalfBridge, FullBridge };

// The voltage across the primary (one half of the push-pull's) while a switch conducts, from
// the rectified input Vin: all of it, or half of it across the half-bridge's capacitors.
double bridgePrimaryVoltage(BridgeKind kind, double Vin);

struct BridgeCheck {
  double n = 0;
  // The output inductor behind the centre-tapped rectifier (a buck at twice the switching
  // frequency) at the peak of VacMin and of VacMax.
  Stage lowStage, highStage;
  StagePoint low, high;
  StagePoint reachedLow;  // open loop at Dmax at the lowest input
  double Bpeak = 0;       // half the swing at Dmax, lowest input, gauss
  double valley = 0;
  StagePoint atValley;
  double switchPeak = 0;  // at VacMax
  // What the loss sheet takes of the circuit; none when the stage could not be solved.
  std::optional<magnetics::CircuitValues> circuit;
  std::vector<Finding> findings;
};
BridgeCheck checkBridge(BridgeKind kind, const BridgeInputs& in, const BridgeDesign& d);

}  // namespace tarnex
