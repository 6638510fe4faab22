// The transformer windows' worked designs in the steps no window shows (raw primary turns Np0,
// turns ratio n, raw secondary Ns0 = Np0/n, primary Np1 = n·Ns for the whole secondary), their
// turns rounding at its edges, and a rating no window field can hold. What the windows show of
// the same designs are golden runs of tarnex-calc (tests/golden/calc: forward_*, rcc_*,
// pushpull_*, halfbridge_*, fullbridge_*, flyback_*), each .args with its hand derivation.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "designs/bridge_procedures.h"
#include "designs/flyback_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/rcc_procedures.h"
#include "support/openings.h"

namespace tarnex {
namespace {

using testing::bridgeOpening;

// Np0, n, Ns0, Np1 of a design.
using Steps = std::array<double, 4>;

template <class Design>
Steps stepsOf(const Design& d) {
  return {d.Np0, d.n, d.turns.Ns0, d.turns.Np1};
}

struct Worked {
  const char* label;
  Steps got, want;
};

void PrintTo(const Worked& w, std::ostream* os) {
  *os << w.label;
}

class WorkedSteps : public ::testing::TestWithParam<Worked> {};

TEST_P(WorkedSteps, MatchTheHandDerivation) {
  const std::array<const char*, 4> names = {"Np0", "n", "Ns0", "Np1"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_NEAR(GetParam().got[i], GetParam().want[i], std::fabs(GetParam().want[i]) * 1e-5)
        << names[i];
  }
}

ForwardInputs forwardLargeCore() {
  ForwardInputs in = testing::forwardOpening();
  in.Ae = 400;
  return in;
}

BridgeInputs withoutDiodeDrop() {
  BridgeInputs in = bridgeOpening(50, 90);
  in.Vdf = 0;
  return in;
}

// The derivations are in the golden runs' .args of the same names.
INSTANTIATE_TEST_SUITE_P(
    Designs, WorkedSteps,
    ::testing::Values(
        Worked{"ForwardOpening",
               stepsOf(forwardVerify(testing::forwardOpening())),
               {14.847, 7.95375, 1.86667, 15.9075}},
        Worked{
            "ForwardHighLine",
            stepsOf(forwardVerify({176, 264, 12, 10, 100, 85, 0.7f, 0.45f, 2000, 500, 0.35f, 81})),
            {69.1289, 8.81802, 7.83951, 70.5441}},
        Worked{"ForwardLargeCore",
               stepsOf(forwardVerify(forwardLargeCore())),
               {3.71175, 7.95375, 0.466667, 7.95375}},
        Worked{"RccOpening",
               stepsOf(designRcc(testing::rccOpening())),
               {156.854, 10.5051, 14.9312, 157.577}},
        Worked{"RccWideInput",
               stepsOf(designRcc({85, 265, 12, 0.5f, 0.05f, 50, 80, 700, 100, 1, 0.7f, 2000, 32,
                                  400})),
               {230.092, 12.671, 18.159, 240.749}},
        Worked{"PushPullOpening",
               stepsOf(designPushPull(bridgeOpening(20, 80))),
               {11.0469, 8.08, 1.36719, 16.16}},
        Worked{"PushPullLowFrequency",
               stepsOf(designPushPull({100, 240, 24, 10, 50, 85, 0.8f, 0.7f, 1500, 400, 200})),
               {16.4967, 3.99113, 4.13333, 19.9556}},
        Worked{"HalfBridgeOpening",
               stepsOf(designHalfBridge(bridgeOpening(50, 90))),
               {5.52344, 4.04, 1.36719, 8.08}},
        Worked{"HalfBridgeLowVoltage",
               stepsOf(designHalfBridge({180, 264, 5, 40, 80, 80, 0.5f, 0.75f, 1500, 450, 120})),
               {16.5703, 17.3536, 0.954861, 17.3536}},
        Worked{"FullBridgeOpening",
               stepsOf(designFullBridge(bridgeOpening(50, 90))),
               {11.0469, 8.08, 1.36719, 16.16}},
        Worked{"FullBridgeWithoutDiodeDrop",
               stepsOf(designFullBridge(withoutDiodeDrop())),
               {11.0469, 8.484, 1.30208, 16.968}},
        Worked{"FullBridgeHighVoltage",
               stepsOf(designFullBridge({200, 264, 48, 20, 60, 92, 1, 0.8f, 1200, 400, 250})),
               {31.4222, 4.61714, 6.80556, 32.32}},
        Worked{"FlybackCcm",
               stepsOf(flybackVerifyCcm(testing::flybackOpening())),
               {38.8901, 15.0791, 2.57908, 45.2372}},
        Worked{"FlybackDcm",
               stepsOf(flybackVerifyDcm(testing::flybackOpening())),
               {10.829, 15.0791, 0.718145, 15.0791}}),
    [](const ::testing::TestParamInfo<Worked>& p) { return p.param.label; });

// A window's rounding rule as (Ns, Np) from the raw primary count and the turns ratio.
using TurnsRule = std::pair<double, double> (*)(double Np0, double n);

template <auto rule>
std::pair<double, double> rounded(double Np0, double n) {
  const auto t = rule(Np0, n);
  return {t.Ns, t.Np};
}

struct Rounding {
  const char* label;
  TurnsRule turns;
  double Np0, n;
  double Ns, Np;
};

void PrintTo(const Rounding& r, std::ostream* os) {
  *os << r.label;
}

class TurnsRounding : public ::testing::TestWithParam<Rounding> {};

TEST_P(TurnsRounding, EachWindowRoundsByItsRules) {
  const auto [Ns, Np] = GetParam().turns(GetParam().Np0, GetParam().n);
  EXPECT_EQ(Ns, GetParam().Ns);
  EXPECT_EQ(Np, GetParam().Np);
}

constexpr TurnsRule kForward = rounded<forwardTurns>;
constexpr TurnsRule kRcc = rounded<rccTurns>;
constexpr TurnsRule kBridge = rounded<bridgeTurns>;
constexpr TurnsRule kFlyback = rounded<flybackTurns>;

// Raw counts chosen so that Np0 / n and n × Ns are exact (Ns0 and Np1 in the comments).
INSTANTIATE_TEST_SUITE_P(
    Edges, TurnsRounding,
    ::testing::Values(
        // Forward: both to nearest with an exact half going down, but never below one turn.
        Rounding{"ForwardNsHalf", kForward, 25, 10, 2, 20},         // 2.5 → 2
        Rounding{"ForwardNsAboveHalf", kForward, 25.1, 10, 3, 30},  // 2.51 → 3
        Rounding{"ForwardNsBelowHalf", kForward, 4.9, 10, 1, 10},   // 0.49 → 1, not 0
        Rounding{"ForwardNoTurns", kForward, 0, 10, 0, 0},          // none stays none
        Rounding{"ForwardNpHalf", kForward, 15.5, 7.75, 2, 15},     // Np1 15.5 → 15
        // Ringing choke and flyback: Ns up on any fraction, Np to nearest with a half going down.
        Rounding{"RccNsWhole", kRcc, 28, 2, 14, 28},        // 14 stays
        Rounding{"RccNsFraction", kRcc, 28.02, 2, 15, 30},  // 14.01 → 15
        Rounding{"RccNpHalf", kRcc, 14.5, 7.25, 2, 14},     // Np1 14.5 → 14
        Rounding{"FlybackNsWhole", kFlyback, 30, 7.5, 4, 30},
        Rounding{"FlybackNpHalf", kFlyback, 36.09, 12.5, 3, 37},   // 2.8872 → 3, Np1 37.5 → 37
        Rounding{"FlybackNsFraction", kFlyback, 40.1, 10, 5, 50},  // 4.01 → 5
        // Push-pull, half-bridge, full-bridge: Ns up, Np to nearest with a half going up.
        Rounding{"BridgeNpHalf", kBridge, 7.5, 3.75, 2, 8},              // 7.5 → 8
        Rounding{"BridgeNpBelowHalf", kBridge, 2 * 3.745, 3.745, 2, 7},  // 7.49 → 7
        Rounding{"BridgeNsWhole", kBridge, 6, 2, 3, 6},                  // 3.0 stays
        Rounding{"BridgeNsFraction", kBridge, 6.0002, 2, 4, 8},          // 3.0001 → 4
        Rounding{"BridgeNpBelowHalfATurn", kBridge, 0.1, 0.4, 1, 1},     // Np1 0.4 → 1
        Rounding{"BridgeNpHalfHigher", kBridge, 17.5, 8.75, 2, 18},      // 17.5 → 18
        Rounding{"BridgeNpBelowHalfHigher", kBridge, 2 * 8.74995, 8.74995, 2, 17}),
    [](const ::testing::TestParamInfo<Rounding>& p) { return p.param.label; });

// An infinite rating with an infinite margin leaves ∞ − ∞ for the reflected voltage: no design
// (a window refuses "inf" as no number; a formula file can still hand it over).
TEST(RccHeadroom, UndefinedHeadroomIsRefused) {
  RccInputs in = testing::rccOpening();
  in.Vswm = in.Vswr = std::numeric_limits<float>::infinity();
  const RccDesign d = designRcc(in);
  EXPECT_EQ(d.ending, RccEnding::Impossible);
  EXPECT_EQ(d.Lp, 0);
}

}  // namespace
}  // namespace tarnex
