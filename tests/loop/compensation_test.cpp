// The three loop-compensation procedures against their worked examples (the pages' opening
// values) and hand computations, compared as the fields show them: six significant digits.
#include "loop/compensation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "support/openings.h"

namespace tarnex {
namespace {

using testing::typeIIIOpening;
using testing::typeIIOpening;

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

using CM = CurrentModeResults;

// All zeros: 0/0 gives undefined values throughout, without undefined behaviour.
TEST(CurrentModeCompensation, ZeroInputsGiveUndefinedValues) {
  const CM r = currentModeCompensation(CurrentModeInputs{});
  EXPECT_TRUE(std::isnan(r.Q));
  EXPECT_TRUE(std::isnan(r.GdB));
  EXPECT_TRUE(std::isnan(r.R2));
}

// ---------------------------------------------------------------------------------------------
// Type II.

// Step 2, then the step-2 results into their fields as step 4 reads them.
TypeIIInputs afterStep2(TypeIIInputs in) {
  const TypeIIStage s = typeIIControlToOutput(in);
  in.fpo = asField(s.fpo);
  in.fesr = asField(s.fesr);
  in.Gesr = asField(s.Gesr);
  return in;
}

using S4 = TypeIINetwork;

// The opening values of both kinds (what the fields show: loop_pages_test): the gain the
// network must give at fc, from the exact stage with R2 = R1. Forward: the asymptotes say
// Gfc = −29.25 dB and k = 2.94, the circuit (L in series, RL ∥ (ESR + 1/sCo)) lacks 32.03 dB.
// DCM flyback: the ESR in the output pole takes 0.44 dB off, 19.80 dB.
TEST(TypeIICompensation, GainNeededFromTheExactStage) {
  const S4 forward = typeIINetwork(afterStep2(typeIIOpening(TypeIIKind::Forward)));
  EXPECT_NEAR(forward.Gfc, -29.2475, 0.0005);
  EXPECT_NEAR(forward.k, 2.94, 1e-9);
  EXPECT_NEAR(forward.gainNeeded, 32.0331, 0.0005);
  const S4 flyback = typeIINetwork(afterStep2(typeIIOpening(TypeIIKind::DcmFlyback)));
  EXPECT_NEAR(flyback.gainNeeded, 19.8033, 0.0005);
}

// The efficiency bands of the DCM flyback; 10 to 20 W takes 0.8 like the band above it.
struct EtaCase {
  double Po, eta;
};
void PrintTo(const EtaCase& c, std::ostream* os) {
  *os << c.Po << " W";
}
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
// DCM flyback, Vramp 0.01: Gesr = −18.9385 + 20·log(300) = 30.604; the exact loop (the ESR in
// the output pole) is 29.74 dB above 0 at fc, trunc −29, R2 = 1000·10^(−1.45) = 35.4813.
struct MendCase {
  TypeIIKind kind;
  const char* Gesr;
  const char* R2;
};
void PrintTo(const MendCase& c, std::ostream* os) {
  *os << "R2 " << c.R2;
}
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
                                           MendCase{TypeIIKind::DcmFlyback, "30.604", "35.4813"}));

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

using T3 = TypeIIIResults;

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
