// The loop-compensation procedures' values that no field shows, and their non-finite cases,
// against hand computations; what the fields show is in the loop golden runs of tarnex-calc.
#include "loop/compensation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "base/number_text.h"
#include "support/openings.h"

namespace tarnex {
namespace {

using testing::typeIIOpening;

// All zeros: 0/0 gives undefined values throughout, without undefined behaviour.
TEST(CurrentModeCompensation, ZeroInputsGiveUndefinedValues) {
  const CurrentModeResults r = currentModeCompensation(CurrentModeInputs{});
  EXPECT_TRUE(std::isnan(r.Q));
  EXPECT_TRUE(std::isnan(r.GdB));
  EXPECT_TRUE(std::isnan(r.R2));
}

// Step 2, then the step-2 results into their fields (a round trip through the text) as step 4
// reads them.
TypeIIInputs afterStep2(TypeIIInputs in) {
  const TypeIIStage s = typeIIControlToOutput(in);
  for (auto [field, value] : {std::pair{&in.fpo, s.fpo}, {&in.fesr, s.fesr}, {&in.Gesr, s.Gesr}}) {
    *field = *parseFieldText(formatFieldValue(value));
  }
  return in;
}

// The opening values of both kinds: the gain the network must give at fc, from the exact stage
// with R2 = R1. Forward: the asymptotes say Gfc = −29.25 dB and k = 2.94, the circuit (L in
// series, RL ∥ (ESR + 1/sCo)) lacks 32.03 dB. DCM flyback: the ESR in the output pole takes
// 0.44 dB off, 19.80 dB.
TEST(TypeIICompensation, GainNeededFromTheExactStage) {
  const TypeIINetwork forward = typeIINetwork(afterStep2(typeIIOpening(TypeIIKind::Forward)));
  EXPECT_NEAR(forward.Gfc, -29.2475, 0.0005);
  EXPECT_NEAR(forward.k, 2.94, 1e-9);
  EXPECT_NEAR(forward.gainNeeded, 32.0331, 0.0005);
  const TypeIINetwork flyback = typeIINetwork(afterStep2(typeIIOpening(TypeIIKind::DcmFlyback)));
  EXPECT_NEAR(flyback.gainNeeded, 19.8033, 0.0005);
}

// The efficiency bands of the DCM flyback; 10 to 20 W takes 0.8 like the band above it.
TEST(TypeIICompensation, FlybackEfficiencyFollowsTheBands) {
  const std::pair<double, double> bands[] = {{9.99, 0.75}, {10, 0.8}, {15, 0.8},
                                             {20, 0.8},    {30, 0.8}, {30.01, 0.85}};
  for (const auto& [Po, eta] : bands) EXPECT_EQ(typeIIFlybackEfficiency(Po), eta) << Po << " W";
}

// Needed gains that are not finite: an infinite one gives an infinite R2, an undefined one an
// undefined R2 (no conversion of either to an integer).
TEST(TypeIICompensation, NonFiniteGainNeededGivesNonFiniteR2) {
  TypeIIInputs in = afterStep2(typeIIOpening(TypeIIKind::Forward));
  in.fesr = 0;  // u infinite, Gfc −inf
  EXPECT_EQ(typeIINetwork(in).R2, std::numeric_limits<float>::infinity());
  in = afterStep2(typeIIOpening(TypeIIKind::DcmFlyback));
  in.Gesr = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isnan(typeIINetwork(in).R2));
}

}  // namespace
}  // namespace tarnex
