#include "support/loop_gain.h"

#include <cmath>
#include <numbers>

namespace tarnex::testing {

namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

// The share of the way from point i to i + 1 at which `f` lies, in log f.
double shareOf(const SweptGain& s, std::size_t i, double f) {
  return std::log(f / s.f[i]) / std::log(s.f[i + 1] / s.f[i]);
}

double between(const std::vector<double>& v, std::size_t i, double t) {
  return v[i] + t * (v[i + 1] - v[i]);
}

}  // namespace

SweptGain sweptGain(const std::vector<sim::AcPoint>& points) {
  SweptGain s;
  for (const sim::AcPoint& p : points) {
    const double gain = std::abs(p.v);
    const bool rising = s.f.empty() || p.f > s.f.back();
    if (!(std::isfinite(p.f) && p.f > 0 && std::isfinite(gain) && gain > 0 && rising)) return {};
    double phase = std::arg(p.v) * kDegreesPerRadian;
    if (!s.phaseDeg.empty()) phase += 360 * std::round((s.phaseDeg.back() - phase) / 360);
    s.f.push_back(p.f);
    s.gainDb.push_back(20 * std::log10(gain));
    s.phaseDeg.push_back(phase);
  }
  return s;
}

std::optional<SweptCrossover> crossoverOf(const SweptGain& s) {
  for (std::size_t i = s.f.size(); i-- > 1;) {
    const std::size_t a = i - 1;
    if (!(s.gainDb[a] >= 0 && s.gainDb[i] < 0)) continue;
    // The gain in dB is nearly straight in log f over one step: 0 dB where the line crosses.
    const double t = s.gainDb[a] / (s.gainDb[a] - s.gainDb[i]);
    SweptCrossover c;
    c.f = s.f[a] * std::pow(s.f[i] / s.f[a], t);
    c.phaseDeg = between(s.phaseDeg, a, t);
    c.phaseMargin = 180 + c.phaseDeg;
    return c;
  }
  return std::nullopt;
}

std::optional<GainPhase> valueAt(const SweptGain& s, double f) {
  for (std::size_t i = 0; i + 1 < s.f.size(); ++i) {
    if (!(f >= s.f[i] && f <= s.f[i + 1])) continue;
    const double t = shareOf(s, i, f);
    return GainPhase{between(s.gainDb, i, t), between(s.phaseDeg, i, t)};
  }
  return std::nullopt;
}

}  // namespace tarnex::testing
