#include "magnetics/catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "magnetics/copper_loss.h"
#include "magnetics/ferrite.h"

namespace tarnex::magnetics {
namespace {

// One point of each shipped ferrite's datasheet: the loss density at f, B peak and T, the
// initial permeability at 25 °C and the saturation flux density at 100 °C (0: not among the
// values the cited page gives).
TEST(Ferrite, FitsItsDatasheet) {
  const struct {
    const char* name;
    double f, B, T, Pv;  // Hz, T, °C, W/m³
    double mu, bsat100;  // -, T
    const char* source;
  } datasheets[] = {
      {"N87", 100e3, 0.2, 100, 375e3, 2200, 0.39, "TDK N87 data sheet"},
      {"N95", 100e3, 0.2, 100, 350e3, 3000, 0.41, "TDK N95 data sheet"},
      {"N97", 100e3, 0.2, 100, 300e3, 2300, 0.41, "TDK N97 data sheet"},
      {"PC200", 500e3, 0.05, 100, 60e3, 800, 0,
       "TDK SIFERRIT material PC200 (formerly N59) data sheet, May 2017"},
      {"3C94", 100e3, 0.2, 100, 350e3, 2300, 0.38, "Ferroxcube 3C94 data sheet"},
      {"3C95", 100e3, 0.2, 100, 290e3, 3000, 0.41, "Ferroxcube 3C95 data sheet"},
      {"DMR40", 100e3, 0.2, 100, 410e3, 2300, 0.39, "DMEGC DMR40 data sheet"},
      {"DMR95", 100e3, 0.2, 100, 350e3, 3300, 0.41, "DMEGC DMR95 data sheet"},
  };
  for (const auto& d : datasheets) {
    const Material* m = findMaterial(d.name);
    ASSERT_NE(m, nullptr) << d.name;
    EXPECT_NEAR(steinmetzLoss(*m, d.f, d.B, d.T), d.Pv, 0.25 * d.Pv) << d.source;
    EXPECT_NEAR(m->mu25, d.mu, 0.25 * d.mu) << d.source;
    if (d.bsat100 > 0) {
      EXPECT_NEAR(m->Bsat100, d.bsat100, 0.1 * d.bsat100) << d.source;
    }
  }
}

TEST(Ferrite, LossOfUnusableInputIsNotANumber) {
  const Material* n87 = findMaterial("n87");
  ASSERT_NE(n87, nullptr);
  EXPECT_TRUE(std::isnan(steinmetzLoss(*n87, 0, 0.1, 100)));
  EXPECT_TRUE(std::isnan(steinmetzLoss(*n87, 100e3, NAN, 100)));
  EXPECT_TRUE(std::isnan(steinmetzLoss(*n87, 100e3, 0.1, INFINITY)));
  EXPECT_TRUE(std::isnan(steinmetzLoss(Material{}, 100e3, 0.1, 100)));
}

// The gap found for an AL gives that AL back, across gaps from a spacer foil to a wide gap.
TEST(Gap, GivesBackTheWantedInductanceFactor) {
  const CatalogueCore* etd = findCore("etd34");
  ASSERT_NE(etd, nullptr);
  for (const double g : {20e-6, 0.2e-3, 1e-3, 3e-3}) {
    const double al = alWithGap(etd->geometry, 2200, g);
    const std::optional<double> found = gapForAl(etd->geometry, 2200, al);
    ASSERT_TRUE(found) << g;
    EXPECT_NEAR(*found, g, 1e-3 * g);
    // Fringing adds area to the gap: more AL than the plain series reluctance.
    EXPECT_GT(al, 4e-7 * std::numbers::pi * etd->geometry.Ae / (etd->geometry.le / 2200 + g));
  }
  const double ungapped = alWithGap(etd->geometry, 2200, 0);
  EXPECT_EQ(gapForAl(etd->geometry, 2200, 2 * ungapped), 0.0);
  EXPECT_FALSE(gapForAl(etd->geometry, 2200, 0));
  EXPECT_FALSE(gapForAl(etd->geometry, 2200, NAN));
  EXPECT_TRUE(std::isnan(alWithGap(etd->geometry, 2200, -1e-3)));
}

TEST(Catalogue, FindsByNameAliasAnyCaseAndSpacing) {
  ASSERT_NE(findCore("ETD 34"), nullptr);
  EXPECT_EQ(findCore("ETD 34"), findCore("etd34/17/11"));
  EXPECT_EQ(findCore("no such core"), nullptr);
  EXPECT_EQ(findMaterial("3c95"), findMaterial("3C95"));
  EXPECT_EQ(findMaterial("unobtainium"), nullptr);
}

TEST(Catalogue, FiltersByFamilyAndAreaProductSortedBySize) {
  const double ap = 1e-8;  // 10 000 mm⁴
  const auto etds = findCores({"ETD", ap});
  ASSERT_FALSE(etds.empty());
  for (std::size_t i = 0; i < etds.size(); ++i) {
    EXPECT_EQ(etds[i]->shape.family, "etd");
    EXPECT_GE(etds[i]->areaProduct(), ap);
    if (i > 0) {
      EXPECT_LE(etds[i - 1]->geometry.Ve, etds[i]->geometry.Ve);
    }
  }
  EXPECT_LT(etds.size(), findCores({"etd", 0}).size());
  for (const Material* m : materialsBy("tdk")) {
    EXPECT_EQ(m->maker, "TDK");
  }
  EXPECT_TRUE(materialsBy("nobody").empty());
}

// The thinnest wire at least as thick as wanted, from each table.
TEST(RoundWire, IsTheThinnestAtLeastAsThickAsWanted) {
  const struct {
    RoundWires table;
    double d;  // conducting diameter wanted, m
    const char* name;
  } cases[] = {{RoundWires::Iec60317Grade1, 0.5e-3, "Round 0.5 - Grade 1"},
               {RoundWires::Iec60317Grade2, 0.49e-3, "Round 0.5 - Grade 2"},
               {RoundWires::AwgSingleBuild, 0.5e-3, "24 AWG - Single Build"},
               {RoundWires::AwgHeavyBuild, 1.0e-3, "18 AWG - Heavy Build"}};
  for (const auto& c : cases) {
    const std::optional<Wire> w = roundWireAtLeast(c.table, c.d);
    ASSERT_TRUE(w) << c.name;
    EXPECT_EQ(w->name, c.name);
    EXPECT_GT(w->outerDiameter, w->strandDiameter) << c.name;
  }
}

TEST(RoundWire, NoneThickerThanTheTableOrForNoNumber) {
  EXPECT_FALSE(roundWireAtLeast(RoundWires::Iec60317Grade1, 1.0));
  EXPECT_FALSE(roundWireAtLeast(RoundWires::Iec60317Grade1, NAN));
}

// Copper at 100 °C and 100 kHz: δ ≈ 0.239 mm (the textbook 0.209 mm at 20 °C × √1.31).
TEST(LitzWire, StrandsNoThickerThanTheSkinDepth) {
  EXPECT_NEAR(skinDepth(100e3) * 1e3, 0.239, 0.002);
  const auto litz = litzWiresFor(100e3);
  ASSERT_FALSE(litz.empty());
  for (const Wire* w : litz) {
    EXPECT_LE(w->strandDiameter, skinDepth(100e3));
  }
  EXPECT_LT(litz.size(), litzWiresFor(10e3).size());
  EXPECT_TRUE(litzWiresFor(0).empty());
}

}  // namespace
}  // namespace tarnex::magnetics
