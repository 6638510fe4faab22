#include "designs/magnetics.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace tarnex {

double acPeak(double vacRms) {
  return kSqrt2 * vacRms;
}

double switchingPeriod(double fKHz) {
  return 1000 / fKHz;
}

double wireDiameter(double irms, double cmil) {
  return std::sqrt(irms * cmil) * kMmPerMil;
}

bool turnsRoundable(double raw) {
  return std::isfinite(raw) && std::fabs(raw) <= std::numeric_limits<std::int32_t>::max();
}

namespace {

// A winding asked for is wound with at least one turn: a count that rounds to none would
// leave the winding out (and its flux, current and voltage undefined).
double atLeastOneTurn(double raw, double whole) {
  return raw > 0 && whole < 1 ? 1 : whole;
}

}  // namespace

double roundTurnsUp(double raw) {
  if (!turnsRoundable(raw)) return raw;
  return atLeastOneTurn(raw, std::ceil(raw));
}

double roundTurnsHalfDown(double raw) {
  if (!turnsRoundable(raw)) return raw;
  const double whole = std::trunc(raw);
  return atLeastOneTurn(raw, raw - whole > 0.5 ? whole + 1 : whole);
}

double roundTurnsHalfUp(double raw) {
  if (!turnsRoundable(raw)) return raw;
  const double whole = std::trunc(raw);
  return atLeastOneTurn(raw, raw - whole >= 0.5 ? whole + 1 : whole);
}

}  // namespace tarnex
