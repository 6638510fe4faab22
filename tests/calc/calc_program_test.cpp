// tarnex-calc run as a program on a working folder: its lines and its exit status.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "designs/dcdc_procedures.h"
#include "designs/registry.h"
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

TEST_F(CalcProgramTest, DefaultCommandPrintsTitleAndFieldsAndSucceeds) {
  const Outcome r = calc({"dcdc"});
  EXPECT_EQ(r.status, 0);
  ASSERT_GT(r.lines.size(), 1u + 27u);
  EXPECT_EQ(r.lines[0], "title\tDC-DC变换器   <界面:系统   公式:内置>");
  EXPECT_EQ(r.lines[1], "field\tVinMin\t18");
  EXPECT_EQ(r.lines[15], "field\tL\t95.1087");
  EXPECT_EQ(r.lines[19], "field\tNL\t20");
  EXPECT_EQ(r.lines[27], "field\tVc\t14.4");
  // Then the design check, a line per finding: L·Ipk·1e4/(NL·Ae) = 95.1087·1.2·1e4/(20·23).
  EXPECT_EQ(r.lines[28], "check\tinfo\t峰值磁密约 2481 GS（设定 2500 GS，饱和 3000 GS）");
  for (std::size_t i = 28; i < r.lines.size(); ++i) EXPECT_EQ(r.lines[i].rfind("check\t", 0), 0u);
  EXPECT_EQ(r.err, "");
}

TEST_F(CalcProgramTest, ListsAreSelectedBeforeFieldsAndRunTheirHandlers) {
  // DCM enables the dead time; the boost needs Vo above VinMax.
  const Outcome r = calc({"dcdc", "calc", "Vo=30", "topology=boost", "mode=断续(DCM)", "Ptd=10"});
  EXPECT_EQ(r.status, 0);
  // Ton = 0.9 · (1000/150) · (30 − 18 + 0.5)/(30 − 1.5 + 0.5) = 2.58621 µs.
  EXPECT_TRUE(r.has("field\tTon\t2.58621")) << r.lines[20];
  EXPECT_TRUE(r.has("field\tVswm\t36"));
}

TEST_F(CalcProgramTest, EndingOnAMessageExitsOne) {
  const Outcome r = calc({"dcdc", "Vo=18"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.has("message\tTarnex\t设计条件不正确，请检查！"));
  EXPECT_TRUE(r.has("field\tL\t"));
  EXPECT_TRUE(r.has("field\tVo\t18"));
}

TEST_F(CalcProgramTest, FieldTextIsTypedAsGivenAndChecked) {
  const Outcome r = calc({"dcdc", "VinMax=2e1 ", "Vsw=1,5"});
  EXPECT_EQ(r.status, 1);
  ASSERT_GE(r.lines.size(), 3u);
  EXPECT_EQ(r.lines[1], "message\tTarnex\t请键入一个数。");
  EXPECT_EQ(r.lines[2], "message\tTarnex\t请输入完整的设计条件！");
  // The fields keep the texts as typed: a failed read writes nothing back.
  EXPECT_TRUE(r.has("field\tVinMax\t2e1 "));
  EXPECT_TRUE(r.has("field\tVsw\t1,5"));
}

TEST_F(CalcProgramTest, LastCommandDecidesTheExitStatus) {
  EXPECT_EQ(calc({"dcdc", "calc", "calc"}).status, 0);
  dir.write("CCM Buck cfg.txt", "L = Np;\n#");
  const Outcome r = calc({"dcdc", "calc"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.has("field\tL\t0"));  // the failed run leaves the reset "0"
}

TEST_F(CalcProgramTest, FormulaFileResultsAndCustomTitle) {
  dir.write("CCM Buck cfg.txt", "L = VinMin * 2;\n#");
  const Outcome r = calc({"dcdc"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.lines[0], "title\tDC-DC变换器   <界面:系统   公式:自定义>");
  EXPECT_TRUE(r.has("field\tL\t36"));
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

struct UsageCase {
  const char* label;
  std::vector<std::string> args;
  const char* errorPart;
};

class CalcUsageTest : public CalcProgramTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(CalcUsageTest, ExitsTwoWithOneLineOnStderr) {
  const Outcome r = calc(GetParam().args);
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(r.lines.empty());
  EXPECT_NE(r.err.find(GetParam().errorPart), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
  // Nothing was opened: no file was created for a call that was refused.
  EXPECT_EQ(dir.read("CCM Buck cfg.txt"), "#");
}

INSTANTIATE_TEST_SUITE_P(
    Errors, CalcUsageTest,
    ::testing::Values(UsageCase{"UnknownDialog", {"boost"}, "unknown dialog 'boost'"},
                      UsageCase{"UnknownCommand", {"dcdc", "verify"}, "unknown command 'verify'"},
                      UsageCase{"UnknownEntry", {"dcdc", "mode=ccm2"}, "unknown entry 'ccm2'"},
                      UsageCase{"UnknownField", {"dcdc", "vo=3"}, "unknown field or list 'vo'"},
                      UsageCase{"UnknownOption", {"dcdc", "--xml"}, "unknown option --xml"},
                      UsageCase{"NoDialog", {}, "usage:"}),
    [](const ::testing::TestParamInfo<UsageCase>& p) { return p.param.label; });

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

TEST(CalcProgram, ListNamesDialogsCommandsListsAndFields) {
  TempFolder dir;
  const Outcome r = runCalc(dir, {"--list"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.has("dialog\tdcdc\tDC-DC变换器"));
  EXPECT_TRUE(r.has("command\tdcdc\tcalc\t计算(&C)\tdefault"));
  EXPECT_TRUE(r.has("list\tdcdc\tmode\t工作模式"));
  EXPECT_TRUE(r.has("entry\tdcdc\tmode\tdcm\t断续(DCM)"));
  EXPECT_TRUE(r.has("entry\tdcdc\ttopology\tbuck-boost\tbuck-boost"));
  EXPECT_TRUE(r.has("field\tdcdc\tAe\t磁芯面积Ae(mm2)\tmm²\tinput"));
  EXPECT_TRUE(r.has("field\tdcdc\tVc\t输出电容耐压>(V)\tV\toutput"));
  // The core estimate is an output of its command, though the frame does not reset it; in DCM
  // it is an area product.
  EXPECT_TRUE(r.has("field\tflyback\tVe\t磁芯体积Ve(mm3)\tmm³ (CCM), mm⁴ (DCM)\toutput"));
  const Outcome j = runCalc(dir, {"--list", "--json"});
  ASSERT_EQ(j.lines.size(), 1u);
  EXPECT_NE(j.lines[0].find("{\"key\":\"dcm\",\"text\":\"断续(DCM)\"}"), std::string::npos);
  // Enter in the forward window only checks the fields; the command line starts with the core.
  EXPECT_NE(j.lines[0].find("{\"key\":\"core\",\"text\":\"计算磁芯(&C)\",\"default\":false,"
                            "\"commandLineDefault\":true}"),
            std::string::npos);
}

// The isolated windows, each with its first command and a path of its own. Reference numbers:
// the hand-worked designs of tests/designs/isolated_procedures_test.cpp.
struct WindowRun {
  const char* label;
  std::vector<std::string> args;
  int status;
  std::vector<std::string> lines;  // each must appear in the output
  std::string formulaFile = {}, formula = {};
};

class CalcWindowTest : public ::testing::TestWithParam<WindowRun> {
 protected:
  void SetUp() override {
    for (const DesignInfo& d : designs()) {
      dir.write(d.table->interfaceFile, "#");
      for (const FormulaFileRow& f : d.table->formulaFiles) dir.write(f.fileName, "#");
    }
  }
  TempFolder dir;
};

TEST_P(CalcWindowTest, PrintsWhatTheWindowShows) {
  const WindowRun& c = GetParam();
  if (!c.formulaFile.empty()) dir.write(c.formulaFile, c.formula);
  std::vector<std::string> args = c.args;
  args.insert(args.end(), {"--dir", dir.folder().dir().string()});
  const Outcome r = runCalc(dir, args);
  EXPECT_EQ(r.status, c.status) << r.err;
  for (const std::string& line : c.lines) {
    const bool json = line.front() == '{';
    const bool found =
        json ? r.lines.size() == 1 && r.lines[0].find(line) != std::string::npos : r.has(line);
    EXPECT_TRUE(found) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, CalcWindowTest,
    ::testing::Values(
        // The forward window has no default button; the command line starts with the core.
        WindowRun{"ForwardCore",
                  {"forward"},
                  0,
                  {"title\t正激变换器 Forward   <界面:系统   公式:内置>", "field\tAp\t1.01747",
                   "field\tNp\t", "field\tAe\t"}},
        WindowRun{"ForwardCoreByFormula",
                  {"forward", "core"},
                  0,
                  {"title\t正激变换器 Forward   <界面:系统   公式:自定义>", "field\tAp\t2"},
                  "正激变换器 cfg.txt",
                  "Ap = Ae * 2;\n#"},
        WindowRun{"Rcc", {"rcc"}, 0, {"field\tNp\t158", "field\tfMax\t1041.93"}},
        WindowRun{"RccNoHeadroom",
                  {"rcc", "Vswm=450", "VacMax=270"},
                  1,
                  {"message\tTarnex\t设计条件不正确，请检查！", "field\tNp\t"}},
        WindowRun{"PushPullHint",
                  {"pushpull", "calc", "Dmax=0.81", "--json"},
                  0,
                  {"{\"caption\":\"Tarnex\",\"text\":\" "
                   "建议留最大占空比设置为小于0.8，留0.2的余量！\",\"icon\":\"none\"}",
                   "{\"name\":\"Lo\",\"text\":\"5.66697\"}"}},
        WindowRun{"HalfBridge", {"halfbridge"}, 0, {"field\tNp\t8", "field\tIrmsp\t11.7139"}},
        WindowRun{"FullBridgeCaptions",
                  {"fullbridge", "--captions"},
                  0,
                  {"field\tNp\t16", "caption\t1255\t8\t最大占空比(2桥臂)"}},
        WindowRun{
            "List",
            {"--list"},
            0,
            {"command\tforward\tcore\t计算磁芯(&C)\tcommand-line-default",
             "command\tflyback\tcore\t计算磁芯(&C)\t", "command\tforward\tverify\t验证(&R)\t",
             "dialog\trcc\tRinging Choke Coverter", "command\tpushpull\tcalc\t计算(&C)\tdefault",
             "field\thalfbridge\tDB\t1/2△B(GS)\tgauss\tinput",
             "field\tfullbridge\tLo\t输出电感(uH)\tµH\toutput"}}),
    [](const ::testing::TestParamInfo<WindowRun>& p) { return std::string(p.param.label); });

// The compensation pages: several commands run in order on one page; --bode adds the plot of
// the last calculation. Values at opening, forward type: step 2 gives fpo 1.03821, step 4
// R2 56234.1 and PM 45.0094; the plot has 401 points for each of its three traces.
TEST(CalcProgram, LoopPageRunsItsStepsAndPrintsItsBodePlot) {
  TempFolder dir;
  const Outcome r = runCalc(dir, {"loop-type2", "step2", "step4", "--bode"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.lines[0], "title\t电压模式Ⅱ型补偿网络");
  EXPECT_TRUE(r.has("field\tfpo\t1.03821"));
  EXPECT_TRUE(r.has("field\tR2\t39810.7"));
  EXPECT_TRUE(r.has("field\tPM\t45.0094"));
  EXPECT_TRUE(r.has("plot\tkHz"));
  int points = 0, crossovers = 0;
  for (const std::string& line : r.lines) {
    points += line.starts_with("bode\t") ? 1 : 0;
    crossovers += line.starts_with("crossover\t") ? 1 : 0;
  }
  EXPECT_EQ(points, 3 * 401);
  EXPECT_EQ(crossovers, 1);
  // Step 2 alone: the stage without a network, so no loop and no crossover.
  const Outcome j = runCalc(dir, {"loop-type2", "kind=flyback", "--bode", "--json"});
  ASSERT_EQ(j.lines.size(), 1u);
  EXPECT_NE(
      j.lines[0].find("\"bodeUnit\":\"kHz\",\"crossover\":null,\"gainMargin\":null,\"exact\":null,"
                      "\"bode\":[{\"trace\":\"stage\""),
      std::string::npos);
}

TEST(CalcProgram, LoopPagesAreListedAndRefuseWhatTheyLack) {
  TempFolder dir;
  const Outcome list = runCalc(dir, {"--list"});
  EXPECT_TRUE(list.has("command\tloop-type2\tstep4\t计算(&K)\t"));
  EXPECT_TRUE(list.has("entry\tloop-current\ttype\topamp\t普通运放"));
  EXPECT_TRUE(list.has("field\tloop-type3\tfEA\t运放穿越频率(KHz)\tkHz\toutput"));
  const Outcome r = runCalc(dir, {"loop-current", "R1=x"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.has("message\tTarnex\t   请输入完整的参数!  "));
  const Outcome bode = runCalc(dir, {"dcdc", "--bode"});
  EXPECT_EQ(bode.status, 2);
  EXPECT_NE(bode.err.find("has no Bode plot"), std::string::npos);
}

TEST(CalcProgram, HelpPrintsTheUsageAndSucceeds) {
  TempFolder dir;
  for (const char* option : {"--help", "-h"}) {
    const Outcome r = runCalc(dir, {option});
    EXPECT_EQ(r.status, 0) << option;
    ASSERT_FALSE(r.lines.empty());
    EXPECT_TRUE(r.has("  tarnex-calc --list [--json]")) << option;
    EXPECT_EQ(r.err, "");
  }
}

}  // namespace
}  // namespace tarnex
