#include "magnetics/core_loss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/finding_text.h"

namespace tarnex::magnetics {

using check::usable;

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

}  // namespace

Waveform triangularFlux(double on, double fall) {
  on = std::clamp(on, 0.0, 1.0);
  if (fall < 0 || on + fall > 1) fall = 1 - on;
  return {{0, 0}, {on, 1}, {on + fall, 0}, {1, 0}};
}

Waveform trapezoidalFlux(double rise, double top, double fall) {
  rise = std::clamp(rise, 0.0, 1.0);
  top = std::clamp(top, 0.0, 1 - rise);
  fall = std::clamp(fall, 0.0, 1 - rise - top);
  return {{0, 0}, {rise, 1}, {rise + top, 1}, {rise + top + fall, 0}, {1, 0}};
}

RangeChoice steinmetzRangeAt(const Material& material, double f) {
  RangeChoice choice;
  double best = 0;
  for (const SteinmetzRange& r : material.steinmetz) {
    if (f >= r.fMin && f <= r.fMax) return {&r, false};
    // Distance in decades to the nearer end of the range.
    const double edge = f < r.fMin ? r.fMin : r.fMax;
    const double distance = usable(f) && usable(edge) ? std::fabs(std::log(f / edge)) : 1e300;
    if (!choice.range || distance < best) {
      choice = {&r, true};
      best = distance;
    }
  }
  return choice;
}

double temperatureFactor(const SteinmetzRange& range, double T) {
  return std::max(0.0, range.ct0 - range.ct1 * T + range.ct2 * T * T);
}

double steinmetzLoss(const SteinmetzRange& range, double f, double bPeak, double T) {
  return range.k * std::pow(f, range.alpha) * std::pow(bPeak, range.beta) *
         temperatureFactor(range, T);
}

double igseLoss(const SteinmetzRange& range, std::span<const WavePoint> shape, double swing,
                double f, double T) {
  if (shape.size() < 2 || !usable(swing) || !usable(f)) return 0;
  const double a = range.alpha, b = range.beta;
  double lo = shape.front().y, hi = lo;
  for (const WavePoint& p : shape) {
    lo = std::min(lo, p.y);
    hi = std::max(hi, p.y);
  }
  if (!(hi > lo)) return 0;
  const double scale = swing / (hi - lo);
  // ∫₀^2π |cos θ|^α dθ = 2√π·Γ((α+1)/2) / Γ(α/2 + 1).
  const double cosIntegral =
      2 * std::sqrt(std::numbers::pi) * std::tgamma((a + 1) / 2) / std::tgamma(a / 2 + 1);
  const double ki = range.k / (std::pow(kTwoPi, a - 1) * cosIntegral * std::pow(2, b - a));
  const double period = 1 / f;
  double sum = 0;  // Σ |ΔBj|^α·Δtj^(1−α), in T^α·s^(1−α)
  for (std::size_t j = 1; j < shape.size(); ++j) {
    const double dt = (shape[j].x - shape[j - 1].x) * period;
    const double dB = std::fabs(shape[j].y - shape[j - 1].y) * scale;
    if (dt > 0 && dB > 0) sum += std::pow(dB, a) * std::pow(dt, 1 - a);
  }
  return ki * std::pow(swing, b - a) * f * sum * temperatureFactor(range, T);
}

double fluxSwing(double V, double Ton, double N, double Ae) {
  if (!usable(N) || !usable(Ae)) return 0;
  return V * Ton / (N * Ae);
}

}  // namespace tarnex::magnetics
