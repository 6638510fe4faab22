#include "magnetics/effective.h"

#include <gtest/gtest.h>

#include "magnetics/catalogue.h"

namespace tarnex::magnetics {
namespace {

// A core set's effective parameters as its maker's datasheet prints them (mm², mm, mm³).
TEST(EffectiveParameters, MatchTheDatasheetWithinThreePercent) {
  const struct {
    const char* name;
    double Ae, le, Ve;
    const char* source;
  } datasheets[] = {
      {"E 25/13/7", 52.5, 57.5, 3020, "Ferroxcube E25/13/7 data sheet"},
      {"E 30/15/7", 60.0, 67.0, 4000, "Ferroxcube E30/15/7 data sheet"},
      {"E 42/21/15", 178, 97.0, 17300, "Ferroxcube E42/21/15 data sheet"},
      {"E 55/28/21", 353, 124, 44000, "Ferroxcube E55/28/21 data sheet"},
      {"E 18/4/10", 39.5, 24.3, 960, "Ferroxcube E18/4/10 (planar) data sheet"},
      {"E 32/6/20", 130, 41.4, 5380, "Ferroxcube E32/6/20 (planar) data sheet"},
      {"E 64/10/50", 519, 79.9, 40700, "Ferroxcube E64/10/50 (planar) data sheet"},
      {"EFD 20/10/7", 31.0, 47.0, 1460, "Ferroxcube EFD20/10/7 data sheet"},
      {"EFD 25/13/9", 58.0, 57.0, 3300, "Ferroxcube EFD25/13/9 data sheet"},
      {"ETD 29/16/10", 76.0, 72.0, 5470, "Ferroxcube ETD29/16/10 data sheet"},
      {"ETD 34/17/11", 97.1, 78.6, 7640, "Ferroxcube ETD34/17/11 data sheet"},
      {"ETD 39/20/13", 125, 92.2, 11500, "Ferroxcube ETD39/20/13 data sheet"},
      {"ETD 44/22/15", 173, 103, 17800, "Ferroxcube ETD44/22/15 data sheet"},
      {"ETD 49/25/16", 211, 114, 24000, "Ferroxcube ETD49/25/16 data sheet"},
      {"P 18/11", 43.3, 25.8, 1120, "Ferroxcube P18/11 data sheet"},
      {"P 26/16", 93.9, 37.6, 3530, "Ferroxcube P26/16 data sheet"},
      {"T 25/15/10", 48.9, 60.2, 2940, "Ferroxcube TX25/15/10 data sheet"},
  };
  for (const auto& d : datasheets) {
    const CatalogueCore* core = findCore(d.name);
    ASSERT_NE(core, nullptr) << d.name;
    const CoreGeometry& g = core->geometry;
    EXPECT_NEAR(g.Ae * 1e6, d.Ae, 0.03 * d.Ae) << d.source;
    EXPECT_NEAR(g.le * 1e3, d.le, 0.03 * d.le) << d.source;
    EXPECT_NEAR(g.Ve * 1e9, d.Ve, 0.03 * d.Ve) << d.source;
  }
}

// Dimensions that do not make a core give no parameters rather than a negative area.
TEST(EffectiveParameters, RefuseDimensionsThatMakeNoCore) {
  const Dimension windowWiderThanCore[] = {{"A", 0.02},  {"B", 0.01},  {"C", 0.005},
                                           {"D", 0.007}, {"E", 0.025}, {"F", 0.005}};
  const Dimension missingLetter[] = {{"A", 0.025}, {"B", 0.015}};
  const Dimension holeWiderThanRing[] = {{"A", 0.01}, {"B", 0.02}, {"C", 0.005}};
  EXPECT_FALSE(effectiveParameters(Shape{"bad E", "e", "", windowWiderThanCore}));
  EXPECT_FALSE(effectiveParameters(Shape{"bad toroid", "t", "", missingLetter}));
  EXPECT_FALSE(effectiveParameters(Shape{"bad toroid", "t", "", holeWiderThanRing}));
  EXPECT_FALSE(effectiveParameters(Shape{"unknown", "xx", "", missingLetter}));
}

// The bobbin's window and turn: Ferroxcube CPH-ETD34 bobbin data sheet, winding width
// 20.9 mm, average length of turn 60.4 mm.
TEST(EffectiveParameters, EtdTakesItsBobbinsWindow) {
  const CatalogueCore* core = findCore("ETD 34/17/11");
  ASSERT_NE(core, nullptr);
  EXPECT_TRUE(core->bobbin);
  EXPECT_NEAR(core->geometry.windowBreadth * 1e3, 20.9, 0.2);
  EXPECT_NEAR(core->geometry.meanTurn * 1e3, 60.4, 0.03 * 60.4);
}

// Every bobbin the catalogue fits lies in its core's bare window and leaves a plausible share
// of it (walls and flanges take the rest), its mean turn near the bare core's; the E cores'
// rectangular tubes are read as well as the round ones of ETD. A letter misread (a flange for
// a tube, the bobbin's length for its winding breadth) moves these out of range.
TEST(EffectiveParameters, BobbinsFitInsideTheirCoresWindow) {
  int round = 0, rectangular = 0;
  for (const CatalogueCore& c : cores()) {
    if (!c.bobbin) continue;
    const std::optional<CoreGeometry> bare = effectiveParameters(c.shape);
    ASSERT_TRUE(bare) << c.shape.name;
    EXPECT_LE(c.geometry.windowBreadth, bare->windowBreadth) << c.shape.name;
    EXPECT_LE(c.geometry.windowHeight, bare->windowHeight) << c.shape.name;
    const double share = c.geometry.Aw / bare->Aw, turn = c.geometry.meanTurn / bare->meanTurn;
    EXPECT_GT(share, 0.2) << c.shape.name;
    EXPECT_LT(share, 0.9) << c.shape.name;
    EXPECT_GT(turn, 0.8) << c.shape.name;
    EXPECT_LT(turn, 1.25) << c.shape.name;
    (bobbinFor(c.shape.name)->tube > 0 ? round : rectangular)++;
  }
  EXPECT_GE(round, 9);
  EXPECT_GE(rectangular, 20);
}

}  // namespace
}  // namespace tarnex::magnetics
