// Bode plots of the designed loops against hand computations from the pole-zero forms of the
// networks and stages. Values between plotted points are read by interpolation on the log
// axis, so the tolerances allow for the spacing of the points.
#include "loop/bode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarnex {
namespace {

// A trace's gain and phase at f, interpolated linearly in log f between its two neighbours.
struct Reading {
  double gainDb, phaseDeg;
};
Reading readAt(const BodePlot& plot, const BodeTrace& t, double f) {
  EXPECT_TRUE(f >= plot.f.front() && f <= plot.f.back()) << f << " outside the plot";
  std::size_t i = 1;
  while (i + 1 < plot.f.size() && plot.f[i] < f) ++i;
  const double w = std::log(f / plot.f[i - 1]) / std::log(plot.f[i] / plot.f[i - 1]);
  return {t.gainDb[i - 1] + w * (t.gainDb[i] - t.gainDb[i - 1]),
          t.phaseDeg[i - 1] + w * (t.phaseDeg[i] - t.phaseDeg[i - 1])};
}

// The type II page's forward-type opening values after steps 2 and 4, as the fields hold them.
TypeIIInputs forwardFields() {
  TypeIIInputs in;
  in.kind = TypeIIKind::Forward;
  in.fsw = 100, in.fc = 20, in.R1 = 1000;
  in.fpo = 1.03821f, in.fesr = 2.60483f, in.Gesr = -17.5633f;
  return in;
}

// Type II network R1 100 kΩ, R2 1 kΩ, C1 1000 pF, C2 10 pF:
//   H = (1 + s/ωz) / (s/ω0 · (1 + s/ωp)), f0 = 1/(2π·R1·(C1+C2)) = 1.57579 kHz,
//   fz = 1/(2π·R2·C1) = 159.155 kHz, fp = 1/(2π·R2·C1C2/(C1+C2)) = 16074.6 kHz.
// At f0 the integrator alone is at 0 dB: 20·log(|1 + j·f0/fz| / |1 + j·f0/fp|) = 0.000426 dB,
// phase −90 + atan°(f0/fz) − atan°(f0/fp) = −89.4384°.
// At fz the zero's 45°: 20·log(f0/fz · √2 / |1 + j·fz/fp|) = −37.0766 dB,
// phase −90 + 45 − atan°(fz/fp) = −45.5673°.
TEST(TypeIIBode, NetworkIntegratorAndZero) {
  TypeIIInputs in;
  in.kind = TypeIIKind::None;
  in.R1 = 100000;
  in.fc = 1;  // the plot starts two decades below
  TypeIINetwork n;
  n.R2 = 1000, n.C1 = 1000, n.C2 = 10;
  const BodePlot plot = typeIIBode(in, n);
  ASSERT_EQ(plot.f.size(), static_cast<std::size_t>(kBodePoints));
  EXPECT_TRUE(plot.stage.empty());
  EXPECT_FALSE(plot.crossover);
  const Reading atF0 = readAt(plot, plot.compensator, 1.57579);
  EXPECT_NEAR(atF0.gainDb, 0.000426, 1e-3);
  EXPECT_NEAR(atF0.phaseDeg, -89.4384, 0.01);
  const Reading atZero = readAt(plot, plot.compensator, 159.155);
  EXPECT_NEAR(atZero.gainDb, -37.0766, 1e-3);
  EXPECT_NEAR(atZero.phaseDeg, -45.5673, 0.01);
}

// The forward type's LC stage as a real double pole: its DC gain from the fields is
// Gesr + 40·log(fesr/fpo) = −17.5633 + 15.9798 = −1.58353 dB (A·Vref/Vo = 5/3 · 0.5, −1.58362).
// At fpo: DC − 20·log 2 + 10·log(1 + (fpo/fesr)²) = −6.96383 dB, phase −90 + atan°(fpo/fesr) =
// −68.2692°. Far above fesr the two poles and the zero leave −90°.
TEST(TypeIIBode, ForwardStageDoublePole) {
  const BodePlot plot = typeIIBode(forwardFields(), TypeIINetwork{});
  ASSERT_FALSE(plot.stage.empty());
  EXPECT_NEAR(plot.stage.gainDb.front(), -1.58353, 1e-3);
  const Reading atPole = readAt(plot, plot.stage, 1.03821);
  EXPECT_NEAR(atPole.gainDb, -6.96383, 1e-3);
  EXPECT_NEAR(atPole.phaseDeg, -68.2692, 0.01);
  EXPECT_NEAR(plot.stage.phaseDeg.back(), -90, 0.2);
}

// The type III network of the page's opening values (C1 11.1383 nF, C2 12.7319 nF, C3 87.9693
// pF, R1 2 kΩ, R2 3.647 kΩ, R3 1.19052 kΩ) realises the poles and zeros its picture annotates:
// fp0 = 1/(2π·R1·(C1+C3)) = 7.08851 kHz, the double zero at 3.918 kHz, fp1 10.5 kHz, fp2 500 kHz.
// At the double zero: 20·log(fp0/f · 2 / (|1 + j·f/fp1|·|1 + j·f/fp2|)) = 10.6040 dB,
// phase −90 + 90 − atan°(f/fp1) − atan°(f/fp2) = −20.9117°.
TEST(TypeIIIBode, NetworkRealisesItsPolesAndZeros) {
  TypeIIIInputs in;
  in.fc = 50, in.R1 = 2;
  TypeIIIResults r;
  r.C1 = 11.1383f, r.C2 = 12.7319f, r.C3 = 87.9693f, r.R2 = 3.647f, r.R3 = 1.19052f;
  const BodePlot plot = typeIIIBode(in, r);
  ASSERT_FALSE(plot.compensator.empty());
  EXPECT_TRUE(plot.loop.empty());
  const Reading atZero = readAt(plot, plot.compensator, 3.918);
  EXPECT_NEAR(atZero.gainDb, 10.6040, 1e-3);
  EXPECT_NEAR(atZero.phaseDeg, -20.9117, 0.01);
}

// The current-mode opening design (transconductance amplifier, fc 20 kHz). The network's zero
// 1/(2π·R2·C1) = 120.401 Hz cancels the output pole fp, and its pole sits at fz + 1/(2π·R2·C1)
// = 2725.23 Hz, so with G·y·gm/(2π·C1) = G·fEA = fc:
//   |T(f)| = (20000/f) · C1/(C1+C2) · |1 + j·f/2604.83| / |1 + j·f/2725.23|,
// which is 1 at f = 19984.3 Hz; there the phase is −90 + atan°(f/2604.83) − atan°(f/2725.23)
// = −89.6608°, a margin of 90.3392°.
TEST(CurrentModeBode, DesignedLoopCrossesNearTheWantedFrequency) {
  CurrentModeInputs in;
  in.Vo = 5, in.Vref = 2.5f, in.gm = 0.3f, in.fsw = 60, in.fc = 20;
  CurrentModeResults r;
  r.GdB = 7.39823f, r.fp = 120.401f, r.fz = 2604.83f, r.fEA = 8533.33f;
  r.C1 = 2.79765f, r.R2 = 472.496f, r.C2 = 0.129313f;
  const BodePlot plot = currentModeBode(in, r);
  ASSERT_TRUE(plot.crossover);
  EXPECT_NEAR(plot.crossover->f, 19984.3, 0.1);
  EXPECT_NEAR(plot.crossover->phaseDeg, -89.6608, 1e-3);
  EXPECT_NEAR(plot.crossover->phaseMargin, 90.3392, 1e-3);

  // A stage 300 dB down never reaches 0 dB with this network.
  r.GdB = -300;
  const BodePlot weak = currentModeBode(in, r);
  EXPECT_FALSE(weak.loop.empty());
  EXPECT_FALSE(weak.crossover);
}

// The DCM flyback opening design against the page's own margin. The page takes the network's
// pole at fp1 = 80 kHz; built with C1 = 1/(2π·R2·fz1) and C2 = 1/(2π·R2·fp1) it sits at
// fz1 + fp1 = 85 kHz. So 180° + the loop phase at fc = 20 kHz is the page's 144.701° plus
// atan°(20/80) − atan°(20/85) = 0.795665°: 145.497°.
TEST(TypeIIBode, FlybackLoopPhaseAgreesWithThePageMargin) {
  TypeIIInputs in;
  in.kind = TypeIIKind::DcmFlyback;
  in.fsw = 100, in.fc = 20, in.R1 = 1000;
  in.fpo = 0.0677255f, in.fesr = 2.60483f, in.Gesr = -24.9591f;
  TypeIINetwork n;
  n.R2 = 3981.07f, n.C1 = 7995.58f, n.C2 = 499.724f;
  const BodePlot plot = typeIIBode(in, n);
  ASSERT_FALSE(plot.loop.empty());
  EXPECT_NEAR(180 + readAt(plot, plot.loop, 20).phaseDeg, 145.497, 0.01);
  // Its own crossover lies a decade below fc (the network's flat 12 dB against a stage near
  // −25 dB). With G0 = 10^((Gesr + 20·log(fesr/fpo))/20) = 2.17306 and the integrator's
  // f0 = 1/(2π·R1·(C1+C2)) = 18.7345 kHz,
  //   |T(f)| = G0·|1 + j·f/fesr| / |1 + j·f/fpo| · (f0/f)·|1 + j·f/5| / |1 + j·f/85|
  // is 1 at f = 1.91296 kHz, where the phase is −90 + atan°(f/fesr) − atan°(f/fpo) + atan°(f/5)
  // − atan°(f/85) = −122.032°, a margin of 57.968°.
  ASSERT_TRUE(plot.crossover);
  EXPECT_NEAR(plot.crossover->f, 1.91296, 1e-4);
  EXPECT_NEAR(plot.crossover->phaseMargin, 57.968, 1e-3);
}

// Step 4 before step 2: R2 infinite and the stage fields 0. Nothing can be plotted but the
// axis, and no crossover is claimed.
TEST(TypeIIBode, DesignFromZerosPlotsNoTraces) {
  TypeIIInputs in = forwardFields();
  in.fpo = in.fesr = in.Gesr = 0;
  TypeIINetwork n;
  n.R2 = std::numeric_limits<float>::infinity();
  const BodePlot plot = typeIIBode(in, n);
  EXPECT_FALSE(plot.f.empty());
  EXPECT_TRUE(plot.compensator.empty());
  EXPECT_TRUE(plot.stage.empty());
  EXPECT_FALSE(plot.crossover);
}

}  // namespace
}  // namespace tarnex
