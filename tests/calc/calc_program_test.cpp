// tarnex-calc run as a program on a working folder: its lines and its exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "base/number_text.h"
#include "designs/dcdc_procedures.h"
#include "startup/startup.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::TempFolder;

using Outcome = testing::ProgramRun;

Outcome runCalc(const TempFolder& dir, const std::vector<std::string>& args) {
  return testing::runProgram(TARNEX_CALC_PROGRAM, args, dir);
}

class CalcProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("DC-DC Interface.txt", "#");
    for (const char* f : {"CCM Buck cfg.txt", "CCM Boost cfg.txt", "CCM Buck-Boost cfg.txt",
                          "DCM Buck cfg.txt", "DCM Boost cfg.txt", "DCM Buck-Boost cfg.txt"}) {
      dir.write(f, "#");
    }
  }
  Outcome calc(std::vector<std::string> args) {
    args.push_back("--dir");
    args.push_back(dir.folder().dir().string());
    return runCalc(dir, args);
  }
  TempFolder dir;
};

// (The built-in designs, refusals, lists, captions and --list as printed are golden runs.)
TEST_F(CalcProgramTest, LastCommandDecidesTheExitStatus) {
  EXPECT_EQ(calc({"dcdc", "calc", "calc"}).status, 0);
  dir.write("CCM Buck cfg.txt", "L = Np;\n#");
  const Outcome r = calc({"dcdc", "calc"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.has("field\tL\t0"));  // the failed run leaves the reset "0"
}

// A formula file's results and the title that says so, in a DC-DC and an isolated window.
TEST_F(CalcProgramTest, FormulaFileResultsAndCustomTitle) {
  for (const auto& [window, file, formula, title, line] :
       {std::tuple{"dcdc", "CCM Buck cfg.txt", "L = VinMin * 2;\n#",
                   "title\tDC-DC变换器   <界面:系统   公式:自定义>", "field\tL\t36"},
        {"forward", "正激变换器 cfg.txt", "Ap = Ae * 2;\n#",
         "title\t正激变换器 Forward   <界面:系统   公式:自定义>", "field\tAp\t2"}}) {
    dir.write(file, formula);
    const Outcome r = calc({window});
    EXPECT_EQ(r.status, 0) << window;
    EXPECT_EQ(r.lines[0], title);
    EXPECT_TRUE(r.has(line)) << window;
  }
}

TEST_F(CalcProgramTest, CaptionsAndMessagesWithLineBreaks) {
  dir.write("DC-DC Interface.txt", "1=Vin min;\n3 =Vout;\n#");
  Outcome r = calc({"dcdc", "--captions"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.lines[0], "title\tDC-DC变换器   <界面:自定义   公式:内置>");
  EXPECT_TRUE(r.has("caption\t1265\t1\tVin min"));
  EXPECT_TRUE(r.has("caption\t1250\t3\tVout"));
  EXPECT_TRUE(r.has("caption\t1266\t2\t最高输入电压(V)"));
  dir.write("DC-DC Interface.txt", "abc\n#");
  r = calc({"dcdc"});
  EXPECT_TRUE(r.has(
      "message\t错误\t自定义界面文本内缺少 = 或者 =位置出错 \\n所以程序仍然使用内置界面！！"));
  EXPECT_FALSE(r.has("caption\t1265\t1\t最低输入电压(V)"));  // captions only when asked
}

TEST_F(CalcProgramTest, JsonHoldsTheSameAsOneObject) {
  dir.write("DC-DC Interface.txt", "abc\n#");
  const Outcome r = calc({"dcdc", "--json", "--captions"});
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.lines.size(), 1u);
  const std::string& j = r.lines[0];
  EXPECT_TRUE(
      j.starts_with("{\"dialog\":\"dcdc\",\"title\":\"DC-DC变换器   <界面:系统   公式:内置>\""));
  EXPECT_NE(j.find("{\"caption\":\"错误\",\"text\":\"自定义界面文本内缺少 = 或者 =位置出错 "
                   "\\n所以程序仍然使用内置界面！！\",\"icon\":\"error\"}"),
            std::string::npos);
  EXPECT_NE(j.find("{\"name\":\"L\",\"text\":\"95.1087\"}"), std::string::npos);
  EXPECT_NE(j.find("{\"id\":1265,\"number\":1,\"text\":\"最低输入电压(V)\"}"), std::string::npos);
  EXPECT_NE(j.find("\"checks\":[{\"severity\":\"info\",\"text\":\"峰值磁密约 2481 GS"),
            std::string::npos);
  EXPECT_TRUE(j.ends_with(",\"written\":true}"));
}

// Without --dir the working folder is $TARNEX_HOME, else ~/Tarnex; it is created and filled
// like at the desktop's first start, and the current folder is left alone.
struct FolderCase {
  const char* label;
  std::vector<std::string> env;  // for env(1), "@" standing for the home folder
  std::vector<std::string> options;
  const char* folder;  // the working folder below the home folder
};

void PrintTo(const FolderCase& c, std::ostream* os) {
  *os << c.label;
}

class CalcFolderTest : public ::testing::TestWithParam<FolderCase> {};

TEST_P(CalcFolderTest, FillsTheWorkingFolderAndGivesTheBuiltInDesign) {
  const FolderCase& c = GetParam();
  TempFolder log, cwd, home;
  auto expand = [&](std::string s) {
    if (const auto at = s.find('@'); at != std::string::npos)
      s.replace(at, 1, home.folder().dir().string());
    return s;
  };
  std::vector<std::string> args = {"-C", cwd.folder().dir().string()};
  for (const std::string& e : c.env) args.push_back(expand(e));
  args.insert(args.end(), {TARNEX_CALC_PROGRAM, "dcdc", "Vo=5"});
  for (const std::string& o : c.options) args.push_back(expand(o));
  const Outcome r = testing::runProgram("/usr/bin/env", args, log);

  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.lines[0], "title\tDC-DC变换器   <界面:系统   公式:内置>");
  DcDcInputs in;  // the window's opening values
  in.Vo = 5;
  EXPECT_TRUE(r.has("field\tL\t" +
                    formatFieldValue(designDcDc(DcDcTopology::Buck, DcDcMode::Ccm, in).out.L)));
  EXPECT_TRUE(std::none_of(r.lines.begin(), r.lines.end(),
                           [](const std::string& l) { return l.starts_with("message"); }));
  EXPECT_TRUE(std::filesystem::is_empty(cwd.folder().dir()));
  const Folder folder(home.path(c.folder));
  for (std::string_view name : startupFiles()) {
    std::ifstream file(folder.path(name), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), initialContent(name)) << name;
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path("System.cfg")));
}

INSTANTIATE_TEST_SUITE_P(
    Default, CalcFolderTest,
    ::testing::Values(FolderCase{"TarnexHome", {"TARNEX_HOME=@/work/tarnex"}, {}, "work/tarnex"},
                      FolderCase{"Home", {"-u", "TARNEX_HOME", "HOME=@"}, {}, "Tarnex"},
                      FolderCase{"DirOption", {"TARNEX_HOME=@/work"}, {"--dir", "@/own"}, "own"}),
    [](const ::testing::TestParamInfo<FolderCase>& p) { return p.param.label; });

// Under a file-size limit the missing end markers cannot be appended. The program must say
// so instead of dying of SIGXFSZ; this test leaves the signal at its default, so the child
// does too unless it ignores it itself.
TEST_F(CalcProgramTest, EndMarkersBeyondAFileSizeLimitAreReported) {
  dir.write("DC-DC Interface.txt", "1=abc;");
  dir.write("CCM Buck cfg.txt", "L = 1;");
  const Outcome r = testing::runProgram(
      "prlimit", {"--fsize=6", TARNEX_CALC_PROGRAM, "dcdc", "--dir", dir.folder().dir().string()},
      dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.has(
      "message\t错误\t界面文本内未发现结束符，且无法写入结束符 '#'，\\n程序仍然使用内置界面！"));
  EXPECT_TRUE(r.has("message\tTarnex\t无法写入文件“CCM Buck cfg.txt”：文件超出了允许的大小。"));
  EXPECT_EQ(dir.read("CCM Buck cfg.txt"), "L = 1;");
}

// A symbolic link that points at itself: one Chinese message for each step that meets it (the
// start-up work on the working folder, the window's opening, the calculation), not one for
// every time a step touches the file.
TEST_F(CalcProgramTest, AFileErrorIsReportedOncePerCommand) {
  std::filesystem::remove(dir.path("CCM Buck cfg.txt"));
  std::filesystem::create_symlink("CCM Buck cfg.txt", dir.path("CCM Buck cfg.txt"));
  const Outcome r = calc({"dcdc"});
  EXPECT_EQ(r.status, 1);
  const std::string loop =
      "message\tTarnex\t无法打开文件“CCM Buck cfg.txt”：符号链接的层数太多，可能是循环链接。";
  EXPECT_EQ(std::count(r.lines.begin(), r.lines.end(), loop), 3);
  EXPECT_EQ(r.lines.size(), 1u + 3u + 27u);
}

TEST(CalcProgram, FolderThatCannotBeMadeIsAnError) {
  TempFolder dir;
  dir.write("plain", "x");
  const Outcome r = runCalc(dir, {"dcdc", "--dir", dir.path("plain/below").string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("无法使用工作文件夹"), std::string::npos) << r.err;
}

// A compensation page's default command with --bode --json: the type II page's step 2 draws
// the stage alone, so no loop and no crossover.
TEST(CalcProgram, LoopPagePlotInJson) {
  TempFolder dir;
  const Outcome j = runCalc(dir, {"loop-type2", "kind=flyback", "--bode", "--json"});
  ASSERT_EQ(j.lines.size(), 1u);
  EXPECT_NE(
      j.lines[0].find("\"bodeUnit\":\"kHz\",\"crossover\":null,\"gainMargin\":null,\"exact\":null,"
                      "\"bode\":[{\"trace\":\"stage\""),
      std::string::npos);
}

}  // namespace
}  // namespace tarnex
