// The flyback procedures where they refuse: the switch headroom and the input range. The worked
// designs and those a zero divisor reaches are golden runs of tarnex-calc
// (tests/golden/calc/flyback_*, the hand derivation in each .args).

#include "designs/flyback_procedures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/openings.h"

namespace tarnex {
namespace {

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
  FlybackInputs in = testing::flybackOpening();
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

INSTANTIATE_TEST_SUITE_P(Cases, SwitchHeadroom,
                         ::testing::Values(
                             // 118.22 V left; 450 − 100 − 381.78 < 0; exactly 0.
                             HeadroomCase{"Reference", 600, 100, 90, 270, true, true},
                             HeadroomCase{"LowRating", 450, 100, 90, 270, false, false},
                             HeadroomCase{"NothingLeft", 100, 100, 0, 0, false, false},
                             HeadroomCase{"NotANumber", std::nanf(""), 100, 90, 270, false, false},
                             HeadroomCase{"InputRangeUpsideDown", 600, 100, 280, 270, true, false},
                             HeadroomCase{"OneInput", 600, 100, 270, 270, true, true}),
                         [](const ::testing::TestParamInfo<HeadroomCase>& p) {
                           return p.param.name;
                         });

}  // namespace
}  // namespace tarnex
