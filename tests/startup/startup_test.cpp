// The start-up work on the working folder: the files it creates and in which order, that it
// never shortens a file, how it stops at the first file it cannot open, and the welcome mark.
#include "startup/startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/bridge_tables.h"
#include "tables/dcdc_table.h"
#include "tables/field_table.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"
#include "tables/rcc_table.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

// Creation order, System.cfg last.
const std::vector<std::string_view> kOrder = {
    "CCM Boost cfg.txt",         "CCM Buck cfg.txt",        "CCM Buck-Boost cfg.txt",
    "CCM反激变换器 cfg.txt",     "DC-DC Interface.txt",     "DCM Boost cfg.txt",
    "DCM Buck cfg.txt",          "DCM Buck-Boost cfg.txt",  "DCM反激变换器 cfg.txt",
    "Flyback Interface.txt",     "Forward Interface.txt",   "Full Bridge Interface.txt",
    "Half Bridge Interface.txt", "Push-Pull Interface.txt", "RCC cfg.txt",
    "RCC Interface.txt",         "半桥变换器 cfg.txt",      "全桥变换器 cfg.txt",
    "推挽变换器 cfg.txt",        "正激变换器 cfg.txt",      "System.cfg"};

TEST(StartupFiles, TwentyInCreationOrderSplitIntoFormulaAndInterfaceFiles) {
  const auto files = startupFiles();
  ASSERT_EQ(files.size(), 20u);
  EXPECT_EQ(std::vector<std::string_view>(files.begin(), files.end()),
            std::vector<std::string_view>(kOrder.begin(), kOrder.end() - 1));
  EXPECT_EQ(formulaFiles().size(), 13u);
  EXPECT_EQ(interfaceFiles().size(), 7u);
  std::set<std::string_view> all(files.begin(), files.end());
  for (std::string_view f : formulaFiles()) {
    EXPECT_TRUE(f.ends_with(" cfg.txt")) << f;
    EXPECT_EQ(all.erase(f), 1u) << f;
  }
  for (std::string_view f : interfaceFiles()) {
    EXPECT_TRUE(f.ends_with(" Interface.txt")) << f;
    EXPECT_EQ(all.erase(f), 1u) << f;
  }
  EXPECT_TRUE(all.empty());
}

TEST(StartupFiles, EveryWindowFindsItsInterfaceFile) {
  const auto names = interfaceFiles();
  for (const DialogTable* t : {&dcdcTable(), &flybackTable(), &forwardTable(), &rccTable(),
                               &pushPullTable(), &halfBridgeTable(), &fullBridgeTable()})
    EXPECT_NE(std::find(names.begin(), names.end(), t->interfaceFile), names.end())
        << t->interfaceFile;
}

TEST(PrepareWorkingFolder, CreatesEveryFileEmptyInAnEmptyFolder) {
  TempFolder dir;
  RecordingHost host;
  EXPECT_TRUE(prepareWorkingFolder(dir.folder(), host));
  EXPECT_TRUE(host.messages.empty());
  for (std::string_view name : kOrder) {
    EXPECT_TRUE(dir.exists(name)) << name;
    EXPECT_EQ(dir.read(name), "") << name;
  }
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.folder().dir()))
    ++count;
  EXPECT_EQ(count, kOrder.size());
}

TEST(PrepareWorkingFolder, NeverShortensOrChangesExistingFiles) {
  TempFolder dir;
  for (std::string_view name : kOrder) dir.write(name, "1=a;\n#" + std::string(name));
  RecordingHost host;
  EXPECT_TRUE(prepareWorkingFolder(dir.folder(), host));
  for (std::string_view name : kOrder) EXPECT_EQ(dir.read(name), "1=a;\n#" + std::string(name));
}

// A folder of the same name blocks one file. The files before it are created, none after it,
// and the one that failed is reported once: this shows the order and the stop at the first
// failure.
class BlockedFileTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(BlockedFileTest, StopsAtTheFirstFileThatCannotBeOpened) {
  const std::size_t blocked = GetParam();
  TempFolder dir;
  std::filesystem::create_directory(dir.path(kOrder[blocked]));
  RecordingHost host;
  EXPECT_FALSE(prepareWorkingFolder(dir.folder(), host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, kProgramName);
  EXPECT_NE(host.messages[0].text.find(kOrder[blocked]), std::string::npos);
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    if (i == blocked) continue;
    EXPECT_EQ(dir.exists(kOrder[i]), i < blocked) << kOrder[i];
  }
}

INSTANTIATE_TEST_SUITE_P(Order, BlockedFileTest, ::testing::Values(0, 3, 4, 14, 15, 16, 19, 20));

TEST(PrepareWorkingFolder, FolderBelowAPlainFileIsReportedOnce) {
  TempFolder dir;
  dir.write("plain", "x");
  const Folder below(dir.path("plain"));  // ENOTDIR, even for the superuser
  RecordingHost host;
  EXPECT_FALSE(prepareWorkingFolder(below, host));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, fileErrorText("CCM Boost cfg.txt", ENOTDIR));
  EXPECT_EQ(host.messages[0].icon, Icon::Warning);
  EXPECT_FALSE(host.messages[0].owned);
}

struct WelcomeCase {
  const char* name;
  std::optional<std::string> before;  // nullopt: no System.cfg yet
  bool welcome;
  std::string afterMark;  // the file once the welcome mark is written
};

class WelcomeTest : public ::testing::TestWithParam<WelcomeCase> {};

TEST_P(WelcomeTest, FirstByteDecidesAndTheMarkKeepsTheRest) {
  const WelcomeCase& c = GetParam();
  TempFolder dir;
  if (c.before) dir.write("System.cfg", *c.before);
  RecordingHost host;

  EXPECT_EQ(needsWelcome(dir.folder(), host), c.welcome);
  EXPECT_EQ(dir.read("System.cfg"), c.before.value_or(""));  // reading changes nothing

  EXPECT_TRUE(markWelcomeSeen(dir.folder(), host));
  EXPECT_EQ(dir.read("System.cfg"), c.afterMark);
  EXPECT_FALSE(needsWelcome(dir.folder(), host));
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SystemCfg, WelcomeTest,
    ::testing::Values(WelcomeCase{"Missing", std::nullopt, true, "@"},
                      WelcomeCase{"Empty", "", true, "@"}, WelcomeCase{"MarkOnly", "@", false, "@"},
                      WelcomeCase{"MarkWithTrailingBytes", "@abc\n", false, "@abc\n"},
                      WelcomeCase{"OtherFirstByte", "x@", true, "@@"},
                      WelcomeCase{"NulFirstByte", std::string("\0rest", 5), true, "@rest"},
                      WelcomeCase{"HighByte", "\xC0yz", true, "@yz"}),
    [](const ::testing::TestParamInfo<WelcomeCase>& param) {
      return std::string(param.param.name);
    });

TEST(Welcome, UnopenableSystemFileIsReportedAndWritesNothing) {
  TempFolder dir;
  dir.write("plain", "x");
  const Folder below(dir.path("plain"));
  RecordingHost host;
  EXPECT_FALSE(needsWelcome(below, host));
  EXPECT_FALSE(markWelcomeSeen(below, host));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, fileErrorText("System.cfg", ENOTDIR));
  EXPECT_EQ(dir.read("plain"), "x");
}

}  // namespace
}  // namespace tarnex
