// The six built-in procedures of the DC-DC window against worked examples.
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

// One expected output: its formula name, a pointer to the member, the value.
struct Expect {
  const char* name;
  float DcDcOutputs::*member;
  double value;
};

struct ProcedureCase {
  const char* label;
  DcDcTopology topology;
  DcDcMode mode;
  DcDcInputs in;
  std::vector<Expect> expect;
};

// The form's opening values.
DcDcInputs defaults() {
  return DcDcInputs{};
}

// Round numbers for the stages that lift the voltage: no switch or diode drop, 100 kHz
// (T = 10 µs), r = 0.4, 1 A load, Ae 23 mm², Bpk 2500 G, 400 cmil/A, 50 mV ripple.
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

class DcDcProcedureTest : public ::testing::TestWithParam<ProcedureCase> {};

TEST_P(DcDcProcedureTest, GivesTheWorkedValues) {
  const ProcedureCase& c = GetParam();
  const DcDcResult res = designDcDc(c.topology, c.mode, c.in);
  EXPECT_EQ(res.ending, DcDcEnding::Ok);
  for (const Expect& e : c.expect) {
    // Six significant digits, the precision of the form's fields.
    EXPECT_NEAR(res.out.*e.member, e.value, std::abs(e.value) * 5e-6 + 1e-7) << e.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Worked, DcDcProcedureTest,
    ::testing::Values(
        // The form's defaults in CCM buck, as the window shows them (NL raw 19.8488).
        ProcedureCase{"CcmBuckDefaults",
                      DcDcTopology::Buck,
                      DcDcMode::Ccm,
                      defaults(),
                      {{"L", &DcDcOutputs::L, 95.1087},
                       {"Ipk", &DcDcOutputs::Ipk, 1.2},
                       {"Irms", &DcDcOutputs::Irms, 1.00664},
                       {"DL", &DcDcOutputs::DL, 0.509686},
                       {"NL", &DcDcOutputs::NL, 20},
                       {"Ton", &DcDcOutputs::Ton, 3.62319},
                       {"Duty", &DcDcOutputs::Duty, 0.543478},
                       {"Iswrms", &DcDcOutputs::Iswrms, 0.859413},
                       {"Vswm", &DcDcOutputs::Vswm, 28.8},
                       {"Idrms", &DcDcOutputs::Idrms, 0.675664},
                       {"Vdm", &DcDcOutputs::Vdm, 28.8},
                       {"Co", &DcDcOutputs::Co, 60.8696},
                       {"Vc", &DcDcOutputs::Vc, 14.4}}},
        // The same inputs in DCM with 20 % dead time (NL raw 5.29301).
        ProcedureCase{"DcmBuckDefaults",
                      DcDcTopology::Buck,
                      DcDcMode::Dcm,
                      defaults(),
                      {{"Ton", &DcDcOutputs::Ton, 2.89855},
                       {"Duty", &DcDcOutputs::Duty, 0.434783},
                       {"L", &DcDcOutputs::L, 12.1739},
                       {"Ipk", &DcDcOutputs::Ipk, 2.5},
                       {"Irms", &DcDcOutputs::Irms, 1.29099},
                       {"NL", &DcDcOutputs::NL, 5},
                       {"Vswm", &DcDcOutputs::Vswm, 28.8}}},
        // Boost 6–8 V to 12 V by hand: Duty = (12 − 6)/12 = 0.5, Ton = 0.5·10 µs = 5 µs,
        // IL = 1 A/(1 − 0.5) = 2 A, L = 6·5/(2·0.4) = 37.5 µH. The peak sits half the ripple
        // above IL: Ipk = 1.2·2 = 2.4 A (1.2 A if it were taken above the load current).
        // Irms = 2·√(1 + 0.16/12) = 2.01329 A, DL = √(2.01329·400)·0.0254 = 0.720805 mm,
        // NL = 6·5·10⁴/((0.8·2500/2.4)·23) = 15.65 → 16, Iswrms = 2·√(1.01333·0.5) = 1.42361,
        // Co = (10 − 5)·1/0.05 = 100 µF, ratings 1.2·12 = 14.4 V. The diode carries IL while
        // the switch is off: Idrms = 2·√0.5 = 1.41421 A, above its mean, the 1 A load.
        ProcedureCase{"CcmBoostByHand",
                      DcDcTopology::Boost,
                      DcDcMode::Ccm,
                      lifting(6, 8, 12),
                      {{"Duty", &DcDcOutputs::Duty, 0.5},
                       {"Ton", &DcDcOutputs::Ton, 5},
                       {"L", &DcDcOutputs::L, 37.5},
                       {"Ipk", &DcDcOutputs::Ipk, 2.4},
                       {"Irms", &DcDcOutputs::Irms, 2.01329},
                       {"DL", &DcDcOutputs::DL, 0.720805},
                       {"NL", &DcDcOutputs::NL, 16},
                       {"Iswrms", &DcDcOutputs::Iswrms, 1.42361},
                       {"Idrms", &DcDcOutputs::Idrms, 1.41421},
                       {"Vswm", &DcDcOutputs::Vswm, 14.4},
                       {"Vdm", &DcDcOutputs::Vdm, 14.4},
                       {"Co", &DcDcOutputs::Co, 100},
                       {"Vc", &DcDcOutputs::Vc, 14.4}}},
        // Buck-boost 12 V to 12 V: Duty = 12/24 = 0.5, IL = 2 A, L = 12·5/(2·0.4) = 75 µH,
        // Ipk = 1.2·IL = 2.4 A, NL = 12·5·10⁴/(833.3·23) = 31.3 → 31, ratings 1.2·(12 + 12),
        // Idrms = IL·√(1 − Duty) = 2·√0.5 = 1.41421 A.
        ProcedureCase{"CcmBuckBoostByHand",
                      DcDcTopology::BuckBoost,
                      DcDcMode::Ccm,
                      lifting(12, 12, 12),
                      {{"Duty", &DcDcOutputs::Duty, 0.5},
                       {"L", &DcDcOutputs::L, 75},
                       {"Ipk", &DcDcOutputs::Ipk, 2.4},
                       {"NL", &DcDcOutputs::NL, 31},
                       {"Idrms", &DcDcOutputs::Idrms, 1.41421},
                       {"Vswm", &DcDcOutputs::Vswm, 28.8},
                       {"Vdm", &DcDcOutputs::Vdm, 28.8}}},
        // Boost 5 V to 12 V at 1 A with the form's drops: Duty = (12 − 5 + 0.5)/(12 − 1.5 + 0.5)
        // = 0.681818, IL = 1/(1 − Duty) = 3.14286 A, Idrms = IL·√0.318182 = 1.77281 A (not
        // 1·√0.318182 = 0.564 A, which would lie below the diode's 1 A mean).
        ProcedureCase{
            "CcmBoostFiveToTwelve",
            DcDcTopology::Boost,
            DcDcMode::Ccm,
            DcDcInputs{.VinMin = 5, .VinMax = 5},
            {{"Duty", &DcDcOutputs::Duty, 0.681818}, {"Idrms", &DcDcOutputs::Idrms, 1.77281}}},
        // DCM boost 6 V to 12 V, 20 % dead time: Ton = 0.8·10·6/12 = 4 µs, Duty 0.4,
        // L = 36·0.16·10⁶/(6·1·100·2000) = 4.8 µH, Ipk = 6·4/4.8 = 5 A, D1 = D2 = 0.4,
        // Irms = 5·√(0.8/3) = 2.58199, Iswrms = Idrms = 5·√(0.4/3) = 1.82574,
        // NL = 6·4·10⁴/(23·2500) = 4.17 → 4.
        ProcedureCase{"DcmBoostByHand",
                      DcDcTopology::Boost,
                      DcDcMode::Dcm,
                      lifting(6, 8, 12),
                      {{"Ton", &DcDcOutputs::Ton, 4},
                       {"Duty", &DcDcOutputs::Duty, 0.4},
                       {"L", &DcDcOutputs::L, 4.8},
                       {"Ipk", &DcDcOutputs::Ipk, 5},
                       {"Irms", &DcDcOutputs::Irms, 2.58199},
                       {"Iswrms", &DcDcOutputs::Iswrms, 1.82574},
                       {"Idrms", &DcDcOutputs::Idrms, 1.82574},
                       {"NL", &DcDcOutputs::NL, 4},
                       {"Co", &DcDcOutputs::Co, 120}}},
        // DCM buck-boost 12 V to 12 V: Ton = 0.8·10·12/24 = 4 µs, L = 144·0.16·10⁶/(12·1·
        // 100·2000) = 9.6 µH, Ipk = 12·4/9.6 = 5 A, NL = 12·4·10⁴/57500 = 8.35 → 8.
        ProcedureCase{"DcmBuckBoostByHand",
                      DcDcTopology::BuckBoost,
                      DcDcMode::Dcm,
                      lifting(12, 12, 12),
                      {{"Ton", &DcDcOutputs::Ton, 4},
                       {"L", &DcDcOutputs::L, 9.6},
                       {"Ipk", &DcDcOutputs::Ipk, 5},
                       {"Irms", &DcDcOutputs::Irms, 2.58199},
                       {"NL", &DcDcOutputs::NL, 8},
                       {"Vswm", &DcDcOutputs::Vswm, 28.8}}}),
    [](const ::testing::TestParamInfo<ProcedureCase>& p) { return p.param.label; });

struct EndingCase {
  const char* label;
  DcDcTopology topology;
  DcDcMode mode;
  float vinMin, vinMax, vo, bpk;
  DcDcEnding ending;
};

class DcDcEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(DcDcEndingTest, EndsAsDesigned) {
  const EndingCase& c = GetParam();
  DcDcInputs in;
  in.VinMin = c.vinMin;
  in.VinMax = c.vinMax;
  in.Vo = c.vo;
  in.Bpk = c.bpk;
  EXPECT_EQ(designDcDc(c.topology, c.mode, in).ending, c.ending);
}

using T = DcDcTopology;
using M = DcDcMode;
using E = DcDcEnding;
INSTANTIATE_TEST_SUITE_P(
    Endings, DcDcEndingTest,
    ::testing::Values(
        EndingCase{"BuckCcmInputEqualsOutput", T::Buck, M::Ccm, 12, 24, 12, 2500, E::Impossible},
        EndingCase{"BuckDcmInputBelowOutput", T::Buck, M::Dcm, 11, 24, 12, 2500, E::Impossible},
        EndingCase{"BuckJustAbove", T::Buck, M::Ccm, 12.01f, 24, 12, 2500, E::Ok},
        EndingCase{"BoostCcmOutputEqualsInput", T::Boost, M::Ccm, 12, 24, 24, 2500, E::Impossible},
        EndingCase{"BoostDcmOutputBelowInput", T::Boost, M::Dcm, 12, 24, 20, 2500, E::Impossible},
        EndingCase{"BoostAbove", T::Boost, M::Dcm, 12, 24, 30, 2500, E::Ok},
        // Buck-boost tests no condition; its numbers may be meaningless but it ends Ok.
        EndingCase{"BuckBoostAnything", T::BuckBoost, M::Ccm, 30, 40, 5, 2500, E::Ok},
        EndingCase{"BpkEqualsBsatAccepted", T::Buck, M::Ccm, 18, 24, 12, 3000, E::Ok},
        EndingCase{"BpkAboveBsat", T::Buck, M::Dcm, 18, 24, 12, 3000.5f, E::Saturation},
        EndingCase{"BpkAboveBsatBuckBoost", T::BuckBoost, M::Ccm, 18, 24, 12, 4000, E::Saturation},
        // The impossible condition is tested first, before the flux.
        EndingCase{"ImpossibleBeforeSaturation", T::Boost, M::Ccm, 18, 24, 12, 4000,
                   E::Impossible}),
    [](const ::testing::TestParamInfo<EndingCase>& p) { return p.param.label; });

TEST(DcDcProcedure, SaturationStillComputesTheOutputs) {
  DcDcInputs in;
  in.Bpk = 3500;
  const DcDcResult res = designDcDc(T::Buck, M::Ccm, in);
  ASSERT_EQ(res.ending, E::Saturation);
  EXPECT_NEAR(res.out.L, 95.1087, 1e-3);
}

struct TurnsCase {
  float raw;
  float turns;
};

void PrintTo(const TurnsCase& c, std::ostream* os) {
  *os << c.raw << " -> " << c.turns;
}

class RoundTurnsTest : public ::testing::TestWithParam<TurnsCase> {};

TEST_P(RoundTurnsTest, ExactHalfGoesDown) {
  const auto got = static_cast<float>(roundTurnsHalfDown(GetParam().raw));
  if (std::isnan(GetParam().turns)) {
    EXPECT_TRUE(std::isnan(got));
  } else {
    EXPECT_EQ(got, GetParam().turns);
  }
}

constexpr float kInf = std::numeric_limits<float>::infinity();
INSTANTIATE_TEST_SUITE_P(
    Rule, RoundTurnsTest,
    ::testing::Values(TurnsCase{18.5f, 18}, TurnsCase{18.5001f, 19}, TurnsCase{18.4999f, 18},
                      TurnsCase{19.8488f, 20}, TurnsCase{5.29301f, 5}, TurnsCase{0.5f, 0},
                      TurnsCase{0.0f, 0}, TurnsCase{7.0f, 7},
                      // Beyond the 32-bit range or not finite: kept as computed.
                      TurnsCase{kInf, kInf}, TurnsCase{-kInf, -kInf},
                      TurnsCase{std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::quiet_NaN()},
                      TurnsCase{3.0e9f, 3.0e9f}, TurnsCase{-3.0e9f, -3.0e9f},
                      // The largest float below 2^31 still rounds as an integer.
                      TurnsCase{2147483520.0f, 2147483520.0f}));

TEST(DcDcProcedure, ZeroCoreAreaGivesInfiniteTurnsWithoutFault) {
  DcDcInputs in;
  in.Ae = 0;
  for (const M mode : {M::Ccm, M::Dcm}) {
    const DcDcResult res = designDcDc(T::Buck, mode, in);
    EXPECT_TRUE(std::isinf(res.out.NL));
    EXPECT_NEAR(res.out.L, mode == M::Ccm ? 95.1087 : 12.1739, 1e-3);
  }
}

TEST(DcDcProcedure, WireRuleIsTheDiameterOfTheCircularMilArea) {
  // 1 A at 1000 cmil/A: a conductor of 1000 cmil is √1000 = 31.62 mil = 0.8032 mm across.
  EXPECT_NEAR(wireDiameter(1.0, 1000.0), 0.803220, 1e-6);
}

}  // namespace
}  // namespace tarnex
