// Sweeps of a window: the ranges they step through, and their rows against the runs of the
// same texts one by one.
#include "forms/sweep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "designs/registry.h"
#include "startup/startup.h"
#include "support/temp_folder.h"
#include "tables/field_table.h"

namespace tarnex {
namespace {

TEST(SweepRange, GivesItsValues) {
  const std::pair<const char*, std::vector<double>> ranges[] = {
      // no values: refused
      {"85:265:60", {85, 145, 205, 265}},
      {"0.1:0.5:0.1", {0.1, 0.2, 0.3, 0.4, 0.5}},  // the last step lands on TO in doubles
      {"-0.2:0.2:0.2", {-0.2, 0, 0.2}},            // no 5.55e-17 where 0 is meant
      {"10:4:3", {10, 7, 4}},                      // downwards, the step's sign not needed
      {"10:4:-3", {10, 7, 4}},
      {"1:1000:x10", {1, 10, 100, 1000}},
      {"1000:1:x10", {1000, 100, 10, 1}},
      {"-1:-100:x10", {-1, -10, -100}},
      {"5:5:1", {5}},
      {"1:2:0", {}},
      {"1:10:x1", {}},
      {"-1:10:x2", {}},
      {"0:10:x2", {}},
      {"1:2", {}},
      {"a:2:1", {}},
      {"1:2:1x", {}},
      {"1:1e9:1", {}},  // beyond the most points
      {"1:nan:1", {}},
  };
  for (const auto& [spec, want] : ranges) {
    SCOPED_TRACE(spec);
    const auto got = sweepValues(spec, 1000);
    if (want.empty()) {
      EXPECT_TRUE(std::holds_alternative<std::string>(got));
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<std::vector<double>>(got)) << std::get<std::string>(got);
    const std::vector<double>& values = std::get<std::vector<double>>(got);
    ASSERT_EQ(values.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
      EXPECT_NEAR(values[i], want[i], std::abs(want[i]) * 1e-12) << i;
      EXPECT_EQ(sweepText(values[i]), sweepText(want[i]));
    }
  }
}

TEST(SpacedValues, EvenlyAndOnALogScale) {
  EXPECT_EQ(spacedValues(1, 3, 3, false), (std::vector<double>{1, 2, 3}));
  const std::vector<double> log = spacedValues(1, 100, 3, true);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_NEAR(log[1], 10, 1e-12);
  // A range through 0 cannot be stepped on a log scale: evenly instead.
  EXPECT_EQ(spacedValues(-1, 1, 3, true), (std::vector<double>{-1, 0, 1}));
}

// A grid of the DC-DC window in a working folder of its first start: the rows come in the
// order of the points, the second input running through its texts for each of the first's;
// each row's numbers are those the window shows after a run of its own with those texts; a
// refused point has no numbers and its message, a text that is no number names its field.
TEST(Sweep, RowsAreTheRunsOfTheirPoints) {
  testing::TempFolder dir;
  const Folder folder(dir.folder().dir(), initialContent);
  SweepWindow window;
  window.make = [&folder](Host& host) { return makeDesign("dcdc", host, folder); };
  const DialogTable& table = *designs().front().table;
  ASSERT_EQ(table.key, "dcdc");
  const int vo = findField(table, "Vo")->controlId;
  const int io = findField(table, "IoMax")->controlId;
  const std::vector<int> outputs = {findField(table, "L")->controlId,
                                    findField(table, "Duty")->controlId};
  const std::vector<SweepInput> inputs = {{vo, {"5", "18", "x"}}, {io, {"1", "2"}}};
  std::size_t calls = 0;
  const std::vector<SweepRow> rows =
      sweep(window, inputs, outputs, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(done, ++calls);
        EXPECT_EQ(total, 6u);
        return true;
      });
  ASSERT_EQ(rows.size(), 6u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const SweepRow& row = rows[i];
    const std::vector<std::pair<int, std::string>> texts = {{vo, row.inputs[0]},
                                                            {io, row.inputs[1]}};
    EXPECT_EQ(row.inputs[0], inputs[0].texts[i / 2]);
    EXPECT_EQ(row.inputs[1], inputs[1].texts[i % 2]);
    const PointRun single = runPoint(window, texts);
    EXPECT_EQ(row.written, single.written);
    for (std::size_t k = 0; k < outputs.size(); ++k) {
      const double shown = fieldNumber(single.form->text(outputs[k]));
      if (row.written) {
        EXPECT_EQ(row.outputs[k], shown) << i;
        EXPECT_GT(row.outputs[k], 0) << i;
      } else {
        EXPECT_TRUE(std::isnan(row.outputs[k])) << i;
      }
    }
  }
  EXPECT_TRUE(rows[0].written && rows[0].refusal.empty());
  EXPECT_NE(rows[0].outputs[0], rows[1].outputs[0]);  // L follows the load
  EXPECT_EQ(rows[2].refusal, "设计条件不正确，请检查！");
  EXPECT_TRUE(rows[4].refusal.starts_with("请键入一个数。（Vo）")) << rows[4].refusal;

  const std::string csv = sweepCsv(table, inputs, outputs, rows);
  EXPECT_TRUE(csv.starts_with("Vo (V),IoMax (A),L (µH),Duty,message\n5,1,")) << csv;
  EXPECT_NE(csv.find("\n18,1,,,设计条件不正确，请检查！\n"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\nx,1,,,请键入一个数。（Vo） | 请输入完整的设计条件！\n"), std::string::npos)
      << csv;

  // A sweep stops where its progress says so.
  const std::vector<SweepRow> stopped =
      sweep(window, inputs, outputs, [](std::size_t done, std::size_t) { return done < 2; });
  EXPECT_EQ(stopped.size(), 2u);
}

}  // namespace
}  // namespace tarnex
