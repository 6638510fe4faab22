#include "magnetics/ferrite.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/finding_text.h"

namespace tarnex::magnetics {

using check::usable;

double alWithGap(const CoreGeometry& core, double mu, double g) {
  if (!usable(core.Ae) || !usable(core.le) || !usable(mu) || !std::isfinite(g) || g < 0) {
    return std::nan("");
  }
  double fringing = 1;
  if (g > 0 && core.windowBreadth > 0) {
    fringing = 1 + g / std::sqrt(core.Ae) * std::log(2 * core.windowBreadth / g);
  }
  // The gap's reluctance falls by the fringing factor; never below the plain gap's area.
  fringing = std::max(1.0, fringing);
  return kMu0 * core.Ae / (core.le / mu + g / fringing);
}

std::optional<double> gapForAl(const CoreGeometry& core, double mu, double al) {
  if (!usable(al)) return std::nullopt;
  const double ungapped = alWithGap(core, mu, 0);
  if (!std::isfinite(ungapped)) return std::nullopt;
  if (al >= ungapped) return 0.0;
  // AL falls steadily as the gap grows: bisect between no gap and one the whole path long.
  double lo = 0, hi = core.le;
  if (alWithGap(core, mu, hi) > al) return std::nullopt;
  for (int i = 0; i < 200 && hi - lo > 1e-12; ++i) {
    const double mid = (lo + hi) / 2;
    (alWithGap(core, mu, mid) > al ? lo : hi) = mid;
  }
  return (lo + hi) / 2;
}

double steinmetzLoss(const Material& material, double f, double B, double T) {
  if (material.steinmetz.empty() || !usable(f) || !usable(B) || !std::isfinite(T)) {
    return std::nan("");
  }
  const SteinmetzRange* range = &material.steinmetz.back();
  for (const SteinmetzRange& r : material.steinmetz) {
    if (f <= r.fMax) {
      range = &r;
      break;
    }
  }
  const double temperature = range->ct0 - range->ct1 * T + range->ct2 * T * T;
  return range->k * std::pow(f, range->alpha) * std::pow(B, range->beta) * temperature;
}

}  // namespace tarnex::magnetics
