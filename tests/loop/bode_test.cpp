// The exact stage models, the Bode plots of the designed loops and the exact designs against
// hand computations from the circuits and the pole-zero forms of the networks and stages. Values
// between plotted points are read by interpolation on the log axis, so the tolerances allow for the
// spacing of the points.
#include "loop/bode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "support/openings.h"

namespace tarnex {
namespace {

using testing::currentModeOpening;
using testing::typeIIAfterStep2;

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

using exact::jw;

// The type II page's forward-type opening values after step 2, as the fields hold them.
TypeIIInputs forwardFields() {
  TypeIIInputs in;
  in.kind = TypeIIKind::Forward;
  in.fsw = 100, in.fc = 20, in.R1 = 1000;
  in.fpo = 1.03821f, in.fesr = 2.60483f, in.Gesr = -11.5427f;
  return in;
}

CurrentModeResults currentModeResults() {
  return currentModeCompensation(currentModeOpening());
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

// The forward type's stage is the LC filter loaded by RL = Vo/Iomax = 0.5 Ω with the ESR
// 0.13 Ω, behind the modulator (Vo/Dmax)/Vramp = 10/3 and the divider Vref/Vo = 0.5. Worked out
// from the circuit (L in series, RL ∥ (ESR + 1/sCo)): 4.43697 dB at DC; at the LC resonance
// 1.03821 kHz 4.38807 dB and −82.1652° (the load damps it: no peak); at the ESR zero
// −9.95620 dB, −114.174°; far above, −90° as the zero undoes one pole.
TEST(TypeIIStage, ForwardIsTheLoadedLcFilter) {
  TypeIIInputs in = forwardFields();
  in.Vo = 5, in.Iomax = 10, in.L = 50, in.Co = 470, in.ESR = 0.13f;
  const Transfer g = typeIIStageTransfer(in);
  ASSERT_TRUE(g);
  const struct {
    double f, gainDb, phaseDeg;
  } points[] = {{0.001, 4.43697, 0},
                {1038.21, 4.38807, -82.1652},
                {2604.83, -9.95620, -114.174},
                {1e6, -65.2345, -90.0996}};
  for (const auto& p : points) {
    const Complex v = g(jw(p.f));
    EXPECT_NEAR(20 * std::log10(std::abs(v)), p.gainDb, 2e-4) << p.f;
    EXPECT_NEAR(std::arg(v) * 180 / std::numbers::pi, p.phaseDeg, 2e-3) << p.f;
  }
}

// The current-mode stage of the opening values: slope term 0.8, so mc = 1.3; with D' = 0.5 the
// sampling poles have Qs = 1/(π·(1.3·0.5 − 0.5)) = 2.12207 at fsw/2 = 30 kHz; the RHP zero lies
// at RL·D'²/(2π·D·L) = 5·0.25/(2π·0.5·30 µH) = 13262.9 Hz.
TEST(CurrentModeStage, OpeningValues) {
  const CurrentModeStage st = currentModeStage(currentModeOpening(), currentModeResults());
  EXPECT_NEAR(st.mc, 1.3, 1e-6);
  EXPECT_NEAR(st.Qs, 2.12207, 1e-5);
  EXPECT_NEAR(st.fRHP, 13262.9, 0.05);
  EXPECT_EQ(st.fn, 30000);
}

// Each factor of the stage on its own (the output pole and the ESR zero far above): the RHP zero
// gains 3.0103 dB and lags 45° at its own frequency; the sampling poles at fn have the gain Qs
// and −90°, or +90° when Qs < 0 (poles in the right half plane).
TEST(CurrentModeStage, FactorsAtTheirCorners) {
  CurrentModeStage rhp{1, 1e12, 1e12, 5000, 1e12, 1, 0.6};
  Complex v = stageTransfer(rhp)(jw(5000));
  EXPECT_NEAR(20 * std::log10(std::abs(v)), 3.0103, 1e-4);
  EXPECT_NEAR(std::arg(v) * 180 / std::numbers::pi, -45, 1e-6);
  for (const double Qs : {2.12207, -2.0}) {
    CurrentModeStage sampling{1, 1e12, 1e12, 1e15, 30000, 1, Qs};
    v = stageTransfer(sampling)(jw(30000));
    EXPECT_NEAR(std::abs(v), std::abs(Qs), 1e-6);
    EXPECT_NEAR(std::arg(v) * 180 / std::numbers::pi, Qs > 0 ? -90 : 90, 1e-4);
  }
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

// The current-mode opening design crosses above half the switching frequency, where the
// sampling poles peak, with a negative margin; the exact design lowers the crossover to a third
// of the RHP zero, 4420.97 Hz, and crosses there with gain to spare at fsw/2.
TEST(CurrentModeBode, OpeningDesignIsUnstableAndTheExactOneIsNot) {
  const CurrentModeInputs in = currentModeOpening();
  const CurrentModeResults r = currentModeResults();
  const BodePlot page = currentModeBode(in, r);
  ASSERT_TRUE(page.crossover && page.gainMargin);
  EXPECT_GT(page.crossover->f, 30000);
  EXPECT_LT(page.crossover->phaseMargin, 0);
  EXPECT_LT(*page.gainMargin, 0);

  const CurrentModeExact e = currentModeExactDesign(in, r);
  ASSERT_TRUE(e.ok);
  EXPECT_TRUE(e.lowered && e.byRhpZero);
  const BodePlot both = currentModeBode(in, r, &e);
  ASSERT_TRUE(both.exact && both.exact->crossover && both.exact->gainMargin);
  EXPECT_NEAR(both.exact->crossover->f, 4420.97, 0.5);
  EXPECT_GT(both.exact->crossover->phaseMargin, 45);
  EXPECT_GT(*both.exact->gainMargin, 0);
  ASSERT_EQ(both.exact->components.size(), 3u);
  EXPECT_EQ(both.exact->components[1].label, "R2(Ω)");
  EXPECT_EQ(both.exact->components[1].page, "472.496");

  // A stage 300 dB down never reaches 0 dB with the page's network.
  CurrentModeResults weak = r;
  weak.GdB = -300;
  const BodePlot none = currentModeBode(in, weak);
  EXPECT_FALSE(none.loop.empty());
  EXPECT_FALSE(none.crossover);
}

// The exact type II design crosses at fc with the wanted margin wherever a type II network can
// give it: the forward type at the opening values (45°), the DCM flyback asked for 100° (its
// stage lags only 7° at fc, so 45° would need a lag the network cannot make).
TEST(TypeIIExact, CrossesAtFcWithTheWantedMargin) {
  for (const TypeIIKind kind : {TypeIIKind::Forward, TypeIIKind::DcmFlyback}) {
    TypeIIInputs in = typeIIAfterStep2(kind);
    if (kind == TypeIIKind::DcmFlyback) {
      const TypeIIExact lagging = typeIIExactDesign(in);
      EXPECT_FALSE(lagging.reachable);
      in.PMwant = 100;
    }
    const TypeIIExact e = typeIIExactDesign(in);
    ASSERT_TRUE(e.ok && e.reachable);
    const BodePlot plot = typeIIBode(in, typeIINetwork(in), &e);
    ASSERT_TRUE(plot.exact && plot.exact->crossover);
    EXPECT_NEAR(plot.exact->crossover->f, 20, 20 * 1e-5);
    EXPECT_NEAR(plot.exact->crossover->phaseMargin, in.PMwant, 0.01);
  }
}

// The exact type III network keeps the placed poles and zeros and has the typed 16.9 dB at fc,
// where the page's own has 13.53 dB.
TEST(TypeIIIExact, HasTheTypedGainAtFc) {
  const TypeIIIExact e = typeIIIExactDesign(testing::typeIIIOpening());
  ASSERT_TRUE(e.ok);
  EXPECT_NEAR(e.pageGainDb, 13.53, 0.005);
  const TypeIIIResults& n = e.network;
  const Transfer h =
      typeIIINetworkTransfer(2e3, n.R2 * 1e3, n.R3 * 1e3, n.C1 * 1e-9, n.C2 * 1e-9, n.C3 * 1e-12);
  EXPECT_NEAR(20 * std::log10(std::abs(h(jw(50000)))), 16.9, 1e-3);
  EXPECT_NEAR(1 / (2 * std::numbers::pi * n.R2 * 1e3 * n.C1 * 1e-9), 3918, 0.05);  // fz1 kept
}

// The DCM flyback opening design against the page's own margin. The page takes the network's
// pole at fp1 = 80 kHz; built with C1 = 1/(2π·R2·fz1) and C2 = 1/(2π·R2·fp1) it sits at
// fz1 + fp1 = 85 kHz; and the ESR in series with Co moves the output pole from fpo to
// fpo·fesr/(fpo + fesr) = 0.128756 kHz. So 180° + the loop phase at fc = 20 kHz is the page's
// 144.895° plus atan°(20/80) − atan°(20/85) + atan°(20/fpo) − atan°(20/0.128756): 145.672°.
TEST(TypeIIBode, FlybackLoopPhaseAgreesWithThePageMargin) {
  TypeIIInputs in;
  in.kind = TypeIIKind::DcmFlyback;
  in.fsw = 100, in.fc = 20, in.R1 = 1000;
  in.fpo = 0.135451f, in.fesr = 2.60483f, in.Gesr = -18.9385f;
  TypeIINetwork n;
  n.R2 = 8912.51f, n.C1 = 3571.5f, n.C2 = 223.218f;
  const BodePlot plot = typeIIBode(in, n);
  ASSERT_FALSE(plot.loop.empty());
  EXPECT_NEAR(180 + readAt(plot, plot.loop, 20).phaseDeg, 145.672, 0.01);
  // Where it crosses: with G0 = 10^((Gesr + 20·log(fesr/fpo))/20) = 2.17306,
  //   |T(f)| = G0·|1 + j·f/fesr| / |1 + j·f/0.128756| · |Z(R2–C1 ∥ C2)| / R1
  // is 1 at f = 11.4101 kHz, where the margin is 136.478°: the loop is nearly flat there (the
  // stage past its ESR zero, the network between its zero and pole), so the whole decibel R2
  // is rounded to moves the crossover by a quarter.
  ASSERT_TRUE(plot.crossover);
  EXPECT_NEAR(plot.crossover->f, 11.4101, 1e-4);
  EXPECT_NEAR(plot.crossover->phaseMargin, 136.478, 1e-3);
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
