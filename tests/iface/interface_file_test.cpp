// The interface reader: every message case, the captions it hands back, the end marker it
// appends, and that a user's file is never shortened or rewritten.
#include "iface/interface_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/golden_file.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::goldenCases;
using testing::readBytes;
using testing::RecordingHost;
using testing::TempFolder;
using testing::unescaped;

const std::filesystem::path kGoldenDir = TARNEX_GOLDEN_DIR;

// Golden interface files: each tests/golden/iface/<name>.txt is an interface file that carries
// its expectations behind the end marker, where the reader reads nothing:
//   unmarked                 the file is written without the marker and what follows
//   relabel: <N>             the window's number of captions (default 18)
//   expect: message <caption|text>   a box, in order ("\n" a line break of the text)
//   expect: applied | expect: built-in
//   expect: <number> = "<caption>"   a caption handed back (C escapes \r \n \" \\)
// A user's file is never shortened or rewritten: at most the end marker is appended.
struct Golden {
  std::string bytes;  // as written into the working folder
  bool unmarked = false;
  int relabelCount = 18;
  std::vector<std::string> messages;
  bool applied = false;
  std::map<int, std::string> captions;
};

Golden readGolden(const std::string& name) {
  Golden g;
  g.bytes = readBytes(kGoldenDir / (name + ".txt"));
  const testing::GoldenNotes notes = testing::goldenNotes(g.bytes);
  g.unmarked = notes.settings.contains("unmarked");
  if (notes.settings.contains("relabel")) g.relabelCount = std::stoi(notes.settings.at("relabel"));
  for (const std::string& what : notes.expect) {
    const std::size_t eq = what.find(" = \"");
    if (what.starts_with("message ")) {
      g.messages.push_back(unescaped(what.substr(8)));
    } else if (what == "applied" || what == "built-in") {
      g.applied = what == "applied";
    } else if (eq != std::string::npos && what.back() == '"') {
      g.captions[std::stoi(what.substr(0, eq))] =
          unescaped(what.substr(eq + 4, what.size() - eq - 5));
    } else {
      ADD_FAILURE() << name << ": unreadable expectation " << what;
    }
  }
  if (g.unmarked) g.bytes.resize(g.bytes.find('#'));
  return g;
}

class InterfaceFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(InterfaceFileTest, MessagesCaptionsAndFileBytes) {
  const Golden g = readGolden(GetParam());
  TempFolder dir;
  dir.write("Test Interface.txt", g.bytes);
  RecordingHost host;

  const auto result = applyInterfaceFile(dir.folder(), "Test Interface.txt", g.relabelCount, host);

  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(host.summary(), g.messages);
  EXPECT_EQ(result->applied, g.applied);
  EXPECT_EQ(result->captions, g.captions);
  for (const Message& m : host.messages) {
    EXPECT_FALSE(m.owned);
    EXPECT_EQ(m.icon, m.caption == "注意" ? Icon::Warning : Icon::Error);
  }
  EXPECT_EQ(dir.read("Test Interface.txt"), g.unmarked ? g.bytes + "#" : g.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, InterfaceFileTest, ::testing::ValuesIn(goldenCases(kGoldenDir)),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.param;
                         });

// A missing file and one that cannot be opened: startup_test, FileFault.

TEST(InterfaceFile, EndMarkerThatCannotBeWrittenIsNotReportedAsWritten) {
  TempFolder dir;
  dir.write("B.txt", "1=a;");
  RecordingHost host;
  // A file-size limit of the current length makes the append fail (EFBIG).
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto result = applyInterfaceFile(dir.folder(), "B.txt", 18, host);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldSignal);

  ASSERT_TRUE(result.has_value());
  EXPECT_FALSE(result->applied);
  EXPECT_EQ(host.summary(),
            std::vector<std::string>{
                "错误|界面文本内未发现结束符，且无法写入结束符 '#'，\n程序仍然使用内置界面！"});
  EXPECT_EQ(dir.read("B.txt"), "1=a;");
}

TEST(InterfaceFile, TextBeyondTheLimitIsRefusedAndNothingAppended) {
  TempFolder dir;
  const std::string blanks(kMaxTextBytes + 1, ' ');
  dir.write("C.txt", blanks);
  RecordingHost host;
  const auto result = applyInterfaceFile(dir.folder(), "C.txt", 18, host);
  ASSERT_TRUE(result.has_value());
  EXPECT_FALSE(result->applied);
  EXPECT_EQ(host.summary(),
            std::vector<std::string>{"Tarnex|文件“C.txt”在结束符 '#' 之前的内容超过 "
                                     "1 MB，不像是手写的文本，程序不读取它。"});
  EXPECT_EQ(dir.read("C.txt").size(), blanks.size());
}

TEST(InterfaceFile, DecidesTheEncoding) {
  const std::pair<std::string, bool> cases[] = {{"", false},
                                                {"1=abc;#", false},
                                                {"1=电压;#", true},
                                                {"1=\xF0\x9F\x98\x80;#", true},
                                                {"\xC0\x80", false},           // overlong NUL
                                                {"\xE0\x80\xAF", false},       // overlong '/'
                                                {"\xED\xA0\x80", false},       // surrogate
                                                {"\xF4\x90\x80\x80", false},   // above U+10FFFF
                                                {"\xE7\x94", false},           // cut short
                                                {"\xCA\xE4\xB3\xF6", false}};  // GBK
  for (const auto& [bytes, utf8] : cases) {
    EXPECT_EQ(isUtf8File(bytes), utf8) << ::testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace tarnex
