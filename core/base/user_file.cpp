#include "base/user_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "base/host.h"

namespace tarnex {

namespace {

struct ErrorRow {
  int number;
  std::string_view text;
};

// The reasons a user can meet with the files of the working folder, in the words the
// message boxes use. Anything else is named by its number.
constexpr std::array kSystemErrors{
    ErrorRow{EACCES, "拒绝访问。"},
    ErrorRow{EPERM, "拒绝访问。"},
    ErrorRow{EROFS, "文件所在的文件系统是只读的。"},
    ErrorRow{ENOSPC, "磁盘空间不足。"},
    ErrorRow{EDQUOT, "超出了磁盘配额。"},
    ErrorRow{EFBIG, "文件超出了允许的大小。"},
    ErrorRow{ENOENT, "找不到指定的路径。"},
    ErrorRow{ENOTDIR, "路径中有一部分不是文件夹。"},
    ErrorRow{EISDIR, "同名的文件夹已存在。"},
    ErrorRow{ENAMETOOLONG, "文件名太长。"},
    ErrorRow{ELOOP, "符号链接的层数太多，可能是循环链接。"},
    ErrorRow{EMFILE, "程序打开的文件太多。"},
    ErrorRow{ENFILE, "系统打开的文件太多。"},
    ErrorRow{ESPIPE, "它不是普通文件，无法定位读写。"},
    ErrorRow{ENXIO, "找不到对应的设备或地址。"},
    ErrorRow{ENODEV, "找不到对应的设备。"},
    ErrorRow{EIO, "读写磁盘时出错。"},
    ErrorRow{ETXTBSY, "文件正作为程序运行，不能写入。"},
    ErrorRow{EBUSY, "文件或设备正忙。"},
    ErrorRow{EAGAIN, "文件暂时不可用，请稍后再试。"},
    ErrorRow{EINTR, "操作被中断。"},
    ErrorRow{ENOMEM, "内存不足。"},
    ErrorRow{EOVERFLOW, "文件太大，无法处理。"},
    ErrorRow{ESTALE, "网络文件已失效，请重新打开所在的文件夹。"},
    ErrorRow{EINVAL, "文件所在的文件系统不支持这种操作。"},
};

std::string_view actionText(FileAction action) {
  switch (action) {
    case FileAction::Open:
      break;
    case FileAction::Read:
      return "无法读取文件“";
    case FileAction::Write:
      return "无法写入文件“";
  }
  return "无法打开文件“";
}

// A folder, device, pipe or socket where a user file should be.
std::string notRegularText(std::string_view name, mode_t mode) {
  if (S_ISDIR(mode)) return fileErrorText(name, EISDIR);
  std::string_view what = "一个特殊文件";
  if (S_ISFIFO(mode)) what = "一个管道";
  if (S_ISCHR(mode) || S_ISBLK(mode)) what = "一个设备";
  if (S_ISSOCK(mode)) what = "一个套接字";
  return "无法打开文件“" + std::string(name) + "”：它不是普通文件，而是" + std::string(what) + "。";
}

ssize_t preadFully(int fd, void* buf, std::size_t size, off_t offset) {
  ssize_t n;
  do {
    n = ::pread(fd, buf, size, offset);
  } while (n < 0 && errno == EINTR);
  return n;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

int openRetrying(const std::filesystem::path& p, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(p.c_str(), flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// A symbolic link in place of a user file that points at nothing: following it would create
// a file wherever it points, outside the working folder.
std::string danglingLinkText(std::string_view name, const std::filesystem::path& p) {
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
  return "无法打开文件“" + std::string(name) + "”：它是一个符号链接，所指的“" + target.string() +
         "”不存在。程序不会在它所指的地方新建文件。";
}

bool writeFully(int fd, std::string_view content) {
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes `content` into a new hidden file beside `name`, created exclusively (never through a
// link); its path, or nullopt with `errorText` set (nothing is left behind then). A file that
// replaces another (`replacing`) is flushed to the disk, and a folder that refuses it is a
// failure to write that file.
std::optional<std::filesystem::path> writeTemporary(const Folder& folder, std::string_view name,
                                                    std::string_view content,
                                                    std::string& errorText,
                                                    bool replacing = false) {
  static unsigned serial = 0;
  std::filesystem::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder.path("." + std::string(name) + "." + std::to_string(::getpid()) + "-" +
                       std::to_string(serial++) + ".tmp");
    fd = openRetrying(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    errorText = fileErrorText(replacing ? FileAction::Write : FileAction::Open, name, errno);
    return std::nullopt;
  }
  int error = writeFully(fd, content) ? 0 : errno;
  if (error == 0 && replacing && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0 && errno != EINTR) error = errno;
  if (error == 0) return temp;
  ::unlink(temp.c_str());
  errorText = fileErrorText(FileAction::Write, name, error);
  return std::nullopt;
}

// Gives an empty file its initial content by renaming a whole copy over it, so that it is
// never seen half-written. Only while the name still holds that same empty file: a file the
// user wrote meanwhile is kept. A failure leaves the empty file as it was, and is not
// reported (the file is used as it is).
void fillEmptyFile(const Folder& folder, std::string_view name, const struct stat& found) {
  const std::string content = folder.initialContent(name);
  if (content.empty()) return;
  std::string ignored;
  const std::optional<std::filesystem::path> temp = writeTemporary(folder, name, content, ignored);
  if (!temp) return;
  const std::filesystem::path p = folder.path(name);
  struct stat now {};
  const bool same = ::lstat(p.c_str(), &now) == 0 && now.st_dev == found.st_dev &&
                    now.st_ino == found.st_ino && now.st_size == 0;
  if (!same || ::chmod(temp->c_str(), found.st_mode & 07777) != 0 ||
      ::rename(temp->c_str(), p.c_str()) != 0)
    ::unlink(temp->c_str());
}

}  // namespace

std::filesystem::path Folder::path(std::string_view bareName) const {
  return dir_ / std::filesystem::path(std::u8string(bareName.begin(), bareName.end()));
}

std::string Folder::initialContent(std::string_view bareName) const {
  return initial_ ? initial_(bareName) : std::string();
}

std::optional<Folder> currentFolder(Host& host) {
  std::error_code ec;
  std::filesystem::path dir = std::filesystem::current_path(ec);
  if (!ec) return Folder(std::move(dir));
  host.showMessage(Message{kProgramName,
                           "无法使用当前的工作文件夹：" + systemErrorText(ec.value()) +
                               "\n它可能已被删除。请在一个存在的文件夹中重新启动程序。",
                           Icon::Error, false});
  return std::nullopt;
}

std::string systemErrorText(int errorNumber) {
  for (const ErrorRow& row : kSystemErrors) {
    if (row.number == errorNumber) return std::string(row.text);
  }
  return "系统错误（错误号 " + std::to_string(errorNumber) + "）。";
}

std::string fileErrorText(FileAction action, std::string_view name, int errorNumber) {
  return std::string(actionText(action)) + std::string(name) + "”：" + systemErrorText(errorNumber);
}

std::string fileErrorText(std::string_view name, int errorNumber) {
  return fileErrorText(FileAction::Open, name, errorNumber);
}

std::string textTooLongText(std::string_view name) {
  return "文件“" + std::string(name) + "”在结束符 '#' 之前的内容超过 " +
         std::to_string(kMaxTextBytes / (1024 * 1024)) + " MB，不像是手写的文本，程序不读取它。";
}

void reportFileError(Host& host, std::string text) {
  host.showMessage(Message{kProgramName, std::move(text), Icon::Warning, false});
}

bool hasByteOrderMark(std::string_view text) {
  return text.starts_with(kByteOrderMark);
}

std::string_view withoutByteOrderMark(std::string_view text) {
  return hasByteOrderMark(text) ? text.substr(kByteOrderMark.size()) : text;
}

std::optional<UserFile> UserFile::open(const Folder& folder, std::string_view name,
                                       std::string& errorText) {
  const std::filesystem::path p = folder.path(name);
  struct stat st {};
  if (::lstat(p.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      errorText = fileErrorText(name, errno);
      return std::nullopt;
    }
    // Missing: created whole with its content (or found taken by a second process).
    if (!createUserFile(folder, name, folder.initialContent(name), errorText)) return std::nullopt;
  } else if (S_ISLNK(st.st_mode)) {
    // A link is followed to a file that exists, never to create one where it points.
    if (::stat(p.c_str(), &st) != 0) {
      errorText = errno == ENOENT ? danglingLinkText(name, p) : fileErrorText(name, errno);
      return std::nullopt;
    }
  } else if (S_ISREG(st.st_mode) && st.st_size == 0) {
    fillEmptyFile(folder, name, st);
  }
  // Anything but a regular file is refused before it is opened: opening a device may act on
  // it, and a pipe or a device such as /dev/zero would block or never end a read.
  if (::stat(p.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    errorText = notRegularText(name, st.st_mode);
    return std::nullopt;
  }
  // Without O_CREAT: the file exists now, and a name that vanished or became a dangling link
  // meanwhile is an error, not a new file. O_NONBLOCK and O_NOCTTY guard the open in case the
  // path changed since the check.
  constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  int writeRefused = 0;
  int fd = openRetrying(p, O_RDWR | kFlags);
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)) {
    // Readable but not writable: read it; only an end marker to append will need writing.
    writeRefused = errno;
    fd = openRetrying(p, O_RDONLY | kFlags);
  }
  if (fd < 0) {
    errorText = fileErrorText(name, errno);
    return std::nullopt;
  }
  UserFile file(fd, writeRefused);
  if (::fstat(fd, &st) != 0) {
    errorText = fileErrorText(name, errno);
    return std::nullopt;
  }
  if (!S_ISREG(st.st_mode)) {
    errorText = notRegularText(name, st.st_mode);
    return std::nullopt;
  }
  // O_NONBLOCK may stay: reads and writes of a regular file never block on it.
  return file;
}

std::optional<UserFile> UserFile::openOrReport(const Folder& folder, std::string_view name,
                                               Host& host) {
  std::string error;
  auto file = open(folder, name, error);
  if (!file) reportFileError(host, std::move(error));
  return file;
}

UserFile::UserFile(UserFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), writeRefused_(other.writeRefused_) {}

UserFile& UserFile::operator=(UserFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    writeRefused_ = other.writeRefused_;
  }
  return *this;
}

UserFile::~UserFile() {
  if (fd_ >= 0) ::close(fd_);
}

int UserFile::firstByte() const {
  unsigned char bytes[4] = {};
  const ssize_t n = preadFully(fd_, bytes, sizeof bytes, 0);
  if (n <= 0) return 0;
  const std::string_view head(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(n));
  if (!hasByteOrderMark(head)) return bytes[0];
  return n > 3 ? bytes[3] : 0;
}

int UserFile::firstRawByte() const {
  unsigned char byte = 0;
  if (preadFully(fd_, &byte, 1, 0) != 1) return 0;
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
    const ssize_t n = preadFully(fd_, buf, sizeof buf, offset);
    if (n <= 0) break;
    data.append(buf, static_cast<std::size_t>(n));
    offset += n;
  }
  return data;
}

MarkedText UserFile::readUntil(char marker, std::size_t limit) const {
  MarkedText out;
  char buf[16384];
  off_t offset = 0;
  for (;;) {
    const ssize_t n = preadFully(fd_, buf, sizeof buf, offset);
    if (n < 0) {
      out.status = MarkedText::Status::ReadError;
      out.error = errno;
      return out;
    }
    if (n == 0) {
      out.status = MarkedText::Status::NoMarker;
      return out;
    }
    const auto size = static_cast<std::size_t>(n);
    const void* hit = std::memchr(buf, marker, size);
    const std::size_t before =
        hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - buf) : size;
    if (before > limit - out.text.size()) {
      out.text.append(buf, limit - out.text.size());
      out.status = MarkedText::Status::TooLong;
      return out;
    }
    out.text.append(buf, before);
    if (hit) {
      out.status = MarkedText::Status::Marker;
      return out;
    }
    offset += n;
  }
}

bool UserFile::append(char byte) {
  return writeAt(length(), byte);
}

bool UserFile::writeAt(std::int64_t offset, char byte) {
  if (writeRefused_ != 0) {
    errno = writeRefused_;
    return false;
  }
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
  const std::optional<std::filesystem::path> temp =
      writeTemporary(folder, name, content, errorText);
  if (!temp) return std::nullopt;
  // link(2) never replaces a name, nor follows a link standing in its place.
  int error = ::link(temp->c_str(), p.c_str()) == 0 ? 0 : errno;
  if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK) {
    // A file system without hard links (a FAT memory stick): a rename that does not replace.
    error = ::renameat2(AT_FDCWD, temp->c_str(), AT_FDCWD, p.c_str(), RENAME_NOREPLACE) == 0
                ? 0
                : errno;
  }
  ::unlink(temp->c_str());  // after a rename, a name that is already gone
  if (error == 0) return true;
  if (error == EEXIST) return false;
  errorText = fileErrorText(name, error);
  return std::nullopt;
}

std::optional<std::string> replaceUserFile(const Folder& folder, std::string_view name,
                                           std::string_view content) {
  const std::filesystem::path p = folder.path(name);
  struct stat found {};
  const bool exists = ::lstat(p.c_str(), &found) == 0;
  if (!exists && errno != ENOENT) return fileErrorText(FileAction::Write, name, errno);
  if (exists && S_ISLNK(found.st_mode)) {
    return "无法写入文件“" + std::string(name) +
           "”：它是一个符号链接。程序不会替换符号链接，也不会写到它所指的地方，请另选一个文件名。";
  }
  if (exists && S_ISDIR(found.st_mode)) return fileErrorText(FileAction::Write, name, EISDIR);
  if (exists && !S_ISREG(found.st_mode)) return notRegularText(name, found.st_mode);
  std::string errorText;
  const std::optional<std::filesystem::path> temp =
      writeTemporary(folder, name, content, errorText, true);
  if (!temp) return errorText;
  // The file keeps the permissions it had; a new one gets those of a new file.
  int error = 0;
  if (exists && ::chmod(temp->c_str(), found.st_mode & 07777) != 0) error = errno;
  if (error == 0 && ::rename(temp->c_str(), p.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temp->c_str());
    return fileErrorText(FileAction::Write, name, error);
  }
  // The new name is made durable as well: the folder's entry is flushed too.
  const int dir = openRetrying(folder.dir().empty() ? "." : folder.dir(), O_RDONLY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return std::nullopt;
}

bool replaceFile(const std::filesystem::path& path, std::string_view content,
                 std::string& errorText) {
  const std::u8string name8 = path.filename().u8string();
  const Folder folder(path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path());
  const std::optional<std::string> error =
      replaceUserFile(folder, std::string(name8.begin(), name8.end()), content);
  if (error) errorText = *error;
  return !error;
}

std::string folderErrorText(std::string_view dir, int errorNumber) {
  return "无法使用工作文件夹“" + std::string(dir) + "”：" + systemErrorText(errorNumber);
}

}  // namespace tarnex
