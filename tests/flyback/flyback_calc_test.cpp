// The flyback window driven by tarnex-calc, run as a program on a working folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::TempFolder;

using Outcome = testing::ProgramRun;

Outcome runCalc(const TempFolder& dir, std::vector<std::string> args) {
  args.push_back("--dir");
  args.push_back(dir.folder().dir().string());
  return testing::runProgram(TARNEX_CALC_PROGRAM, args, dir);
}

struct CalcCase {
  const char* name;
  std::vector<std::string> args;
  int status;
  std::vector<std::string> expectedLines;  // each must appear in the output
};

void PrintTo(const CalcCase& c, std::ostream* os) {
  *os << c.name;
}

class FlybackCalc : public ::testing::TestWithParam<CalcCase> {
 protected:
  void SetUp() override {
    dir.write("Flyback Interface.txt", "#");
    dir.write("CCM反激变换器 cfg.txt", "#");
    dir.write("DCM反激变换器 cfg.txt", "#");
  }
  TempFolder dir;
};

TEST_P(FlybackCalc, PrintsWhatTheWindowShows) {
  const CalcCase& c = GetParam();
  const Outcome r = runCalc(dir, c.args);
  EXPECT_EQ(r.status, c.status) << r.err;
  if (c.status != 2) {
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines[0], "title\t反激变换器 Flyback   <界面:系统   公式:内置>");
  }
  for (const std::string& line : c.expectedLines) {
    EXPECT_NE(std::find(r.lines.begin(), r.lines.end(), line), r.lines.end()) << line;
  }
}

// The program's own paths on the flyback window (what the window computes:
// flyback_dialog_test.cpp): a list entry and two buttons named on the command line, a refusal
// and an incomplete field with their exit status, and no command to press.
INSTANTIATE_TEST_SUITE_P(
    Commands, FlybackCalc,
    ::testing::Values(
        CalcCase{"DcmVerifyThenClamp",
                 {"flyback", "mode=dcm", "verify", "snubber", "Ae=100", "Le=60"},
                 0,
                 {"field\tTon\t2.12733", "field\tLp\t51.9974", "field\tNp\t15",
                  "field\tRlk\t0.755456", "field\tClk\t88.2469"}},
        CalcCase{"ClampWithoutVerification",
                 {"flyback", "snubber"},
                 1,
                 {"message\tTarnex\t没有足够的信息，请先计算电感量！", "field\tRlk\t"}},
        CalcCase{"IncompleteVerify",
                 {"flyback", "verify", "Ae=100", "Le=60", "f=fast"},
                 1,
                 {"message\tTarnex\t请键入一个数。", "message\tTarnex\t请输入完整的设计条件!",
                  "field\tf\tfast", "field\tLp\t"}},
        // The window has no default button: a command must be named.
        CalcCase{"NoCommand", {"flyback"}, 2, {}}),
    [](const ::testing::TestParamInfo<CalcCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tarnex
