// The start-up work on the working folder: the files it creates and in which order, what it
// writes into them, that it changes no file that holds something, the help document, how it
// stops at the first file it cannot open, and the welcome mark.
#include "startup/startup.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "formula/formula.h"
#include "iface/interface_file.h"
#include "startup/working_folder.h"
#include "support/child_process.h"
#include "support/recording_host.h"
#include "support/table_fields.h"
#include "support/temp_folder.h"
#include "tables/dcdc_table.h"

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

// Which are formula and which interface files: CreatesEveryFileSwitchedOffWithItsContent.
TEST(StartupFiles, TwentyInCreationOrder) {
  const auto files = startupFiles();
  EXPECT_EQ(std::vector<std::string_view>(files.begin(), files.end()),
            std::vector<std::string_view>(kOrder.begin(), kOrder.end() - 1));
}

std::size_t fileCount(const TempFolder& dir) {
  return static_cast<std::size_t>(
      std::distance(std::filesystem::directory_iterator(dir.folder().dir()), {}));
}

// A file kept in the source tree, below tests/: a shipped formula sample (LF line ends in the
// tree, CR LF in a working folder) or the bytes of a new interface file.
std::string sourceFile(const std::filesystem::path& below, std::string_view name, bool crlf) {
  const char* data = std::getenv("TARNEX_TEST_DATA");
  std::ifstream in(std::filesystem::path(data ? data : ".") / ".." / below /
                       std::filesystem::path(std::u8string(name.begin(), name.end())),
                   std::ios::binary);
  std::string out;
  for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it) {
    if (crlf && *it == '\n') out += '\r';
    if (!crlf || *it != '\r') out += *it;
  }
  return out;
}

// Every file switched off: the formula files with the shipped samples, the interface files
// with each window's captions by their numbers (tests/golden/startup; the list put in use as
// it stands, its first line deleted, sets every caption to what it already was).
TEST(PrepareWorkingFolder, CreatesEveryFileSwitchedOffWithItsContent) {
  TempFolder dir;
  RecordingHost host;
  EXPECT_TRUE(prepareWorkingFolder(dir.folder(), host, {}));
  EXPECT_TRUE(host.messages.empty());
  for (std::string_view name : formulaFiles()) {
    const std::string sample = sourceFile("../resources/formulas", name, true);
    ASSERT_FALSE(sample.empty()) << name;
    EXPECT_EQ(dir.read(name), sample) << name;
  }
  for (std::string_view name : interfaceFiles()) {
    const std::string golden = sourceFile("golden/startup", name, false);
    ASSERT_FALSE(golden.empty()) << name;
    EXPECT_EQ(dir.read(name), golden) << name;
  }
  EXPECT_TRUE(dir.exists("System.cfg"));
  EXPECT_EQ(dir.read("System.cfg"), "");  // never marked by the start-up itself
  EXPECT_EQ(fileCount(dir), kOrder.size());
}

// An empty file holds nothing that could be lost: it gets its content (a start that failed or
// was killed may have left it so). Every other file is kept as it is.
TEST(PrepareWorkingFolder, GivesAnEmptyFileItsContentAndKeepsEveryOther) {
  TempFolder dir, fresh;
  auto before = [](std::size_t i) {
    return i % 2 == 0 ? std::string() : "1=a;\n#" + std::string(kOrder[i]);
  };
  for (std::size_t i = 0; i < kOrder.size(); ++i) dir.write(kOrder[i], before(i));
  RecordingHost host;
  EXPECT_TRUE(prepareWorkingFolder(dir.folder(), host, {}));
  EXPECT_TRUE(prepareWorkingFolder(fresh.folder(), host, {}));
  for (std::size_t i = 0; i < kOrder.size(); ++i) {
    EXPECT_EQ(dir.read(kOrder[i]), i % 2 == 0 ? fresh.read(kOrder[i]) : before(i)) << kOrder[i];
  }
  EXPECT_EQ(fileCount(dir), kOrder.size());
}

// A first start stopped by a file-size limit leaves each file whole or absent; the next start
// creates the rest with their content.
TEST(PrepareWorkingFolder, AStartStoppedByAFileSizeLimitIsMendedByTheNext) {
  TempFolder dir, fresh;
  RecordingHost host;
  ASSERT_TRUE(prepareWorkingFolder(fresh.folder(), host, {}));
  const int code = testing::runInChild([&] {
    const rlimit limit{2100, 2100};  // the first three samples fit, the fourth does not
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    RecordingHost failing;
    return prepareWorkingFolder(dir.folder(), failing, {}) ? 1 : 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(fileCount(dir), 3u);
  for (std::string_view name : kOrder) {
    if (dir.exists(name)) {
      EXPECT_EQ(dir.read(name), fresh.read(name)) << name;
    }
  }
  EXPECT_TRUE(prepareWorkingFolder(dir.folder(), host, {}));
  for (std::string_view name : kOrder) EXPECT_EQ(dir.read(name), fresh.read(name)) << name;
  EXPECT_TRUE(host.messages.empty());
}

// The help document comes from beside the program (the build tree) or from ../share/tarnex
// (an installed tree), only into a working folder that has none.
TEST(PrepareWorkingFolder, CopiesTheHelpDocumentWhenMissing) {
  for (const char* shippedIn : {"bin", "share/tarnex", ""}) {
    TempFolder tree;
    std::filesystem::create_directories(tree.path("bin"));
    if (*shippedIn) {
      std::filesystem::create_directories(tree.path(shippedIn));
      tree.write(std::string(shippedIn) + "/" + std::string(kHelpDocument), "ITSF help");
    }
    TempFolder dir, kept;
    kept.write(kHelpDocument, "own copy");
    RecordingHost host;
    EXPECT_TRUE(prepareWorkingFolder(dir.folder(), host, tree.path("bin")));
    EXPECT_TRUE(prepareWorkingFolder(kept.folder(), host, tree.path("bin")));
    EXPECT_TRUE(host.messages.empty());  // a missing document is not reported
    EXPECT_EQ(dir.read(kHelpDocument), *shippedIn ? "ITSF help" : "") << shippedIn;
    EXPECT_EQ(dir.exists(kHelpDocument), *shippedIn != '\0') << shippedIn;
    EXPECT_EQ(kept.read(kHelpDocument), "own copy");
  }
}

// A folder of the same name blocks one file, each in turn. The files before it are created,
// none after it, and the one that failed is reported once: this shows the order and the stop
// at the first failure.
TEST(PrepareWorkingFolder, StopsAtTheFirstFileThatCannotBeOpened) {
  for (std::size_t blocked = 0; blocked < kOrder.size(); ++blocked) {
    SCOPED_TRACE(kOrder[blocked]);
    TempFolder dir;
    std::filesystem::create_directory(dir.path(kOrder[blocked]));
    RecordingHost host;
    EXPECT_FALSE(prepareWorkingFolder(dir.folder(), host, {}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, kProgramName);
    EXPECT_NE(host.messages[0].text.find(kOrder[blocked]), std::string::npos);
    for (std::size_t i = 0; i < kOrder.size(); ++i) {
      if (i == blocked) continue;
      EXPECT_EQ(dir.exists(kOrder[i]), i < blocked) << kOrder[i];
    }
  }
}

// The working folder is made with the folders above it; a name that cannot be one says why.
TEST(MakeWorkingFolder, CreatesTheFolderOrSaysWhyNot) {
  TempFolder dir;
  dir.write("plain", "x");
  EXPECT_EQ(makeWorkingFolder(dir.path("new/sub")), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_directory(dir.path("new/sub")));
  EXPECT_EQ(makeWorkingFolder(""), "无法使用工作文件夹：文件夹的名称是空的。请给出一个文件夹。");
  EXPECT_EQ(
      makeWorkingFolder(dir.path("plain/sub")),
      "无法使用工作文件夹“" + dir.path("plain/sub").string() + "”：路径中有一部分不是文件夹。");
}

// The first byte of System.cfg decides; the mark keeps the bytes after it.
TEST(Welcome, FirstByteDecidesAndTheMarkKeepsTheRest) {
  const struct {
    const char* name;
    std::optional<std::string> before;  // nullopt: no System.cfg yet
    bool welcome;
    std::string afterMark;  // the file once the welcome mark is written
  } cases[] = {{"Missing", std::nullopt, true, "@"},
               {"Empty", "", true, "@"},
               {"MarkOnly", "@", false, "@"},
               {"MarkWithTrailingBytes", "@abc\n", false, "@abc\n"},
               {"OtherFirstByte", "x@", true, "@@"},
               {"NulFirstByte", std::string("\0rest", 5), true, "@rest"},
               {"HighByte", "\xC0yz", true, "@yz"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
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
}

// Every reader of the working folder meets a fault of the file system: a folder that is gone,
// a folder below a plain file (ENOTDIR, even for the superuser), something in a file's place
// that is no regular file. Each says once which file and why, as a warning no window owns,
// writes nothing and creates nothing where a link points; a missing file is created with its
// end marker.
enum class Place { Itself, Gone, BelowAPlainFile };
using Path = std::filesystem::path;
using Make = void (*)(const Path& at);
using Action = bool (*)(const Folder& folder, Host& host);

// clang-format off
void fifo(const Path& at) { ASSERT_EQ(mkfifo(at.c_str(), 0644), 0); }
void linkToDevZero(const Path& at) { std::filesystem::create_symlink("/dev/zero", at); }
void linkToItself(const Path& at) { std::filesystem::create_symlink(at, at); }
void danglingLink(const Path& at) { std::filesystem::create_symlink("x.txt", at); }
void folderInPlace(const Path& at) { std::filesystem::create_directory(at); }
bool openRcc(const Folder& f, Host& h) { return !!UserFile::openOrReport(f, "RCC cfg.txt", h); }
bool prepare(const Folder& f, Host& h) { return prepareWorkingFolder(f, h, {}); }
// Both the question and the mark, each meeting the fault.
bool welcome(const Folder& f, Host& h) { return needsWelcome(f, h) | markWelcomeSeen(f, h); }
// clang-format on
// A result, with the window's own captions.
bool dcdcInterface(const Folder& folder, Host& host) {
  const auto result = applyInterfaceFile(folder, "DC-DC Interface.txt", 27, host);
  return result.has_value() && !result->applied;
}
bool buckFormula(const Folder& folder, Host& host) {
  testing::TableFields fields(dcdcTable());
  return runFormulaFile(folder, "CCM Buck cfg.txt", &dcdcTable(), fields, host);
}

struct FaultCase {
  const char* name;
  Place place;
  const char* file;  // the file the reader meets
  Make make;         // what stands in its place (nullptr: nothing)
  Action action;
  bool ok;
  std::vector<std::string> messages;  // "caption|text"
  const char* after = nullptr;        // the file's bytes afterwards, when it is a plain file
};

class FileFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FileFault, IsReportedOnceAndChangesNothing) {
  const FaultCase& c = GetParam();
  TempFolder dir;
  dir.write("plain", "x");
  if (c.make != nullptr) c.make(dir.path(c.file));
  const Folder folder(c.place == Place::Itself
                          ? dir.folder().dir()
                          : dir.path(c.place == Place::Gone ? "gone" : "plain"));
  RecordingHost host;
  EXPECT_EQ(c.action(folder, host), c.ok);
  EXPECT_EQ(host.summary(), c.messages);
  for (const Message& m : host.messages) {
    EXPECT_EQ(m.icon, Icon::Warning) << m.text;
    EXPECT_FALSE(m.owned) << m.text;
  }
  EXPECT_EQ(dir.read("plain"), "x");
  EXPECT_FALSE(dir.exists("x.txt"));
  if (c.after != nullptr) {
    EXPECT_EQ(dir.read(c.file), c.after);
  }
}

const std::string kOpenRcc = "Tarnex|无法打开文件“RCC cfg.txt”：";
const std::string kBelow = "：路径中有一部分不是文件夹。";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Readers, FileFault, ::testing::Values(
    FaultCase{"FolderGone", Place::Gone, "RCC cfg.txt", nullptr, openRcc, false,
              {kOpenRcc + "找不到指定的路径。"}},
    // A pipe or a device would block the first read or never end it: refused before a byte
    // is read.
    FaultCase{"Fifo", Place::Itself, "RCC cfg.txt", fifo, openRcc, false,
              {kOpenRcc + "它不是普通文件，而是一个管道。"}},
    FaultCase{"LinkToDevZero", Place::Itself, "RCC cfg.txt", linkToDevZero, openRcc, false,
              {kOpenRcc + "它不是普通文件，而是一个设备。"}},
    FaultCase{"SymlinkLoop", Place::Itself, "RCC cfg.txt", linkToItself, openRcc, false,
              {kOpenRcc + "符号链接的层数太多，可能是循环链接。"}},
    FaultCase{"Folder", Place::Itself, "RCC cfg.txt", folderInPlace, openRcc, false,
              {kOpenRcc + "同名的文件夹已存在。"}},
    FaultCase{"DanglingLink", Place::Itself, "RCC cfg.txt", danglingLink, openRcc, false,
              {kOpenRcc + "它是一个符号链接，所指的“x.txt”不存在。"
                          "程序不会在它所指的地方新建文件。"}},
    FaultCase{"StartUpBelowAPlainFile", Place::BelowAPlainFile, "", nullptr, prepare, false,
              {"Tarnex|无法打开文件“CCM Boost cfg.txt”" + kBelow}},
    FaultCase{"WelcomeBelowAPlainFile", Place::BelowAPlainFile, "", nullptr, welcome, false,
              {"Tarnex|无法打开文件“System.cfg”" + kBelow,
               "Tarnex|无法打开文件“System.cfg”" + kBelow}},
    FaultCase{"InterfaceBelowAPlainFile", Place::BelowAPlainFile, "", nullptr, dcdcInterface,
              false, {"Tarnex|无法打开文件“DC-DC Interface.txt”" + kBelow}},
    FaultCase{"InterfaceMissing", Place::Itself, "DC-DC Interface.txt", nullptr, dcdcInterface,
              true, {"注意|界面文本内未发现结束符, 程序自动在最后写入了结束符 '#' !"}, "#"},
    FaultCase{"FormulaFolderInItsPlace", Place::Itself, "CCM Buck cfg.txt", folderInPlace,
              buckFormula, false, {"Tarnex|无法打开文件“CCM Buck cfg.txt”：同名的文件夹已存在。"}},
    FaultCase{"FormulaMissing", Place::Itself, "CCM Buck cfg.txt", nullptr, buckFormula, true,
              {"注意|公式文本内未发现结束符号'#'，程序自动在末尾加入了结束符!"}, "#"}),
    [](const ::testing::TestParamInfo<FaultCase>& p) { return p.param.name; });
// clang-format on

}  // namespace
}  // namespace tarnex
