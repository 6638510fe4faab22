// The formula file on disk and the run around the language: the end marker, files that cannot
// be opened, pinned fields and the binding tables.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <utility>

#include "designs/registry.h"
#include "formula/formula.h"
#include "formula_fixture.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/bridge_tables.h"
#include "tables/dcdc_table.h"

namespace tarnex::testing {
namespace {

constexpr const char* kBuck = "CCM Buck cfg.txt";
constexpr const char* kWarning = "注意|公式文本内未发现结束符号'#'，程序自动在末尾加入了结束符!";

// --- End marker --------------------------------------------------------------------------

TEST(EndMarker, WarnsEvenWhenTheRunThenFailsAndKeepsTheFile) {
  TableFields fields(dcdcTable());
  const RunOutcome outcome = runFormulaBytes("L = X;", fields);
  EXPECT_FALSE(outcome.ok);
  ASSERT_EQ(outcome.messages.size(), 2u);
  EXPECT_EQ(outcome.messages[0], kWarning);
  EXPECT_EQ(outcome.fileAfter, "L = X;#");
}

// --- Outcome -------------------------------------------------------------------------------

struct OutcomeCase {
  const char* name;
  std::string bytes;
  FormulaOutcome outcome;
};

class RunOutcomes : public ::testing::TestWithParam<OutcomeCase> {};

// A text with nothing but blanks, line ends and comments computes nothing: the dialog then
// uses its built-in procedure. A missing end marker is appended once, with one warning.
TEST_P(RunOutcomes, TellNoStatementsFromComputedAndFailed) {
  const std::string& bytes = GetParam().bytes;
  const bool marker = bytes.find('#') != std::string::npos;
  TempFolder temp;
  temp.write(kBuck, bytes);
  TableFields fields(dcdcTable());
  RecordingHost host;
  for (const bool again : {false, true}) {
    EXPECT_EQ(runFormula(temp.folder(), kBuck, &dcdcTable(), fields, host), GetParam().outcome);
    EXPECT_EQ(temp.read(kBuck), marker ? bytes : bytes + "#");
    if (marker || again) continue;
    ASSERT_EQ(host.summary(), std::vector<std::string>{kWarning});
    EXPECT_EQ(host.messages[0].icon, Icon::Warning);
    EXPECT_FALSE(host.messages[0].owned);
    host.clear();
  }
  if (!marker) {
    EXPECT_TRUE(host.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RunOutcomes,
    ::testing::Values(OutcomeCase{"Empty", "", FormulaOutcome::NoStatements},
                      OutcomeCase{"BareLineEnd", "\n", FormulaOutcome::NoStatements},
                      OutcomeCase{"BlanksAndComments", " \r\n// 注释 = ;\r\n  #L = 1;",
                                  FormulaOutcome::NoStatements},
                      OutcomeCase{"ByteOrderMarkAndLineEnd", "\xEF\xBB\xBF\n#",
                                  FormulaOutcome::NoStatements},
                      OutcomeCase{"Statement", "// 注释\nL = 1;\n#", FormulaOutcome::Computed},
                      OutcomeCase{"StatementUnmarked", "L = 1;", FormulaOutcome::Computed},
                      OutcomeCase{"LineEndUnmarked", "L = 1;\r\n", FormulaOutcome::Computed},
                      OutcomeCase{"CommentUnmarked", "// 注释\nL = 2;\n", FormulaOutcome::Computed},
                      OutcomeCase{"Tab", "\t\n#", FormulaOutcome::Failed},
                      OutcomeCase{"SlashAlone", "/\n#", FormulaOutcome::Failed}),
    [](const ::testing::TestParamInfo<OutcomeCase>& p) { return p.param.name; });

// Notes behind the marker, a byte-order mark and where the line count of a message comes from
// (CR, LF and CR LF): tests/golden/formula (marker_*, bom_*, line_*); every golden file keeps
// its expectations behind its marker.

// --- Opening ---------------------------------------------------------------------------------

// A missing file and one that cannot be opened: startup/startup_test, FileFault.

TEST(Opening, ATextBeyondTheLimitIsRefusedAndNothingAppended) {
  TableFields fields(dcdcTable());
  const std::string blanks(kMaxTextBytes + 1, ' ');
  const RunOutcome outcome = runFormulaBytes(blanks, fields);
  EXPECT_FALSE(outcome.ok);
  EXPECT_EQ(outcome.messages,
            std::vector<std::string>{"Tarnex|文件“CCM Buck cfg.txt”在结束符 '#' 之前的内容超过 1 "
                                     "MB，不像是手写的文本，程序不读取它。"});
  EXPECT_EQ(outcome.fileAfter.size(), blanks.size());
}

// An end marker that cannot be appended (a file-size limit): calc/calc_program_test,
// EndMarkersBeyondAFileSizeLimitAreReported.

// --- Pinned fields ---------------------------------------------------------------------------

// Ae and f pinned (Ae listed twice): the run reads 1 in them, and they get their numbers back
// whatever the run assigned, also when it fails.
TEST(PinnedRun, ReadsOneAndRestoresThePinnedFields) {
  const struct {
    const char* text;
    bool ok;
    float lValue;  // what the run left in L
  } cases[] = {{"L = Ae * f * 5;\rAe = 100;", true, 5.0f},
               {"Ae = 7;\rf = 8;\rL = Ae + f;\rIpk = X;", false, 15.0f},
               {"L = Ae + ;;(", false, 0.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TempFolder temp;
    temp.write(kBuck, std::string(c.text) + "#");
    TableFields fields(dcdcTable());
    RecordingHost host;
    const std::array<int, 3> pinned{1057, 1044, 1057};
    EXPECT_EQ(runFormulaFilePinned(temp.folder(), kBuck, &dcdcTable(), fields, host, pinned), c.ok);
    EXPECT_EQ(fields.named("L"), c.lValue);
    EXPECT_EQ(fields.named("Ae"), 23.0f);
    EXPECT_EQ(fields.named("f"), 150.0f);
  }
}

// --- Binding tables --------------------------------------------------------------------------

// Which dialog's names a formula file computes with, by its name (case and all). The samples
// of every other window compute with their window's names (startup/formula_samples_test); the
// three bridges share theirs, so only the table tells them apart.
TEST(BindingTable, FileNameSelectsTheDialogTable) {
  const std::pair<const char*, const DialogTable*> cases[] = {
      {"推挽变换器 cfg.txt", &pushPullTable()},   {"半桥变换器 cfg.txt", &halfBridgeTable()},
      {"全桥变换器 cfg.txt", &fullBridgeTable()}, {"ccm buck cfg.txt", nullptr},
      {"DC-DC Interface.txt", nullptr},           {"", nullptr}};
  for (const auto& [file, table] : cases) EXPECT_EQ(bindingTableFor(file), table) << file;
}

// What a formula of each window may name: tests/golden/formula/binding_*.

}  // namespace
}  // namespace tarnex::testing
