// Every design window through its form model, as the launcher builds it: one table walks the
// seven through the same checks, one table the conditions each refuses or hints at, then the
// formula files in use, command by command. The numbers the windows compute are golden runs of
// tarnex-calc (tests/golden/calc).

#include <algorithm>
#include <string_view>

#include "forms/core_pick.h"
#include "magnetics/catalogue.h"
#include "window_driver.h"

namespace tarnex {
namespace {

using testing::box;

constexpr int kNote = 1306;
const std::string kNotANumber = "请键入一个数。";
const std::string kImpossible = "设计条件不正确，请检查！";

struct Window {
  const char* key;
  const char* command;  // what the launcher's user presses first
  const char* core;     // typed before it: the chosen core of a window that verifies one
  const char* opening;  // "name=text" of a field as the window opens
  const char* incomplete;
  const char* title;             // system captions, built-in formulas
  const char* formulaTitle;      // a formula file in use
  const char* interfaceTitle;    // captions from the interface file
  const char* results;           // "name=text ..." after the command with the opening values
  const char* formula;           // a formula file using the window's names
  const char* formulaResults;    // after the command with it
  const char* failedRun;         // after the command with a file the runner rejects
  bool greysNote;                // the note explaining the built-in method greys in formula mode
  int voCaption = 3;             // the number an interface file gives the output voltage's label
  const char* verify = nullptr;  // the command that calculates on the core, when not `command`
};

void PrintTo(const Window& w, std::ostream* os) {
  *os << w.key;
}

class DesignWindow : public testing::WindowDriver, public ::testing::TestWithParam<Window> {
 protected:
  void SetUp() override { switchFilesOff(GetParam().key); }
  Form& open() { return WindowDriver::open(GetParam().key); }
  void press() { run(std::string(GetParam().core) + " " + GetParam().command); }
  std::string formulaFile() {
    return std::string(tableOf(GetParam().key).formulaFiles.front().fileName);
  }
  bool calculates() const { return std::string(GetParam().command) == "calc"; }
  std::string verify() const {
    return GetParam().verify != nullptr ? GetParam().verify : GetParam().command;
  }
};

// A window opens with its title and blank results. Enter calculates in a window with a
// calculate button; elsewhere it only checks the fields (the blank estimate is the first that
// does not read) and the first command designs. Neither closes the window; the close button
// does, without running anything.
TEST_P(DesignWindow, OpensDesignsAfterTheProgressWindowAndCloses) {
  open();
  EXPECT_EQ(form->title(), GetParam().title);
  EXPECT_TRUE(host.messages.empty());
  expectResults("");
  expectShown(GetParam().opening);
  EXPECT_EQ(form->pictures().size(), 1u);
  // Enter presses the calculate button; a window of several commands has none to press.
  for (const Control& c : form->controls()) {
    EXPECT_EQ(c.isDefault, calculates() && c.id == kCalculateButton) << c.id;
  }
  form->enterKey();
  EXPECT_FALSE(form->closeRequested());
  if (!calculates()) {
    EXPECT_EQ(host.events, std::vector<std::string>{kNotANumber});
    host.events.clear();
    press();  // the window's first command on its opening values
  }
  EXPECT_EQ(host.events, std::vector<std::string>{"progress"});
  expectShown(GetParam().results);
  host.events.clear();
  form->command(kCloseButton);
  EXPECT_TRUE(form->closeRequested());
  EXPECT_TRUE(host.events.empty());
}

TEST_P(DesignWindow, BadFieldShowsTheFrameworksMessageThenTheWindows) {
  open();
  form->setText(id("Vo"), "5V");
  press();
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{box(kNotANumber), box(GetParam().incomplete)}));
  EXPECT_EQ(host.progressRuns, 0);
  expectResults("");
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
  press();
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  expectShown(GetParam().formulaResults);
}

TEST_P(DesignWindow, RejectedFormulaFileLeavesTheResetResults) {
  dir.write(formulaFile(), "Np = (Vo + 1;\r\n#");
  open();
  press();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "公式解析错误");
  EXPECT_EQ(host.progressRuns, 0);
  expectShown(GetParam().failedRun);
}

TEST_P(DesignWindow, InterfaceFileRelabelsACaption) {
  dir.write(tableOf(GetParam().key).interfaceFile,
            std::to_string(GetParam().voCaption) + "=Vout(V);\r\n#");
  open();
  EXPECT_EQ(form->title(), GetParam().interfaceTitle);
  EXPECT_EQ(form->text(1250), "Vout(V)");
  EXPECT_TRUE(host.messages.empty());
}

// A catalogue core fills the window's core fields as the window shows numbers; the loss sheet
// of the design on it follows a calculation and goes when the results are blanked (a refused
// read) or the core is typed over.
TEST_P(DesignWindow, CatalogueCoreFillsItsFieldsAndTheSheetFollowsTheResults) {
  open();
  CorePick* pick = form->corePick();
  ASSERT_NE(pick, nullptr);
  const magnetics::CatalogueCore& etd = *magnetics::findCore("ETD 34/17/11");
  pick->choose(etd, *magnetics::findMaterial("N87"));
  EXPECT_NEAR(std::stod(text("Ae")), etd.geometry.Ae * 1e6, 1e-3);
  if (findField(*table, "Le") != nullptr) {
    EXPECT_NEAR(std::stod(text("Le")), etd.geometry.le * 1e3, 1e-3);
  }
  EXPECT_EQ(pick->text(), "ETD 34/17/11 · N87");
  EXPECT_EQ(pick->sheet(), nullptr);

  run(verify());
  ASSERT_NE(pick->sheet(), nullptr) << host.summary().front();
  EXPECT_TRUE(pick->sheet()->complete);
  EXPECT_GT(pick->sheet()->Ptotal, 0);
  // Every window's check solves the circuit, and the sheet takes its currents from it.
  EXPECT_TRUE(pick->sheet()->findings.front().text.starts_with("电流与峰值磁密按设计检查的电路"));

  run("Vo=5V " + verify());
  EXPECT_EQ(pick->sheet(), nullptr);
  run("Vo=12 " + verify());
  ASSERT_NE(pick->sheet(), nullptr);
  EXPECT_EQ(pick->core(), &etd);

  run("Ae=100");
  EXPECT_EQ(pick->sheet(), nullptr);
  EXPECT_EQ(pick->core(), nullptr);
  EXPECT_EQ(pick->text(), "");
}

// Formula files: Vo·2 and the like are the window's own opening values; an estimate reads the
// chosen core as 1, and a file the runner rejects empties the outputs it would have written.
INSTANTIATE_TEST_SUITE_P(
    Windows, DesignWindow,
    ::testing::Values(
        Window{"dcdc", "calc", "", "VinMin=18", "请输入完整的设计条件！",
               "DC-DC变换器   <界面:系统   公式:内置>", "DC-DC变换器   <界面:系统   公式:自定义>",
               "DC-DC变换器   <界面:自定义   公式:内置>", "L=95.1087 NL=20 Vc=14.4",
               "L = Vo * 2;\r\nNL = VinMax - VinMin;\r\n#", "L=24 NL=6 Vo=12", "L=0 NL=0", true},
        Window{"flyback", "verify", "Ae=100 Le=60", "VacMin=90", "请输入完整的设计条件!",
               "反激变换器 Flyback   <界面:系统   公式:内置>",
               "反激变换器 Flyback   <界面:系统   公式:自定义>",
               "反激变换器 Flyback   <界面:自定义   公式:内置>", "Lp=429.206 Np=45 Ve= Rlk=",
               "Lp = Po * 2;\r\nNp = Vswm - Vswr;\r\n#", "Lp=148 Np=500", "Lp=0 Np=0", false, 2},
        // Ap = (5·50·100/83)·600·506.7/(0.3·200·1500·1000)
        Window{"forward", "core", "", "VacMin=90", "请输入完整的设计条件！！",
               "正激变换器 Forward   <界面:系统   公式:内置>",
               "正激变换器 Forward   <界面:系统   公式:自定义>",
               "正激变换器 Forward   <界面:自定义   公式:内置>",
               "Ap=1.01747 Ae= Np= Ns= Lo=", "Ap = Ae + Kw;\r\nNp = Vo * 2;\r\n#",
               "Ap=1.3 Ae= Np= Lo=", "Ap=0 Ae= Np= Lo=", true, 3, "verify"},
        Window{"rcc", "calc", "", "VacMin=90", " 请输入完整的设计条件！",
               "Ringing Choke Coverter  <界面:系统   公式:内置>",
               "Ringing Choke Coverter  <界面:系统    公式:自定义>",
               "Ringing Choke Coverter  <界面:自定义   公式:内置>",
               "Lp=2491.07 Np=158 fMax=1041.93", "fMax = fMin * 2;\r\nNp = Vswm - Vswr;\r\n#",
               "fMax=120 Np=450 Lp=0 Vswm=600", "Lp=0 fMax=0 Np=0", false},
        Window{"pushpull", "calc", "", "VacMin=90", " 请输入完整的设计条件！！",
               "推挽变换器 Push Pull   <界面:系统   公式:内置>",
               "推挽变换器 Push Pull   <界面:系统   公式:自定义>",
               "推挽变换器 Push Pull   <界面:自定义   公式:内置>", "Np=16 Ns=2 Lo=5.69423",
               "Lo = DB / 2;\r\nNs = Ae + VacMax;\r\n#", "Lo=800 Ns=404 Np=0", "Np=0 Lo=0", true},
        Window{"halfbridge", "calc", "", "VacMin=90", " 请输入完整的设计条件！！",
               "半桥变换器 Half Bridge   <界面:系统   公式:内置>",
               "半桥变换器 Half Bridge   <界面:系统   公式:自定义>",
               "半桥变换器 Half Bridge   <界面:自定义   公式:内置>", "Np=8 Ns=2 Lo=2.27769",
               "Lo = DB / 2;\r\nNs = Ae + VacMax;\r\n#", "Lo=800 Ns=404 Np=0", "Np=0 Lo=0", true},
        Window{"fullbridge", "calc", "", "VacMin=90", " 请输入完整的设计条件！！",
               "全桥变换器 Full Bridge   <界面:系统   公式:内置>",
               "全桥变换器 Full Bridge   <界面:系统   公式:自定义>",
               "全桥变换器 Full Bridge   <界面:自定义   公式:内置>", "Np=16 Ns=2 Lo=2.27769",
               "Lo = DB / 2;\r\nNs = Ae + VacMax;\r\n#", "Lo=800 Ns=404 Np=0", "Np=0 Lo=0", true}),
    [](const ::testing::TestParamInfo<Window>& p) { return std::string(p.param.key); });

// --- conditions a window refuses or hints at --------------------------------------------

struct ConditionCase {
  const char* label;
  const char* key;
  const char* before;  // worked first (the design on display), its messages not counted
  const char* then;
  std::vector<std::string> events;  // messages and "progress", in order
  const char* shown;                // "name=text ..." afterwards
};

void PrintTo(const ConditionCase& c, std::ostream* os) {
  *os << c.label;
}

class Conditions : public testing::WindowDriver, public ::testing::TestWithParam<ConditionCase> {};

// A field text that is no number gives the framework's message, then the window's; design
// conditions that are impossible give the window's one message, no progress window, the
// results of the command blanked and what was typed kept. A hint stops nothing: an estimate
// shows it after the progress window, a verification or a calculation before it.
TEST_P(Conditions, AreRefusedOrHintedAtInTheirPlace) {
  const ConditionCase& c = GetParam();
  switchFilesOff(c.key);
  open(c.key);
  run(c.before);
  host.events.clear();
  host.messages.clear();
  run(c.then);
  EXPECT_EQ(host.events, c.events);
  // The window's own message boxes have no icon (the framework's has its warning).
  for (const Message& m : host.messages) {
    EXPECT_EQ(m.icon == Icon::None, m.text != kNotANumber) << m.text;
    EXPECT_TRUE(m.owned);
  }
  expectShown(c.shown);
}

const std::string kForwardHint = "提示：如果复位绕组和初级匝数相等，请设置最大占空比小于0.5！";
const std::string kPushPullHint = " 建议留最大占空比设置为小于0.8，留0.2的余量！";
const std::string kSaturation = "磁芯峰值磁通密度超过饱和磁通密度！";
const std::string kNoInductance = "没有足够的信息，请先计算电感量！";
const std::vector<std::string> kProgress = {"progress"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Windows, Conditions,
    ::testing::Values(
        // Input ranges upside down, no voltage on the winding while the switch is on, a load
        // range upside down, a duty cycle of 1 or more, no switch headroom.
        ConditionCase{"DcDcInputRange", "dcdc", "calc", "VinMin=30 VinMax=20 calc", {kImpossible},
                      "results= VinMin=30"},
        ConditionCase{"DcDcBuckOutputAboveInput", "dcdc", "calc", "Vo=18 calc", {kImpossible}, "results="},
        ConditionCase{"DcDcBoostOutputBelowInput", "dcdc", "topology=boost calc", "Vo=24 calc",
                      {kImpossible}, "results= Vo=24"},
        // Buck-boost NL raw 24.7376·2500/3200 = 19.33 → 19: 3255 G.
        ConditionCase{"DcDcSaturation", "dcdc", "topology=buck-boost calc", "Bpk=3200 calc",
                      {kSaturation}, "results="},
        // Bpk 2500 as asked, but NL raw 24.7376·23/392 = 1.45 rounds down to 1: 3628 G.
        ConditionCase{"DcDcSaturationAfterRounding", "dcdc", "topology=buck-boost calc",
                      "Ae=392 calc", {kSaturation}, "results="},
        // 19.8488·2500/3000 = 16.54 → 17 turns: 2919 G.
        ConditionCase{"DcDcFluxAtSaturationPasses", "dcdc", "", "Bpk=3000 calc", kProgress, "NL=17"},
        ConditionCase{"ForwardInputRange", "forward", "Ae=100 verify", "VacMin=280 verify",
                      {kImpossible}, "Np= Lo= Ap= VacMin=280"},
        ConditionCase{"RccLowLineBelowSwitchDrop", "rcc", "calc", "VacMin=1 calc", {kImpossible},
                      "Lp= fMax= VacMin=1"},
        ConditionCase{"RccMinimumLoadAboveFull", "rcc", "calc", "IoMin=2 calc", {kImpossible}, "Lp="},
        // 450 − 150 − 1.414·270 = −81.78 V: no room for a reflected voltage.
        ConditionCase{"RccNoSwitchHeadroom", "rcc", "calc", "Vswm=450 VacMax=270 calc",
                      {kImpossible}, "results= Vswm=450"},
        ConditionCase{"PushPullInputRange", "pushpull", "calc", "VacMax=89 calc", {kImpossible},
                      "Np= Lo="},
        ConditionCase{"HalfBridgeDutyAboveOne", "halfbridge", "calc", "Dmax=1.5 calc",
                      {kImpossible}, "Np= Lo="},
        ConditionCase{"FullBridgeDutyOfOne", "fullbridge", "calc", "Dmax=1 calc", {kImpossible},
                      "Np= Lo="},
        // The flyback: 450 − 100 − 1.414·270 = −31.78 V for the reflected voltage, or a lowest
        // input above the highest: every command that needs the turns ratio or the input range
        // refuses and blanks its own outputs; the clamp leaves the verified design.
        ConditionCase{"FlybackDcmEstimate", "flyback", "mode=dcm core", "Vswm=450 core",
                      {kImpossible}, "Ve= Vswm=450"},
        ConditionCase{"FlybackCcmVerify", "flyback", "Ae=100 Le=60 verify snubber",
                      "Vswm=450 verify", {kImpossible}, "results= Ae=100"},
        ConditionCase{"FlybackDcmVerify", "flyback", "mode=dcm Ae=100 Le=60 verify snubber",
                      "Vswm=450 verify", {kImpossible}, "results="},
        ConditionCase{"FlybackClamp", "flyback", "Ae=100 Le=60 verify snubber", "Vswm=450 snubber",
                      {kImpossible}, "Rlk= Clk= Lp=429.206"},
        ConditionCase{"FlybackDcmEstimateInputRange", "flyback", "mode=dcm core",
                      "VacMin=280 core", {kImpossible}, "Ve= VacMin=280"},
        ConditionCase{"FlybackCcmVerifyInputRange", "flyback", "Ae=100 Le=60 verify snubber",
                      "VacMin=280 verify", {kImpossible}, "results="},
        ConditionCase{"FlybackDcmVerifyInputRange", "flyback",
                      "mode=dcm Ae=100 Le=60 verify snubber", "VacMin=280 verify", {kImpossible},
                      "results="},
        ConditionCase{"FlybackClampInputRange", "flyback", "mode=dcm Ae=100 Le=60 verify snubber",
                      "VacMin=280 snubber", {kImpossible}, "Rlk= Clk= Lp=51.9974"},
        // The volume depends on Po, Eff, f and r only.
        ConditionCase{"FlybackCcmEstimateNeedsNoHeadroom", "flyback", "",
                      "Vswm=450 VacMin=280 core", kProgress, "Ve=6166.67"},
        // The forward refuses in its verification only; the estimate still hints.
        ConditionCase{"ForwardDutyOfOne", "forward", "Ae=100 verify", "Dmax=1 verify",
                      {kImpossible}, "Np= Ap="},
        ConditionCase{"ForwardEstimateAtDutyOfOne", "forward", "", "Dmax=1 core",
                      {"progress", kForwardHint}, "Ap=1.01747"},
        // Duty-cycle hints at their thresholds: the forward's reset winding needs Dmax below
        // 0.5; a push-pull above 0.8 keeps too little dead time (0.8 itself passes).
        ConditionCase{"ForwardCoreAtHalf", "forward", "", "Dmax=0.5 core", {"progress", kForwardHint}, ""},
        ConditionCase{"ForwardCoreBelowHalf", "forward", "", "Dmax=0.49 core", kProgress, ""},
        ConditionCase{"ForwardVerifyAtHalf", "forward", "", "Ae=100 Dmax=0.5 verify",
                      {kForwardHint, "progress"}, ""},
        ConditionCase{"PushPullAbove", "pushpull", "", "Dmax=0.81 calc", {kPushPullHint, "progress"}, ""},
        ConditionCase{"PushPullAtLimit", "pushpull", "", "Dmax=0.8 calc", kProgress, ""},
        ConditionCase{"FullBridgeAbove", "fullbridge", "", "Dmax=0.9 calc", kProgress, ""},
        // Estimate, verification with the chosen core, estimate again: each command leaves
        // what it computed, the core stays as typed, and a verification leaves the estimate.
        ConditionCase{"ForwardVerifyLeavesNoEstimate", "forward", "", "Ae=100 verify", kProgress,
                      "Np=16 Lo=1.23667 Ap="},
        ConditionCase{"ForwardEstimateDropsTheDesign", "forward", "Ae=100 verify", "core",
                      kProgress, "Ap=1.01747 Np= Ae=100"},
        ConditionCase{"ForwardVerifyKeepsTheEstimate", "forward", "Ae=100 verify core", "verify",
                      kProgress, "Ap=1.01747 Np=16"},
        ConditionCase{"ForwardVerifyWithoutCore", "forward", "Ae=100 verify", "Ae= verify",
                      {"请先输入你选择的磁芯参数！"}, "Np= Ap="},
        ConditionCase{"ForwardIncompleteCommands", "forward", "", "f= core Ae=100 verify",
                      {kNotANumber, "请输入完整的设计条件！！", kNotANumber, "请输入完整的设计条件!"},
                      "Ap= Ae=100 Np="},
        // Disabled in CCM, the dead time is still exchanged.
        ConditionCase{"DcDcDisabledField", "dcdc", "", "Ptd= calc",
                      {kNotANumber, "请输入完整的设计条件！"}, "L="},
        // The flyback's clamp needs the inductance of a verification, which an estimate or
        // a refused verification drops; picking the mode shown keeps it.
        ConditionCase{"FlybackClampNeedsAVerifiedInductance", "flyback", "Ae=100 Le=60",
                      "snubber verify core snubber",
                      {kNoInductance, "progress", "progress", kNoInductance}, "Rlk="},
        ConditionCase{"FlybackVerifyWithoutCoreLength", "flyback", "Ae=100 Le=60 verify",
                      "Le= verify", {"请先输入你选择的磁芯参数！"}, "results= Ae=100 Ve="},
        ConditionCase{"FlybackRepickedModeKeepsTheDesign", "flyback", "Ae=100 Le=60 verify",
                      "mode=ccm snubber", kProgress, "Ae=100 Le=60 Lp=429.206"},
        // Each flyback command after a verification: the estimate was never computed and stays
        // empty, not the "0" put there for the read; the clamp keeps the verified design.
        ConditionCase{"FlybackIncompleteCore", "flyback", "Ae=100 Le=60 verify", "Vo=5V core",
                      {kNotANumber, "请输入完整的设计条件！！"}, "Lp= Ve= Ae=100 Vo=5V"},
        ConditionCase{"FlybackIncompleteVerify", "flyback", "Ae=100 Le=60 verify", "Vo=5V verify",
                      {kNotANumber, "请输入完整的设计条件!"}, "results= Ae=100"},
        ConditionCase{"FlybackIncompleteSnubber", "flyback", "Ae=100 Le=60 verify",
                      "Vo=5V snubber", {kNotANumber, " 请输入完整的设计条件!"},
                      "Lp=429.206 Ve= Rlk= Clk= Ae=100"},
        ConditionCase{"FlybackIncompleteEstimate", "flyback", "", "f= core",
                      {kNotANumber, "请输入完整的设计条件！！"}, "results= Ae= Le="}),
    [](const ::testing::TestParamInfo<ConditionCase>& p) { return std::string(p.param.label); });
// clang-format on

// --- formula files in use, command by command --------------------------------------------

struct FileRun {
  const char* label;
  const char* key;
  const char* before;   // worked first, with the files switched off
  const char* file;     // then the window's first formula file, in use
  const char* actions;  // worked with it
  const char* caption;  // of the one message box ("": none)
  int progressRuns;     // of both parts together
  const char* shown;
  const char* kept = "Ae";  // a typed field whose value a pinned run restores
};

void PrintTo(const FileRun& r, std::ostream* os) {
  *os << r.label;
}

class FormulaRun : public testing::WindowDriver, public ::testing::TestWithParam<FileRun> {};

// An estimate runs with the core pinned to 1 (the flyback's Ae and Le, the forward's Ae), a
// verification with the estimate (Ve, Ap); an assignment to a pinned field is dropped, a field
// the file only reads is written back as read ("0" for an empty result). A run that fails
// writes nothing back, or what the last step of a design (the flyback's clamp, the forward's
// estimate) assigned before the error. The forward's estimate by a file shows no progress.
TEST_P(FormulaRun, PinsReadsAndWritesBackCommandByCommand) {
  const FileRun& r = GetParam();
  switchFilesOff(r.key);
  open(r.key);
  run(r.before);
  dir.write(tableOf(r.key).formulaFiles.front().fileName, r.file);
  run(r.actions);
  EXPECT_EQ(host.messages.empty() ? "" : host.messages[0].caption, r.caption);
  EXPECT_LE(host.messages.size(), 1u);
  EXPECT_EQ(host.progressRuns, r.progressRuns);
  expectShown(r.shown);
  EXPECT_EQ(value(r.kept), std::stof(text(r.kept)));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Windows, FormulaRun,
    ::testing::Values(
        FileRun{"FlybackEstimatePinsTheCore", "flyback", "", "Ve = Ae * Le;\r\n#",
                "Ae=100 Le=60 core", "", 1, "Ve=1 Ae=100 Le=60"},
        // The file saw its own 5 and the pinned 1.
        FileRun{"FlybackEstimateDropsAPinnedAssignment", "flyback", "",
                "Ae = 5;\r\nVe = Ae + Le;\r\n#", "Ae=100 Le=60 core", "", 1, "Ve=6 Ae=100"},
        FileRun{"FlybackVerifyPinsTheVolume", "flyback", "",
                "Lp = Ve * 7;\r\nNp = Ae + Le;\r\nVe = 3;\r\n#",
                "Ae=100 Le=60 Ve=6166.67 verify", "", 1, "Lp=7 Np=160 Ve=6166.67 Ipkp=0 Ns=0"},
        FileRun{"FlybackFailedVerifyWritesNothing", "flyback", "", "Lp = 12;\r\nLs = Lp / 0;\r\n#",
                "Ae=100 Le=60 verify", "计算出错", 0, "Lp=0 Rlk= Ve="},
        FileRun{"FlybackFailedClampShowsWhatItAssigned", "flyback", "Ae=100 Le=60 verify",
                "Rlk = Lp + 1;\r\nClk = Rlk / 0;\r\n#", "snubber", "计算出错", 2,
                "Rlk=430.206 Clk=0 Lp=429.206 Ve="},
        FileRun{"ForwardEstimateWithoutProgress", "forward", "", "Ap = Ae * 3;\r\nAe = 7;\r\n#",
                "Ae=100 core", "", 0, "Ap=3 Ae=100"},
        // A file that holds only a comment computes with the built-in estimate.
        FileRun{"ForwardEstimateByAFileWithoutStatements", "forward", "", "// none yet\r\n#",
                "core", "", 1, "Ap=1.01747", "Vo"},
        // Ns read as "0" and written back as the file left it.
        FileRun{"ForwardVerifyPinsTheEstimate", "forward", "", "Np = Ap * 7;\r\nAp = 5;\r\n#",
                "Ae=100 verify", "", 1, "Np=7 Ns=0 Ap="},
        FileRun{"ForwardFailedVerifyWritesNothing", "forward", "Ae=100 verify",
                "Np = Ap / 0;\r\n#", "Ap=1.5 verify", "计算出错", 1, "Np=0 Ap=1.5"}),
    [](const ::testing::TestParamInfo<FileRun>& p) { return std::string(p.param.label); });
// clang-format on

// --- what a window needs of a catalogue core -------------------------------------------

struct NeedCase {
  const char* key;
  const char* commands;  // the estimate (where the window makes one), then the design
  CoreNeed::Kind kind;
  bool gapped;  // the window's inductance and turns ask for a gap
};

void PrintTo(const NeedCase& c, std::ostream* os) {
  *os << c.key << " " << c.commands;
}

class CoreNeedOf : public testing::WindowDriver, public ::testing::TestWithParam<NeedCase> {};

// The picker's rows for the need the window shows after its design: only cores that reach
// the estimate when asked, smallest first; a gap that gives the winding its inductance
// (AL·N² = L) and, on the same core, an AL below the ungapped one.
TEST_P(CoreNeedOf, RowsMeetTheEstimateAndGapToTheInductance) {
  const NeedCase& c = GetParam();
  switchFilesOff(c.key);
  open(c.key);
  run(c.commands);
  const CoreNeed need = form->coreNeed();
  EXPECT_EQ(need.kind, c.kind);
  EXPECT_EQ(need.inductance > 0, c.gapped);
  // Only the flyback shows a gap of its own (its formula without fringing).
  EXPECT_EQ(need.windowGap > 0, std::string_view(c.key) == "flyback");
  const magnetics::Material& n87 = *magnetics::findMaterial("N87");
  const std::vector<CorePickRow> all = form->corePick()->rows({"etd", false}, n87, need);
  const std::vector<CorePickRow> meeting = form->corePick()->rows({"etd", true}, n87, need);
  ASSERT_FALSE(meeting.empty());
  EXPECT_EQ(meeting.size() == all.size(), c.kind == CoreNeed::Kind::None);
  const std::vector<CorePickRow> ungapped = form->corePick()->rows({"etd", false}, n87, {});
  int gaps = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const CorePickRow& r = all[i];
    gaps += r.gap > 0;
    if (i > 0) {
      EXPECT_GE(r.Ve, all[i - 1].Ve);
    }
    if (!c.gapped) {
      EXPECT_EQ(r.gap, 0) << r.name;
    } else if (r.gap > 0) {
      EXPECT_NEAR(r.AL * 1e-9 * need.turns * need.turns / need.inductance, 1, 1e-3) << r.name;
      EXPECT_LT(r.AL, ungapped[i].AL) << r.name;
    }
  }
  EXPECT_EQ(gaps > 0, c.gapped);
  for (const CorePickRow& r : meeting) EXPECT_TRUE(r.meetsNeed) << r.name;
  // Ground to the window's shorter gap, the set's AL is above the one the design needs.
  if (need.windowGap > 0) {
    const CoreGap g = coreGap(meeting.front().core->geometry, n87, need);
    ASSERT_TRUE(g.reached);
    EXPECT_EQ(g.windowGapAl > g.wantedAl, need.windowGap < g.gap);
  }
  // Of every family, the cored shapes first and the toroids after them.
  const std::vector<CorePickRow> every = form->corePick()->rows({"", false}, n87, need);
  const auto toroid = [](const CorePickRow& r) { return r.family == "t"; };
  const auto firstToroid = std::find_if(every.begin(), every.end(), toroid);
  EXPECT_NE(firstToroid, every.begin());
  EXPECT_TRUE(std::all_of(firstToroid, every.end(), toroid));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, CoreNeedOf,
    ::testing::Values(NeedCase{"flyback", "core Ae=100 Le=60 verify", CoreNeed::Kind::Volume, true},
                      NeedCase{"flyback", "mode=dcm core Ae=100 Le=60 verify",
                               CoreNeed::Kind::AreaProduct, true},
                      NeedCase{"forward", "core Ae=100 verify", CoreNeed::Kind::AreaProduct, false},
                      NeedCase{"rcc", "calc", CoreNeed::Kind::None, true},
                      NeedCase{"dcdc", "calc", CoreNeed::Kind::None, true},
                      NeedCase{"halfbridge", "calc", CoreNeed::Kind::None, false}),
    [](const ::testing::TestParamInfo<NeedCase>& p) {
      return std::string(p.param.key) + std::to_string(p.index);
    });

}  // namespace
}  // namespace tarnex
