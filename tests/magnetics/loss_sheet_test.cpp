// The loss sheet of the windows' designs on a reference core: the flyback's opening design
// checked by hand, the bridges' volt-seconds, and a window with nothing calculated yet.
#include <gtest/gtest.h>

#include <map>

#include "designs/flyback_procedures.h"
#include "magnetics/window_windings.h"
#include "support/field_ids.h"
#include "support/openings.h"
#include "tables/bridge_tables.h"
#include "tables/flyback_table.h"

namespace tarnex::magnetics {
namespace {

class Fields : public FieldValues {
 public:
  explicit Fields(const DialogTable& table) : table_(table) {}
  float value(int id) const override {
    const auto it = values_.find(id);
    return it == values_.end() ? 0.0f : it->second;
  }
  void setValue(int id, float v) override { values_[id] = v; }
  void set(const char* name, float v) { setValue(testing::fieldId(table_, name), v); }

 private:
  const DialogTable& table_;
  std::map<int, float> values_;
};

// The flyback's reference core (Ae 100 mm², le 60 mm) with a 60 mm² window 10 mm broad,
// 50 mm a turn, and the 100–300 kHz N87 fit of the shipped data.
CoreGeometry referenceCore() {
  CoreGeometry core;
  core.Ae = 100e-6, core.le = 60e-3, core.Ve = 6e-6, core.Aw = 60e-6;
  core.windowBreadth = 10e-3, core.windowHeight = 6e-3, core.meanTurn = 50e-3;
  return core;
}
Material n87() {
  Material m;
  m.name = "N87";
  m.Bsat100 = 0.39;
  m.steinmetz = {{100e3, 300e3, 8.240839, 1.783284, 2.622642, 0.012427, 0.000174382, 9.580509e-7}};
  return m;
}

bool has(const LossSheet& s, Severity severity, std::string_view part) {
  for (const Finding& f : s.findings)
    if (f.severity == severity && f.text.find(part) != std::string::npos) return true;
  return false;
}

TEST(LossSheet, FlybackOpeningDesignCheckedByHand) {
  // The opening CCM design: Np 45, Ns 3, Dp 0.6291 mm, Ds 2.547 mm, Ton 3.056 µs at
  // 150 kHz (D 0.4584), Lp 429.2 µH, Ipkp 2.265 A, at 100 °C:
  //   ΔB = √2·90 V · 3.056 µs / (45 · 100 mm²) = 86.44 mT; B̂ = Lp·Ipk/(Np·Ae) = 216.1 mT
  //   Pv = ki·ΔB^β·f^α·(D^(1−α) + (1−D)^(1−α))·ct = 0.33265 · … · 0.0045693 = 14.54 kW/m³
  //   Rdc,p = 2.2660e-8 Ω·m · 45 · 50 mm / (π·0.6291²/4 mm²) = 164.0 mΩ
  //   fill: 45·π·0.6809²/4 + 3·π·2.714²/4 = 16.38 + 17.35 mm² over 0.4 · 60 mm² = 140.6 %
  //   Rth = 53 · 6^−0.54 = 20.14 °C/W
  const FlybackInputs in = testing::flybackOpening();
  const FlybackDesign d = flybackVerifyCcm(in);
  Fields fields(flybackTable());
  const std::pair<const char*, float> values[] = {
      {"VacMin", in.VacMin}, {"f", in.f},      {"Np", d.Np},       {"Ns", d.Ns},
      {"Dp", d.Dp},          {"Ds", d.Ds},     {"Irmsp", d.Irmsp}, {"Irmss", d.Irmss},
      {"Ipkp", d.Ipkp},      {"Ipks", d.Ipks}, {"Ton", d.Ton},     {"Lp", d.Lp}};
  for (const auto& [name, v] : values) fields.set(name, v);
  const TransformerSpec t =
      windowTransformer(WindowKind::FlybackCcm, fields, referenceCore(), n87(), {});
  const LossSheet s = lossSheet(t, {});
  ASSERT_TRUE(s.complete);
  EXPECT_NEAR(s.swing, 86.44e-3, 0.01e-3);
  EXPECT_NEAR(s.Bpeak, 216.1e-3, 0.1e-3);
  EXPECT_NEAR(s.Pv, 14.54e3, 0.01e3);
  EXPECT_NEAR(s.windings[0].Rdc, 164.0e-3, 0.1e-3);
  EXPECT_NEAR(s.fill.fill, 1.406, 0.001);
  EXPECT_NEAR(s.Rth, 20.14, 0.01);
  EXPECT_NEAR(s.rise, s.Rth * (s.Pcore + s.windings[0].P + s.windings[1].P), 1e-9);
  // 0.63 mm in four layers at 150 kHz: a large AC factor, and a finer wire suggested.
  EXPECT_GT(s.windings[0].Fr, 1.5);
  EXPECT_TRUE(has(s, Severity::Warning, "初级交流系数"));
  EXPECT_TRUE(has(s, Severity::Failure, "绕不下（次级"));
  EXPECT_TRUE(has(s, Severity::Failure, "超过 40 K"));
  EXPECT_TRUE(has(s, Severity::Info, "峰值磁密"));
}

TEST(LossSheet, BridgeVoltSecondsAndSymmetricFlux) {
  // The same fields in each bridge window: the half-bridge's primary sees half the input.
  std::map<WindowKind, TransformerSpec> specs;
  const std::pair<WindowKind, const DialogTable*> windows[] = {
      {WindowKind::PushPull, &pushPullTable()},
      {WindowKind::HalfBridge, &halfBridgeTable()},
      {WindowKind::FullBridge, &fullBridgeTable()}};
  for (const auto& [kind, table] : windows) {
    Fields fields(*table);
    const std::pair<const char*, float> values[] = {{"VacMin", 100}, {"f", 100},   {"Dmax", 0.8f},
                                                    {"Np", 20},      {"Ns", 2},    {"Dp", 0.5f},
                                                    {"Ds", 1.5f},    {"Irmsp", 2}, {"Irmss", 15}};
    for (const auto& [name, v] : values) fields.set(name, v);
    specs[kind] = windowTransformer(kind, fields, referenceCore(), n87(), {});
  }
  // √2·100 V over Ton = 0.8 / (2 · 100 kHz) = 4 µs.
  EXPECT_NEAR(specs[WindowKind::FullBridge].voltSeconds, 141.42 * 4e-6, 1e-6);
  EXPECT_NEAR(specs[WindowKind::HalfBridge].voltSeconds,
              specs[WindowKind::FullBridge].voltSeconds / 2, 1e-12);
  const LossSheet s = lossSheet(specs[WindowKind::FullBridge], {});
  EXPECT_NEAR(s.Bpeak, s.swing / 2, 1e-12);
  EXPECT_EQ(specs[WindowKind::PushPull].windings.size(), 4u);  // two halves of each
}

TEST(LossSheet, WindowWithNothingCalculatedSaysSoAndComputesNothing) {
  const WindowKind kinds[] = {
      WindowKind::FlybackCcm,   WindowKind::FlybackDcm, WindowKind::Forward,
      WindowKind::RingingChoke, WindowKind::PushPull,   WindowKind::HalfBridge,
      WindowKind::FullBridge,   WindowKind::DcDcCcm,    WindowKind::DcDcDcm};
  for (WindowKind kind : kinds) {
    Fields empty(flybackTable());
    const LossSheet s = lossSheet(windowTransformer(kind, empty, referenceCore(), n87(), {}), {});
    EXPECT_FALSE(s.complete) << static_cast<int>(kind);
    EXPECT_TRUE(s.rows.empty());
    ASSERT_EQ(s.findings.size(), 1u);
    EXPECT_EQ(s.findings[0].severity, Severity::Failure);
  }
}

}  // namespace
}  // namespace tarnex::magnetics
