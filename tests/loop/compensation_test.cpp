// The three loop-compensation procedures against their worked examples (the pages' opening
// values) and hand computations, compared as the fields show them: six significant digits.
#include "loop/compensation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/number_text.h"

namespace tarnex {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

// What a field shows for a value.
std::string shown(double v) {
  return formatFieldValue(toSingle(v));
}

// A number after a round trip through its field: what a later step reads.
float asField(float v) {
  return *parseFieldText(formatFieldValue(v));
}

// One shown value of a result struct.
template <class R>
struct Shown {
  const char* name;
  double (*get)(const R&);
  const char* text;
};

template <class R>
void expectShown(const R& r, const std::vector<Shown<R>>& expected) {
  for (const auto& e : expected) EXPECT_EQ(shown(e.get(r)), e.text) << e.name;
}

// clang-format off
#define SHOWN(R, m, text) Shown<R>{#m, [](const R& r) { return double{r.m}; }, text}
// clang-format on

// ---------------------------------------------------------------------------------------------
// Current mode.

CurrentModeInputs currentModeOpening() {
  CurrentModeInputs in;
  in.Vo = 5, in.Io = 1, in.Co = 470, in.ESR = 0.13f, in.D = 0.5f, in.Vin = 10, in.L = 30;
  in.Vse = 1, in.Ri = 0.6f, in.fsw = 60, in.fc = 20, in.R1 = 4700, in.gm = 0.3f;
  in.Vref = 2.5f;
  return in;
}

using CM = CurrentModeResults;

// Worked examples: the opening values with the transconductance amplifier, then the op-amp.
TEST(CurrentModeCompensation, OpeningValuesWithTransconductanceAmplifier) {
  expectShown(currentModeCompensation(currentModeOpening()),
              {SHOWN(CM, Q, "0.8"), SHOWN(CM, G, "2.34375"), SHOWN(CM, GdB, "7.39823"),
               SHOWN(CM, fp, "120.401"), SHOWN(CM, fz, "2604.83"), SHOWN(CM, fEA, "8533.33"),
               SHOWN(CM, C1, "2.79765"), SHOWN(CM, R2, "472.496"), SHOWN(CM, C2, "0.129313")});
}

TEST(CurrentModeCompensation, OpeningValuesWithOpAmp) {
  CurrentModeInputs in = currentModeOpening();
  in.type = CurrentModeAmplifier::OpAmp;
  expectShown(currentModeCompensation(in), {SHOWN(CM, fEA, "8533.33"), SHOWN(CM, C1, "0.00396829"),
                                            SHOWN(CM, R2, "333109"), SHOWN(CM, C2, "0.000183423")});
}

// All zeros: 0/0 gives undefined values throughout, without undefined behaviour.
TEST(CurrentModeCompensation, ZeroInputsGiveUndefinedValues) {
  const CM r = currentModeCompensation(CurrentModeInputs{});
  EXPECT_TRUE(std::isnan(r.Q));
  EXPECT_TRUE(std::isnan(r.GdB));
  EXPECT_TRUE(std::isnan(r.R2));
}

// ---------------------------------------------------------------------------------------------
// Type II.

TypeIIInputs typeIIOpening(TypeIIKind kind) {
  TypeIIInputs in;
  in.kind = kind;
  in.Vo = 5, in.Iomax = 10, in.Iomin = 1, in.Vinmax = 10, in.Vinmin = 15, in.fsw = 100;
  in.Co = 470, in.ESR = 0.13f, in.Vramp = 3, in.Vref = 2.5f, in.L = 50, in.Dmax = 0.5f;
  in.fp1 = 80, in.fz1 = 5, in.fc = 20, in.PMwant = 45, in.R1 = 1000;
  return in;
}

// Step 2, then the step-2 results into their fields as step 4 reads them.
TypeIIInputs afterStep2(TypeIIInputs in) {
  const TypeIIStage s = typeIIControlToOutput(in);
  in.fpo = asField(s.fpo);
  in.fesr = asField(s.fesr);
  in.Gesr = asField(s.Gesr);
  return in;
}

using S2 = TypeIIStage;
using S4 = TypeIINetwork;

// Worked examples, forward type: step 2, then step 4 on the fields. The example shows PM
// 45.0095; the formulas give 360 − (atan°(1/2.94) + 270 − atan°(2.94) + 180 − atan°(20/2.60483))
// = 45.00944.
TEST(TypeIICompensation, ForwardOpeningValues) {
  const TypeIIInputs in = typeIIOpening(TypeIIKind::Forward);
  // A = (5 / 0.5) / 3; Gesr = 20·log(10/3) + 20·log(0.5) − 40·log(2.60483/1.03821).
  const S2 s = typeIIControlToOutput(in);
  EXPECT_NEAR(s.A, 10.0 / 3, 1e-12);
  expectShown(s,
              {SHOWN(S2, fpo, "1.03821"), SHOWN(S2, fesr, "2.60483"), SHOWN(S2, Gesr, "-11.5427")});
  const S4 n = typeIINetwork(afterStep2(in));
  EXPECT_NEAR(n.Gfc, -29.2475, 0.0005);
  EXPECT_NEAR(n.k, 2.94, 1e-9);
  // The loop of the exact stage with R2 = R1 lacks 32.03 dB at fc (worked out from the circuit:
  // L in series, RL ∥ (ESR + 1/sCo)); the asymptotes said 29.25.
  EXPECT_NEAR(n.gainNeeded, 32.0331, 0.0005);
  expectShown(n, {SHOWN(S4, R2, "39810.7"), SHOWN(S4, fz1, "6.80272"), SHOWN(S4, fp1, "58.8"),
                  SHOWN(S4, C1, "587.675"), SHOWN(S4, C2, "67.9896"), SHOWN(S4, PM, "45.0094")});
}

// DCM flyback (Po = 50 W, η = 0.85), step 4 with fp1 80 and fz1 5: the output pole at
// 2/(2π·RL·Co) is twice the one of a resistor alone, and Gesr rises by 20·log(2).
TEST(TypeIICompensation, DcmFlybackOpeningValues) {
  const TypeIIInputs in = typeIIOpening(TypeIIKind::DcmFlyback);
  const S2 s = typeIIControlToOutput(in);
  EXPECT_EQ(s.eta, 0.85);
  expectShown(s, {SHOWN(S2, fpo, "0.135451"), SHOWN(S2, Gesr, "-18.9385")});
  const S4 n = typeIINetwork(afterStep2(in));
  EXPECT_NEAR(n.gainNeeded, 19.3629, 0.0005);
  expectShown(n, {SHOWN(S4, R2, "8912.51"), SHOWN(S4, C1, "3571.5"), SHOWN(S4, C2, "223.218"),
                  SHOWN(S4, PM, "144.895"), SHOWN(S4, fz1, "5"), SHOWN(S4, fp1, "80")});
}

// The efficiency bands of the DCM flyback; 10 to 20 W takes 0.8 like the band above it.
struct EtaCase {
  double Po, eta;
};
class FlybackEfficiency : public ::testing::TestWithParam<EtaCase> {};
TEST_P(FlybackEfficiency, FollowsTheBands) {
  EXPECT_EQ(typeIIFlybackEfficiency(GetParam().Po), GetParam().eta);
}
INSTANTIATE_TEST_SUITE_P(Bands, FlybackEfficiency,
                         ::testing::Values(EtaCase{9.99, 0.75}, EtaCase{10, 0.8}, EtaCase{15, 0.8},
                                           EtaCase{20, 0.8}, EtaCase{30, 0.8},
                                           EtaCase{30.01, 0.85}));

// The gain truncation: a stage above 0 dB at the crossover needs attenuation, R2 < R1.
// Forward, Vramp 0.01: Gesr = 20·log(1000) + 20·log(0.5) − 40·log(2.60483/1.03821) = 37.9997;
// the exact loop with R2 = R1 is 17.51 dB above 0 at fc, trunc(−17.51) = −17,
// R2 = 1000·10^(−0.85) = 141.254 (an |trunc| would give 10^0.85·1000 = 7079.46).
// DCM flyback, Vramp 0.01: Gesr = −18.9385 + 20·log(300) = 30.604; the exact loop is 30.18 dB
// above 0 at fc, trunc −30, R2 = 1000·10^(−1.5) = 31.6228.
struct MendCase {
  TypeIIKind kind;
  const char* Gesr;
  const char* R2;
};
class GainTruncation : public ::testing::TestWithParam<MendCase> {};
TEST_P(GainTruncation, AttenuatesWhenTheStageHasGainToSpare) {
  TypeIIInputs in = typeIIOpening(GetParam().kind);
  in.Vramp = 0.01f;
  in = afterStep2(in);
  EXPECT_EQ(formatFieldValue(in.Gesr), GetParam().Gesr);
  EXPECT_EQ(shown(typeIINetwork(in).R2), GetParam().R2);
}
INSTANTIATE_TEST_SUITE_P(BothKinds, GainTruncation,
                         ::testing::Values(MendCase{TypeIIKind::Forward, "37.9997", "141.254"},
                                           MendCase{TypeIIKind::DcmFlyback, "30.604", "31.6228"}));

// Needed gains that are not finite: an infinite one gives an infinite R2, an undefined one an
// undefined R2 (no conversion of either to an integer).
TEST(TypeIICompensation, NonFiniteGainNeededGivesNonFiniteR2) {
  TypeIIInputs in = afterStep2(typeIIOpening(TypeIIKind::Forward));
  in.fesr = 0;  // u infinite, Gfc −inf
  EXPECT_EQ(typeIINetwork(in).R2, kInf);
  in = afterStep2(typeIIOpening(TypeIIKind::DcmFlyback));
  in.Gesr = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isnan(typeIINetwork(in).R2));
}

// Step 4 before step 2: the step-2 fields read 0. fesr = 0 makes the stage's gain at fc
// infinitely low, so R2 is infinite and both capacitors 0; the ESR zero gives its full 90° so
// the search ends normally near the wanted 45°.
TEST(TypeIICompensation, Step4WithoutStep2ComputesWithZeros) {
  const S4 n = typeIINetwork(typeIIOpening(TypeIIKind::Forward));
  EXPECT_EQ(n.R2, kInf);
  EXPECT_EQ(n.C1, 0);
  EXPECT_EQ(n.C2, 0);
  EXPECT_NEAR(n.PM, 45, 0.1);
}

// The ratio search. Opening forward values: u = 20/2.60483, atan°(u) = 82.5795, so the stage
// lags 97.4205° and the amplifier may lag 180 − PMwant + 82.5795. The amplifier's lag runs from
// 270° at k = 1 down towards 180°.
// PMwant −10: 272.58 allowed, k = 1 already meets it: fz1 = fp1 = fc, PM = 360 − 270 − 97.4205.
// PMwant 90: 172.58 allowed, below what any k gives: k = 0, fz1 infinite, fp1 0, C1 0, C2
// infinite, PM = −97.4205.
TEST(TypeIICompensation, RatioSearchLimits) {
  TypeIIInputs in = afterStep2(typeIIOpening(TypeIIKind::Forward));
  in.PMwant = -10;
  S4 n = typeIINetwork(in);
  EXPECT_EQ(n.k, 1);
  expectShown(n, {SHOWN(S4, fz1, "20"), SHOWN(S4, fp1, "20"), SHOWN(S4, PM, "-7.42052")});
  in.PMwant = 90;
  n = typeIINetwork(in);
  EXPECT_EQ(n.k, 0);
  EXPECT_EQ(n.fz1, kInf);
  EXPECT_EQ(n.fp1, 0);
  EXPECT_EQ(n.C1, 0);
  EXPECT_EQ(n.C2, kInf);
  EXPECT_EQ(shown(n.PM), "-97.4205");
}

// ---------------------------------------------------------------------------------------------
// Type III.

TypeIIIInputs typeIIIOpening() {
  TypeIIIInputs in;
  in.fp1 = 10.5f, in.fp2 = 500, in.fz1 = 3.918f, in.fz2 = 3.918f, in.fc = 50, in.GdB = 16.9f;
  in.R1 = 2;
  return in;
}

using T3 = TypeIIIResults;

TEST(TypeIIICompensation, OpeningValues) {
  expectShown(typeIIINetwork(typeIIIOpening()),
              {SHOWN(T3, k, "6.99842"), SHOWN(T3, C1, "11.1383"), SHOWN(T3, fEA, "7.14447"),
               SHOWN(T3, C2, "12.7319"), SHOWN(T3, R2, "3.647"), SHOWN(T3, C3, "87.9693"),
               SHOWN(T3, R3, "1.19052")});
}

// GdB 0: k = 1 and the integrator crosses at fc. fz2 = fp1: C2 = 0 and R3 infinite.
TEST(TypeIIICompensation, EdgeCases) {
  TypeIIIInputs in = typeIIIOpening();
  in.GdB = 0;
  in.fz2 = in.fp1;
  const T3 r = typeIIINetwork(in);
  EXPECT_EQ(r.k, 1);
  EXPECT_EQ(shown(r.fEA), "50");
  EXPECT_EQ(r.C2, 0);
  EXPECT_EQ(r.R3, kInf);
}

}  // namespace
}  // namespace tarnex
