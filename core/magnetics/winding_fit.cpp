#include "magnetics/winding_fit.h"

#include <cmath>
#include <numbers>

namespace tarnex::magnetics {

namespace {

double disc(double d) {
  return std::numbers::pi * d * d / 4;
}

}  // namespace

double windingArea(double turns, const Wire& wire) {
  // A litz bundle's outer diameter is the whole bundle's; round strands in parallel each take
  // their own place.
  const int strands = wire.litz ? 1 : wire.strands;
  return turns * strands * disc(wire.outerDiameter);
}

double copperArea(const Wire& wire) {
  return wire.strands * disc(wire.strandDiameter);
}

WindowFill windowFill(std::span<const WindingOnCore> windings, double Aw, double fillFactor) {
  WindowFill f;
  f.allowed = Aw * fillFactor;
  double used = 0;
  for (const WindingOnCore& w : windings) {
    const double area = windingArea(w.turns, w.wire);
    used += area;
    f.windings.push_back({area, f.allowed > 0 && used <= f.allowed});
  }
  f.fill = f.allowed > 0 ? used / f.allowed : (used > 0 ? 1e300 : 0);
  return f;
}

Wire roundWire(double d, std::span<const Wire> wires) {
  const Wire* best = nullptr;
  for (const Wire& w : wires) {
    if (w.litz || w.strands != 1 || std::fabs(w.strandDiameter - d) > 0.02 * d) continue;
    if (!best || w.outerDiameter < best->outerDiameter) best = &w;
  }
  if (best) return *best;
  Wire w;
  w.strandDiameter = d;
  w.outerDiameter = 1.06 * d + 14e-6;
  return w;
}

std::optional<WireSuggestion> finerWire(const Wire& wire, double skinDepth,
                                        std::span<const Wire> wires) {
  const double area = copperArea(wire);
  const double thickest = 2 * skinDepth;
  if (!(area > 0) || !(thickest > 0)) return std::nullopt;
  const Wire* litz = nullptr;
  const Wire* round = nullptr;
  for (const Wire& w : wires) {
    if (!(w.strandDiameter > 0) || w.strandDiameter > thickest) continue;
    if (w.litz) {
      // A bundle's strands lie in many layers: at most one skin depth, as litzWiresFor. Of
      // the bundles near enough in copper, the one of the thickest strands: the fewest to
      // wind and terminate (then the nearest in copper).
      const double off = std::fabs(copperArea(w) / area - 1);
      if (off > 0.25 || w.strandDiameter > skinDepth) continue;
      if (!litz || w.strandDiameter > litz->strandDiameter ||
          (w.strandDiameter == litz->strandDiameter &&
           off < std::fabs(copperArea(*litz) / area - 1)))
        litz = &w;
    } else if (w.strands == 1 && (!round || w.strandDiameter > round->strandDiameter ||
                                  (w.strandDiameter == round->strandDiameter &&
                                   w.outerDiameter < round->outerDiameter))) {
      round = &w;
    }
  }
  if (litz) return WireSuggestion{*litz, true};
  if (!round) return std::nullopt;
  const double n = std::ceil(area / copperArea(*round) - 1e-9);
  if (!(n >= 1) || n > 10000) return std::nullopt;
  WireSuggestion s{*round, false};
  s.wire.strands = static_cast<int>(n);
  return s;
}

}  // namespace tarnex::magnetics
