// The flyback window's own paths through its form model with the built-in procedures: its
// mode list, the clamp that needs a verified inductance, the chosen core, and results that
// are not finite (formula and interface files: flyback_files_test.cpp; what every window does:
// tests/designs/windows_test.cpp; the designs: the golden runs flyback_*).

#include "flyback_fixture.h"

namespace tarnex {
namespace {

using namespace flyback_window;

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

}  // namespace
}  // namespace tarnex
