// The flyback window with formula and interface files: which file each mode runs, the fields
// pinned while an estimate or verification runs, failed runs, and captions across mode switches.

#include "flyback_fixture.h"

namespace tarnex {
namespace {

using namespace flyback_window;

// --- formula files ------------------------------------------------------------------------

TEST_F(FlybackDialog, EstimateRunsTheFileWithAeAndLePinnedToOne) {
  tmp.write(kCcmFile, "Ve = Ae * Le;\r\n#");
  open();
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:系统   公式:自定义>");
  typeCore();
  dlg->command(kCoreButton);
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  EXPECT_EQ(text(kVe), "1");
  EXPECT_EQ(text(kAe), "100");
  EXPECT_EQ(text(kLe), "60");
}

TEST_F(FlybackDialog, EstimateDropsAnAssignmentToAPinnedField) {
  tmp.write(kCcmFile, "Ae = 5;\r\nVe = Ae + Le;\r\n#");
  open();
  typeCore();
  dlg->command(kCoreButton);
  EXPECT_EQ(text(kVe), "6");  // the file saw its own 5 and the pinned 1
  EXPECT_EQ(text(kAe), "100");
  EXPECT_EQ(dlg->value(kAe), 100.0f);
}

TEST_F(FlybackDialog, VerifyRunsTheFileWithVePinnedToOne) {
  tmp.write(kCcmFile, "Lp = Ve * 7;\r\nNp = Ae + Le;\r\nVe = 3;\r\n#");
  open();
  typeCore();
  type(kVe, "6166.67");
  dlg->command(kVerifyButton);
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  EXPECT_EQ(text(kLp), "7");
  EXPECT_EQ(text(kNp), "160");
  EXPECT_EQ(text(kVe), "6166.67");
  EXPECT_EQ(text(kIpkp), "0");  // read as "0" and written back as the file left it
  EXPECT_EQ(text(kNs), "0");
}

TEST_F(FlybackDialog, ModeSelectsTheFormulaFile) {
  tmp.write(kDcmFile, "Ve = 42;\r\n#");
  open();
  dlg->command(kCoreButton);
  EXPECT_EQ(text(kVe), "6166.67");  // CCM: built-in
  dlg->select(kModeList, 1);
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:系统   公式:自定义>");
  dlg->command(kCoreButton);
  EXPECT_EQ(text(kVe), "42");
  dlg->select(kModeList, 0);
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:系统   公式:内置>");
}

TEST_F(FlybackDialog, FailedVerifyRunWritesNothingBack) {
  tmp.write(kCcmFile, "Lp = 12;\r\nLs = Lp / 0;\r\n#");
  open();
  typeCore();
  dlg->command(kVerifyButton);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "计算出错");
  EXPECT_EQ(host.progressRuns, 0);
  EXPECT_EQ(text(kLp), "0");
  EXPECT_EQ(text(kRlk), "");
  EXPECT_EQ(text(kVe), "");
}

TEST_F(FlybackDialog, FailedClampRunShowsWhatItAssignedBeforeTheError) {
  open();
  typeCore();
  dlg->command(kVerifyButton);
  ASSERT_EQ(text(kLp), "429.206");
  tmp.write(kCcmFile, "Rlk = Lp + 1;\r\nClk = Rlk / 0;\r\n#");
  dlg->command(kSnubberButton);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "计算出错");
  EXPECT_EQ(host.progressRuns, 2);
  EXPECT_EQ(text(kRlk), "430.206");
  EXPECT_EQ(text(kClk), "0");
  EXPECT_EQ(text(kLp), "429.206");
  EXPECT_EQ(text(kVe), "");
}

// --- interface file -----------------------------------------------------------------------

TEST_F(FlybackDialog, AppliedInterfaceFileKeepsItsCaptionsAcrossModeSwitches) {
  tmp.write(kInterfaceFile, "14=AP(mm4);\r\n1=Pout(W);\r\n#");
  open();
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:自定义   公式:内置>");
  EXPECT_EQ(text(kEstimateGroup), "磁芯参数:");
  EXPECT_EQ(text(kEstimateLabel), "AP(mm4)");
  EXPECT_EQ(text(1296), "Pout(W)");
  dlg->select(kModeList, 1);
  EXPECT_EQ(text(kEstimateGroup), "磁芯参数:");
  EXPECT_EQ(text(kEstimateLabel), "AP(mm4)");
  EXPECT_EQ(text(kEmpiricalNote), "(铁氧体)经验公式");
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:自定义   公式:内置>");

  // Switched off while the window is open: the mode's own captions, the marker unchanged.
  tmp.write(kInterfaceFile, "#14=AP(mm4);");
  dlg->select(kModeList, 0);
  EXPECT_EQ(text(kEstimateGroup), "估算所需磁芯体积Ve=Ae*Le");
  EXPECT_EQ(text(kEstimateLabel), "磁芯体积Ve(mm3)");
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:自定义   公式:内置>");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FlybackDialog, RejectedInterfaceFileOnModeSwitchGivesSystemCaptions) {
  tmp.write(kInterfaceFile, "14=AP(mm4);\r\n#");
  open();
  tmp.write(kInterfaceFile, "41=x;\r\n#");  // beyond the 40 labels of the window
  dlg->select(kModeList, 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "错误");
  EXPECT_EQ(text(kEstimateGroup), "估算所需磁芯面积乘积Ae*Aw");
  EXPECT_EQ(text(kEstimateLabel), "磁芯面积乘积(mm4)");
  EXPECT_EQ(dlg->title(), "反激变换器 Flyback   <界面:系统   公式:内置>");
}

}  // namespace
}  // namespace tarnex
