#include "base/user_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/host.h"

namespace tarnex {

namespace {

// Short texts for the errors a user meets with files of the working folder; any other
// error falls back to the C library's text.
std::string systemErrorText(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return "拒绝访问。";
    case EROFS:
      return "文件所在的文件系统是只读的。";
    case ENOSPC:
      return "磁盘空间不足。";
    case ENOENT:
    case ENOTDIR:
      return "找不到指定的路径。";
    case EISDIR:
      return "同名的文件夹已存在。";
    case ENAMETOOLONG:
      return "文件名太长。";
    case EMFILE:
    case ENFILE:
      return "打开的文件太多。";
    default:
      return std::strerror(errorNumber);
  }
}

}  // namespace

std::filesystem::path Folder::path(std::string_view bareName) const {
  return dir_ / std::filesystem::path(std::u8string(bareName.begin(), bareName.end()));
}

std::string fileErrorText(std::string_view name, int errorNumber) {
  return "无法打开文件“" + std::string(name) + "”：" + systemErrorText(errorNumber);
}

std::optional<UserFile> UserFile::open(const Folder& folder, std::string_view name,
                                       std::string& errorText) {
  const std::filesystem::path p = folder.path(name);
  // O_CREAT without O_TRUNC: a missing file is created empty, an existing one kept whole.
  int fd;
  do {
    fd = ::open(p.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    errorText = fileErrorText(name, errno);
    return std::nullopt;
  }
  return UserFile(fd);
}

std::optional<UserFile> UserFile::openOrReport(const Folder& folder, std::string_view name,
                                               Host& host) {
  std::string error;
  auto file = open(folder, name, error);
  if (!file) host.showMessage(Message{kProgramName, error, Icon::Warning, false});
  return file;
}

UserFile::UserFile(UserFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UserFile& UserFile::operator=(UserFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

UserFile::~UserFile() {
  if (fd_ >= 0) ::close(fd_);
}

int UserFile::firstByte() const {
  unsigned char byte = 0;
  if (::pread(fd_, &byte, 1, 0) != 1) return 0;
  return byte;
}

std::int64_t UserFile::length() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return 0;
  return static_cast<std::int64_t>(st.st_size);
}

std::string UserFile::readAll() const {
  std::string data;
  char buf[8192];
  off_t offset = 0;
  for (;;) {
    const ssize_t n = ::pread(fd_, buf, sizeof buf, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    data.append(buf, static_cast<std::size_t>(n));
    offset += n;
  }
  return data;
}

bool UserFile::append(char byte) {
  return writeAt(length(), byte);
}

bool UserFile::writeAt(std::int64_t offset, char byte) {
  if (offset < 0 || offset > length()) return false;
  ssize_t n;
  do {
    n = ::pwrite(fd_, &byte, 1, static_cast<off_t>(offset));
  } while (n < 0 && errno == EINTR);
  return n == 1;
}

// --- files created with a content -------------------------------------------------------

std::optional<bool> createUserFile(const Folder& folder, std::string_view name,
                                   std::string_view content, std::string& errorText) {
  const std::filesystem::path p = folder.path(name);
  int fd;
  do {
    fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0 && errno == EEXIST) return false;
  if (fd < 0) {
    errorText = fileErrorText(name, errno);
    return std::nullopt;
  }
  std::size_t written = 0;
  int error = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error == 0) return true;
  // Only this call created the file: a half-written one would pass for the user's own.
  ::unlink(p.c_str());
  errorText = fileErrorText(name, error);
  return std::nullopt;
}

std::string folderErrorText(std::string_view dir, int errorNumber) {
  return "无法使用工作文件夹“" + std::string(dir) + "”：" + systemErrorText(errorNumber);
}

}  // namespace tarnex
