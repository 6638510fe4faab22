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

void PrintTo(const ProcedureCase& c, std::ostream* os) {
  *os << c.label;
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
        // The same inputs in DCM with 20 % dead time. Va(V) = V − Vsw − Vo, Vb = Vo + Vdf = 12.5,
        // T = 6.66667 µs, k = 0.8. L at VinMin, Va(18) = 4.5: Ton0 = 0.8·T·12.5/17 = 3.92157 µs
        // (Ton0/T = 0.588235), L = 4.5·17·0.588235²·T/(2·12.5·1) = 7.05882 µH. At VinMax,
        // Va(24) = 10.5: Ton = √(2·7.05882·T·1·12.5/(10.5·23)) = 2.20715 µs, Duty 0.331073,
        // Ipk = 10.5·2.20715/7.05882 = 3.28314 A, D2 = 2/3.28314 − 0.331073 = 0.278101,
        // Irms = 3.28314·√(0.609174/3) = 1.47945, Idrms = 3.28314·√(0.278101/3) = 0.999608,
        // NL = 10.5·2.20715·10⁴/(23·2500) = 4.03 → 4. The switch at VinMin: Ipk = 4.5·3.92157/
        // 7.05882 = 2.5 A over D1 = 0.588235, Iswrms = 2.5·√(0.588235/3) = 1.10702.
        // Co = (T − Ton)·1/0.05 = 89.1903 µF.
        ProcedureCase{"DcmBuckDefaults",
                      DcDcTopology::Buck,
                      DcDcMode::Dcm,
                      defaults(),
                      {{"Ton", &DcDcOutputs::Ton, 2.20715},
                       {"Duty", &DcDcOutputs::Duty, 0.331073},
                       {"L", &DcDcOutputs::L, 7.05882},
                       {"Ipk", &DcDcOutputs::Ipk, 3.28314},
                       {"Irms", &DcDcOutputs::Irms, 1.47945},
                       {"NL", &DcDcOutputs::NL, 4},
                       {"Iswrms", &DcDcOutputs::Iswrms, 1.10702},
                       {"Idrms", &DcDcOutputs::Idrms, 0.999608},
                       {"Co", &DcDcOutputs::Co, 89.1903},
                       {"Vswm", &DcDcOutputs::Vswm, 28.8}}},
        // A wide input, 40.6–79.7 V to 15 V 0.4 A, Vsw 0.3, Vdf 0.5, 500 kHz (T = 2 µs), 25 %
        // dead time: Va(40.6) = 25.3, Vb = 15.5, Ton0 = 0.75·2·15.5/40.8 = 0.569853 µs,
        // L = 25.3·40.8·0.284926²·2/(2·15.5·0.4) = 13.5162 µH; Va(79.7) = 64.4,
        // Ton = √(2·13.5162·2·0.4·15.5/(64.4·79.9)) = 0.255233 µs, Ipk = 64.4·Ton/L = 1.2161 A;
        // the switch at 40.6 V: Ipk = 25.3·0.569853/13.5162 = 1.06667 A, Iswrms =
        // 1.06667·√(0.284926/3) = 0.328726 A (the circuit draws 0.308 A there, not 0.235 A).
        // NL = 64.4·0.255233·10⁴/(90·2500) = 0.73 → 1 turn, not none.
        ProcedureCase{"DcmBuckWideInput",
                      DcDcTopology::Buck,
                      DcDcMode::Dcm,
                      DcDcInputs{.VinMin = 40.6f,
                                 .VinMax = 79.7f,
                                 .Vo = 15,
                                 .IoMax = 0.4f,
                                 .Vsw = 0.3f,
                                 .Vdf = 0.5f,
                                 .f = 500,
                                 .Ptd = 25,
                                 .Vopp = 10,
                                 .Ae = 90},
                      {{"L", &DcDcOutputs::L, 13.5162},
                       {"Ton", &DcDcOutputs::Ton, 0.255233},
                       {"Ipk", &DcDcOutputs::Ipk, 1.2161},
                       {"Iswrms", &DcDcOutputs::Iswrms, 0.328726},
                       {"NL", &DcDcOutputs::NL, 1}}},
        // Less than half a turn still gives one: 2.8–5 V to 1.8 V, Vsw 0.5, Vdf 0.8, Ae 60,
        // 30 % dead time: Ton0 = 0.7·6.66667·2.6/3.1 = 3.91398 µs, L = 0.5·3.1·0.587097²·
        // 6.66667/(2·2.6·0.84) = 0.815412 µH, Ton = √(2·L·6.66667·0.84·2.6/(2.7·5.3)) =
        // 1.28814 µs, NL = 2.7·1.28814·10⁴/(60·2500) = 0.232 → 1.
        ProcedureCase{"DcmBuckBelowHalfATurn",
                      DcDcTopology::Buck,
                      DcDcMode::Dcm,
                      DcDcInputs{.VinMin = 2.8f,
                                 .VinMax = 5,
                                 .Vo = 1.8f,
                                 .IoMax = 0.84f,
                                 .Vsw = 0.5f,
                                 .Vdf = 0.8f,
                                 .Ptd = 30,
                                 .Ae = 60},
                      {{"L", &DcDcOutputs::L, 0.815412},
                       {"Ton", &DcDcOutputs::Ton, 1.28814},
                       {"NL", &DcDcOutputs::NL, 1}}},
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
        // 1·√0.318182 = 0.564 A, which would lie below the diode's 1 A mean). The capacitor
        // alone feeds the load during the on-time Ton = 4.54545 µs, longer than the off-time
        // 2.12121 µs: Co = 4.54545·1/0.05 = 90.9091 µF (the off-time gave 42.4242, and twice
        // the asked ripple).
        ProcedureCase{"CcmBoostFiveToTwelve",
                      DcDcTopology::Boost,
                      DcDcMode::Ccm,
                      DcDcInputs{.VinMin = 5, .VinMax = 9},
                      {{"Duty", &DcDcOutputs::Duty, 0.681818},
                       {"Idrms", &DcDcOutputs::Idrms, 1.77281},
                       {"Co", &DcDcOutputs::Co, 90.9091}}},
        // Buck-boost 5 V to 12 V: Duty = 12.5/(12.5 + 3.5) = 0.78125, Ton = 5.20833 µs against
        // the off-time 1.45833 µs: Co = 5.20833/0.05 = 104.167 µF.
        ProcedureCase{"CcmBuckBoostLongOnTime",
                      DcDcTopology::BuckBoost,
                      DcDcMode::Ccm,
                      DcDcInputs{.VinMin = 5},
                      {{"Duty", &DcDcOutputs::Duty, 0.78125}, {"Co", &DcDcOutputs::Co, 104.167}}},
        // DCM boost 6 V to 30 V: Ton = 0.8·10·24/30 = 6.4 µs; the capacitor alone carries the
        // load for Ton and the 2 µs dead time, 8.4 µs, against the off-time 3.6 µs:
        // Co = 8.4/0.05 = 168 µF.
        ProcedureCase{"DcmBoostLongOnTime",
                      DcDcTopology::Boost,
                      DcDcMode::Dcm,
                      lifting(6, 8, 30),
                      {{"Ton", &DcDcOutputs::Ton, 6.4}, {"Co", &DcDcOutputs::Co, 168}}},
        // DCM boost 6 V to 12 V, 20 % dead time: Ton = 0.8·10·6/12 = 4 µs, Duty 0.4,
        // L = 36·0.16·10⁶/(6·1·100·2000) = 4.8 µH, Ipk = 6·4/4.8 = 5 A, D1 = D2 = 0.4,
        // Irms = 5·√(0.8/3) = 2.58199, Iswrms = Idrms = 5·√(0.4/3) = 1.82574,
        // NL = 6·4·10⁴/(23·2500) = 4.17 → 4, Co = max(10 − 4, 4 + 2)/0.05 = 120 µF.
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
        EndingCase{"BuckInputRangeUpsideDown", T::Buck, M::Ccm, conditions(30, 20, 12),
                   E::Impossible},
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
        EndingCase{"BpkEqualsBsatAccepted", T::Buck, M::Ccm, conditions(18, 24, 12, 3000),
                   E::Ok},  // raw 16.54 → 17: 2919 G
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
