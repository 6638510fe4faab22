// The exact stage models and the Bode plots of the networks against hand computations from the
// circuits and the pole-zero forms of the networks and stages. Values between plotted points
// are read by interpolation on the log axis, so the tolerances allow for the points' spacing.
#include "loop/bode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/loop_gain.h"
#include "support/openings.h"

namespace tarnex {
namespace {

using testing::currentModeOpening;

// A trace's gain and phase at f, interpolated in log f as the simulation suite reads a sweep.
testing::GainPhase readAt(const BodePlot& plot, const BodeTrace& t, double f) {
  const auto v = testing::valueAt({plot.f, t.gainDb, t.phaseDeg}, f);
  EXPECT_TRUE(v) << f << " outside the plot";
  return v.value_or(testing::GainPhase{NAN, NAN});
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
  const testing::GainPhase atF0 = readAt(plot, plot.compensator, 1.57579);
  EXPECT_NEAR(atF0.gainDb, 0.000426, 1e-3);
  EXPECT_NEAR(atF0.phaseDeg, -89.4384, 0.01);
  const testing::GainPhase atZero = readAt(plot, plot.compensator, 159.155);
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
  const testing::GainPhase atZero = readAt(plot, plot.compensator, 3.918);
  EXPECT_NEAR(atZero.gainDb, 10.6040, 1e-3);
  EXPECT_NEAR(atZero.phaseDeg, -20.9117, 0.01);
}

// A stage 300 dB down never reaches 0 dB with the page's network: a loop, no crossover. (The
// crossovers, margins and exact designs of the worked pages are in the loop golden runs.)
TEST(CurrentModeBode, NoCrossoverWhereTheLoopNeverReaches0dB) {
  CurrentModeResults weak = currentModeResults();
  weak.GdB = -300;
  const BodePlot none = currentModeBode(currentModeOpening(), weak);
  EXPECT_FALSE(none.loop.empty());
  EXPECT_FALSE(none.crossover);
}

}  // namespace
}  // namespace tarnex
