// tarnex-calc's many runs on one working folder: every row of --batch and of --sweep is the
// run of its own that the same texts give, in the same order, refused points included.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::ProgramRun;
using testing::TempFolder;

struct BatchCase {
  const char* dialog;
  std::vector<std::string> base;   // commands and texts of the command line
  const char* field;               // swept
  const char* range;               // its --sweep text
  std::vector<std::string> texts;  // the texts the range gives, as typed
  const char* second;              // a second swept field (a grid), or nullptr
  std::vector<std::string> secondTexts;
};

void PrintTo(const BatchCase& c, std::ostream* os) {
  *os << c.dialog << " " << c.field;
}

// Every case has a refused point: conditions the circuit cannot meet (an output the input
// cannot give, a duty cycle above 1, an input above its own maximum) or a text beyond the
// single-precision range, which does not read as a number.
// clang-format off
const BatchCase kCases[] = {
    {"dcdc", {}, "Vo", "6:18:6", {"6", "12", "18"}, "IoMax", {"1", "2"}},
    {"dcdc", {"topology=boost", "VinMax=10"}, "VinMin", "4:16:x2", {"4", "8", "16"}, nullptr, {}},
    {"forward", {"core"}, "Io", "10:1e39:x1e38", {"10", "1e+39"}, nullptr, {}},
    {"flyback", {"core", "verify", "Ae=100", "Le=60"}, "VacMin", "100:300:100",
     {"100", "200", "300"}, nullptr, {}},
    {"rcc", {}, "VacMin", "100:300:100", {"100", "200", "300"}, nullptr, {}},
    {"pushpull", {}, "Dmax", "0.4:1.2:0.4", {"0.4", "0.8", "1.2"}, nullptr, {}},
    {"loop-current", {}, "Vo", "1:1e39:x1e39", {"1", "1e+39"}, nullptr, {}},
    {"loop-type3", {}, "GdB", "1:3:1", {"1", "2", "3"}, "R1", {"1000", "2e+99"}},
};
// clang-format on

class CalcBatch : public ::testing::TestWithParam<BatchCase> {
 protected:
  ProgramRun calc(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), GetParam().dialog);
    args.insert(args.end(), {"--dir", dir_.path("home").string()});
    return testing::runProgram(TARNEX_CALC_PROGRAM, args, dir_, input);
  }
  TempFolder dir_;
};

TEST_P(CalcBatch, RowsAreTheSingleRuns) {
  const BatchCase& c = GetParam();
  // The single runs, in the order of the sweep: the second field's texts for each of the
  // first's.
  std::vector<std::vector<std::string>> points;
  for (const std::string& t : c.texts) {
    if (c.second == nullptr) points.push_back({std::string(c.field) + "=" + t});
    for (const std::string& s : c.secondTexts) {
      points.push_back({std::string(c.field) + "=" + t, std::string(c.second) + "=" + s});
    }
  }
  std::vector<std::string> singles;
  int refused = 0;
  for (const std::vector<std::string>& point : points) {
    std::vector<std::string> args = c.base;
    args.insert(args.end(), point.begin(), point.end());
    args.push_back("--json");
    const ProgramRun single = calc(args);
    ASSERT_EQ(single.lines.size(), 1u) << single.err;
    singles.push_back(single.lines.front());
    refused += single.status == 1 ? 1 : 0;
  }
  EXPECT_GT(refused, 0) << "every case has a refused point";
  EXPECT_LT(refused, static_cast<int>(points.size()));

  std::vector<std::string> sweep = c.base;
  sweep.insert(sweep.end(), {"--sweep", std::string(c.field) + "=" + c.range, "--json"});
  if (c.second != nullptr) {
    sweep.insert(sweep.end(), {"--sweep", std::string(c.second) + "=" + c.secondTexts.front() +
                                              ":" + c.secondTexts.back() + ":x" +
                                              std::to_string(std::stod(c.secondTexts.back()) /
                                                             std::stod(c.secondTexts.front()))});
  }
  const ProgramRun swept = calc(sweep);
  EXPECT_EQ(swept.lines, singles) << swept.err;
  EXPECT_EQ(swept.status, 1);

  // The same points as lines of standard input, with a comment and a blank line between.
  const std::string input = dir_.path("points.txt").string();
  {
    std::ofstream lines(input);
    lines << "# the points\n\n";
    for (const std::vector<std::string>& point : points) {
      for (const std::string& word : point) lines << word << ' ';
      lines << '\n';
    }
  }
  std::vector<std::string> batch = c.base;
  batch.insert(batch.end(), {"--batch", "--json"});
  const ProgramRun batched = calc(batch, input);
  EXPECT_EQ(batched.lines, singles) << batched.err;
  EXPECT_EQ(batched.status, 1);

  // As CSV: a header, then a row per point with its status and the swept texts.
  batch.pop_back();
  const ProgramRun csv = calc(batch, input);
  ASSERT_EQ(csv.lines.size(), points.size() + 1) << csv.err;
  EXPECT_TRUE(csv.lines.front().starts_with("line,status,message,check,"));
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::string& row = csv.lines[i + 1];
    EXPECT_TRUE(row.starts_with(std::to_string(i + 3) + ",")) << row;
    const bool written = singles[i].ends_with("\"written\":true}");
    EXPECT_EQ(row.substr(row.find(',') + 1, 1), written ? "0" : "1") << row;
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, CalcBatch, ::testing::ValuesIn(kCases));

}  // namespace
}  // namespace tarnex
