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

// Without --dir the working folder is $TARNEX_HOME, else ~/Tarnex; it is created and filled
// like at the desktop's first start, and the current folder is left alone.
struct FolderCase {
  const char* label;
  std::vector<std::string> env;  // for env(1), "@" standing for the home folder
  std::vector<std::string> options;
  const char* folder;  // the working folder below the home folder
};

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
TEST(CalcProgram, EndMarkersBeyondAFileSizeLimitAreReported) {
  TempFolder dir;
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

TEST(CalcProgram, FolderThatCannotBeMadeIsAnError) {
  TempFolder dir;
  dir.write("plain", "x");
  const Outcome r = runCalc(dir, {"dcdc", "--dir", dir.path("plain/below").string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("无法使用工作文件夹"), std::string::npos) << r.err;
}

// --netlist writes the deck whole where it is asked (over an older file), and leaves the old
// file as it was when the design gives no circuit.
TEST(CalcProgram, NetlistIsWrittenWholeOrNotAtAll) {
  TempFolder dir;
  const std::string file = dir.path("deck.cir").string();
  dir.write("deck.cir", "old");
  const Outcome ok = runCalc(dir, {"dcdc", "--dir", dir.path("home").string(), "--netlist", file});
  EXPECT_EQ(ok.status, 0) << ok.err;
  const std::string deck = dir.read("deck.cir");
  EXPECT_TRUE(deck.starts_with("* buck as designed\n")) << deck.substr(0, 80);
  EXPECT_TRUE(deck.ends_with(".end\n"));
  EXPECT_NE(deck.find("* L = "), std::string::npos) << "the inductor's field is named";
  dir.write("deck.cir", "old");
  // The flyback's estimate alone computes no transformer.
  const Outcome none =
      runCalc(dir, {"flyback", "core", "--dir", dir.path("home").string(), "--netlist", file});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no netlist"), std::string::npos) << none.err;
  EXPECT_EQ(dir.read("deck.cir"), "old");
  const Outcome missing = runCalc(dir, {"dcdc", "--dir", dir.path("home").string(), "--netlist",
                                        dir.path("no/deck.cir").string()});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("无法"), std::string::npos) << missing.err;
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

// The load step in JSON: the load and the step, then per network its reading and its points,
// the first before the step.
TEST(CalcProgram, LoadStepInJson) {
  TempFolder dir;
  const Outcome j = runCalc(dir, {"loop-type2", "step2", "step4", "--load-step", "--json"});
  ASSERT_EQ(j.lines.size(), 1u);
  EXPECT_NE(j.lines[0].find("\"loadStep\":{\"load\":10,\"step\":5,\"traces\":[{\"name\":\"page\","
                            "\"stable\":true,\"peak\":-0.516"),
            std::string::npos);
  EXPECT_NE(j.lines[0].find("\"points\":[{\"t\":-"), std::string::npos);
}

// --report writes the window's report as HTML, dated by $SOURCE_DATE_EPOCH when it is set, so
// that the same run makes the same bytes; a PDF name is refused before anything runs, and a
// file that cannot be written is an error that names it.
TEST(CalcProgram, ReportAsHtml) {
  TempFolder dir;
  const std::string report = dir.path("r.html").string(), home = dir.path("home").string();
  auto dated = [&](const std::vector<std::string>& args) {
    std::vector<std::string> all = {"SOURCE_DATE_EPOCH=86400", TARNEX_CALC_PROGRAM};
    all.insert(all.end(), args.begin(), args.end());
    return testing::runProgram("env", all, dir);
  };
  EXPECT_EQ(dated({"loop-current", "calc", "--report", report, "--dir", home}).status, 0);
  const std::string first = dir.read("r.html");
  for (const char* text :
       {"1970-01-02 00:00", "电流模式控制环路补偿", "&lt;内置算法&gt;", "相位裕量"}) {
    EXPECT_NE(first.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(dated({"loop-current", "calc", "--report", report, "--dir", home}).status, 0);
  EXPECT_EQ(dir.read("r.html"), first);

  const Outcome pdf = runCalc(dir, {"dcdc", "--report", dir.path("r.pdf").string(), "--dir", home});
  EXPECT_EQ(pdf.status, 2);
  EXPECT_NE(pdf.err.find("HTML only"), std::string::npos) << pdf.err;
  EXPECT_FALSE(dir.exists("r.pdf"));
  dir.write("plain", "x");
  const Outcome blocked =
      runCalc(dir, {"dcdc", "--report", dir.path("plain/r.html").string(), "--dir", home});
  EXPECT_EQ(blocked.status, 2);
  EXPECT_NE(blocked.err.find("r.html"), std::string::npos) << blocked.err;
}

}  // namespace
}  // namespace tarnex
