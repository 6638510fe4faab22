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

// Worked examples: the opening values with each amplifier. Own case, by hand: Vo 12, Io 2,
// Co 1000, ESR 0.05, D 0.4, Vin 20, L 47, Vse 0.5, Ri 0.5, fsw 100, fc 10, R1 10000, gm 0.2,
// Vref 1.25: Q = (0.5·100000/0.5)/(20/0.000047) + 0.5 = 0.735; Rx = 1/(0.6³·0.735/4.7 + 1.4/6)
// = 3.74375; G = Rx·0.6/0.5 = 4.4925, GdB 13.0498; fp = 1/(Rx·1000·2π·10⁻⁶) = 42.5122;
// fz = 1/(0.05·1000·2π·10⁻⁶) = 3183.1; fEA = 10000/G = 2225.93; C1F = (1.25/12·0.2)/(fEA·2π)
// = 1.48959 µF; R2 = 1/(C1F·fp·2π) = 2513.27; C2 = 10⁶/(fz·R2·2π) = 0.0198944.
struct CurrentCase {
  const char* name;
  int type;
  std::vector<std::pair<const char*, const char*>> typed, expected;
};
void PrintTo(const CurrentCase& c, std::ostream* os) {
  *os << c.name;
}
class CurrentModePage : public ::testing::TestWithParam<CurrentCase> {};
TEST_P(CurrentModePage, Calculates) {
  Driven<CICtrl> d;
  d.page.select(icctrl::kTypeList, GetParam().type);
  for (const auto& [name, text] : GetParam().typed) d.type(name, text);
  d.page.command(icctrl::kCalculate);
  EXPECT_TRUE(d.host.messages.empty());
  EXPECT_EQ(d.host.progressRuns, 1);
  d.expectShown(GetParam().expected);
  ASSERT_NE(d.page.bode(), nullptr);
  EXPECT_TRUE(d.page.bode()->crossover);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, CurrentModePage,
    ::testing::Values(CurrentCase{"OpeningTransconductance",
                                  icctrl::kTransconductance,
                                  {},
                                  {{"GdB", "7.39823"},
                                   {"fp", "120.401"},
                                   {"fz", "2604.83"},
                                   {"fEA", "8533.33"},
                                   {"C1", "2.79765"},
                                   {"R2", "472.496"},
                                   {"C2", "0.129313"}}},
                      CurrentCase{"OpeningOpAmp",
                                  icctrl::kOpAmp,
                                  {},
                                  {{"C1", "0.00396829"}, {"R2", "333109"}, {"C2", "0.000183423"}}},
                      CurrentCase{"OwnCaseInputsRewritten",
                                  icctrl::kTransconductance,
                                  {{"Vo", "12"},
                                   {"Io", " 2 "},
                                   {"Co", "1e3"},
                                   {"ESR", "0.05"},
                                   {"D", "0.4"},
                                   {"Vin", "20"},
                                   {"L", "47"},
                                   {"Vse", "0.5"},
                                   {"Ri", "0.5"},
                                   {"fsw", "100"},
                                   {"fc", "10"},
                                   {"R1", "10000"},
                                   {"gm", "0.2"},
                                   {"Vref", "1.25"}},
                                  {{"Io", "2"},
                                   {"Co", "1000"},
                                   {"GdB", "13.0498"},
                                   {"fp", "42.5122"},
                                   {"fz", "3183.1"},
                                   {"fEA", "2225.93"},
                                   {"C1", "1.48959"},
                                   {"R2", "2513.27"},
                                   {"C2", "0.0198944"}}}),
    [](const auto& p) { return p.param.name; });

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

// --- refusals, per page and step: the framework's message, then the page's own with its
// blanks; the results blank, nothing written, the exchange flag cleared.
struct Refusal {
  const char* name;
  std::unique_ptr<LoopPage> (*make)(Host&);
  const char* field;
  int command;
  const char* message;
};
template <class P>
std::unique_ptr<LoopPage> make(Host& host) {
  return std::make_unique<P>(host);
}
void PrintTo(const Refusal& c, std::ostream* os) {
  *os << c.name;
}
class PageRefusal : public ::testing::TestWithParam<Refusal> {};
TEST_P(PageRefusal, ShowsItsMessageAndBlanksTheResults) {
  testing::RecordingHost host;
  const std::unique_ptr<LoopPage> page = GetParam().make(host);
  page->open();
  page->setText(fieldId(*page->table(), GetParam().field), "1,5");
  page->command(GetParam().command);
  EXPECT_EQ(host.summary(), (std::vector<std::string>{kBadNumber, GetParam().message}));
  EXPECT_EQ(host.progressRuns, 0);
  EXPECT_FALSE(page->exchangeFlag());
  EXPECT_FALSE(page->takeFocusRequest() == std::nullopt);
  for (const FieldRow& row : page->table()->fields) {
    if (row.output()) {
      EXPECT_EQ(page->text(row.controlId), "") << row.name;
    }
  }
}
INSTANTIATE_TEST_SUITE_P(
    Pages, PageRefusal,
    ::testing::Values(
        Refusal{"CurrentMode", &make<CICtrl>, "Vo", icctrl::kCalculate,
                "Tarnex|   请输入完整的参数!  "},
        Refusal{"TypeIIStep2", &make<CVCtrl>, "Dmax", vctrl::kStep2,
                "Tarnex|  请输入完整的参数!  "},
        Refusal{"TypeIIStep4", &make<CVCtrl>, "R1", vctrl::kStep4, "Tarnex| 请输入完整的参数! "},
        Refusal{"TypeIII", &make<CType3>, "R1", type3::kCalculate, "Tarnex|  请输入完整的条件!  "},
        Refusal{"CurrentModeExact", &make<CICtrl>, "Vo", icctrl::kExact,
                "Tarnex|   请输入完整的参数!  "},
        Refusal{"TypeIIExact", &make<CVCtrl>, "R1", vctrl::kExact, "Tarnex| 请输入完整的参数! "},
        Refusal{"TypeIIIExact", &make<CType3>, "R1", type3::kExact,
                "Tarnex|  请输入完整的条件!  "}),
    [](const auto& p) { return p.param.name; });

// --- the design check and the exact design, on every page ---------------------------------

// Each page's check after its commands: the lines that must be there (severity and a piece of
// the text) and whether any failure may be. The numbers are worked out in bode_test and the
// golden files of tarnex-calc.
struct CheckCase {
  const char* name;
  std::unique_ptr<LoopPage> (*make)(Host&);
  std::vector<std::pair<int, int>> selections;  // list, entry
  std::vector<std::pair<const char*, const char*>> typed;
  std::vector<int> commands;
  std::vector<std::pair<Severity, const char*>> expected;
  bool failures;
};
void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.name;
}
class LoopCheck : public ::testing::TestWithParam<CheckCase> {};
TEST_P(LoopCheck, ReportsWhatTheLoopDoes) {
  const CheckCase& c = GetParam();
  testing::RecordingHost host;
  const std::unique_ptr<LoopPage> page = c.make(host);
  page->open();
  for (const auto& [list, entry] : c.selections) page->select(list, entry);
  for (const auto& [name, text] : c.typed) page->setText(fieldId(*page->table(), name), text);
  std::vector<std::string> before;
  for (const FieldRow& row : page->table()->fields) before.push_back(page->text(row.controlId));
  for (const int command : c.commands) page->command(command);
  EXPECT_TRUE(host.messages.empty());
  std::string all;
  bool failed = false;
  for (const Finding& f : page->findings()) {
    all += std::string(severityKey(f.severity)) + " " + f.text + "\n";
    failed = failed || f.severity == Severity::Failure;
  }
  for (const auto& [severity, piece] : c.expected) {
    bool found = false;
    for (const Finding& f : page->findings()) {
      found = found || (f.severity == severity && f.text.find(piece) != std::string::npos);
    }
    EXPECT_TRUE(found) << severityKey(severity) << " " << piece << " in\n" << all;
  }
  EXPECT_EQ(failed, c.failures) << all;
  // The exact design alone writes no field.
  if (c.commands == std::vector<int>{1310}) {
    std::size_t i = 0;
    for (const FieldRow& row : page->table()->fields) {
      EXPECT_EQ(page->text(row.controlId), before[i++]) << row.name;
    }
    ASSERT_NE(page->bode(), nullptr);
    EXPECT_TRUE(page->bode()->exact);
  }
  // A change of the results drops the check with them.
  page->setText(page->table()->fields.front().controlId, "x");
  page->command(c.commands.back());
  EXPECT_TRUE(page->findings().empty());
}
INSTANTIATE_TEST_SUITE_P(
    Pages, LoopCheck,
    ::testing::Values(
        CheckCase{"CurrentModeOpening",
                  &make<CICtrl>,
                  {},
                  {},
                  {icctrl::kCalculate},
                  {{Severity::Failure, "不低于开关频率的一半 30 kHz"},
                   {Severity::Failure, "右半平面零点 13.3 kHz 的三分之一（4.42 kHz）"},
                   {Severity::Failure, "增益裕量 -10.5 dB"},
                   {Severity::Warning, "采样双极点 Q = 2.12"}},
                  true},
        CheckCase{"CurrentModeExactWithMoreSlope",
                  &make<CICtrl>,
                  {},
                  {{"Vse", "3.33"}},
                  {icctrl::kExact},
                  {{Severity::Warning, "精确设计把穿越频率降到 4.42 kHz（右半平面零点的三分之一）"},
                   {Severity::Info, "精确设计：实际穿越频率 4.42 kHz"},
                   {Severity::Info, "精确设计：精确相位裕量 58.3°"},
                   {Severity::Info, "精确设计：开关频率一半（30 kHz）处的增益裕量 13.1 dB"}},
                  true},
        CheckCase{"TypeIIForwardOpening",
                  &make<CVCtrl>,
                  {},
                  {},
                  {vctrl::kStep2, vctrl::kStep4},
                  {{Severity::Info, "实际穿越频率 19.9 kHz（要求 20 kHz）"},
                   {Severity::Info, "精确相位裕量 49.3°（本页按渐近线算出 45°）"}},
                  false},
        CheckCase{"TypeIIFlybackExact",
                  &make<CVCtrl>,
                  {{vctrl::kKindList, vctrl::kDcmFlyback}},
                  {{"PMwant", "100"}},
                  {1310},
                  {{Severity::Info, "右半平面零点要用到匝比"},
                   {Severity::Info, "精确设计：实际穿越频率 20 kHz"},
                   {Severity::Info, "精确设计：精确相位裕量 100°"}},
                  false},
        CheckCase{"TypeIIUnbuildable",
                  &make<CVCtrl>,
                  {},
                  {{"Vo", "12"},
                   {"fsw", "50"},
                   {"Co", "2200"},
                   {"ESR", "0.011"},
                   {"Vramp", "3"},
                   {"Iomax", "7.5"},
                   {"Iomin", "0.75"},
                   {"Vinmax", "22.64"},
                   {"Vinmin", "22.64"},
                   {"L", "50.1"},
                   {"Dmax", "0.53"},
                   {"fc", "2.5"}},
                  {vctrl::kStep2, vctrl::kStep4},
                  {{Severity::Failure, "C1(pF) = 0"}, {Severity::Failure, "C2(pF) = inf"}},
                  true},
        CheckCase{"TypeIIIOpeningAndExact",
                  &make<CType3>,
                  {},
                  {},
                  {type3::kCalculate, type3::kExact},
                  {{Severity::Warning, "增益 13.5 dB（调节器增益要求 16.9 dB）"},
                   {Severity::Info, "精确设计：网络在穿越频率处的增益 16.9 dB"}},
                  false}),
    [](const auto& p) { return p.param.name; });

// --- type II -----------------------------------------------------------------------------

TEST(TypeIIPage, OpensForTheForwardTypeWithThePlacementDisabled) {
  Driven<CVCtrl> d;
  EXPECT_EQ(d.page.kind(), TypeIIKind::Forward);
  for (int id : {vctrl::kFp1, vctrl::kFz1, vctrl::kFp1Label, vctrl::kFz1Label}) {
    EXPECT_FALSE(d.page.control(id)->enabled) << id;
  }
  EXPECT_TRUE(d.page.control(vctrl::kPmWant)->enabled);
  EXPECT_EQ(d.page.text(vctrl::kLLabel), "输出电感(μH)");
  EXPECT_EQ(d.page.text(vctrl::kFpoLabel), "LC双重极点(kHz)");
}

// The opening values, forward type: step 2, then step 4, which writes its pole and zero into
// the placement fields (numbers worked out in compensation_test). Step 2 again blanks the network
// of the old characteristic.
TEST(TypeIIPage, ForwardStepsTwoAndFour) {
  Driven<CVCtrl> d;
  d.page.command(vctrl::kStep2);
  d.expectShown({{"fpo", "1.03821"}, {"fesr", "2.60483"}, {"Gesr", "-11.5427"}, {"C1", ""}});
  ASSERT_NE(d.page.bode(), nullptr);
  EXPECT_TRUE(d.page.bode()->compensator.empty());  // the stage alone
  EXPECT_FALSE(d.page.bode()->stage.empty());
  d.page.command(vctrl::kStep4);
  d.expectShown({{"R2", "39810.7"},
                 {"fz1", "6.80272"},
                 {"fp1", "58.8"},
                 {"C1", "587.675"},
                 {"C2", "67.9896"},
                 {"PM", "45.0094"},
                 {"fpo", "1.03821"}});
  ASSERT_NE(d.page.bode(), nullptr);
  EXPECT_TRUE(d.page.bode()->crossover);
  d.page.command(vctrl::kStep2);
  d.expectShown({{"C1", ""}, {"C2", ""}, {"R2", ""}, {"PM", ""}, {"fpo", "1.03821"}});
  EXPECT_EQ(d.host.progressRuns, 3);
}

// The opening values, DCM flyback (Po = 50 W, η = 0.85) with fp1 80 and fz1 5; the kind change
// relabels, swaps the enabling and blanks all seven results.
TEST(TypeIIPage, DcmFlybackStepsTwoAndFour) {
  Driven<CVCtrl> d;
  d.page.command(vctrl::kStep2);
  d.page.select(vctrl::kKindList, vctrl::kDcmFlyback);
  EXPECT_EQ(d.shown("fpo"), "");
  EXPECT_EQ(d.page.text(vctrl::kLLabel), "一次电感(μH)");
  EXPECT_EQ(d.page.text(vctrl::kFpoLabel), "极点频率(KHz)");
  EXPECT_TRUE(d.page.control(vctrl::kFp1)->enabled);
  EXPECT_FALSE(d.page.control(vctrl::kPmWant)->enabled);
  EXPECT_FALSE(d.page.control(vctrl::kPmWantLabel)->enabled);
  d.page.command(vctrl::kStep2);
  d.expectShown({{"fpo", "0.135451"}, {"Gesr", "-18.9385"}});
  d.page.command(vctrl::kStep4);
  d.expectShown({{"R2", "8912.51"},
                 {"C1", "3571.5"},
                 {"C2", "223.218"},
                 {"PM", "144.895"},
                 {"fp1", "80"},
                 {"fz1", "5"}});
  d.page.select(vctrl::kKindList, vctrl::kForward);
  EXPECT_EQ(d.page.text(vctrl::kFpoLabel), "LC双重极点(KHz)");
}

// The mends as the fields show them. The efficiency for 10 ≤ Po ≤ 20 W is 0.8, as above
// 20 W: Iomax 3 gives Po 15 W; by hand G0 = (10/3)·√(0.00001·5·0.8/0.0001) = 2.10819,
// Gesr = 20·log(G0) − 20·log(2.60483/0.135451) = −19.2018 (0.85 would give −18.9385, 0.75
// −19.4821). The gain truncation keeps its sign: Vramp 0.01 gives Gesr 37.9997; with the
// Iomax 3 typed for the flyback the lighter load damps the LC filter less, the loop has 18.x dB
// to spare at fc and R2 = 1000·10^(−0.9) = 125.893 (141.254 at the opening Iomax 10, see
// compensation_test).
TEST(TypeIIPage, MendsShowInTheFields) {
  Driven<CVCtrl> d;
  d.page.select(vctrl::kKindList, vctrl::kDcmFlyback);
  d.type("Iomax", "3");
  d.page.command(vctrl::kStep2);
  EXPECT_EQ(d.shown("Gesr"), "-19.2018");
  d.page.select(vctrl::kKindList, vctrl::kForward);
  d.type("Vramp", "0.01");
  d.page.command(vctrl::kStep2);
  d.page.command(vctrl::kStep4);
  d.expectShown({{"Gesr", "37.9997"}, {"R2", "125.893"}});
}

// Step 4 before step 2 reads 0 for the blank characteristic and leaves it blank: with the ESR
// zero at 0 the stage has no gain at fc, so R2 is infinite and both capacitors 0.
TEST(TypeIIPage, Step4WithoutStep2ComputesWithZerosAndKeepsThemBlank) {
  Driven<CVCtrl> d;
  d.page.command(vctrl::kStep4);
  EXPECT_TRUE(d.host.messages.empty());
  d.expectShown({{"fpo", ""}, {"fesr", ""}, {"Gesr", ""}, {"R2", "inf"}, {"C1", "0"}, {"C2", "0"}});
  // A failed step 4 keeps the blank characteristic blank too.
  d.type("fc", "");
  d.page.command(vctrl::kStep4);
  d.expectShown({{"fpo", ""}, {"Gesr", ""}, {"R2", ""}});
}

// --- type III ----------------------------------------------------------------------------

// Worked example, the opening values; own case by hand: fp1 20, fp2 300, fz1 = fz2 = 2,
// fc 30, GdB 10, R1 10: k = 3.16228, C1 = k·10⁹/(30·10·6283185.2) = 1.67764, fEA = fc/k
// = 9.48683, C2 = (1/2 − 1/20)/(10·6283185.2)·10⁹ = 7.16197, R2 = fEA/fz1·R1 = 47.4342,
// C3 = 10¹²/((R2·300 − fEA·10)·10⁶·2π) = 11.2593, R3 = 10·2/(20 − 2) = 1.11111.
TEST(TypeIIIPage, OpeningValuesAndOwnCase) {
  Driven<CType3> d;
  d.page.command(type3::kCalculate);
  d.expectShown({{"C1", "11.1383"},
                 {"C2", "12.7319"},
                 {"C3", "87.9693"},
                 {"R2", "3.647"},
                 {"R3", "1.19052"},
                 {"fEA", "7.14447"}});
  for (auto [name, text] : {std::pair{"fp1", "20"},
                            {"fp2", "300"},
                            {"fz1", "2"},
                            {"fz2", "2"},
                            {"fc", "30"},
                            {"GdB", "10"},
                            {"R1", "10"}}) {
    d.type(name, text);
  }
  d.page.command(type3::kCalculate);
  d.expectShown({{"C1", "1.67764"},
                 {"fEA", "9.48683"},
                 {"C2", "7.16197"},
                 {"R2", "47.4342"},
                 {"C3", "11.2593"},
                 {"R3", "1.11111"}});
  ASSERT_NE(d.page.bode(), nullptr);
  EXPECT_TRUE(d.page.bode()->stage.empty());  // the page does not know the power stage
  EXPECT_FALSE(d.page.bode()->compensator.empty());
}

// --- hint dialogs ------------------------------------------------------------------------

// Each clickable line opens its hint; two clicks open it twice.
TEST(HintDialogs, EachLineOpensItsHint) {
  Driven<CICtrl> current;
  current.page.command(icctrl::kEsrHint);
  current.page.command(icctrl::kEsrHint);
  EXPECT_EQ(current.host.hints, (std::vector<int>{202, 202}));
  Driven<CVCtrl> typeII;
  typeII.page.command(vctrl::kOtherHint);
  typeII.page.command(vctrl::kCriteriaHint);
  EXPECT_EQ(typeII.host.hints, (std::vector<int>{200, 201}));
  EXPECT_EQ(typeII.host.dialogs, (std::vector<std::string>{"说明", "提示："}));
  Driven<CType3> typeIII;
  typeIII.page.command(type3::kHint);
  EXPECT_EQ(typeIII.host.hints, (std::vector<int>{208}));
  ASSERT_EQ(typeIII.host.texts.size(), 4u);
  EXPECT_TRUE(current.host.messages.empty());
}

// Trailing blanks stay: the first text of hint 208 ends in 44 blanks after "："; item 5 of
// hint 201 in one after "。", with its two ASCII quotation marks.
TEST(HintDialogs, TextsKeepTheirBlanks) {
  Driven<CType3> typeIII;
  typeIII.page.command(type3::kHint);
  EXPECT_TRUE(typeIII.host.texts[0].ends_with("）：" + std::string(44, ' ')));
  EXPECT_FALSE(typeIII.host.texts[0].ends_with(std::string(45, ' ')));
  Driven<CVCtrl> typeII;
  typeII.page.command(vctrl::kCriteriaHint);
  EXPECT_EQ(typeII.host.texts.back(),
            "5 使穿越频率小于任何\"有问题\"的极点或者零点——比如RHP零点和次谐波不稳定极点。 ");
}

}  // namespace
}  // namespace tarnex
