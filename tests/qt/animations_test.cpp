// The timed windows as models: the loading counter, the welcome countdown and the progress
// animation after a calculation, tick by tick.
#include "forms/animations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace tarnex {
namespace {

struct RgbLess {
  bool operator()(Rgb a, Rgb b) const { return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b); }
};
using RgbSet = std::set<Rgb, RgbLess>;

// ---- loading window ----

// 99 ticks to the end, the text repainted on multiples of four, two digits cut to nine
// characters; a late tick changes nothing.
TEST(LoadingAnimation, CountsToAHundredAndThenHolds) {
  LoadingAnimation loading;
  std::vector<int> repainted;
  std::vector<std::string> texts{loading.text()};
  int ticks = 0;
  for (bool finished = false; !finished; ++ticks) {
    const LoadingAnimation::Step step = loading.tick();
    finished = step.finished;
    if (step.repaintText) repainted.push_back(loading.counter());
    if (loading.counter() % 10 == 9 || loading.counter() == 100) texts.push_back(loading.text());
  }
  EXPECT_EQ(ticks, 99);
  EXPECT_EQ(repainted.size(), 25u);  // 4, 8, ..., 100
  for (std::size_t i = 0; i < repainted.size(); ++i) EXPECT_EQ(repainted[i], int(4 * (i + 1)));
  EXPECT_EQ(texts, (std::vector<std::string>{"(01%) ...", "(09%) ...", "(19%) ...", "(29%) ...",
                                             "(39%) ...", "(49%) ...", "(59%) ...", "(69%) ...",
                                             "(79%) ...", "(89%) ...", "(99%) ...", "(100%) .."}));
  const LoadingAnimation::Step late = loading.tick();
  EXPECT_TRUE(late.finished);
  EXPECT_FALSE(late.repaintText);
  EXPECT_EQ(loading.counter(), 100);
}

// ---- welcome countdown ----

TEST(WelcomeCountdown, MarksSeenOnceWhenTheCountReachesZero) {
  int marks = 0;
  WelcomeCountdown welcome([&] { ++marks; });
  EXPECT_EQ(welcome.seconds(), 9);
  EXPECT_EQ(welcome.text(), "9");
  std::vector<int> shown;
  for (int i = 0; i < 8; ++i) {
    EXPECT_FALSE(welcome.tick()) << "tick " << i;
    shown.push_back(welcome.seconds());
    EXPECT_EQ(marks, 0) << "written before the end, tick " << i;
  }
  EXPECT_EQ(shown, (std::vector<int>{8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_TRUE(welcome.tick());
  EXPECT_EQ(welcome.seconds(), 0);
  EXPECT_EQ(marks, 1);
  // A late tick neither counts below zero nor writes again.
  EXPECT_TRUE(welcome.tick());
  EXPECT_EQ(welcome.seconds(), 0);
  EXPECT_EQ(marks, 1);
}

// ---- progress window ----

struct ProgressFrame {
  int ticks;
  int counter;
  int lineEndX;  // counter × 3.3 truncated, worked out by hand
  const char* text;
};

void PrintTo(const ProgressFrame& f, std::ostream* os) {
  *os << f.ticks << " ticks";
}

class ProgressFrames : public ::testing::TestWithParam<ProgressFrame> {};

// The window closes on the tick that reaches 100 or more, the 34th; later ticks hold.
TEST_P(ProgressFrames, LineTextAndClose) {
  ProgressAnimation progress;
  bool closes = false;
  for (int i = 0; i < GetParam().ticks; ++i) closes = progress.tick();
  EXPECT_EQ(closes, GetParam().ticks >= 34);
  EXPECT_EQ(progress.counter(), GetParam().counter);
  EXPECT_EQ(progress.lineEndX(), GetParam().lineEndX);
  EXPECT_EQ(progress.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, ProgressFrames,
    ::testing::Values(ProgressFrame{0, 0, 0, "(00)% ..."}, ProgressFrame{1, 3, 9, "(03)% ..."},
                      ProgressFrame{3, 9, 29, "(09)% ..."}, ProgressFrame{4, 12, 39, "(12)% ..."},
                      // 30 × 3.3 and 60 × 3.3 round to whole numbers in double precision.
                      ProgressFrame{10, 30, 99, "(30)% ..."},
                      ProgressFrame{20, 60, 198, "(60)% ..."},
                      ProgressFrame{33, 99, 326, "(99)% ..."},
                      ProgressFrame{34, 102, 336, "(102)% .."},
                      ProgressFrame{40, 102, 336, "(102)% .."}));

TEST(ProgressColor, OneColourPerSecondFromTheSix) {
  const RgbSet palette(std::begin(kProgressColors), std::end(kProgressColors));
  ASSERT_EQ(palette.size(), 6u);
  RgbSet seen;
  int changes = 0;
  Rgb previous = progressColor(1'700'000'000);
  for (std::int64_t second = 1'700'000'000; second < 1'700'000'600; ++second) {
    const Rgb c = progressColor(second);
    EXPECT_TRUE(palette.count(c)) << "second " << second;
    EXPECT_EQ(c, progressColor(second)) << "not constant within second " << second;
    seen.insert(c);
    if (!(c == previous)) ++changes;
    previous = c;
  }
  // Over ten minutes every colour shows up and the colour does change from second to second.
  EXPECT_EQ(seen.size(), 6u);
  EXPECT_GT(changes, 300);
}

}  // namespace
}  // namespace tarnex
