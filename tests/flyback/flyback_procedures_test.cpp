// The flyback procedures against hand-worked reference designs.
//
// Reference design (the window's opening values): Po 74 W, Vo 5 V, Eff 70 %, VacMin 90 V,
// VacMax 270 V, Vswm 600 V, Vswr 100 V, f 150 kHz, Vdf 0.6 V, r 0.5, Ptd 20 %, Cmil 500,
// Vopp 50 mV, Bpk 2500 GS, Bsat 3000 GS, Per 5 %; chosen core Ae 100 mm², Le 60 mm.
// The expected values were worked by hand from the design equations (double arithmetic):
//   n = (600 − 100 − 1.414·270)·5/7 / 5.6 = 15.0791
//   CCM: Iin = 105.714/127.26 = 0.83070, D = Iin/(14.8/n + Iin) = 0.458394,
//        Ton = D/150 kHz = 3.05596 µs, VT = Ton·90·1.414 = 388.90 V·µs,
//        Lp = VT/(Ic/n·r) = 429.206 µH, Np0 = 5·VT·1e-6/(2·1e-4·0.25) = 38.890,
//        Ns0 = 2.579 → 3, Np1 = 45.237 → 45, Bact = 2160.6 GS, Zc = 0.562883 mm
//   DCM: Ton = 6.667·84.44·0.8/(84.44 + 127.26) = 2.12733 µs, Lp = 51.9974 µH,
//        Ipkp = 5.20650 A, Np0 = 10.829, Ns0 = 0.718 → 1, Np1 = 15.079 → 15
//   Snubber after CCM: Vc = 118.22 V, Rlk = (4/7)·Vc² / (0.05·Lp·Ipkp²·f)
//        = 4/7000·118.22² / (0.05·2.26523²·429.206·0.15) = 0.483493 kΩ,
//        Clk = 10000 / (Rlk·f) = 137.886 nF

#include "designs/flyback_procedures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "support/openings.h"

namespace tarnex {
namespace {

FlybackInputs referenceDesign() {
  return testing::flybackOpening();
}

// What the window shows of the reference design is checked as it shows it (flyback_dialog_test,
// FlybackVerify); here the steps in between, from the hand calculation in the file header.
TEST(FlybackVerification, StepsOfTheReferenceDesign) {
  const FlybackDesign ccm = flybackVerifyCcm(referenceDesign());
  EXPECT_NEAR(ccm.n, 15.0791, 1e-3);
  EXPECT_NEAR(ccm.D, 0.458394, 1e-5);
  EXPECT_NEAR(ccm.Np0, 38.8901, 1e-3);
  EXPECT_NEAR(ccm.turns.Ns0, 2.57908, 1e-4);
  EXPECT_NEAR(ccm.turns.Np1, 45.2372, 1e-3);
  EXPECT_NEAR(ccm.Bact, 2160.56, 0.05);
  // DCM: the triangular secondary current peaks at Ipks = 78.51 A.
  const FlybackDesign dcm = flybackVerifyDcm(referenceDesign());
  EXPECT_NEAR(dcm.turns.Ns0, 0.718145, 1e-5);
  EXPECT_NEAR(dcm.Ipks, 78.5095, 5e-3);
}

TEST(FlybackVerification, FluxWarningWhenRoundedTurnsOverdriveTheCore) {
  FlybackInputs in = referenceDesign();
  EXPECT_TRUE(flybackVerifyCcm(in).notices.empty());  // Bact 2160.6 < 3000
  in.Bsat = 2100;
  const FlybackDesign d = flybackVerifyCcm(in);
  ASSERT_EQ(d.notices.size(), 1u);
  EXPECT_EQ(d.notices[0], FlybackNotice::FluxAboveSaturation);
  EXPECT_NEAR(d.Np, 45, 0);                           // the command goes on with every result
  EXPECT_TRUE(flybackVerifyDcm(in).notices.empty());  // no flux check in DCM
}

TEST(FlybackVerification, OutputCapacitorCarriesTheLoadThroughTheLongerInterval) {
  // With a 900 V switch the reflected voltage rises to 298.7 V (n = 53.34) and the duty cycle
  // to D = 0.83070/(14.8/53.34 + 0.83070) = 0.7496: the capacitor alone feeds the 14.8 A load
  // for Ton = 4.99755 µs, longer than the off-time of 1.66912 µs. Co = 14.8·4.99755/0.05 =
  // 1479.27 µF (the off-time gave 494.06 µF, a third).
  FlybackInputs in = referenceDesign();
  in.Vswm = 900;
  EXPECT_NEAR(flybackVerifyCcm(in).Co, 1479.27, 0.01);
  // DCM: Ton = 6.66667·298.73·0.8/(298.73 + 127.26) = 3.74005 µs, then 20 % dead time: the
  // capacitor alone for 3.74005 + 1.33333 µs against an off-time of 2.92662 µs:
  // 14.8·5.07338/0.05 = 1501.72 µF (866.28 before).
  EXPECT_NEAR(flybackVerifyDcm(in).Co, 1501.72, 0.01);
}

struct HeadroomCase {
  std::string name;
  float Vswm, Vswr, VacMin, VacMax;
  bool left;      // switch headroom above the margin and the input peak
  bool possible;  // and an input range the right way round
};

void PrintTo(const HeadroomCase& c, std::ostream* os) {
  *os << c.name;
}

class SwitchHeadroom : public ::testing::TestWithParam<HeadroomCase> {};

// Vswm − Vswr − 1.414·VacMax must be above zero, or the turns ratio n is not positive, and
// VacMin must not lie above VacMax. Every command but the CCM core estimate refuses without
// them and computes nothing.
TEST_P(SwitchHeadroom, EveryCommandButTheCcmEstimateNeedsIt) {
  const HeadroomCase& c = GetParam();
  FlybackInputs in = referenceDesign();
  in.Vswm = c.Vswm;
  in.Vswr = c.Vswr;
  in.VacMin = c.VacMin;
  in.VacMax = c.VacMax;
  EXPECT_EQ(flybackHeadroom(in), c.left);
  const FlybackEnding ending = c.possible ? FlybackEnding::Ok : FlybackEnding::Impossible;
  EXPECT_EQ(flybackDcmAreaProduct(in).ending, ending);
  EXPECT_EQ(flybackVerifyCcm(in).ending, ending);
  EXPECT_EQ(flybackVerifyDcm(in).ending, ending);
  const FlybackSnubber s = flybackSnubber(in, 429.206f, 2.26523f);
  EXPECT_EQ(s.ending, ending);
  EXPECT_EQ(s.Rlk > 0, c.possible);
  EXPECT_EQ(flybackVerifyCcm(in).Lp > 0, c.possible);
  EXPECT_EQ(flybackCcmCoreVolume(in).ending, FlybackEnding::Ok);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SwitchHeadroom,
    ::testing::Values(HeadroomCase{"Reference", 600, 100, 90, 270, true,
                                   true},  // 118.22 V left
                                           // 450 − 100 − 381.78 < 0
                      HeadroomCase{"LowRating", 450, 100, 90, 270, false, false},
                      HeadroomCase{"NothingLeft", 100, 100, 0, 0, false, false},  // exactly 0
                      HeadroomCase{"NotANumber", std::nanf(""), 100, 90, 270, false, false},
                      HeadroomCase{"InputRangeUpsideDown", 600, 100, 280, 270, true, false},
                      HeadroomCase{"OneInput", 600, 100, 270, 270, true, true}),
    [](const ::testing::TestParamInfo<HeadroomCase>& p) { return p.param.name; });

TEST(FlybackTurns, PrimaryFollowsTheRoundedSecondary) {
  // Ns0 exactly 4 keeps 4; Np1 = 7.5·4 = 30.
  FlybackTurns t = flybackTurns(30, 7.5);
  EXPECT_EQ(t.Ns, 4);
  EXPECT_EQ(t.Np, 30);
  // Ns0 = 36.09/12.5 = 2.8872 → 3; Np1 = 37.5 exactly → 37 (a half goes down).
  t = flybackTurns(36.09, 12.5);
  EXPECT_EQ(t.Ns, 3);
  EXPECT_DOUBLE_EQ(t.Np1, 37.5);
  EXPECT_EQ(t.Np, 37);
  // Ns0 = 40.1/10 = 4.01 → 5; Np1 = 50.
  t = flybackTurns(40.1, 10);
  EXPECT_EQ(t.Ns, 5);
  EXPECT_EQ(t.Np, 50);
}

struct Degenerate {
  std::string name;
  std::function<void(FlybackInputs&)> change;
};

void PrintTo(const Degenerate& d, std::ostream* os) {
  *os << d.name;
}

class DegenerateInputs : public ::testing::TestWithParam<Degenerate> {};

// A zero ripple ratio, frequency or core area is not refused: the procedures still return,
// with infinite or undefined numbers where the division by zero reaches, and the turns are
// never forced into an integer.
TEST_P(DegenerateInputs, GiveNonFiniteResultsWithoutFailing) {
  FlybackInputs in = referenceDesign();
  GetParam().change(in);
  const FlybackDesign ccm = flybackVerifyCcm(in);
  const FlybackDesign dcm = flybackVerifyDcm(in);
  const FlybackCoreEstimate v = flybackCcmCoreVolume(in);
  const FlybackCoreEstimate ap = flybackDcmAreaProduct(in);
  const FlybackSnubber s = flybackSnubber(in, ccm.Lp, ccm.Ipkp);
  const bool anyNonFinite = !std::isfinite(ccm.Np) || !std::isfinite(dcm.Np) ||
                            !std::isfinite(v.Ve) || !std::isfinite(ap.Ve) ||
                            !std::isfinite(s.Rlk) || !std::isfinite(ccm.Zc) ||
                            !std::isfinite(ccm.Co) || !std::isfinite(dcm.Lp);
  EXPECT_TRUE(anyNonFinite);
  // A non-finite raw count passes through both rounding steps unchanged.
  if (!std::isfinite(ccm.turns.Ns0)) {
    EXPECT_EQ(std::isnan(ccm.Ns), std::isnan(ccm.turns.Ns0));
  }
}

INSTANTIATE_TEST_SUITE_P(
    ZeroDivisors, DegenerateInputs,
    ::testing::Values(Degenerate{"ZeroRipple", [](FlybackInputs& in) { in.r = 0; }},
                      Degenerate{"ZeroFrequency", [](FlybackInputs& in) { in.f = 0; }},
                      Degenerate{"ZeroCoreArea", [](FlybackInputs& in) { in.Ae = 0; }},
                      Degenerate{"ZeroEfficiency", [](FlybackInputs& in) { in.Eff = 0; }},
                      Degenerate{"ZeroOutputVoltage", [](FlybackInputs& in) { in.Vo = 0; }}),
    [](const ::testing::TestParamInfo<Degenerate>& p) { return p.param.name; });

TEST(DegenerateInputs, ZeroCoreAreaLeavesInfiniteTurns) {
  FlybackInputs in = referenceDesign();
  in.Ae = 0;
  const FlybackDesign d = flybackVerifyCcm(in);
  EXPECT_TRUE(std::isinf(d.Np0));
  EXPECT_TRUE(std::isinf(d.Ns));
  EXPECT_TRUE(std::isinf(d.Np));
  EXPECT_TRUE(std::isfinite(d.Lp));  // the rest of the design is still made
  EXPECT_NEAR(d.Lp, 429.206, 1e-2);
}

}  // namespace
}  // namespace tarnex
