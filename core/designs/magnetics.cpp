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

double roundTurnsUp(double raw) {
  if (!turnsRoundable(raw)) return raw;
  return std::ceil(raw);
}

double roundTurnsHalfDown(double raw) {
  if (!turnsRoundable(raw)) return raw;
  const double whole = std::trunc(raw);
  return raw - whole > 0.5 ? whole + 1 : whole;
}

double roundTurnsHalfUp(double raw) {
  if (!turnsRoundable(raw)) return raw;
  const double whole = std::trunc(raw);
  return raw - whole >= 0.5 ? whole + 1 : whole;
}

}  // namespace tarnex
