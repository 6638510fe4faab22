#include "base/user_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "support/child_process.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::runInChild;
using testing::TempFolder;

// --- A missing or empty file gets the folder's initial content; any other is kept whole ----

constexpr std::string_view kSample = "# sample\r\nL = 1;\r\n#\r\n";

std::string sampleOfA(std::string_view name) {
  return name == "A.txt" ? std::string(kSample) : std::string();
}

TEST(OpenWithContent, FillsOnlyWhatHoldsNothing) {
  const struct {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file yet
    std::string after;
  } cases[] = {{"Missing", std::nullopt, std::string(kSample)},
               {"Empty", "", std::string(kSample)},
               {"OnlyTheMarker", "#", "#"},
               {"OneBlank", " ", " "},
               {"UsersText", "Vo = 5;\r\n#notes", "Vo = 5;\r\n#notes"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    if (c.before) dir.write("A.txt", *c.before);
    const Folder folder(dir.folder().dir(), sampleOfA);
    std::string error;
    const auto file = UserFile::open(folder, "A.txt", error);
    ASSERT_TRUE(file.has_value()) << error;
    EXPECT_EQ(file->readAll(), c.after);
    EXPECT_EQ(dir.read("A.txt"), c.after);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.folder().dir()), {}), 1);
  }
}

// A file appears whole or not at all: a write that fails on a file-size limit, or the process
// killed by that limit part-way, leaves the name free, and the next start creates it whole.
TEST(CreateUserFile, IsWholeOrAbsentWhenTheWriteFails) {
  const std::string content(4096, 'x');
  for (const bool killed : {false, true}) {
    TempFolder dir;
    const int code = runInChild([&] {
      const rlimit limit{100, 100};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
      std::string error;
      const auto created = createUserFile(dir.folder(), "A.txt", content, error);
      return !created && error == "无法写入文件“A.txt”：文件超出了允许的大小。" ? 0 : 1;
    });
    EXPECT_EQ(code, killed ? -1 : 0) << killed;
    EXPECT_FALSE(dir.exists("A.txt")) << killed;
    std::string error;
    EXPECT_EQ(createUserFile(dir.folder(), "A.txt", content, error), true) << error;
    EXPECT_EQ(createUserFile(dir.folder(), "A.txt", "other", error), false);  // name taken
    EXPECT_EQ(dir.read("A.txt"), content);
  }
}

// A file replaced is seen as it was or whole: a write that fails on a file-size limit (a full
// disk) leaves the old file and no temporary beside it, and says why; one that succeeds keeps
// the old file's permissions; a folder in the way is refused and kept.
TEST(ReplaceFile, KeepsTheOldFileUntilTheNewIsWhole) {
  TempFolder dir;
  dir.write("r.html", "old");
  ASSERT_EQ(::chmod(dir.path("r.html").c_str(), 0600), 0);
  const std::string content(4096, 'x');
  const int code = runInChild([&] {
    const rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    std::string error;
    return !replaceFile(dir.path("r.html"), content, error) &&
                   error == "无法写入文件“r.html”：文件超出了允许的大小。"
               ? 0
               : 1;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(dir.read("r.html"), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.folder().dir()), {}), 1);
  std::string error;
  ASSERT_TRUE(replaceFile(dir.path("r.html"), content, error)) << error;
  EXPECT_EQ(dir.read("r.html"), content);
  struct stat st {};
  ASSERT_EQ(::stat(dir.path("r.html").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  std::filesystem::create_directory(dir.path("d.html"));
  dir.write("d.html/inside", "kept");
  EXPECT_FALSE(replaceFile(dir.path("d.html"), content, error));
  EXPECT_NE(error.find("d.html"), std::string::npos) << error;
  EXPECT_EQ(dir.read("d.html/inside"), "kept");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.folder().dir()), {}), 2);
}

TEST(UserFile, AppendsAndOverwritesSingleBytes) {
  TempFolder dir;
  dir.write("System.cfg", "xyz");
  std::string error;
  auto file = UserFile::open(dir.folder(), "System.cfg", error);
  ASSERT_TRUE(file.has_value());
  EXPECT_TRUE(file->append('#'));
  EXPECT_TRUE(file->writeAt(0, '@'));
  EXPECT_FALSE(file->writeAt(10, '!'));  // never leaves a hole
  EXPECT_EQ(dir.read("System.cfg"), "@yz#");
  EXPECT_EQ(file->firstByte(), '@');
}

// In a read-only folder a file that cannot be written is read, and only a write says why it
// fails; a missing file, which cannot be created, is reported. The child drops root's
// privileges, so that permissions hold.
TEST(UserFile, ReadOnlyFolderIsReadAndOnlyAWriteFails) {
  TempFolder dir;
  dir.write("A.txt", "L=1;#");
  ASSERT_EQ(::chmod(dir.path("A.txt").c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.folder().dir().c_str(), 0555), 0);
  const int code = runInChild(
      [&] {
        RecordingHost host;
        auto file = UserFile::openOrReport(dir.folder(), "A.txt", host);
        if (!file || file->readUntil('#').text != "L=1;") return 1;
        errno = 0;
        if (file->append('#') || errno != EACCES) return 2;
        if (UserFile::openOrReport(dir.folder(), "RCC cfg.txt", host)) return 3;
        return host.summary() ==
                       std::vector<std::string>{"Tarnex|无法打开文件“RCC cfg.txt”：拒绝访问。"}
                   ? 0
                   : 4;
      },
      true);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(dir.read("A.txt"), "L=1;#");
}

// A missing folder and what may stand in a file's place: startup_test, FileFault.

// --- Reading up to the end marker ----------------------------------------------------------

// The limit is 8 bytes here; the text beyond it is cut at 8.
TEST(ReadUntil, KeepsOnlyTheTextBeforeTheMarker) {
  using enum MarkedText::Status;
  const struct {
    const char* name;
    std::string bytes;
    MarkedText::Status status;
    std::string text;
  } cases[] = {{"Empty", "", NoMarker, ""},
               {"NoMarker", "L = 1;", NoMarker, "L = 1;"},
               {"NotesAfterMarker", "L=1;#" + std::string(100, 'x'), Marker, "L=1;"},
               {"MarkerFirst", "#L=1;", Marker, ""},
               {"LimitThenMarker", "12345678#", Marker, "12345678"},
               {"OneBeyondTheLimit", "123456789#", TooLong, "12345678"},
               {"LongWithoutMarker", std::string(20000, ' '), TooLong, "        "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    dir.write("A.txt", c.bytes);
    std::string error;
    const auto file = UserFile::open(dir.folder(), "A.txt", error);
    ASSERT_TRUE(file.has_value()) << error;
    const MarkedText read = file->readUntil('#', 8);
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(read.text, c.text);
  }
}

// --- First byte ------------------------------------------------------------------------------

// The first byte decides whether a file is switched off; an editor's byte-order mark in
// front of the '#' does not hide it.
TEST(FirstByte, SkipsAByteOrderMark) {
  const std::pair<std::string, int> cases[] = {{"", 0},
                                               {"#", '#'},
                                               {"\xEF\xBB\xBF#", '#'},
                                               {"\xEF\xBB\xBF", 0},
                                               {"\xEF\xBB\xBFL", 'L'},
                                               {"\xEF\xBB#", 0xEF}};
  for (const auto& [bytes, first] : cases) {
    SCOPED_TRACE(::testing::PrintToString(bytes));
    TempFolder dir;
    dir.write("A.txt", bytes);
    std::string error;
    const auto file = UserFile::open(dir.folder(), "A.txt", error);
    ASSERT_TRUE(file.has_value()) << error;
    EXPECT_EQ(file->firstByte(), first);
  }
}

// --- Error texts -----------------------------------------------------------------------------

// Every reason a user can meet with a file of the working folder has its own Chinese
// sentence, not the C library's English text or the fallback with the bare number.
TEST(FileErrorText, SaysWhatFailedAndWhyInChinese) {
  for (int e : {ELOOP, ESPIPE, ENOSPC, EDQUOT, EROFS, EISDIR, ENOTDIR, ENAMETOOLONG, EMFILE, ENFILE,
                EACCES, EPERM, ENOENT, EIO, EFBIG, ENXIO}) {
    const std::string reason = systemErrorText(e);
    EXPECT_EQ(reason.find("错误号"), std::string::npos) << e;
    EXPECT_EQ(reason.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              std::string::npos)
        << reason;
  }
  EXPECT_EQ(fileErrorText(FileAction::Write, "A.txt", ENOSPC),
            "无法写入文件“A.txt”：磁盘空间不足。");
  EXPECT_EQ(fileErrorText(FileAction::Read, "A.txt", EIO), "无法读取文件“A.txt”：读写磁盘时出错。");
  EXPECT_EQ(systemErrorText(12345), "系统错误（错误号 12345）。");
}

// --- Working folder --------------------------------------------------------------------------

TEST(CurrentFolder, ADeletedFolderIsReportedInsteadOfThrown) {
  const std::filesystem::path before = std::filesystem::current_path();
  const std::filesystem::path gone = std::filesystem::temp_directory_path() / "tarnex-gone-XXXXXX";
  std::string pattern = gone.string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  ASSERT_EQ(chdir(pattern.c_str()), 0);
  ASSERT_EQ(rmdir(pattern.c_str()), 0);
  RecordingHost host;
  const std::optional<Folder> folder = currentFolder(host);
  ASSERT_EQ(chdir(before.c_str()), 0);
  EXPECT_FALSE(folder.has_value());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "无法使用当前的工作文件夹：找不到指定的路径。\n它可能已被删除。请在一个存在的文件夹中"
            "重新启动程序。");
  EXPECT_EQ(host.messages[0].icon, Icon::Error);
}

}  // namespace
}  // namespace tarnex
