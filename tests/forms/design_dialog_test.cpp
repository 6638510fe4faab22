// The design-dialog framework on a window of its own: data exchange, set-up, title markers,
// the calculate frame and its formula step (each window's own markers: designs/windows_test).
#include "forms/design_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/dcdc_table.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

// Field ids of the DC-DC table, on which the test window is built (its six formula files
// and its binding table exist).
constexpr int kVinMin = 1030, kVinMax = 1040, kVo = 1047, kAe = 1057, kL = 1031, kVc = 1054;
constexpr const char* kFile = "CCM Buck cfg.txt";
constexpr const char* kIncomplete = "请输入完整的设计条件！";

// The DC-DC window's table with one command, the default button or not (to try the Enter
// key).
const DialogTable& probeTable(bool withDefault) {
  static constexpr ButtonRow kDefault[] = {{kCalculateButton, "计算(&C)", "calc", 0, true}};
  static constexpr ButtonRow kPlain[] = {{kCalculateButton, "check", "check"}};
  auto with = [](std::span<const ButtonRow> buttons) {
    DialogTable t = dcdcTable();
    t.buttons = buttons;
    return t;
  };
  static const DialogTable kWith = with(kDefault), kWithout = with(kPlain);
  return withDefault ? kWith : kWithout;
}

// A window whose one command's built-in computation is a probe.
class ProbeDialog : public DesignDialog {
 public:
  ProbeDialog(Host& host, const Folder& folder, bool withDefault = true)
      : DesignDialog(host, folder, probeTable(withDefault)) {
    calc.formulaFile = kFile;
    calc.incompleteMessage = kIncomplete;
    calc.builtIn = [this] { return probe(); };
  }

  void command(int id) override {
    if (id == kCalculateButton) {
      end = calculate(calc);
      return;
    }
    DesignDialog::command(id);
  }
  void prepare() override { ++prepared; }

  // The probe: records the output texts it saw and what it was asked to compute.
  bool probe() {
    ++builtInRuns;
    seenL = text(kL);
    setValue(kL, value(kVinMin) * 2);
    return builtInResult;
  }

  using DesignDialog::setOutputsText;
  using DesignDialog::showOwned;

  Calculation calc;
  std::optional<CalcEnd> end;
  int builtInRuns = 0;
  int prepared = 0;
  bool builtInResult = true;
  std::string seenL;
};

class DesignDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("DC-DC Interface.txt", "#");
    dir.write(kFile, "#");
  }
  ProbeDialog& open(bool withDefault = true) {
    dlg = std::make_unique<ProbeDialog>(host, dir.folder(), withDefault);
    dlg->open();
    host.clear();
    return *dlg;
  }

  TempFolder dir;
  RecordingHost host;
  std::unique_ptr<ProbeDialog> dlg;
};

TEST_F(DesignDialogTest, FrameReadsResultsAsZeroComputesAndWritesBack) {
  ProbeDialog& d = open();
  EXPECT_EQ(d.prepared, 1);
  d.setText(kVinMin, " 12 ");
  d.command(kCalculateButton);
  EXPECT_EQ(d.seenL, "0");
  EXPECT_EQ(d.end, CalcEnd::Written);
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_EQ(d.text(kL), "24");
  EXPECT_EQ(d.text(kVinMin), "12");  // rewritten in the field format
  EXPECT_EQ(d.text(kVc), "0");       // a result left at 0 shows 0
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(d.lastCalculationWritten());
  d.open();  // a later exchange does not set up again
  EXPECT_EQ(d.prepared, 1);
  // A built-in computation that stops ends the command: nothing written, no progress window.
  d.builtInResult = false;
  d.command(kCalculateButton);
  EXPECT_EQ(d.end, CalcEnd::Stopped);
  EXPECT_EQ(host.progressRuns, 1);
  EXPECT_FALSE(d.lastCalculationWritten());
  EXPECT_EQ(d.text(kL), "0");
}

TEST_F(DesignDialogTest, BadFieldStopsTheReadKeepsEarlierValuesAndFocusesIt) {
  ProbeDialog& d = open();
  d.setText(kVinMin, "17");
  d.setText(kVo, "12x");
  d.setText(kAe, "5");
  d.command(kCalculateButton);
  EXPECT_EQ(d.end, CalcEnd::Incomplete);
  // The two messages, their icons and owner, every window: designs/windows_test.
  EXPECT_EQ(host.messages.size(), 2u);
  const auto focus = d.takeFocusRequest();
  ASSERT_TRUE(focus);
  EXPECT_EQ(focus->id, kVo);
  EXPECT_TRUE(focus->selectAll);
  EXPECT_FALSE(d.takeFocusRequest());
  EXPECT_EQ(d.value(kVinMin), 17.0f);  // read before the bad field
  EXPECT_EQ(d.value(kAe), 23.0f);      // after it: not read
  EXPECT_EQ(d.builtInRuns, 0);
}

// A command with results of its own (the flyback's clamp): the flyback window's tests and
// its golden runs.

TEST_F(DesignDialogTest, EnterWithoutDefaultButtonChecksAndStaysOpen) {
  ProbeDialog& d = open(false);
  // Blank results do not read as numbers either: the check stops at the first of them.
  d.enterKey();
  EXPECT_EQ(d.takeFocusRequest()->id, kL);
  d.command(kCalculateButton);
  EXPECT_EQ(d.builtInRuns, 1);
  host.clear();
  d.setText(kVinMax, "");
  d.enterKey();
  EXPECT_EQ(host.summary(), std::vector<std::string>{"Tarnex|请键入一个数。"});
  EXPECT_EQ(d.builtInRuns, 1);
  EXPECT_EQ(d.takeFocusRequest()->id, kVinMax);
  host.clear();
  d.setText(kVinMax, "30");
  d.enterKey();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(d.closeRequested());
  EXPECT_EQ(d.value(kVinMax), 30.0f);
}

// Title markers: a file switched off by '#' or in use, for every window, in
// designs/windows_test; here the files at the edge of holding a statement. No statement before
// the end marker (an emptied file, a bare line end, blanks and comments) gives the built-in
// title and computation; so does a text of two bytes, though it computes.
TEST_F(DesignDialogTest, BuiltInTitleForAFileWithoutStatements) {
  const struct {
    const char* formulaFile;  // content
    bool builtIn;             // the calculation uses the built-in computation
  } cases[] = {{"", true},    {"\n", true},
               {"\n#", true}, {" \r\n// 注释\n\n#L = 1;", true},
               {"a;", false}, {"\xEF\xBB\xBF#L = 1;", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::string(c.formulaFile)));
    dir.write(kFile, c.formulaFile);
    ProbeDialog& d = open();
    EXPECT_EQ(d.title(), "DC-DC变换器   <界面:系统   公式:内置>");
    EXPECT_TRUE(d.control(1306)->enabled);
    d.command(kCalculateButton);
    EXPECT_EQ(d.builtInRuns, c.builtIn ? 1 : 0);
  }
}

// The DC-DC window's captions of relabel numbers 1 and 27 (its last) after opening. The
// reader's own cases (blanks, byte-order marks): the golden interface files.
TEST_F(DesignDialogTest, InterfaceFileAppliesCaptionsAndMarksTheTitle) {
  constexpr const char* kCaption1 = "最低输入电压(V)";
  constexpr const char* kCaption27 = "输出电容耐压>(V)";
  const struct {
    const char* content;
    const char* marker;
    const char* caption1;
    const char* caption27;
    std::size_t messages;
  } cases[] = {{"1=VinMin;\r\n27=Vc>;\r\n#", "   <界面:自定义", "VinMin", "Vc>", 0},
               {"", "   <界面:系统", kCaption1, kCaption27, 1},           // gets its end marker
               {"28=x;\n#", "   <界面:系统", kCaption1, kCaption27, 1}};  // out of range
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    dir.write("DC-DC Interface.txt", c.content);
    host.clear();
    ProbeDialog d(host, dir.folder());
    d.open();
    EXPECT_EQ(d.title(), std::string("DC-DC变换器") + c.marker + "   公式:内置>");
    EXPECT_EQ(d.control(1265)->text, c.caption1);
    EXPECT_EQ(d.control(1285)->text, c.caption27);
    EXPECT_EQ(host.messages.size(), c.messages);
    EXPECT_TRUE(d.setUpDone());
  }
}

TEST_F(DesignDialogTest, UnopenableInterfaceFileAbandonsTheSetUp) {
  std::filesystem::remove(dir.path("DC-DC Interface.txt"));
  std::filesystem::create_directory(dir.path("DC-DC Interface.txt"));
  ProbeDialog d(host, dir.folder());
  d.open();
  EXPECT_EQ(d.title(), "DC-DC变换器");
  EXPECT_FALSE(d.setUpDone());
  EXPECT_EQ(host.messages.size(), 1u);
  // A failed read is no completed data exchange: no retry, no further message.
  d.setText(kVinMin, "");
  d.command(kCalculateButton);
  EXPECT_EQ(d.end, CalcEnd::Incomplete);
  EXPECT_EQ(d.prepared, 1);
  // Still unopenable: the read tries the set-up again and reports once; the command ends
  // there instead of reporting the same file again at the write-back.
  d.setText(kVinMin, "18");
  host.clear();
  d.command(kCalculateButton);
  EXPECT_EQ(d.prepared, 2);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(d.end, CalcEnd::FileError);
  EXPECT_EQ(d.builtInRuns, 0);
  EXPECT_FALSE(d.setUpDone());
}

TEST_F(DesignDialogTest, UnopenableFormulaFileEndsTheCalculation) {
  ProbeDialog& d = open();
  std::filesystem::remove(dir.path(kFile));
  std::filesystem::create_directory(dir.path(kFile));
  d.command(kCalculateButton);
  EXPECT_EQ(d.end, CalcEnd::FileError);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(d.builtInRuns, 0);
  EXPECT_EQ(host.progressRuns, 0);
}

}  // namespace
}  // namespace tarnex
