// The loop-compensation sheet and its pages driven as the user drives them: fields typed,
// lists picked, buttons pressed, pages switched; what the fields show, the messages, the hint
// dialogs and the Bode plot. The procedures behind them are tested in compensation_test.
#include "loop/loop_pages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/form.h"
#include "loop/loop_sheet.h"
#include "support/field_ids.h"
#include "support/recording_host.h"

namespace tarnex {
namespace {

using testing::fieldId;

// Notes the hint dialogs by their dialog id and texts.
class HintHost : public testing::RecordingHost {
 public:
  void runDialog(Form& dialog) override {
    RecordingHost::runDialog(dialog);
    hints.push_back(dialog.table()->dialogId);
    for (const Control& c : dialog.controls()) {
      if (c.kind == ControlKind::Note) texts.push_back(c.text);
    }
  }
  std::vector<int> hints;
  std::vector<std::string> texts;
};

// A page opened as the sheet opens it, driven by field names.
template <class Page>
struct Driven {
  HintHost host;
  Page page{host};

  Driven() { page.open(); }
  int id(const char* name) const { return fieldId(*page.table(), name); }
  void type(const char* name, std::string text) { page.setText(id(name), std::move(text)); }
  const std::string& shown(const char* name) const { return page.text(id(name)); }
  void expectShown(const std::vector<std::pair<const char*, const char*>>& expected) const {
    for (const auto& [name, text] : expected) EXPECT_EQ(shown(name), text) << name;
  }
};

const std::string kBadNumber = "Tarnex|请键入一个数。";

// --- the sheet --------------------------------------------------------------------------

TEST(LoopSheet, ThreePagesInOrderAndTheFirstOpened) {
  testing::RecordingHost host;
  const std::unique_ptr<Sheet> sheet = makeLoopSheet(host);
  EXPECT_EQ(sheet->title(), "环路补偿 Feedback Loop   <内置算法>");
  ASSERT_EQ(sheet->size(), 3u);
  EXPECT_EQ(sheet->page(0).title(), "电流模式控制环路补偿");
  EXPECT_EQ(sheet->page(1).title(), "电压模式Ⅱ型补偿网络");
  EXPECT_EQ(sheet->page(2).title(), "电压模式Ⅲ型补偿网络 ");
  sheet->open();
  EXPECT_EQ(sheet->current(), 0u);
  EXPECT_EQ(sheet->page(0).text(1030), "5");  // filled by the first exchange
  EXPECT_EQ(sheet->page(1).text(1195), "");   // not opened yet
}

// Switching pages is a data exchange that moves nothing: an empty field is no fault, and a
// typed text is neither read nor rewritten; the page's numbers stay as they were.
TEST(LoopSheet, SwitchingPagesMovesNoValuesAndShowsNoMessage) {
  testing::RecordingHost host;
  const std::unique_ptr<Sheet> sheet = makeLoopSheet(host);
  sheet->open();
  auto& current = static_cast<CICtrl&>(sheet->page(0));
  current.setText(1030, "");        // Vo
  current.setText(1031, " 2.50 ");  // Io
  EXPECT_TRUE(sheet->show(1));
  EXPECT_TRUE(sheet->show(2));
  EXPECT_TRUE(sheet->show(0));
  sheet->close();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(current.text(1030), "");
  EXPECT_EQ(current.text(1031), " 2.50 ");
  EXPECT_EQ(current.value(1031), 1.0f);
  EXPECT_FALSE(current.exchangeFlag());
  EXPECT_EQ(host.progressRuns, 0);
}

// --- current mode ------------------------------------------------------------------------

// The op-amp has no gm: disabled, but still read (so it must hold a number); the results of
// the other type are blanked and the plot dropped.
TEST(CurrentModePage, TypeChangeBlanksTheResultsAndTogglesGm) {
  Driven<CICtrl> d;
  EXPECT_EQ(d.page.control(icctrl::kTypeList)->selection, icctrl::kTransconductance);
  EXPECT_TRUE(d.page.control(icctrl::kGm)->enabled);
  EXPECT_EQ(d.page.bode(), nullptr);
  d.page.command(icctrl::kCalculate);
  d.page.select(icctrl::kTypeList, icctrl::kOpAmp);
  EXPECT_FALSE(d.page.control(icctrl::kGm)->enabled);
  EXPECT_EQ(d.shown("C1"), "");
  EXPECT_EQ(d.page.bode(), nullptr);
  EXPECT_EQ(d.host.repaints, 1);
  d.type("gm", "");
  d.page.command(icctrl::kCalculate);
  EXPECT_EQ(d.host.summary(),
            (std::vector<std::string>{kBadNumber, "Tarnex|   请输入完整的参数!  "}));
  d.page.select(icctrl::kTypeList, icctrl::kTransconductance);
  EXPECT_TRUE(d.page.control(icctrl::kGm)->enabled);
}

// --- the design check and the exact design, on every page ---------------------------------
// (what the checks say, and each page's and step's refusal with its message and its blanked
// results, are in the loop golden runs of tarnex-calc: *_refused)

// The exact design alone writes no field and draws the exact loop; each calculation shows the
// progress window, the exact design none; a refused calculation drops the check with the
// results.
template <class P>
std::unique_ptr<LoopPage> make(Host& host) {
  return std::make_unique<P>(host);
}
struct FlowCase {
  const char* name;
  std::unique_ptr<LoopPage> (*make)(Host&);
  std::vector<int> commands;
  int exact;
};
class LoopCheck : public ::testing::TestWithParam<FlowCase> {};
TEST_P(LoopCheck, ExactWritesNothingAndARefusalDropsTheCheck) {
  const FlowCase& c = GetParam();
  testing::RecordingHost host;
  const std::unique_ptr<LoopPage> page = c.make(host);
  page->open();
  std::vector<std::string> before;
  for (const FieldRow& row : page->table()->fields) before.push_back(page->text(row.controlId));
  page->command(c.exact);
  std::size_t i = 0;
  for (const FieldRow& row : page->table()->fields) {
    EXPECT_EQ(page->text(row.controlId), before[i++]) << row.name;
  }
  ASSERT_NE(page->bode(), nullptr);
  EXPECT_TRUE(page->bode()->exact);
  EXPECT_FALSE(page->findings().empty());
  for (const int command : c.commands) page->command(command);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.progressRuns, static_cast<int>(c.commands.size()));
  EXPECT_FALSE(page->findings().empty());
  page->setText(page->table()->fields.front().controlId, "x");
  page->command(c.commands.back());
  EXPECT_TRUE(page->findings().empty());
  // Refused: no progress window, the exchange flag cleared, the focus on the field.
  EXPECT_EQ(host.progressRuns, static_cast<int>(c.commands.size()));
  EXPECT_FALSE(page->exchangeFlag());
  EXPECT_TRUE(page->takeFocusRequest());
}
INSTANTIATE_TEST_SUITE_P(
    Pages, LoopCheck,
    ::testing::Values(FlowCase{"CurrentMode", &make<CICtrl>, {icctrl::kCalculate}, icctrl::kExact},
                      FlowCase{
                          "TypeII", &make<CVCtrl>, {vctrl::kStep2, vctrl::kStep4}, vctrl::kExact},
                      FlowCase{"TypeIII", &make<CType3>, {type3::kCalculate}, type3::kExact}),
    [](const auto& p) { return p.param.name; });

// --- type II -----------------------------------------------------------------------------

// The forward type opens with the placement disabled; the DCM flyback relabels, swaps the
// enabling and blanks the results of the other kind; back to forward, the label is the page's
// own "KHz" (the opening one says "kHz").
TEST(TypeIIPage, KindChangeRelabelsAndSwapsTheEnabling) {
  Driven<CVCtrl> d;
  EXPECT_EQ(d.page.kind(), TypeIIKind::Forward);
  for (int id : {vctrl::kFp1, vctrl::kFz1, vctrl::kFp1Label, vctrl::kFz1Label}) {
    EXPECT_FALSE(d.page.control(id)->enabled) << id;
  }
  EXPECT_TRUE(d.page.control(vctrl::kPmWant)->enabled);
  EXPECT_EQ(d.page.text(vctrl::kLLabel), "输出电感(μH)");
  EXPECT_EQ(d.page.text(vctrl::kFpoLabel), "LC双重极点(kHz)");
  d.page.command(vctrl::kStep2);
  d.page.select(vctrl::kKindList, vctrl::kDcmFlyback);
  EXPECT_EQ(d.shown("fpo"), "");
  EXPECT_EQ(d.page.text(vctrl::kLLabel), "一次电感(μH)");
  EXPECT_EQ(d.page.text(vctrl::kFpoLabel), "极点频率(KHz)");
  EXPECT_TRUE(d.page.control(vctrl::kFp1)->enabled);
  EXPECT_FALSE(d.page.control(vctrl::kPmWant)->enabled);
  EXPECT_FALSE(d.page.control(vctrl::kPmWantLabel)->enabled);
  d.page.select(vctrl::kKindList, vctrl::kForward);
  EXPECT_EQ(d.page.text(vctrl::kFpoLabel), "LC双重极点(KHz)");
}

// --- hint dialogs ------------------------------------------------------------------------

// Each clickable line opens its hint; two clicks open it twice. Trailing blanks stay: the
// first text of hint 208 ends in 44 blanks after "："; item 5 of hint 201 in one after "。",
// with its two ASCII quotation marks.
TEST(HintDialogs, EachLineOpensItsHintWithItsBlanks) {
  Driven<CICtrl> current;
  current.page.command(icctrl::kEsrHint);
  current.page.command(icctrl::kEsrHint);
  EXPECT_EQ(current.host.hints, (std::vector<int>{202, 202}));
  EXPECT_TRUE(current.host.messages.empty());
  Driven<CVCtrl> typeII;
  typeII.page.command(vctrl::kOtherHint);
  typeII.page.command(vctrl::kCriteriaHint);
  EXPECT_EQ(typeII.host.hints, (std::vector<int>{200, 201}));
  EXPECT_EQ(typeII.host.dialogs, (std::vector<std::string>{"说明", "提示："}));
  EXPECT_EQ(typeII.host.texts.back(),
            "5 使穿越频率小于任何\"有问题\"的极点或者零点——比如RHP零点和次谐波不稳定极点。 ");
  Driven<CType3> typeIII;
  typeIII.page.command(type3::kHint);
  EXPECT_EQ(typeIII.host.hints, (std::vector<int>{208}));
  ASSERT_EQ(typeIII.host.texts.size(), 4u);
  EXPECT_TRUE(typeIII.host.texts[0].ends_with("）：" + std::string(44, ' ')));
  EXPECT_FALSE(typeIII.host.texts[0].ends_with(std::string(45, ' ')));
}

}  // namespace
}  // namespace tarnex
