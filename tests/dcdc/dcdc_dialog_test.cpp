// The DC-DC window's own paths: its two lists, two windows side by side, and its six formula
// files (what every window does: tests/designs/windows_test.cpp; its designs: the golden runs
// dcdc_*).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "designs/dcdc.h"
#include "designs/window_driver.h"
#include "tables/dcdc_table.h"

namespace tarnex {
namespace {

using namespace dcdc;
using testing::RecordingHost;
using testing::TempFolder;

const int kVo = testing::fieldId(dcdcTable(), "Vo");
const int kL = testing::fieldId(dcdcTable(), "L");
constexpr const char* kTitleBuiltIn = "DC-DC变换器   <界面:系统   公式:内置>";

// The one picture a window paints now, if it paints exactly one.
std::optional<Picture> onePicture(const Form& form) {
  const std::vector<Picture> pictures = form.pictures();
  if (pictures.size() != 1) return std::nullopt;
  return pictures.front();
}

class DcDcDialogTest : public testing::WindowDriver, public ::testing::Test {
 protected:
  void SetUp() override { switchFilesOff("dcdc"); }
  CDcDcDlg& open() { return dynamic_cast<CDcDcDlg&>(WindowDriver::open("dcdc")); }
};

// Discontinuous conduction takes the dead time instead of the ripple ratio, and either list
// blanks the results.
TEST_F(DcDcDialogTest, ModeListSwitchesTheFieldsAndBlanksTheResults) {
  CDcDcDlg& d = open();
  EXPECT_EQ(d.control(kTopologyList)->selection, 0);
  EXPECT_EQ(d.control(kModeList)->selection, 0);
  EXPECT_FALSE(d.control(kPtd)->enabled);
  EXPECT_TRUE(d.control(kR)->enabled);
  d.command(kCalculateButton);
  EXPECT_TRUE(d.lastCalculationWritten());
  d.select(kModeList, 1);
  expectResults("");
  EXPECT_TRUE(d.control(kPtd)->enabled);
  EXPECT_FALSE(d.control(kR)->enabled);
  d.command(kCalculateButton);
  EXPECT_EQ(d.text(kL), "7.05882");
  d.select(kModeList, 0);
  EXPECT_FALSE(d.control(kPtd)->enabled);
  EXPECT_TRUE(d.control(kR)->enabled);
}

TEST_F(DcDcDialogTest, TopologyChangeBlanksRepaintsAndMovesThePicture) {
  CDcDcDlg& d = open();
  ASSERT_TRUE(onePicture(d));
  EXPECT_EQ(onePicture(d)->resource, "bitmap167");
  EXPECT_EQ(onePicture(d)->x, 369);
  d.command(kCalculateButton);
  d.select(kTopologyList, 1);
  expectResults("");
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
