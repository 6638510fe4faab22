// The flyback window through its form model: what the fields, captions, title and message
// boxes show after each command with the built-in procedures (formula and interface files:
// flyback_files_test.cpp).
// Reference numbers are the hand-worked design of flyback_procedures_test.cpp (opening
// values, core Ae 100 mm², Le 60 mm), displayed with six significant digits.

#include "flyback_fixture.h"

namespace tarnex {
namespace {

using namespace flyback_window;

TEST_F(FlybackDialog, OpensInCcmWithBlankResultsAndCoreData) {
  open();
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:系统   公式:内置>");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(dlg->control(kModeList)->selection, 0);
  EXPECT_TRUE(dlg->control(kR)->enabled);
  EXPECT_FALSE(dlg->control(kPtd)->enabled);
  EXPECT_EQ(text(kPo), "74");
  EXPECT_EQ(text(kVdf), "0.6");
  EXPECT_EQ(text(kPer), "5");
  EXPECT_EQ(text(kVe), "");
  EXPECT_EQ(text(kAe), "");
  EXPECT_EQ(text(kLe), "");
  expectOutputsBlank();
  EXPECT_EQ(text(kEstimateGroup), "估算所需磁芯体积Ve=Ae*Le");
  EXPECT_EQ(text(kEmpiricalNote), "(铁氧体)经验公式");
  for (const Control& c : dlg->controls()) {
    EXPECT_FALSE(c.isDefault) << "control " << c.id;
  }
}

struct FieldText {
  int id;
  const char* text;
};

struct ModeCase {
  const char* name;
  int modeIndex;
  std::vector<FieldText> afterVerify;
  std::vector<FieldText> afterSnubber;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
  *os << c.name;
}

class FlybackVerify : public FlybackDialog, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(FlybackVerify, ShowsTheDesignThenTheClamp) {
  const ModeCase& c = GetParam();
  open();
  dlg->select(kModeList, c.modeIndex);
  typeCore();
  dlg->command(kVerifyButton);
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  EXPECT_EQ(host.progressRuns, 1);
  for (const FieldText& f : c.afterVerify) EXPECT_EQ(text(f.id), f.text) << "field " << f.id;
  // No estimate was made and the clamp has its own command.
  EXPECT_EQ(text(kVe), "");
  EXPECT_EQ(text(kRlk), "");
  EXPECT_EQ(text(kClk), "");

  dlg->command(kSnubberButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.progressRuns, 2);
  for (const FieldText& f : c.afterSnubber) EXPECT_EQ(text(f.id), f.text) << "field " << f.id;
  for (const FieldText& f : c.afterVerify) EXPECT_EQ(text(f.id), f.text) << "field " << f.id;
  EXPECT_EQ(text(kVe), "");
}

// The clamp reads Lp and Ipkp back from their fields, as displayed with six digits: with
// Lp 429.206 µH and Ipkp 2.26523 A, Rlk = 118.22²·4/7000 / (0.05·2.26523²·429.206·0.15)
// = 0.483495 kΩ (0.483493 from the unrounded design), Clk = 10000 / (Rlk·150) = 137.885 nF;
// in DCM, with 51.9974 µH and 5.2065 A, Rlk = 0.755456 kΩ and Clk = 88.2469 nF.
INSTANTIATE_TEST_SUITE_P(
    ReferenceCore, FlybackVerify,
    ::testing::Values(ModeCase{"Ccm",
                               0,
                               {{kLp, "429.206"},    {kLs, "1.88763"},    {kNp, "45"},
                                {kNs, "3"},          {kDp, "0.629116"},   {kDs, "2.547"},
                                {kZc, "0.562883"},   {kIin, "0.830695"},  {kIpkp, "2.26523"},
                                {kIrmsp, "1.22694"}, {kIswe, "12.2694"},  {kTon, "3.05596"},
                                {kCin, "135.949"},   {kIrmss, "20.1104"}, {kIpks, "34.1577"},
                                {kVdm, "36.3822"},   {kIdm, "40.2207"},   {kCo, "1068.77"},
                                {kVcm, "6"},         {kAe, "100"},        {kLe, "60"}},
                               {{kRlk, "0.483495"}, {kClk, "137.885"}}},
                      ModeCase{"Dcm",
                               1,
                               {{kTon, "2.12733"},
                                {kLp, "51.9974"},
                                {kIpkp, "5.2065"},
                                {kNs, "1"},
                                {kNp, "15"},
                                {kIrmsp, "1.69804"},
                                {kIrmss, "31.4331"},
                                {kVdm, "45.4778"},
                                {kZc, "0.513765"},
                                {kCo, "1343.64"}},
                               {{kRlk, "0.755456"}, {kClk, "88.2469"}}}),
    [](const ::testing::TestParamInfo<ModeCase>& p) { return std::string(p.param.name); });

struct EstimateCase {
  const char* name;
  int modeIndex;
  const char* ptd;
  const char* ve;
  std::vector<std::string> messages;
};

void PrintTo(const EstimateCase& c, std::ostream* os) {
  *os << c.name;
}

class FlybackEstimate : public FlybackDialog, public ::testing::WithParamInterface<EstimateCase> {};

// Only the estimate and the inputs show numbers afterwards; the core data stay as typed.
TEST_P(FlybackEstimate, FillsOnlyTheEstimate) {
  const EstimateCase& c = GetParam();
  open();
  dlg->select(kModeList, c.modeIndex);
  type(kPtd, c.ptd);
  dlg->command(kCoreButton);
  EXPECT_EQ(host.summary(), c.messages);
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_EQ(text(kVe), c.ve);
  EXPECT_EQ(text(kAe), "");
  EXPECT_EQ(text(kLe), "");
  expectOutputsBlank();
}

INSTANTIATE_TEST_SUITE_P(
    OpeningValues, FlybackEstimate,
    ::testing::Values(
        // (74·100/70/150)·(2.5²/0.5)·700
        EstimateCase{"CcmVolume", 0, "20", "6166.67", {}},
        EstimateCase{"DcmAreaProduct", 1, "20", "3882.22", {}},
        // The dead-time hint does not stop the estimate.
        EstimateCase{"DcmShortDeadTime",
                     1,
                     "10",
                     "4117.71",
                     {box("提示：死区时间建议设置大于工作周期的20%，以保证工作于断续模式 ！")}}),
    [](const ::testing::TestParamInfo<EstimateCase>& p) { return std::string(p.param.name); });

TEST_F(FlybackDialog, EstimateKeepsTypedCoreData) {
  open();
  typeCore();
  dlg->command(kCoreButton);
  EXPECT_EQ(text(kVe), "6166.67");
  EXPECT_EQ(text(kAe), "100");
  EXPECT_EQ(text(kLe), "60");
}

TEST_F(FlybackDialog, ModeSwitchDropsCoreDataAndResultsAndRelabelsTheEstimate) {
  open();
  typeCore();
  dlg->command(kCoreButton);
  dlg->command(kVerifyButton);
  ASSERT_EQ(text(kLp), "429.206");
  ASSERT_EQ(text(kVe), "6166.67");

  dlg->select(kModeList, 1);
  EXPECT_EQ(text(kVe), "");
  EXPECT_EQ(text(kAe), "");
  EXPECT_EQ(text(kLe), "");
  expectOutputsBlank();
  EXPECT_EQ(text(kPo), "74");  // the design conditions stay
  EXPECT_FALSE(dlg->control(kR)->enabled);
  EXPECT_TRUE(dlg->control(kPtd)->enabled);
  EXPECT_EQ(text(kEstimateGroup), "估算所需磁芯面积乘积Ae*Aw");
  EXPECT_EQ(text(kEstimateLabel), "磁芯面积乘积(mm4)");
  EXPECT_EQ(text(kEmpiricalNote), "(铁氧体)经验公式");
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:系统   公式:内置>");
  EXPECT_EQ(dlg->value(kLp), 0.0f);
  EXPECT_EQ(dlg->value(kAe), 0.0f);

  // The clamp needs an inductance of the new mode.
  dlg->command(kSnubberButton);
  EXPECT_EQ(host.summary(), std::vector<std::string>{box("没有足够的信息，请先计算电感量！")});

  dlg->select(kModeList, 0);
  EXPECT_EQ(text(kEstimateGroup), "估算所需磁芯体积Ve=Ae*Le");
  EXPECT_EQ(text(kEstimateLabel), "磁芯体积Ve(mm3)");
  EXPECT_TRUE(dlg->control(kR)->enabled);
  EXPECT_FALSE(dlg->control(kPtd)->enabled);
}

// Picking the mode already shown is no mode switch: the chosen core and the verified
// design stay, so the clamp can still be computed.
TEST_F(FlybackDialog, RepickingTheShownModeKeepsCoreAndResults) {
  open();
  typeCore();
  dlg->command(kVerifyButton);
  dlg->select(kModeList, 0);
  EXPECT_EQ(text(kAe), "100");
  EXPECT_EQ(text(kLe), "60");
  EXPECT_NE(text(kLp), "");
  dlg->command(kSnubberButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.progressRuns, 2);
}

TEST_F(FlybackDialog, ClampRefusedBeforeVerifyAndAfterAnEstimate) {
  open();
  typeCore();
  dlg->command(kSnubberButton);
  dlg->command(kVerifyButton);
  dlg->command(kCoreButton);  // reads the results as "0": Lp is 0 again
  dlg->command(kSnubberButton);
  EXPECT_EQ(host.summary(), (std::vector<std::string>{box("没有足够的信息，请先计算电感量！"),
                                                      box("没有足够的信息，请先计算电感量！")}));
  EXPECT_EQ(host.progressRuns, 2);
  EXPECT_EQ(text(kRlk), "");
}

TEST_F(FlybackDialog, VerifyWithoutCoreLengthAsksForTheCoreAndBlanksResults) {
  open();
  typeCore();
  dlg->command(kVerifyButton);
  ASSERT_EQ(text(kNp), "45");
  type(kLe, "");
  dlg->command(kVerifyButton);
  EXPECT_EQ(host.summary(), std::vector<std::string>{box("请先输入你选择的磁芯参数！")});
  expectOutputsBlank();
  EXPECT_EQ(text(kAe), "100");
  EXPECT_EQ(text(kVe), "");
  EXPECT_EQ(host.progressRuns, 1);
}

TEST_F(FlybackDialog, FluxWarningComesBeforeTheResults) {
  open();
  typeCore();
  type(kBsat, "2100");  // Bact with Np = 45 is 2160.6 GS
  dlg->command(kVerifyButton);
  EXPECT_EQ(host.summary(),
            std::vector<std::string>{box("注意：实际磁通密度峰值已经超过最大值！")});
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_EQ(text(kNp), "45");
}

struct HeadroomCase {
  const char* name;
  int modeIndex;
  std::vector<int> before;   // commands run with the opening values
  int field;                 // then typed in
  const char* typed;         // makes the conditions impossible
  int button;                // and the command run again
  std::vector<int> blanked;  // its outputs
};

void PrintTo(const HeadroomCase& c, std::ostream* os) {
  *os << c.name;
}

class FlybackImpossible : public FlybackDialog,
                          public ::testing::WithParamInterface<HeadroomCase> {};

// A 450 V switch with 100 V margin at 270 V AC leaves 450 − 100 − 1.414·270 = −31.78 V for the
// reflected voltage, and a lowest input of 280 V lies above the highest of 270 V: the command
// that needs the turns ratio or the input range refuses and writes nothing.
TEST_P(FlybackImpossible, RefusesTheCommandAndBlanksItsOutputs) {
  const HeadroomCase& c = GetParam();
  open();
  dlg->select(kModeList, c.modeIndex);
  typeCore();
  for (int button : c.before) dlg->command(button);
  ASSERT_TRUE(host.messages.empty()) << host.summary().front();
  for (int id : c.blanked) ASSERT_NE(text(id), "") << "field " << id;
  const int runs = host.progressRuns;
  const std::string lp = text(kLp);

  type(c.field, c.typed);
  dlg->command(c.button);
  ASSERT_EQ(host.summary(), std::vector<std::string>{box("设计条件不正确，请检查！")});
  EXPECT_EQ(host.messages[0].icon, Icon::None);
  EXPECT_TRUE(host.messages[0].owned);
  EXPECT_EQ(host.progressRuns, runs);
  for (int id : c.blanked) EXPECT_EQ(text(id), "") << "field " << id;
  // The clamp leaves the verified design on display.
  if (c.button == kSnubberButton) {
    EXPECT_EQ(text(kLp), lp);
  }
  EXPECT_EQ(text(c.field), c.typed);
}

const std::vector<int> kAllOutputs(std::begin(kOutputs), std::end(kOutputs));
const std::vector<int> kBeforeClamp = {kVerifyButton, kSnubberButton};

INSTANTIATE_TEST_SUITE_P(
    Conditions, FlybackImpossible,
    ::testing::Values(
        HeadroomCase{"DcmEstimate", 1, {kCoreButton}, kVswm, "450", kCoreButton, {kVe}},
        HeadroomCase{"CcmVerify", 0, kBeforeClamp, kVswm, "450", kVerifyButton, kAllOutputs},
        HeadroomCase{"DcmVerify", 1, kBeforeClamp, kVswm, "450", kVerifyButton, kAllOutputs},
        HeadroomCase{"Clamp", 0, kBeforeClamp, kVswm, "450", kSnubberButton, {kRlk, kClk}},
        HeadroomCase{"DcmEstimateInputRange", 1, {kCoreButton}, kVacMin, "280", kCoreButton, {kVe}},
        HeadroomCase{"CcmVerifyInputRange", 0, kBeforeClamp, kVacMin, "280", kVerifyButton,
                     kAllOutputs},
        HeadroomCase{"DcmVerifyInputRange", 1, kBeforeClamp, kVacMin, "280", kVerifyButton,
                     kAllOutputs},
        HeadroomCase{
            "ClampInputRange", 1, kBeforeClamp, kVacMin, "280", kSnubberButton, {kRlk, kClk}}),
    [](const ::testing::TestParamInfo<HeadroomCase>& p) { return std::string(p.param.name); });

TEST_F(FlybackDialog, CcmEstimateNeedsNoHeadroom) {
  open();
  type(kVswm, "450");
  type(kVacMin, "280");
  dlg->command(kCoreButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(text(kVe), "6166.67");  // the volume depends on Po, Eff, f and r only
}

// A result that is not finite is shown as such and read back by the next command as the
// window wrote it: with r = 0 the CCM volume estimate is "inf", the verification reads it
// (and its own "inf" results the clamp), and neither stops at "请键入一个数。". Typed, the
// same text is no number.
TEST_F(FlybackDialog, NonFiniteResultsOnDisplayBlockNoLaterCommand) {
  open();
  type(kR, "0");
  dlg->command(kCoreButton);
  ASSERT_EQ(text(kVe), "inf");
  typeCore();
  dlg->command(kVerifyButton);
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  EXPECT_EQ(text(kVe), "inf");
  EXPECT_EQ(text(kLp), "inf");
  dlg->command(kSnubberButton);
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  EXPECT_EQ(text(kRlk), "0");  // a finite voltage squared over an infinite inductance
  EXPECT_EQ(host.progressRuns, 3);

  type(kLp, "inf");  // typed over its own "inf" it still is the value shown
  type(kPer, "inf");
  dlg->command(kSnubberButton);
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{box("请键入一个数。"), box(" 请输入完整的设计条件!")}));
  EXPECT_EQ(dlg->takeFocusRequest()->id, kPer);
}

struct IncompleteCase {
  const char* name;
  int button;
  const char* message;
  bool keepsEarlierResults;
};

void PrintTo(const IncompleteCase& c, std::ostream* os) {
  *os << c.name;
}

class FlybackIncomplete : public FlybackDialog,
                          public ::testing::WithParamInterface<IncompleteCase> {};

// A field that is not a number: the framework's box first, then the command's own text.
TEST_P(FlybackIncomplete, ShowsTheCommandsOwnMessageAfterTheFrameworks) {
  const IncompleteCase& c = GetParam();
  open();
  typeCore();
  dlg->command(kVerifyButton);
  host.clear();
  type(kVo, "5V");
  dlg->command(c.button);
  EXPECT_EQ(host.summary(), (std::vector<std::string>{box("请键入一个数。"), box(c.message)}));
  EXPECT_EQ(host.progressRuns, 0);
  EXPECT_EQ(text(kVo), "5V");
  EXPECT_EQ(text(kRlk), "");
  EXPECT_EQ(text(kClk), "");
  EXPECT_EQ(text(kLp), c.keepsEarlierResults ? "429.206" : "");
  EXPECT_EQ(text(kAe), "100");
  // The estimate was never computed: it stays empty, not the "0" put there for the read.
  EXPECT_EQ(text(kVe), "");
  const auto focus = dlg->takeFocusRequest();
  ASSERT_TRUE(focus.has_value());
  EXPECT_EQ(focus->id, kVo);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FlybackIncomplete,
    ::testing::Values(IncompleteCase{"Core", kCoreButton, "请输入完整的设计条件！！", false},
                      IncompleteCase{"Verify", kVerifyButton, "请输入完整的设计条件!", false},
                      IncompleteCase{"Snubber", kSnubberButton, " 请输入完整的设计条件!", true}),
    [](const ::testing::TestParamInfo<IncompleteCase>& p) { return std::string(p.param.name); });

TEST_F(FlybackDialog, IncompleteEstimateLeavesEmptyCoreFieldsEmpty) {
  open();
  type(kF, "");
  dlg->command(kCoreButton);
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{box("请键入一个数。"), box("请输入完整的设计条件！！")}));
  EXPECT_EQ(text(kVe), "");
  EXPECT_EQ(text(kAe), "");
  EXPECT_EQ(text(kLe), "");
  expectOutputsBlank();
}

TEST_F(FlybackDialog, EnterChecksTheFieldsAndKeepsTheWindowOpen) {
  open();
  type(kPo, "80");
  dlg->enterKey();
  // The blank estimate is the first field that does not read.
  EXPECT_EQ(host.summary(), std::vector<std::string>{box("请键入一个数。")});
  EXPECT_FALSE(dlg->closeRequested());
  EXPECT_EQ(text(kPo), "80");
  EXPECT_EQ(host.progressRuns, 0);
  dlg->command(kCloseButton);
  EXPECT_TRUE(dlg->closeRequested());
}

}  // namespace
}  // namespace tarnex
