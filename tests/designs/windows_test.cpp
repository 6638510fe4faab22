// The forward, ringing choke, push-pull, half-bridge and full-bridge windows through their
// form models, as the launcher builds them: one table walks the five through the same
// checks, then the paths only some of them have.
//
// Reference numbers are the hand-worked designs of isolated_procedures_test.cpp (the opening
// values of each window), displayed with six significant digits.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "designs/registry.h"
#include "support/field_ids.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

constexpr int kNote = 1306;

std::string box(const std::string& text) {
  return std::string(kProgramName) + "|" + text;
}

// A host that also notes when the progress window ran among the messages.
class OrderHost : public RecordingHost {
 public:
  void showMessage(const Message& message) override {
    RecordingHost::showMessage(message);
    events.push_back(message.text);
  }
  void runProgress() override {
    RecordingHost::runProgress();
    events.push_back("progress");
  }
  std::vector<std::string> events;
};

struct Window {
  const char* key;
  int command;  // what the launcher's user presses first
  const char* incomplete;
  const char* title;           // system captions, built-in formulas
  const char* formulaTitle;    // a formula file in use
  const char* interfaceTitle;  // captions from the interface file
  const char* results;         // "name=text ..." after the command with the opening values
  const char* formula;         // a formula file using the window's names
  const char* formulaResults;  // after the command with it
  const char* failedRun;       // after the command with a file the runner rejects
  bool greysNote;              // the note explaining the built-in method greys in formula mode
};

void PrintTo(const Window& w, std::ostream* os) {
  *os << w.key;
}

class DesignWindow : public ::testing::TestWithParam<Window> {
 protected:
  void SetUp() override {
    for (const FormulaFileRow& f : table().formulaFiles) dir.write(f.fileName, "#");
    dir.write(table().interfaceFile, "#");
  }

  const DialogTable& table() const {
    for (const DesignInfo& d : designs()) {
      if (d.key() == GetParam().key) return *d.table;
    }
    throw std::invalid_argument("no window " + std::string(GetParam().key));
  }
  std::string formulaFile() const { return std::string(table().formulaFiles.front().fileName); }
  int id(const std::string& name) const { return testing::fieldId(table(), name); }

  Form& open() {
    form = makeDesign(GetParam().key, host, dir.folder());
    if (!form) throw std::logic_error("window not built");
    form->open();
    return *form;
  }
  void run() { form->command(GetParam().command); }
  const std::string& text(const std::string& name) const { return form->text(id(name)); }

  // Every "name=text" of `expected` as the window shows it.
  void expectShown(const char* expected) const {
    std::istringstream words(expected);
    for (std::string word; words >> word;) {
      const std::string name = word.substr(0, word.find('='));
      EXPECT_EQ(name + "=" + text(name), word);
    }
  }
  void expectOutputs(const std::string& shown) const {
    for (const FieldRow& row : table().fields) {
      if (row.role == FieldRole::Result) {
        EXPECT_EQ(text(std::string(row.name)), shown) << row.name;
      }
    }
  }

  TempFolder dir;
  RecordingHost host;
  std::unique_ptr<Form> form;
};

TEST_P(DesignWindow, OpensWithItsTitleAndBlankResults) {
  open();
  EXPECT_EQ(form->title(), GetParam().title);
  EXPECT_TRUE(host.messages.empty());
  expectOutputs("");
  EXPECT_EQ(text("VacMin"), "90");
  EXPECT_EQ(form->pictures().size(), 1u);
  // Enter presses the calculate button; the forward window has none to press.
  const Control* command = form->control(GetParam().command);
  ASSERT_NE(command, nullptr);
  EXPECT_EQ(command->isDefault, GetParam().command == kCalculateButton);
}

TEST_P(DesignWindow, OpeningValuesGiveTheReferenceDesign) {
  open();
  run();
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  EXPECT_EQ(host.progressRuns, 1);
  expectShown(GetParam().results);
}

TEST_P(DesignWindow, BadFieldShowsTheFrameworksMessageThenTheWindows) {
  open();
  form->setText(id("Vo"), "5V");
  run();
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{box("请键入一个数。"), box(GetParam().incomplete)}));
  EXPECT_EQ(host.progressRuns, 0);
  expectOutputs("");
  EXPECT_EQ(text("Vo"), "5V");
  const auto focus = form->takeFocusRequest();
  ASSERT_TRUE(focus.has_value());
  EXPECT_EQ(focus->id, id("Vo"));
}

TEST_P(DesignWindow, FormulaFileInUseReadsAndWritesItsNames) {
  dir.write(formulaFile(), GetParam().formula);
  open();
  EXPECT_EQ(form->title(), GetParam().formulaTitle);
  const Control* note = form->control(kNote);
  EXPECT_EQ(note != nullptr, GetParam().greysNote);
  if (note != nullptr) {
    EXPECT_FALSE(note->enabled);
  }
  run();
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  expectShown(GetParam().formulaResults);
}

TEST_P(DesignWindow, RejectedFormulaFileLeavesTheResetResults) {
  dir.write(formulaFile(), "Np = (Vo + 1;\r\n#");
  open();
  run();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "公式解析错误");
  EXPECT_EQ(host.progressRuns, 0);
  expectShown(GetParam().failedRun);
}

TEST_P(DesignWindow, InterfaceFileRelabelsACaption) {
  dir.write(table().interfaceFile, "3=Vout(V);\r\n#");
  open();
  EXPECT_EQ(form->title(), GetParam().interfaceTitle);
  EXPECT_EQ(form->text(1250), "Vout(V)");
  EXPECT_TRUE(host.messages.empty());
}

// Formula files: Vo·2 and the like are the window's own opening values; the forward's core
// estimate reads Ae as 1, and writes back even after an error, then empties the outputs.
INSTANTIATE_TEST_SUITE_P(
    Windows, DesignWindow,
    ::testing::Values(
        // Ap = (5·50·100/83)·600·506.7/(0.3·200·1500·1000)
        Window{"forward", forward::kCoreButton, "请输入完整的设计条件！！",
               "正激变换器 Forward   <界面:系统   公式:内置>",
               "正激变换器 Forward   <界面:系统   公式:自定义>",
               "正激变换器 Forward   <界面:自定义   公式:内置>",
               "Ap=1.01747 Ae= Np= Ns= Lo=", "Ap = Ae + Kw;\r\nNp = Vo * 2;\r\n#",
               "Ap=1.3 Ae= Np= Lo=", "Ap=0 Ae= Np= Lo=", true},
        Window{"rcc", kCalculateButton, " 请输入完整的设计条件！",
               "Ringing Choke Coverter  <界面:系统   公式:内置>",
               "Ringing Choke Coverter  <界面:系统    公式:自定义>",
               "Ringing Choke Coverter  <界面:自定义   公式:内置>",
               "Lp=2491.07 Ls=22.5728 Ipkp=0.298677 Ipks=3.13763 Irmsp=0.10274 "
               "Irmss=1.45489 Np=158 Ns=15 Dp=0.182049 Ds=0.685069 fMax=1041.93",
               "fMax = fMin * 2;\r\nNp = Vswm - Vswr;\r\n#", "fMax=120 Np=450 Lp=0 Vswm=600",
               "Lp=0 fMax=0 Np=0", false},
        Window{"pushpull", kCalculateButton, " 请输入完整的设计条件！！",
               "推挽变换器 Push Pull   <界面:系统   公式:内置>",
               "推挽变换器 Push Pull   <界面:系统   公式:自定义>",
               "推挽变换器 Push Pull   <界面:自定义   公式:内置>",
               "Np=16 Ns=2 Irmsp=1.86367 Irmss=13.4164 Lo=5.69423",
               "Lo = DB / 2;\r\nNs = Ae + VacMax;\r\n#", "Lo=800 Ns=404 Np=0", "Np=0 Lo=0", true},
        // The primary sees half the input: turns ratio and secondary from Vh = 63.63 V.
        Window{"halfbridge", kCalculateButton, " 请输入完整的设计条件！！",
               "半桥变换器 Half Bridge   <界面:系统   公式:内置>",
               "半桥变换器 Half Bridge   <界面:系统   公式:自定义>",
               "半桥变换器 Half Bridge   <界面:自定义   公式:内置>",
               "Np=8 Ns=2 Dp=1.94388 Ds=3.28933 Irmsp=11.7139 Irmss=33.541 Lo=2.27769",
               "Lo = DB / 2;\r\nNs = Ae + VacMax;\r\n#", "Lo=800 Ns=404 Np=0", "Np=0 Lo=0", true},
        Window{"fullbridge", kCalculateButton, " 请输入完整的设计条件！！",
               "全桥变换器 Full Bridge   <界面:系统   公式:内置>",
               "全桥变换器 Full Bridge   <界面:系统   公式:自定义>",
               "全桥变换器 Full Bridge   <界面:自定义   公式:内置>",
               "Np=16 Ns=2 Dp=1.37453 Ds=3.28933 Irmsp=5.85695 Irmss=33.541 Lo=2.27769",
               "Lo = DB / 2;\r\nNs = Ae + VacMax;\r\n#", "Lo=800 Ns=404 Np=0", "Np=0 Lo=0", true}),
    [](const ::testing::TestParamInfo<Window>& p) { return std::string(p.param.key); });

// --- paths of one window or another ---------------------------------------------------------

class WindowPaths : public ::testing::Test {
 protected:
  // Built-in formulas and system captions.
  void SetUp() override {
    for (const DesignInfo& d : designs()) {
      for (const FormulaFileRow& f : d.table->formulaFiles) dir.write(f.fileName, "#");
      dir.write(d.table->interfaceFile, "#");
    }
  }
  Form& open(const char* key) {
    form = makeDesign(key, host, dir.folder());
    form->open();
    table = form->table();
    return *form;
  }
  void type(const char* name, const char* text) {
    form->setText(testing::fieldId(*table, name), text);
  }
  const std::string& text(const char* name) const {
    return form->text(testing::fieldId(*table, name));
  }

  TempFolder dir;
  OrderHost host;
  std::unique_ptr<Form> form;
  const DialogTable* table = nullptr;
};

// Estimate, verification with the chosen core, estimate again: each command leaves what it
// computed, the core stays as typed, and a verification leaves the estimate as it found it.
TEST_F(WindowPaths, ForwardEstimateAndVerificationKeepTheirOwnFields) {
  open("forward");
  EXPECT_EQ(text("Ap"), "");
  EXPECT_EQ(text("Ae"), "");
  type("Ae", "100");
  form->command(forward::kVerifyButton);
  EXPECT_TRUE(host.messages.empty());
  // Hand computation: Np0 = 14.847, n = 7.95375, Ns 1.86667 → 2, Np 15.9075 → 16.
  EXPECT_EQ(text("Np"), "16");
  EXPECT_EQ(text("Lo"), "1.23667");
  EXPECT_EQ(text("Ap"), "");

  form->command(forward::kCoreButton);
  EXPECT_EQ(text("Ap"), "1.01747");
  EXPECT_EQ(text("Np"), "");
  EXPECT_EQ(text("Ae"), "100");

  form->command(forward::kVerifyButton);
  EXPECT_EQ(text("Ap"), "1.01747");
  EXPECT_EQ(text("Np"), "16");
  EXPECT_EQ(host.progressRuns, 3);
}

TEST_F(WindowPaths, ForwardVerifyWithoutCoreAsksForIt) {
  open("forward");
  type("Ae", "100");
  form->command(forward::kVerifyButton);
  ASSERT_EQ(text("Np"), "16");
  type("Ae", "");
  form->command(forward::kVerifyButton);
  EXPECT_EQ(host.summary(), std::vector<std::string>{box("请先输入你选择的磁芯参数！")});
  EXPECT_EQ(text("Np"), "");
  EXPECT_EQ(text("Ap"), "");
  EXPECT_EQ(host.progressRuns, 1);
}

TEST_F(WindowPaths, ForwardIncompleteCommandsLeaveTheEstimateAndCoreEmpty) {
  open("forward");
  type("f", "");
  form->command(forward::kCoreButton);
  type("Ae", "100");
  form->command(forward::kVerifyButton);
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{box("请键入一个数。"), box("请输入完整的设计条件！！"),
                                      box("请键入一个数。"), box("请输入完整的设计条件!")}));
  EXPECT_EQ(text("Ap"), "");
  EXPECT_EQ(text("Ae"), "100");
  EXPECT_EQ(text("Np"), "");
}

// Enter checks the fields (the blank estimate is the first that does not read) and never
// closes the window.
TEST_F(WindowPaths, ForwardEnterOnlyChecksTheFields) {
  open("forward");
  type("Vo", "12");
  form->enterKey();
  EXPECT_EQ(host.summary(), std::vector<std::string>{box("请键入一个数。")});
  EXPECT_FALSE(form->closeRequested());
  EXPECT_EQ(text("Vo"), "12");
  EXPECT_EQ(host.progressRuns, 0);
}

TEST_F(WindowPaths, ForwardFormulaEstimateRunsWithoutProgressAndAeAtOne) {
  dir.write("正激变换器 cfg.txt", "Ap = Ae * 3;\r\nAe = 7;\r\n#");
  open("forward");
  type("Ae", "100");
  form->command(forward::kCoreButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.progressRuns, 0);
  EXPECT_EQ(text("Ap"), "3");
  EXPECT_EQ(text("Ae"), "100");
}

// A file that holds only a comment computes with the built-in estimate, progress window
// included.
TEST_F(WindowPaths, ForwardEstimateByAFileWithoutStatementsIsBuiltIn) {
  dir.write("正激变换器 cfg.txt", "// none yet\r\n#");
  open("forward");
  form->command(forward::kCoreButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_EQ(text("Ap"), "1.01747");
}

TEST_F(WindowPaths, ForwardFormulaVerificationReadsApAtOne) {
  dir.write("正激变换器 cfg.txt", "Np = Ap * 7;\r\nAp = 5;\r\n#");
  open("forward");
  type("Ae", "100");
  form->command(forward::kVerifyButton);
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_EQ(text("Np"), "7");
  EXPECT_EQ(text("Ns"), "0");  // read as "0" and written back as the file left it
  EXPECT_EQ(text("Ap"), "");

  type("Ap", "1.5");
  dir.write("正激变换器 cfg.txt", "Np = Ap / 0;\r\n#");
  form->command(forward::kVerifyButton);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "计算出错");
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_EQ(text("Np"), "0");
  EXPECT_EQ(text("Ap"), "1.5");
}

struct HintCase {
  const char* label;
  const char* key;
  int command;
  const char* Dmax;
  std::vector<std::string> events;  // messages and "progress", in order
};

void PrintTo(const HintCase& c, std::ostream* os) {
  *os << c.label;
}

class DutyHint : public WindowPaths, public ::testing::WithParamInterface<HintCase> {};

// A hint stops nothing. The forward estimate shows its hint after the progress window, a
// verification or a calculation before it.
TEST_P(DutyHint, ComesInItsPlaceAndStopsNothing) {
  const HintCase& c = GetParam();
  open(c.key);
  if (c.command == forward::kVerifyButton) type("Ae", "100");
  type("Dmax", c.Dmax);
  form->command(c.command);
  EXPECT_EQ(host.events, c.events);
}

const std::string kForwardHint = "提示：如果复位绕组和初级匝数相等，请设置最大占空比小于0.5！";
const std::string kPushPullHint = " 建议留最大占空比设置为小于0.8，留0.2的余量！";

INSTANTIATE_TEST_SUITE_P(
    Thresholds, DutyHint,
    ::testing::Values(
        HintCase{"ForwardCoreAtHalf",
                 "forward",
                 forward::kCoreButton,
                 "0.5",
                 {"progress", kForwardHint}},
        HintCase{"ForwardCoreBelowHalf", "forward", forward::kCoreButton, "0.49", {"progress"}},
        HintCase{"ForwardVerifyAtHalf",
                 "forward",
                 forward::kVerifyButton,
                 "0.5",
                 {kForwardHint, "progress"}},
        HintCase{
            "PushPullAbove", "pushpull", kCalculateButton, "0.81", {kPushPullHint, "progress"}},
        HintCase{"PushPullAtLimit", "pushpull", kCalculateButton, "0.8", {"progress"}},
        HintCase{"FullBridgeAbove", "fullbridge", kCalculateButton, "0.9", {"progress"}}),
    [](const ::testing::TestParamInfo<HintCase>& p) { return std::string(p.param.label); });

struct ConditionCase {
  const char* label;
  const char* key;
  int command;
  const char* typed;  // "name=text ...", typed before the command
  std::vector<std::string> events;
  const char* shown;  // "name=text ..." afterwards
};

void PrintTo(const ConditionCase& c, std::ostream* os) {
  *os << c.label;
}

class Conditions : public WindowPaths, public ::testing::WithParamInterface<ConditionCase> {};

// Every window on conditions it refuses: a field text that is no number (the framework's
// message, then the window's), or design conditions that are impossible (the window's one
// message, no progress window, no result shown, what was typed kept).
TEST_P(Conditions, AreRefusedWithTheirMessage) {
  const ConditionCase& c = GetParam();
  open(c.key);
  std::istringstream words(c.typed);
  for (std::string word; words >> word;) {
    const std::size_t eq = word.find('=');
    type(word.substr(0, eq).c_str(), word.substr(eq + 1).c_str());
  }
  form->command(c.command);
  EXPECT_EQ(host.events, c.events);
  std::istringstream expected(c.shown);
  for (std::string word; expected >> word;) {
    const std::string name = word.substr(0, word.find('='));
    EXPECT_EQ(name + "=" + text(name.c_str()), word);
  }
}

const std::string kImpossible = "设计条件不正确，请检查！";
const std::string kNotANumber = "请键入一个数。";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Windows, Conditions,
    ::testing::Values(
        // Input ranges upside down, no voltage on the winding while the switch is on, a load
        // range upside down, a duty cycle of 1 or more.
        ConditionCase{"DcDcInputRange", "dcdc", kCalculateButton, "VinMin=30 VinMax=20",
                      {kImpossible}, "L= NL= Duty= VinMin=30"},
        ConditionCase{"ForwardInputRange", "forward", forward::kVerifyButton, "Ae=100 VacMin=280",
                      {kImpossible}, "Np= Lo= Ap= VacMin=280"},
        ConditionCase{"RccLowLineBelowSwitchDrop", "rcc", kCalculateButton, "VacMin=1",
                      {kImpossible}, "Lp= fMax= VacMin=1"},
        ConditionCase{"RccMinimumLoadAboveFull", "rcc", kCalculateButton, "IoMin=2",
                      {kImpossible}, "Lp="},
        ConditionCase{"PushPullInputRange", "pushpull", kCalculateButton, "VacMax=89",
                      {kImpossible}, "Np= Lo="},
        ConditionCase{"HalfBridgeDutyAboveOne", "halfbridge", kCalculateButton, "Dmax=1.5",
                      {kImpossible}, "Np= Lo="},
        ConditionCase{"FullBridgeDutyOfOne", "fullbridge", kCalculateButton, "Dmax=1",
                      {kImpossible}, "Np= Lo="},
        // The forward refuses in its verification only; the estimate still hints.
        ConditionCase{"ForwardDutyOfOne", "forward", forward::kVerifyButton, "Ae=100 Dmax=1",
                      {kImpossible}, "Np= Ap="},
        ConditionCase{"ForwardEstimateAtDutyOfOne", "forward", forward::kCoreButton, "Dmax=1",
                      {"progress", "提示：如果复位绕组和初级匝数相等，请设置最大占空比小于0.5！"},
                      "Ap=1.01747"},
        // Texts that are not finite in single precision are not numbers.
        ConditionCase{"DcDcNan", "dcdc", kCalculateButton, "Vo=nan",
                      {kNotANumber, "请输入完整的设计条件！"}, "L= Vo=nan"},
        ConditionCase{"FlybackInfinity", "flyback", flyback::kCoreButton, "Po=inf",
                      {kNotANumber, "请输入完整的设计条件！！"}, "Ve= Po=inf"},
        ConditionCase{"ForwardBeyondSinglePrecision", "forward", forward::kVerifyButton,
                      "Ae=1e39", {kNotANumber, "请输入完整的设计条件!"}, "Np= Ae=1e39"},
        ConditionCase{"RccMinusInfinity", "rcc", kCalculateButton, "Vsw=-inf",
                      {kNotANumber, " 请输入完整的设计条件！"}, "Lp="},
        ConditionCase{"PushPullNan", "pushpull", kCalculateButton, "DB=NAN",
                      {kNotANumber, " 请输入完整的设计条件！！"}, "Np="},
        ConditionCase{"HalfBridgeBeyondSinglePrecision", "halfbridge", kCalculateButton,
                      "Io=-4e38", {kNotANumber, " 请输入完整的设计条件！！"}, "Np="},
        ConditionCase{"FullBridgeInfinity", "fullbridge", kCalculateButton, "f=infinity",
                      {kNotANumber, " 请输入完整的设计条件！！"}, "Np="}),
    [](const ::testing::TestParamInfo<ConditionCase>& p) { return std::string(p.param.label); });
// clang-format on

// 450 − 150 − 1.414·270 = −81.78 V: no room for a reflected voltage under the switch rating.
TEST_F(WindowPaths, RccWithoutSwitchHeadroomShowsNoDesign) {
  open("rcc");
  form->command(kCalculateButton);
  ASSERT_EQ(text("Np"), "158");
  type("Vswm", "450");
  type("VacMax", "270");
  form->command(kCalculateButton);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "设计条件不正确，请检查！");
  EXPECT_EQ(host.messages[0].caption, kProgramName);
  EXPECT_EQ(host.messages[0].icon, Icon::None);
  EXPECT_TRUE(host.messages[0].owned);
  EXPECT_EQ(host.progressRuns, 1);
  for (const char* name : {"Lp", "Np", "Ns", "fMax"}) EXPECT_EQ(text(name), "") << name;
  EXPECT_EQ(text("Vswm"), "450");
}

}  // namespace
}  // namespace tarnex
