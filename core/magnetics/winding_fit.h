#pragma once
// Whether the windings fit the window, and a finer wire for a winding whose AC factor is high.
// SI units: m, m², Hz, °C.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "magnetics/core_data.h"

namespace tarnex::magnetics {

// Area a winding takes in the window: turns × strands × π·D²/4 of the outer diameter D over
// the enamel (for litz, over the bundle).
double windingArea(double turns, const Wire& wire);

// Conducting copper area of one turn: strands × π·d²/4.
double copperArea(const Wire& wire);

struct WindingFill {
  double area = 0;    // m², as windingArea
  bool fits = false;  // it and every winding before it fit in Aw × fill factor
};
struct WindowFill {
  std::vector<WindingFill> windings;  // in the order given, wound from the centre leg out
  double allowed = 0;                 // Aw × fill factor, m²
  double fill = 0;  // the windings' total area over the allowed area (above 1: no fit)
};
struct WindingOnCore {
  double turns = 0;
  Wire wire;
};
// The windings against the window area Aw times the fill factor (0.4 is usual for round wire
// on a bobbin: insulation, margins and the gaps between round turns take the rest).
WindowFill windowFill(std::span<const WindingOnCore> windings, double Aw, double fillFactor);

// A round wire of conducting diameter d (m): the one of `wires` of that diameter (within 2 %)
// that has the thinnest enamel, else d with the build of grade 1 enamel of IEC 60317,
// about 6 % of the diameter plus 14 µm.
Wire roundWire(double d, std::span<const Wire> wires);

// A wire that carries the copper area of `wire` in strands of at most two skin depths, for a
// winding whose AC factor is too high: of the litz wires of `wires` within 25 % of its copper
// area and of strands at most one skin depth, the one of the thickest strands (the nearest in
// copper among those), else n strands in parallel of the thickest round wire of `wires` thin enough
// (n for about the same copper area). None when `wires` holds nothing thin enough.
struct WireSuggestion {
  Wire wire;  // for parallel strands: the round wire with `strands` set to n
  bool litz = false;
};
std::optional<WireSuggestion> finerWire(const Wire& wire, double skinDepth,
                                        std::span<const Wire> wires);

}  // namespace tarnex::magnetics
