#include "base/user_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

TEST(UserFile, CreatesAMissingFileEmpty) {
  TempFolder dir;
  std::string error;
  auto file = UserFile::open(dir.folder(), "CCM Buck cfg.txt", error);
  ASSERT_TRUE(file.has_value()) << error;
  EXPECT_TRUE(dir.exists("CCM Buck cfg.txt"));
  EXPECT_EQ(file->length(), 0);
  EXPECT_EQ(file->firstByte(), 0);  // an empty file counts as first byte 0
}

TEST(UserFile, NeverShortensAnExistingFile) {
  TempFolder dir;
  const std::string content = "Vo = 5;\r\n#notes after the marker";
  dir.write("正激变换器 cfg.txt", content);
  for (int i = 0; i < 3; ++i) {
    std::string error;
    auto file = UserFile::open(dir.folder(), "正激变换器 cfg.txt", error);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->firstByte(), 'V');
    EXPECT_EQ(file->readAll(), content);
  }
  EXPECT_EQ(dir.read("正激变换器 cfg.txt"), content);
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

TEST(UserFile, ReportsAFolderThatCannotBeWritten) {
  if (geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  TempFolder dir;
  ASSERT_EQ(chmod(dir.folder().dir().c_str(), 0555), 0);
  RecordingHost host;
  auto file = UserFile::openOrReport(dir.folder(), "RCC cfg.txt", host);
  EXPECT_FALSE(file.has_value());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Tarnex");
  EXPECT_EQ(host.messages[0].text, "无法打开文件“RCC cfg.txt”：拒绝访问。");
}

TEST(UserFile, ReportsAMissingFolder) {
  TempFolder dir;
  RecordingHost host;
  const Folder missing(dir.folder().dir() / "no-such-folder");
  EXPECT_FALSE(UserFile::openOrReport(missing, "RCC cfg.txt", host).has_value());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "无法打开文件“RCC cfg.txt”：找不到指定的路径。");
}

}  // namespace
}  // namespace tarnex
