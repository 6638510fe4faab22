// The DC-DC window driven as a user would: lists, fields, the calculate button, its files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "designs/dcdc.h"
#include "designs/registry.h"
#include "support/field_ids.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/dcdc_table.h"

namespace tarnex {
namespace {

using namespace dcdc;
using testing::RecordingHost;
using testing::TempFolder;

// Fields of the DC-DC table used below.
const int kVinMin = testing::fieldId(dcdcTable(), "VinMin");
const int kVsw = testing::fieldId(dcdcTable(), "Vsw");
const int kAe = testing::fieldId(dcdcTable(), "Ae");
const int kVo = testing::fieldId(dcdcTable(), "Vo");
const int kBpk = testing::fieldId(dcdcTable(), "Bpk");
const int kL = testing::fieldId(dcdcTable(), "L");
const int kIpk = testing::fieldId(dcdcTable(), "Ipk");
const int kIrms = testing::fieldId(dcdcTable(), "Irms");
const int kDL = testing::fieldId(dcdcTable(), "DL");
const int kNL = testing::fieldId(dcdcTable(), "NL");
const int kTon = testing::fieldId(dcdcTable(), "Ton");
const int kDuty = testing::fieldId(dcdcTable(), "Duty");
const int kIswrms = testing::fieldId(dcdcTable(), "Iswrms");
const int kVswm = testing::fieldId(dcdcTable(), "Vswm");
const int kIdrms = testing::fieldId(dcdcTable(), "Idrms");
const int kVdm = testing::fieldId(dcdcTable(), "Vdm");
const int kCo = testing::fieldId(dcdcTable(), "Co");
const int kVc = testing::fieldId(dcdcTable(), "Vc");

const char* const kFormulaFiles[] = {"CCM Buck cfg.txt",       "CCM Boost cfg.txt",
                                     "CCM Buck-Boost cfg.txt", "DCM Buck cfg.txt",
                                     "DCM Boost cfg.txt",      "DCM Buck-Boost cfg.txt"};
const int kOutputs[] = {kL,      kIpk,  kIrms,  kDL,  kNL, kTon, kDuty,
                        kIswrms, kVswm, kIdrms, kVdm, kCo, kVc};
constexpr const char* kTitleBuiltIn = "DC-DC变换器   <界面:系统   公式:内置>";

// The one picture a window paints now, if it paints exactly one.
std::optional<Picture> onePicture(const Form& form) {
  const std::vector<Picture> pictures = form.pictures();
  if (pictures.size() != 1) return std::nullopt;
  return pictures.front();
}

class DcDcDialogTest : public ::testing::Test {
 protected:
  // Every file switched off: system captions, built-in procedures.
  void SetUp() override {
    dir.write("DC-DC Interface.txt", "#");
    for (const char* f : kFormulaFiles) dir.write(f, "#");
  }

  CDcDcDlg& open() {
    dlg = std::make_unique<CDcDcDlg>(host, dir.folder());
    dlg->open();
    return *dlg;
  }

  std::vector<std::string> outputTexts() const {
    std::vector<std::string> texts;
    for (int id : kOutputs) texts.push_back(dlg->text(id));
    return texts;
  }

  TempFolder dir;
  RecordingHost host;
  std::unique_ptr<CDcDcDlg> dlg;
};

TEST_F(DcDcDialogTest, OpensWithDefaultsAndBlankResults) {
  CDcDcDlg& d = open();
  EXPECT_EQ(d.title(), kTitleBuiltIn);
  EXPECT_TRUE(d.setUpDone());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(d.text(kVinMin), "18");
  EXPECT_EQ(d.text(kVsw), "1.5");
  EXPECT_EQ(d.text(kAe), "23");
  EXPECT_EQ(outputTexts(), std::vector<std::string>(13, ""));
  EXPECT_EQ(d.control(kTopologyList)->selection, 0);
  EXPECT_EQ(d.control(kModeList)->selection, 0);
  EXPECT_FALSE(d.control(kPtd)->enabled);
  EXPECT_TRUE(d.control(kR)->enabled);
  EXPECT_TRUE(d.control(kHint)->enabled);
  EXPECT_TRUE(d.control(kCalculateButton)->isDefault);
}

TEST_F(DcDcDialogTest, CalculateShowsTheDefaultDesign) {
  CDcDcDlg& d = open();
  d.command(kCalculateButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_TRUE(d.lastCalculationWritten());
  const std::vector<std::string> expected{"95.1087", "1.2",      "1.00664",  "0.509686", "20",
                                          "3.62319", "0.543478", "0.859413", "28.8",     "0.675664",
                                          "28.8",    "60.8696",  "14.4"};
  EXPECT_EQ(outputTexts(), expected);
}

TEST_F(DcDcDialogTest, EnterPressesCalculate) {
  CDcDcDlg& d = open();
  d.enterKey();
  EXPECT_EQ(d.text(kL), "95.1087");
  EXPECT_FALSE(d.closeRequested());
}

TEST_F(DcDcDialogTest, DcmShowsItsDesignAndSwitchesTheFields) {
  CDcDcDlg& d = open();
  d.command(kCalculateButton);
  d.select(kModeList, 1);
  EXPECT_EQ(outputTexts(), std::vector<std::string>(13, ""));
  EXPECT_TRUE(d.control(kPtd)->enabled);
  EXPECT_FALSE(d.control(kR)->enabled);
  d.command(kCalculateButton);
  // L chosen at 18 V, the rest at 24 V (dcdc_procedures_test.cpp, DcmBuckDefaults).
  EXPECT_EQ(d.text(kTon), "2.20715");
  EXPECT_EQ(d.text(kDuty), "0.331073");
  EXPECT_EQ(d.text(kL), "7.05882");
  EXPECT_EQ(d.text(kIpk), "3.28314");
  EXPECT_EQ(d.text(kIrms), "1.47945");
  EXPECT_EQ(d.text(kNL), "4");
  EXPECT_EQ(d.text(kIswrms), "1.10702");
  d.select(kModeList, 0);
  EXPECT_FALSE(d.control(kPtd)->enabled);
  EXPECT_TRUE(d.control(kR)->enabled);
}

TEST_F(DcDcDialogTest, DisabledFieldStillMustHoldANumber) {
  CDcDcDlg& d = open();
  d.setText(kPtd, "");  // disabled in CCM, still exchanged
  d.command(kCalculateButton);
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{"Tarnex|请键入一个数。", "Tarnex|请输入完整的设计条件！"}));
}

TEST_F(DcDcDialogTest, TopologyChangeBlanksRepaintsAndMovesThePicture) {
  CDcDcDlg& d = open();
  ASSERT_TRUE(onePicture(d));
  EXPECT_EQ(onePicture(d)->resource, "bitmap167");
  EXPECT_EQ(onePicture(d)->x, 369);
  d.command(kCalculateButton);
  d.select(kTopologyList, 1);
  EXPECT_EQ(outputTexts(), std::vector<std::string>(13, ""));
  EXPECT_EQ(host.repaints, 1);
  const Picture boost = *onePicture(d);
  EXPECT_EQ(boost.resource, "bitmap168");
  EXPECT_EQ(boost.frameId, kDrawingFrame);
  EXPECT_EQ(boost.x, 370);
  EXPECT_EQ(boost.y, 19);
  EXPECT_EQ(boost.sourceWidth, 217 + 2);
  EXPECT_EQ(boost.sourceHeight, 115 + 10);
  d.select(kTopologyList, 2);
  EXPECT_EQ(onePicture(d)->resource, "bitmap169");
  EXPECT_EQ(onePicture(d)->sourceHeight, 105 + 10);
  // An entry that does not exist changes nothing.
  d.select(kTopologyList, 3);
  EXPECT_EQ(d.control(kTopologyList)->selection, 2);
  EXPECT_EQ(host.repaints, 2);
}

struct EndingCase {
  const char* label;
  int topology;
  int field;
  const char* text;
  const char* message;
};

void PrintTo(const EndingCase& c, std::ostream* os) {
  *os << c.label;
}

class DcDcDialogEndingTest : public DcDcDialogTest,
                             public ::testing::WithParamInterface<EndingCase> {};

TEST_P(DcDcDialogEndingTest, BlanksTheResultsAndExplains) {
  const EndingCase& c = GetParam();
  CDcDcDlg& d = open();
  d.command(kCalculateButton);  // results on display first
  d.select(kTopologyList, c.topology);
  d.command(kCalculateButton);
  host.clear();
  d.setText(c.field, c.text);
  d.command(kCalculateButton);
  EXPECT_EQ(host.summary(), std::vector<std::string>{std::string("Tarnex|") + c.message});
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].icon, Icon::None);
  EXPECT_TRUE(host.messages[0].owned);
  EXPECT_EQ(host.progressRuns, 0);
  EXPECT_FALSE(d.lastCalculationWritten());
  EXPECT_EQ(outputTexts(), std::vector<std::string>(13, ""));
}

INSTANTIATE_TEST_SUITE_P(
    Endings, DcDcDialogEndingTest,
    ::testing::Values(
        EndingCase{"BuckOutputAboveInput", 0, kVo, "18", "设计条件不正确，请检查！"},
        EndingCase{"BoostOutputBelowInput", 1, kVo, "24", "设计条件不正确，请检查！"},
        // Buck-boost NL raw 24.7376·2500/3200 = 19.33 → 19: 3255 G.
        EndingCase{"Saturation", 2, kBpk, "3200", "磁芯峰值磁通密度超过饱和磁通密度！"},
        // Bpk 2500 as asked, but NL raw 24.7376·23/392 = 1.45 rounds down to 1: 3628 G.
        EndingCase{"SaturationAfterRounding", 2, kAe, "392", "磁芯峰值磁通密度超过饱和磁通密度！"}),
    [](const ::testing::TestParamInfo<EndingCase>& p) { return p.param.label; });

TEST_F(DcDcDialogTest, BpkEqualToBsatIsAccepted) {
  CDcDcDlg& d = open();
  d.setText(kBpk, "3000");
  d.command(kCalculateButton);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(d.text(kNL), "17");  // 19.8488 · 2500 / 3000 = 16.54
}

TEST_F(DcDcDialogTest, TwoWindowsKeepTheirOwnValues) {
  CDcDcDlg a(host, dir.folder());
  CDcDcDlg b(host, dir.folder());
  a.open();
  b.open();
  a.setText(kVo, "5");
  a.select(kModeList, 1);
  a.command(kCalculateButton);
  EXPECT_EQ(b.text(kVo), "12");
  EXPECT_EQ(b.text(kL), "");
  EXPECT_EQ(b.value(kVo), 12.0f);
  EXPECT_EQ(b.control(kModeList)->selection, 0);
  b.command(kCalculateButton);
  EXPECT_EQ(b.text(kL), "95.1087");
  EXPECT_NE(a.text(kL), b.text(kL));
}

TEST_F(DcDcDialogTest, ReturnClosesWithoutCalculating) {
  CDcDcDlg& d = open();
  d.command(kCloseButton);
  EXPECT_TRUE(d.closeRequested());
  EXPECT_EQ(host.progressRuns, 0);
}

// --- files -----------------------------------------------------------------------------

TEST_F(DcDcDialogTest, FormulaMarkerFollowsTheSelectedFile) {
  dir.write("DCM Boost cfg.txt", "L = 1;\n#");
  CDcDcDlg& d = open();
  EXPECT_EQ(d.title(), kTitleBuiltIn);
  d.select(kTopologyList, 1);
  EXPECT_EQ(d.title(), kTitleBuiltIn);
  d.select(kModeList, 1);
  EXPECT_EQ(d.title(), "DC-DC变换器   <界面:系统   公式:自定义>");
  EXPECT_FALSE(d.control(kHint)->enabled);
  EXPECT_FALSE(d.control(kHelpLine)->enabled);
  d.select(kTopologyList, 0);
  EXPECT_EQ(d.title(), kTitleBuiltIn);
  EXPECT_TRUE(d.control(kHint)->enabled);
  EXPECT_TRUE(d.control(kHelpLine)->enabled);
}

TEST_F(DcDcDialogTest, MissingFilesAreCreated) {
  std::filesystem::remove(dir.path("CCM Buck cfg.txt"));
  std::filesystem::remove(dir.path("DCM Boost cfg.txt"));
  CDcDcDlg& d = open();
  EXPECT_TRUE(dir.exists("CCM Buck cfg.txt"));
  EXPECT_FALSE(dir.exists("DCM Boost cfg.txt"));
  d.select(kTopologyList, 1);
  d.select(kModeList, 1);
  EXPECT_TRUE(dir.exists("DCM Boost cfg.txt"));
  EXPECT_EQ(d.title(), kTitleBuiltIn);  // empty: not in use for the title
}

TEST_F(DcDcDialogTest, FileThatCannotBeOpenedKeepsTheTemplateTitleAndRetries) {
  // A folder in place of the file: it can neither be opened nor created.
  std::filesystem::remove(dir.path("CCM Buck cfg.txt"));
  std::filesystem::create_directory(dir.path("CCM Buck cfg.txt"));
  CDcDcDlg& d = open();
  EXPECT_EQ(d.title(), "DC-DC变换器");
  EXPECT_FALSE(d.setUpDone());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].icon, Icon::Warning);
  // The next data exchange tries again; with the file back the set-up completes.
  std::filesystem::remove(dir.path("CCM Buck cfg.txt"));
  dir.write("CCM Buck cfg.txt", "#");
  d.command(kCalculateButton);
  EXPECT_TRUE(d.setUpDone());
  EXPECT_EQ(d.title(), kTitleBuiltIn);
  EXPECT_EQ(d.text(kL), "95.1087");
}

// Window keys are matched exactly (two windows of one key: TwoWindowsKeepTheirOwnValues).
TEST(DesignRegistry, UnknownKeyBuildsNoWindow) {
  TempFolder dir;
  RecordingHost host;
  EXPECT_EQ(makeDesign("DCDC", host, dir.folder()), nullptr);
}

}  // namespace
}  // namespace tarnex
