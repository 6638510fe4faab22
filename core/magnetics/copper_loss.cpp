#include "magnetics/copper_loss.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/finding_text.h"

namespace tarnex::magnetics {

using check::usable;

namespace {

constexpr double kPi = std::numbers::pi;
// Side of the square conductor with the area of a round one of unit diameter: √(π/4).
const double kSquareSide = std::sqrt(kPi / 4);

}  // namespace

double copperResistivity(double T) {
  return 1.724e-8 * (1 + 0.00393 * (T - 20));
}

double skinDepth(double f, double T) {
  if (!usable(f)) return 1e300;
  return std::sqrt(copperResistivity(T) / (kPi * f * kMu0));
}

double dcResistance(double turns, double meanTurn, double area, double T) {
  if (!usable(area)) return 0;
  return copperResistivity(T) * turns * meanTurn / area;
}

Layering layering(double turns, int strands, double conductorDiameter, double outerDiameter,
                  double breadth) {
  if (!usable(turns) || strands < 1 || !usable(conductorDiameter) || !usable(outerDiameter) ||
      !usable(breadth))
    return {};
  const double fit = std::floor(breadth / outerDiameter);
  if (fit < 1 || fit > 1e6) return {};
  const double conductors = std::ceil(turns) * strands;
  const double layers = std::ceil(conductors / fit);
  if (layers > 1e6) return {};
  Layering l;
  l.perLayer = static_cast<int>(fit);
  l.layers = static_cast<int>(layers);
  // The layer holds at most as many conductors as the winding has.
  const double inLayer = std::min(fit, conductors);
  l.porosity = std::min(1.0, inLayer * conductorDiameter * kSquareSide / breadth);
  return l;
}

double dowellFactor(double delta, double layers) {
  if (!usable(delta)) return 1;
  const double m2 = layers * layers;
  double skin, proximity;
  if (delta > 20) {
    // Both ratios tend to 1; the hyperbolic functions would overflow far beyond this.
    skin = proximity = 1;
  } else {
    const double d2 = 2 * delta;
    skin = (std::sinh(d2) + std::sin(d2)) / (std::cosh(d2) - std::cos(d2));
    proximity = (std::sinh(delta) - std::sin(delta)) / (std::cosh(delta) + std::cos(delta));
  }
  return delta * (skin + 2 * (m2 - 1) / 3 * proximity);
}

double penetration(double d, double skin, double porosity) {
  if (!usable(skin)) return 0;
  return d * kSquareSide / skin * std::sqrt(std::max(0.0, porosity));
}

std::vector<std::complex<double>> fourierCoefficients(std::span<const WavePoint> wave, int count) {
  std::vector<std::complex<double>> c(static_cast<std::size_t>(std::max(count, 0)) + 1);
  const std::complex<double> j(0, 1);
  for (std::size_t s = 1; s < wave.size(); ++s) {
    const double x0 = wave[s - 1].x, x1 = wave[s].x;
    if (!(x1 > x0)) continue;  // a step adds no area
    const double y0 = wave[s - 1].y, y1 = wave[s].y;
    const double slope = (y1 - y0) / (x1 - x0);
    c[0] += (x1 - x0) * (y0 + y1) / 2;
    for (int n = 1; n <= count; ++n) {
      // ∫(y0 + slope·(x − x0))·e^{−jωx} dx with ω = 2πn has the antiderivative
      // e^{−jωx}·(−y(x)/(jω) + slope/ω²).
      const double w = 2 * kPi * n;
      auto F = [&](double x, double y) {
        return std::exp(-j * w * x) * (-y / (j * w) + slope / (w * w));
      };
      c[static_cast<std::size_t>(n)] += F(x1, y1) - F(x0, y0);
    }
  }
  return c;
}

double waveformRms(std::span<const WavePoint> wave) {
  double sum = 0;
  for (std::size_t s = 1; s < wave.size(); ++s) {
    const double dx = wave[s].x - wave[s - 1].x;
    const double a = wave[s - 1].y, b = wave[s].y;
    if (dx > 0) sum += dx * (a * a + a * b + b * b) / 3;
  }
  return std::sqrt(sum);
}

Waveform scaledToRms(Waveform wave, double rms) {
  const double now = waveformRms(wave);
  const double k = usable(now) ? rms / now : 0;
  for (WavePoint& p : wave) p.y *= k;
  return wave;
}

double effectiveAcFactor(std::span<const WavePoint> wave, double delta1, double layers) {
  const double rms = waveformRms(wave);
  if (!usable(rms)) return 1;
  constexpr int kMaxHarmonics = 4000;
  const std::vector<std::complex<double>> c = fourierCoefficients(wave, kMaxHarmonics);
  const double total = rms * rms;
  const double dc = std::norm(c[0]);
  const double ac = std::max(0.0, total - dc);
  double loss = dc, held = 0, fr = 1;
  for (int n = 1; n <= kMaxHarmonics && held < ac * (1 - 1e-6); ++n) {
    const double power = 2 * std::norm(c[static_cast<std::size_t>(n)]);  // RMS² of harmonic n
    fr = dowellFactor(delta1 * std::sqrt(n), layers);
    loss += power * fr;
    held += power;
  }
  // What the harmonics counted do not hold, at the factor of the last one.
  loss += std::max(0.0, ac - held) * fr;
  return loss / total;
}

}  // namespace tarnex::magnetics
