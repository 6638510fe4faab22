// The flyback window's own paths through its form model: its mode list, the clamp that needs a
// verified inductance, the chosen core, results that are not finite, and the interface file
// across modes (what every window does and its formula files: tests/designs/windows_test.cpp;
// the designs: the golden runs flyback_*).

#include "designs/window_driver.h"
#include "tables/flyback_table.h"

namespace tarnex {
namespace {

using namespace flyback;
using testing::box;

constexpr const char* kInterfaceFile = "Flyback Interface.txt";
constexpr const char* kTitle = "反激变换器 Flyback   <界面:系统   公式:内置>";
constexpr const char* kInterfaceTitle = "反激变换器 Flyback   <界面:自定义   公式:内置>";
const std::string kNoInductance = "没有足够的信息，请先计算电感量！";

class FlybackWindow : public testing::WindowDriver, public ::testing::Test {
 protected:
  void SetUp() override { switchFilesOff("flyback"); }
  Form& open() { return WindowDriver::open("flyback"); }
  // The estimate's caption, its label and the note below them.
  void expectEstimate(const char* group, const char* label) const {
    EXPECT_EQ(form->text(kEstimateGroup), group);
    EXPECT_EQ(form->text(kEstimateLabel), label);
    EXPECT_EQ(form->text(kEmpiricalNote), "(铁氧体)经验公式");
  }
  // The ripple ratio counts in CCM, the dead time in DCM.
  void expectMode(bool dcm) const {
    EXPECT_EQ(form->control(id("r"))->enabled, !dcm);
    EXPECT_EQ(form->control(id("Ptd"))->enabled, dcm);
  }
};

TEST_F(FlybackWindow, ModeSwitchDropsCoreDataAndResultsAndRelabelsTheEstimate) {
  open();
  run("Ae=100 Le=60 core verify");
  expectShown("Lp=429.206 Ve=6166.67");
  expectMode(false);

  run("mode=dcm");
  expectShown("results= Ae= Le= Po=74");  // the design conditions stay
  expectMode(true);
  expectEstimate("估算所需磁芯面积乘积Ae*Aw", "磁芯面积乘积(mm4)");
  EXPECT_EQ(form->title(), kTitle);
  EXPECT_EQ(value("Lp"), 0.0f);
  EXPECT_EQ(value("Ae"), 0.0f);

  // The clamp needs an inductance of the new mode.
  run("snubber");
  EXPECT_EQ(host.summary(), std::vector<std::string>{box(kNoInductance)});

  run("mode=ccm");
  expectEstimate("估算所需磁芯体积Ve=Ae*Le", "磁芯体积Ve(mm3)");
  expectMode(false);
}

// A result that is not finite is shown as such and read back by the next command as the
// window wrote it: with r = 0 the CCM volume estimate is "inf", the verification reads it
// (and its own "inf" results the clamp), and neither stops at "请键入一个数。". Typed, the
// same text is no number.
TEST_F(FlybackWindow, NonFiniteResultsOnDisplayBlockNoLaterCommand) {
  open();
  run("r=0 core");
  ASSERT_EQ(text("Ve"), "inf");
  run("Ae=100 Le=60 verify snubber");
  EXPECT_TRUE(host.messages.empty()) << host.summary().front();
  // A finite voltage squared over an infinite inductance.
  expectShown("Ve=inf Lp=inf Rlk=0");
  EXPECT_EQ(host.progressRuns, 3);

  run("Lp=inf Per=inf snubber");  // typed over its own "inf" it still is the value shown
  EXPECT_EQ(host.summary(),
            (std::vector<std::string>{box("请键入一个数。"), box(" 请输入完整的设计条件!")}));
  EXPECT_EQ(form->takeFocusRequest()->id, id("Per"));
}

// --- interface file -----------------------------------------------------------------------

TEST_F(FlybackWindow, InterfaceFileKeepsItsCaptionsAcrossModeSwitchesUntilRejected) {
  dir.write(kInterfaceFile, "14=AP(mm4);\r\n1=Pout(W);\r\n#");
  open();
  EXPECT_EQ(form->title(), kInterfaceTitle);
  expectEstimate("磁芯参数:", "AP(mm4)");
  EXPECT_EQ(form->text(1296), "Pout(W)");
  run("mode=dcm");
  expectEstimate("磁芯参数:", "AP(mm4)");
  EXPECT_EQ(form->title(), kInterfaceTitle);

  // Switched off while the window is open: the mode's own captions, the marker unchanged.
  dir.write(kInterfaceFile, "#14=AP(mm4);");
  run("mode=ccm");
  expectEstimate("估算所需磁芯体积Ve=Ae*Le", "磁芯体积Ve(mm3)");
  EXPECT_EQ(form->title(), kInterfaceTitle);
  EXPECT_TRUE(host.messages.empty());

  // Rejected on a mode switch: the system captions and title.
  dir.write(kInterfaceFile, "41=x;\r\n#");  // beyond the 40 labels of the window
  run("mode=dcm");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "错误");
  expectEstimate("估算所需磁芯面积乘积Ae*Aw", "磁芯面积乘积(mm4)");
  EXPECT_EQ(form->title(), kTitle);
}

}  // namespace
}  // namespace tarnex
