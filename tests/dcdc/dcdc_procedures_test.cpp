// The two rules every window rounds its turns by. The DC-DC designs, where each refuses or
// saturates, are golden runs of tarnex-calc (tests/golden/calc/dcdc_*).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

#include "designs/magnetics.h"

namespace tarnex {
namespace {

// A secondary up on any fraction, a primary or an inductor to the nearest with an exact half
// going down.
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

}  // namespace
}  // namespace tarnex
