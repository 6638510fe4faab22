// What every design window brings beside its table and its class, walked over the list of
// windows: its launcher button, the sample of each formula file, its help page in the help
// document's project and contents, the drawings its form paints and the circuit picture of
// the toolbox, and its entries in the toolbox's lists at its place. A window left out of any
// of them fails here, not silently in the running program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "designs/registry.h"
#include "startup/formula_samples.h"
#include "tables/launcher_table.h"
#include "toolbox/toolbox.h"

namespace tarnex {

void PrintTo(const DesignInfo& d, std::ostream* os) {
  *os << d.key();
}

namespace {

const std::filesystem::path kSource = TARNEX_SOURCE_DIR;

bool hasSample(std::string_view file) {
  const auto samples = formulaSamples();
  return std::any_of(samples.begin(), samples.end(),
                     [&](const EmbeddedFile& s) { return s.name == file; });
}

std::string contentOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::filesystem::path sourceFile(const std::string& folder, std::string_view stem,
                                 const char* extension) {
  return kSource / folder / (std::string(stem) + extension);
}

class EveryWindow : public ::testing::TestWithParam<DesignInfo> {};

TEST_P(EveryWindow, HasItsSamplesHelpPageDrawingsAndToolboxEntries) {
  const DesignInfo& d = GetParam();
  const DialogTable& t = *d.table;
  const auto buttons = launcherTable().buttons;
  EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(),
                          [&](const ButtonRow& b) { return b.id == d.launcherButton(); }));
  const auto tabs = launcherTabOrder();
  EXPECT_NE(std::find(tabs.begin(), tabs.end(), d.launcherButton()), tabs.end());

  const std::string page = std::string(d.key()) + ".html";
  EXPECT_TRUE(exists(kSource / "docs/help" / page));
  EXPECT_NE(contentOf(kSource / "docs/help/tarnex-help.hhp").find("\n" + page), std::string::npos);
  EXPECT_NE(contentOf(kSource / "docs/help/tarnex-help.hhc").find("\"" + page + "\""),
            std::string::npos);
  for (const PictureRow& p : t.pictures) {
    EXPECT_TRUE(exists(sourceFile("resources/drawings", p.drawing, ".svg"))) << p.drawing;
  }
  EXPECT_TRUE(exists(sourceFile("resources/code", t.toolboxName, ".svg"))) << t.toolboxName;

  const std::vector<ToolboxEntry> interfaces = toolboxInterfaceEntries();
  ASSERT_GE(d.toolboxPlace, 0);
  ASSERT_LT(static_cast<std::size_t>(d.toolboxPlace), interfaces.size());
  const ToolboxEntry& entry = interfaces[static_cast<std::size_t>(d.toolboxPlace)];
  EXPECT_EQ(entry.text, t.toolboxName);
  EXPECT_EQ(entry.file, t.interfaceFile);
  EXPECT_EQ(entry.picture, d.picture());

  const std::vector<ToolboxEntry> formulas = toolboxFormulaEntries();
  for (const FormulaFileRow& f : t.formulaFiles) {
    EXPECT_TRUE(hasSample(f.fileName)) << f.fileName;
    const auto listed = std::find_if(formulas.begin(), formulas.end(),
                                     [&](const ToolboxEntry& e) { return e.file == f.fileName; });
    ASSERT_NE(listed, formulas.end()) << f.fileName;
    EXPECT_EQ(listed->text, f.toolboxName);
    EXPECT_EQ(listed->picture, d.picture());
  }
}

INSTANTIATE_TEST_SUITE_P(Designs, EveryWindow,
                         ::testing::ValuesIn(designs().begin(), designs().end()),
                         [](const auto& window) { return std::string(window.param.key()); });

}  // namespace
}  // namespace tarnex
