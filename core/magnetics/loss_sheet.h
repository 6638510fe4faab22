#pragma once
// The loss and fit sheet of a transformer or inductor on a catalogue core: the window fill,
// the core loss, the copper loss of every winding, the total, and the temperature rise, as
// rows to show and as findings like a design check's.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/finding.h"
#include "magnetics/copper_loss.h"
#include "magnetics/core_data.h"
#include "magnetics/core_loss.h"
#include "magnetics/winding_fit.h"

namespace tarnex::magnetics {

struct WindingSpec {
  std::string name;  // as the sheet names it, "初级"
  double turns = 0;
  Wire wire;
  double Irms = 0;   // A
  Waveform current;  // one period of its current, any scale (scaled to Irms)
};

// What the sheet needs of the magnetic part: SI units, f in Hz, T in °C.
struct TransformerSpec {
  CoreGeometry core;
  Material material;
  std::vector<WindingSpec> windings;  // wound from the centre leg out
  double f = 0;
  Waveform flux;             // one period of the flux, any scale
  double voltSeconds = 0;    // V·s across the primary while the flux rises
  double primaryTurns = 0;   // the turns those volt-seconds drive
  double Bpeak = 0;          // highest flux the core reaches, T (0: the swing, from zero)
  double temperature = 100;  // of the core and the windings at work
  double fillFactor = 0.4;
};

// Thermal resistance of a ferrite core with its windings in natural convection, from the
// empirical fit Rth ≈ 53·Ve^−0.54 °C/W with Ve in cm³ (Ferroxcube application note "Design of
// planar power transformers", after the data of its conventional E, ETD and RM cores).
double thermalResistance(double Ve);

struct WindingLoss {
  double Rdc = 0;  // Ω at the temperature
  Layering layering;
  double Fr = 1;                             // effective Pac / Pdc over the current's harmonics
  double P = 0;                              // W
  std::optional<WireSuggestion> suggestion;  // when Fr is above 1.5
};

struct SheetRow {
  std::string label;
  double value = 0;
  std::string unit;
};

struct LossSheet {
  bool complete = false;  // false: the description lacked what the sheet needs (see findings)
  WindowFill fill;
  double swing = 0, Bpeak = 0;  // T
  bool outsideFit = false;      // the frequency lies outside every fitted range
  double Pv = 0, Pcore = 0;     // W/m³, W
  std::vector<WindingLoss> windings;
  double Pcopper = 0, Ptotal = 0;
  double Rth = 0, rise = 0;  // °C/W, K
  std::vector<SheetRow> rows;
  std::vector<Finding> findings;
};

// Limits of the findings: the temperature rise, the share of the saturation flux density at
// 100 °C, and the AC factor above which a finer wire is suggested.
inline constexpr double kMaxRise = 40;
inline constexpr double kFluxShareOfSaturation = 0.8;
inline constexpr double kMaxAcFactor = 1.5;

// `wires` is the wire table the suggestions come from.
LossSheet lossSheet(const TransformerSpec& spec, std::span<const Wire> wires);

}  // namespace tarnex::magnetics
