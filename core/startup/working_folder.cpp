#include "startup/working_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "base/user_file.h"

namespace tarnex {

namespace {

std::filesystem::path homeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* account = ::getpwuid(::getuid()); account != nullptr && account->pw_dir)
    return account->pw_dir;
  return {};
}

}  // namespace

std::filesystem::path workingFolderPath(const std::optional<std::string>& dirOption) {
  std::filesystem::path dir;
  if (dirOption) {
    dir = *dirOption;
  } else if (const char* env = std::getenv("TARNEX_HOME"); env != nullptr && *env != '\0') {
    dir = env;
  } else {
    dir = homeFolder() / "Tarnex";
  }
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
  return ec ? dir : absolute;
}

std::optional<std::string> makeWorkingFolder(const std::filesystem::path& dir) {
  if (dir.empty()) return "无法使用工作文件夹：文件夹的名称是空的。请给出一个文件夹。";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec && std::filesystem::is_directory(dir, ec)) return std::nullopt;
  // A plain file of that name makes create_directories report that it exists.
  const int error = !ec || ec.value() == EEXIST ? ENOTDIR : ec.value();
  return folderErrorText(dir.string(), error);
}

std::vector<std::filesystem::path> shippedFolders(const std::filesystem::path& programDir) {
  return {programDir, programDir / ".." / "share" / "tarnex"};
}

}  // namespace tarnex
