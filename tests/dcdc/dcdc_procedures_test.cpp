// The DC-DC window's procedures: where each refuses or saturates, and the turns rounding.
// The worked designs themselves are golden runs of tarnex-calc (tests/golden/calc/dcdc_*).
#include "designs/dcdc_procedures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "designs/magnetics.h"

namespace tarnex {
namespace {

// Round numbers for the stages that lift the voltage: no switch or diode drop, 100 kHz.
DcDcInputs lifting(float vinMin, float vinMax, float vo) {
  DcDcInputs in;
  in.VinMin = vinMin;
  in.VinMax = vinMax;
  in.Vo = vo;
  in.Vsw = 0;
  in.Vdf = 0;
  in.f = 100;
  return in;
}

struct EndingCase {
  const char* label;
  DcDcTopology topology;
  DcDcMode mode;
  DcDcInputs in;
  DcDcEnding ending;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
  *os << c.label;
}

class DcDcEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(DcDcEndingTest, EndsAsDesigned) {
  const EndingCase& c = GetParam();
  const DcDcResult res = designDcDc(c.topology, c.mode, c.in);
  EXPECT_EQ(res.ending, c.ending);
  // An impossible design computes nothing.
  if (c.ending == DcDcEnding::Impossible) {
    EXPECT_EQ(res.out.L, 0);
    EXPECT_EQ(res.out.Duty, 0);
  }
}

// The form's defaults with another input range, output and flux density.
DcDcInputs conditions(float vinMin, float vinMax, float vo, float bpk = 2500) {
  DcDcInputs in;
  in.VinMin = vinMin;
  in.VinMax = vinMax;
  in.Vo = vo;
  in.Bpk = bpk;
  return in;
}
DcDcInputs deadTime(DcDcInputs in, float ptd) {
  in.Ptd = ptd;
  return in;
}

using T = DcDcTopology;
using M = DcDcMode;
using E = DcDcEnding;
INSTANTIATE_TEST_SUITE_P(
    Endings, DcDcEndingTest,
    ::testing::Values(
        // The buck's inductor sees VinMin − Vsw − Vo while the switch is on (Vsw 1.5 V).
        EndingCase{"BuckCcmInputEqualsOutput", T::Buck, M::Ccm, conditions(12, 24, 12),
                   E::Impossible},
        EndingCase{"BuckDcmInputBelowOutput", T::Buck, M::Dcm, conditions(11, 24, 12),
                   E::Impossible},
        EndingCase{"BuckNothingAboveTheSwitchDrop", T::Buck, M::Dcm, conditions(13.5f, 24, 12),
                   E::Impossible},
        EndingCase{"BuckJustAbove", T::Buck, M::Ccm, conditions(13.51f, 24, 12), E::Ok},
        EndingCase{"BoostCcmOutputEqualsInput", T::Boost, M::Ccm, conditions(12, 24, 24),
                   E::Impossible},
        EndingCase{"BoostDcmOutputBelowInput", T::Boost, M::Dcm, conditions(12, 24, 20),
                   E::Impossible},
        EndingCase{"BoostAbove", T::Boost, M::Dcm, conditions(12, 24, 30), E::Ok},
        // 1 V in, below the 1.5 V switch drop (Duty 1.01 and Ipk −112.8 A if computed).
        EndingCase{"BoostInputBelowTheSwitchDrop", T::Boost, M::Ccm, conditions(1, 13, 48),
                   E::Impossible},
        // VinMin 50 above VinMax 24 (a negative L if computed).
        EndingCase{"BoostInputRangeUpsideDown", T::Boost, M::Ccm, conditions(50, 24, 48),
                   E::Impossible},
        EndingCase{"BuckBoostInputAtTheSwitchDrop", T::BuckBoost, M::Dcm, conditions(1.5f, 24, 12),
                   E::Impossible},
        EndingCase{"BuckBoostStepsDown", T::BuckBoost, M::Ccm, conditions(30, 40, 5), E::Ok},
        // No time left for the on- and off-time, or more than the period asked of them: with
        // Ptd = −100 the boost 6 V to 12 V needs Ton = 2·10·6/12 = 10 µs, Duty 1; the buck with
        // Ptd = −50 needs Ton0/T = 1.5·12.5/17 = 1.10 at VinMin.
        EndingCase{"DcmDeadTimeWholePeriod", T::BuckBoost, M::Dcm, deadTime(DcDcInputs{}, 100),
                   E::Impossible},
        EndingCase{"DcmDeadTimeJustBelow", T::BuckBoost, M::Dcm, deadTime(DcDcInputs{}, 99.9f),
                   E::Ok},
        EndingCase{"DcmBoostDutyOfOne", T::Boost, M::Dcm, deadTime(lifting(6, 8, 12), -100),
                   E::Impossible},
        EndingCase{"DcmBuckDutyAboveOne", T::Buck, M::Dcm, deadTime(DcDcInputs{}, -50),
                   E::Impossible},
        // The flux with the rounded turns, Bpk × NLraw / NL, against Bsat.
        EndingCase{"BpkAboveBsatRoundedUp", T::BuckBoost, M::Ccm, conditions(18, 24, 12, 3000.01f),
                   E::Ok},  // raw 20.61 → 21: 2945 G
        EndingCase{"BpkAboveBsat", T::Buck, M::Dcm, conditions(18, 24, 12, 3000.5f),
                   E::Saturation},  // raw 3.358 → 3: 3359 G
        EndingCase{"BpkAboveBsatBuckBoost", T::BuckBoost, M::Ccm, conditions(18, 24, 12, 4000),
                   E::Saturation},  // raw 15.46 → 15: 4123 G
        // The impossible condition is tested first, before the flux.
        EndingCase{"ImpossibleBeforeSaturation", T::Boost, M::Ccm, conditions(18, 24, 12, 4000),
                   E::Impossible}),
    [](const ::testing::TestParamInfo<EndingCase>& p) { return p.param.label; });

// 9–14 V to 40.3 V 8.51 A, r 0.78: NL raw 1.43764 rounds down to 1, and the 2500 G asked
// become 2500·1.43764 = 3594 G, above Bsat 3000.
TEST(DcDcProcedure, SaturationAfterRounding) {
  const DcDcResult res = designDcDc(T::Boost, M::Dcm,
                                    DcDcInputs{.VinMin = 9,
                                               .VinMax = 14,
                                               .Vo = 40.3f,
                                               .IoMax = 8.51f,
                                               .Vsw = 1.5f,
                                               .Vdf = 0.4f,
                                               .r = 0.78f,
                                               .Vopp = 100,
                                               .Ae = 90});
  EXPECT_EQ(res.ending, E::Saturation);
  EXPECT_EQ(res.out.NL, 1);
  EXPECT_NEAR(res.out.NLraw, 1.43764, 1e-5);
  EXPECT_NEAR(res.Bpeak, 3594.1, 0.05);
}

TEST(DcDcProcedure, SaturationStillComputesTheOutputs) {
  DcDcInputs in;
  in.Bpk = 3500;
  const DcDcResult res = designDcDc(T::Buck, M::Ccm, in);
  ASSERT_EQ(res.ending, E::Saturation);
  EXPECT_NEAR(res.out.L, 95.1087, 1e-3);
}

// The two rules every window rounds its turns by: a secondary up on any fraction, a primary
// or an inductor to the nearest with an exact half going down.
struct TurnsCase {
  double raw, up, halfDown;
};

void PrintTo(const TurnsCase& c, std::ostream* os) {
  *os << c.raw << " -> " << c.up << ", " << c.halfDown;
}

class RoundTurnsTest : public ::testing::TestWithParam<TurnsCase> {};

TEST_P(RoundTurnsTest, UpAndNearestWithAHalfGoingDown) {
  const TurnsCase& c = GetParam();
  if (std::isnan(c.raw)) {
    EXPECT_TRUE(std::isnan(roundTurnsUp(c.raw)));
    EXPECT_TRUE(std::isnan(roundTurnsHalfDown(c.raw)));
    return;
  }
  EXPECT_EQ(roundTurnsUp(c.raw), c.up);
  EXPECT_EQ(roundTurnsHalfDown(c.raw), c.halfDown);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
INSTANTIATE_TEST_SUITE_P(
    Rule, RoundTurnsTest,
    ::testing::Values(TurnsCase{18.5, 19, 18}, TurnsCase{18.5001, 19, 19},
                      TurnsCase{18.4999, 19, 18}, TurnsCase{19.8488, 20, 20},
                      TurnsCase{5.29301, 6, 5}, TurnsCase{7, 7, 7}, TurnsCase{4.01, 5, 4},
                      // A positive count never rounds below one turn; none stays none.
                      TurnsCase{0.5, 1, 1}, TurnsCase{0.231866, 1, 1}, TurnsCase{1e-30, 1, 1},
                      TurnsCase{0, 0, 0}, TurnsCase{-0.3, 0, 0},
                      // Beyond the 32-bit range or not finite: kept as computed.
                      TurnsCase{kInf, kInf, kInf}, TurnsCase{-kInf, -kInf, -kInf},
                      TurnsCase{NAN, NAN, NAN}, TurnsCase{3e9 + 0.5, 3e9 + 0.5, 3e9 + 0.5},
                      TurnsCase{-3e9 - 0.25, -3e9 - 0.25, -3e9 - 0.25},
                      TurnsCase{1e300, 1e300, 1e300},
                      // Just inside the 32-bit range a count still rounds as an integer.
                      TurnsCase{2147483646.5, 2147483647, 2147483646}));

TEST(DcDcProcedure, ZeroCoreAreaGivesInfiniteTurnsWithoutFault) {
  DcDcInputs in;
  in.Ae = 0;
  for (const M mode : {M::Ccm, M::Dcm}) {
    const DcDcResult res = designDcDc(T::Buck, mode, in);
    EXPECT_TRUE(std::isinf(res.out.NL));
    EXPECT_NEAR(res.out.L, mode == M::Ccm ? 95.1087 : 7.05882, 1e-3);
    // Without whole turns the asked flux stands: no saturation.
    EXPECT_EQ(res.ending, E::Ok);
    EXPECT_EQ(res.Bpeak, 2500);
  }
}

}  // namespace
}  // namespace tarnex
