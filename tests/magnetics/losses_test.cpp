// Core loss by the iGSE, Dowell's AC factor, the harmonics of a winding current and the window
// fill, against closed forms and hand counts.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "magnetics/copper_loss.h"
#include "magnetics/core_loss.h"
#include "magnetics/winding_fit.h"

namespace tarnex::magnetics {
namespace {

constexpr double kPi = std::numbers::pi;

// The 100–300 kHz fit of TDK N87 in the shipped ferrite data.
const SteinmetzRange kN87{100e3,    300e3,    8.240839,    1.783284,
                          2.622642, 0.012427, 0.000174382, 9.580509e-7};

TEST(CoreLoss, SinusoidSampledFinelyGivesTheOriginalSteinmetz) {
  // The iGSE is built so that a sinusoid gives k·f^α·B̂^β back; a sine drawn with 2000
  // straight segments is one to well within 0.1 %.
  const double bPeak = 0.1, f = 150e3, T = 100;
  Waveform sine;
  for (int i = 0; i <= 2000; ++i) sine.push_back({i / 2000.0, std::sin(2 * kPi * i / 2000.0)});
  EXPECT_NEAR(igseLoss(kN87, sine, 2 * bPeak, f, T) / steinmetzLoss(kN87, f, bPeak, T), 1, 1e-3);
}

TEST(CoreLoss, SymmetricTriangleWorkedByHand) {
  // k 1, α 1.5, β 2.5, no temperature dependence, ΔB 0.2 T, f 100 kHz, D 0.5:
  //   ∫₀^2π |cos θ|^1.5 dθ = 2√π·Γ(1.25)/Γ(1.75) = 3.49608
  //   ki = 1 / (√(2π) · 3.49608 · 2¹) = 0.0570557
  //   Σ |ΔBj|^α·Δtj^(1−α) = 2 · 0.2^1.5 · (5 µs)^−0.5 = 2 · 0.0894427 · 447.214 = 80.0
  //   Pv = ki · 0.2^(2.5−1.5) · 1e5 · 80.0 = 91 289 W/m³
  // (against 100 000 W/m³ of a sinusoid of the same peak: a triangle's dB/dt is flatter).
  const SteinmetzRange fit{1e3, 1e6, 1, 1.5, 2.5, 1, 0, 0};
  EXPECT_NEAR(igseLoss(fit, triangularFlux(0.5), 0.2, 100e3, 25), 91289, 5);
  EXPECT_NEAR(steinmetzLoss(fit, 100e3, 0.1, 25), 1e5, 1);
}

TEST(CoreLoss, RangeOutsideEveryFitIsTheNearestAndFlagged) {
  Material m;
  m.steinmetz = {{1, 100e3, 1, 1, 2}, {100e3, 300e3, 2, 1, 2}, {300e3, 1e7, 3, 1, 2}};
  m.steinmetz[2].fMax = 1e6;
  const struct {
    double f;
    double k;
    bool outside;
  } cases[] = {{50e3, 1, false}, {200e3, 2, false}, {2e6, 3, true}, {0.5, 1, true}};
  for (const auto& c : cases) {
    const RangeChoice r = steinmetzRangeAt(m, c.f);
    ASSERT_NE(r.range, nullptr) << c.f;
    EXPECT_EQ(r.range->k, c.k) << c.f;
    EXPECT_EQ(r.outside, c.outside) << c.f;
  }
  EXPECT_EQ(steinmetzRangeAt(Material{}, 1e5).range, nullptr);
}

TEST(Dowell, AgreesWithTheTextbookAsymptotes) {
  // Erickson & Maksimović, Fundamentals of Power Electronics, 2nd ed., ch. 13: for Δ ≫ 1
  // Fr → Δ·(2m² + 1)/3; Hurley & Wölfle, Transformers and Inductors for Power Electronics
  // (2013), ch. 6: for Δ < 1, Fr ≈ 1 + (5m² − 1)/45 · Δ⁴.
  for (double m : {1.0, 2.0, 3.0, 6.0}) {
    const double high = 10, low = 0.3;
    EXPECT_NEAR(dowellFactor(high, m) / (high * (2 * m * m + 1) / 3), 1, 1e-3) << m;
    const double rise = (5 * m * m - 1) / 45 * std::pow(low, 4);
    EXPECT_NEAR((dowellFactor(low, m) - 1) / rise, 1, 0.02) << m;
  }
  EXPECT_TRUE(std::isfinite(dowellFactor(1e6, 3)));
}

TEST(Harmonics, SumOfSquaresIsTheClosedFormRms) {
  const struct {
    const char* name;
    Waveform wave;
    double rms;
  } cases[] = {
      // Discontinuous triangle, peak 2 A, rising for 0.3 and falling for 0.4: Ipk·√((D1+D2)/3).
      {"triangle", {{0, 0}, {0.3, 2}, {0.7, 0}, {1, 0}}, 2 * std::sqrt(0.7 / 3)},
      // Ripple 1 A on 3 A of DC: √(Idc² + ΔI²/12).
      {"ripple on DC", {{0, 2.5}, {0.4, 3.5}, {1, 2.5}}, std::sqrt(9 + 1.0 / 12)},
      // A ramp from 1 to 2 A for 0.45 of the period (steps at both ends): √(D·(a²+ab+b²)/3).
      {"trapezoid", {{0, 0}, {0, 1}, {0.45, 2}, {0.45, 0}, {1, 0}}, std::sqrt(0.45 * 7 / 3)},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(waveformRms(c.wave), c.rms, 1e-12) << c.name;
    const auto coef = fourierCoefficients(c.wave, 4000);
    double sum = std::norm(coef[0]);
    for (std::size_t n = 1; n < coef.size(); ++n) sum += 2 * std::norm(coef[n]);
    EXPECT_NEAR(std::sqrt(sum) / c.rms, 1, 2e-4) << c.name;
  }
}

TEST(Harmonics, AcFactorWeighsTheRippleOnly) {
  // Pure DC sees no proximity loss; a small ripple on DC barely more; a discontinuous
  // triangle of the same winding much more, and more with more layers.
  const Waveform dc = {{0, 1}, {1, 1}};
  const Waveform ripple = {{0, 0.9}, {0.5, 1.1}, {1, 0.9}};
  const Waveform triangle = {{0, 0}, {0.4, 1}, {0.8, 0}, {1, 0}};
  EXPECT_DOUBLE_EQ(effectiveAcFactor(dc, 1.5, 4), 1);
  EXPECT_LT(effectiveAcFactor(ripple, 1.5, 4), 1.05);
  EXPECT_GT(effectiveAcFactor(triangle, 1.5, 4), 3);
  EXPECT_GT(effectiveAcFactor(triangle, 1.5, 4), effectiveAcFactor(triangle, 1.5, 2));
}

TEST(WindowFill, AgainstAHandCount) {
  // 40 turns of 0.5 mm wire, 0.544 mm over the enamel: 40 · π·0.544²/4 = 9.297 mm².
  // 6 turns of 3 × 0.8 mm in parallel, 0.861 mm each: 18 · π·0.861²/4 = 10.480 mm².
  const Wire thin{"Round 0.5", false, 1, 0.5e-3, 0.544e-3};
  const Wire thick{"Round 0.8", false, 3, 0.8e-3, 0.861e-3};
  const WindingOnCore w[] = {{40, thin}, {6, thick}};
  const struct {
    double Aw;
    double fill;
    bool secondaryFits;
  } cases[] = {{50e-6, 19.777 / 20, true}, {45e-6, 19.777 / 18, false}};
  for (const auto& c : cases) {
    const WindowFill f = windowFill(w, c.Aw, 0.4);
    EXPECT_NEAR(f.windings[0].area, 9.297e-6, 1e-9);
    EXPECT_NEAR(f.windings[1].area, 10.480e-6, 1e-9);
    EXPECT_NEAR(f.fill, c.fill, 1e-4);
    EXPECT_TRUE(f.windings[0].fits);
    EXPECT_EQ(f.windings[1].fits, c.secondaryFits);
  }
}

TEST(WindowFill, LayersAndAFinerWire) {
  // 40 turns of 0.544 mm in a 10 mm breadth: 18 a layer, 3 layers.
  const Layering l = layering(40, 1, 0.5e-3, 0.544e-3, 10e-3);
  EXPECT_EQ(l.perLayer, 18);
  EXPECT_EQ(l.layers, 3);
  EXPECT_EQ(layering(40, 1, 0.5e-3, 0.544e-3, 0.1e-3).layers, 0);  // not one turn fits
  EXPECT_EQ(layering(40, 1, 0.5e-3, 0, 10e-3).layers, 0);

  // 1.0 mm at δ 0.2 mm: strands of at most 0.4 mm, the copper of 1.0 mm² · π/4.
  const Wire wire{"Round 1.0", false, 1, 1.0e-3, 1.06e-3};
  const Wire table[] = {{"Round 0.4", false, 1, 0.4e-3, 0.44e-3},
                        {"Round 0.3", false, 1, 0.3e-3, 0.33e-3},
                        {"Litz 100x0.1", true, 100, 0.1e-3, 1.3e-3},
                        {"Litz 30x0.1", true, 30, 0.1e-3, 0.7e-3},
                        // The same copper in strands far thinner than needed.
                        {"Litz 2500x0.02", true, 2500, 0.02e-3, 1.2e-3}};
  const auto litz = finerWire(wire, 0.2e-3, table);
  ASSERT_TRUE(litz);
  EXPECT_EQ(litz->wire.name, "Litz 100x0.1");
  const auto round = finerWire(wire, 0.2e-3, std::span(table, 2));
  ASSERT_TRUE(round);
  EXPECT_EQ(round->wire.name, "Round 0.4");
  EXPECT_EQ(round->wire.strands, 7);  // ⌈1.0² / 0.4²⌉ = ⌈6.25⌉
  EXPECT_FALSE(finerWire(wire, 0.1e-3, std::span(table, 2)));
}

}  // namespace
}  // namespace tarnex::magnetics
