#pragma once
// The user files of the working folder: formula files, interface files and "System.cfg".
// They are opened so that a missing file is created with its initial content, whole or not at
// all, and an existing one is never shortened; the only writes are appending one byte and
// overwriting one byte in place. Only regular files are opened: a device, a pipe or a socket
// in their place is refused before a byte is read, so that no read blocks or runs without
// end; nothing is ever created through a symbolic link.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarnex {

class Host;

// The content a user file gets when it is created, or when it is found empty; "" for a file
// that starts empty.
using InitialContent = std::string (*)(std::string_view bareName);

// The folder that holds the user files (the program's working folder). Names are bare,
// UTF-8 on disk. `initial`, when given, supplies the content of a file created or found empty.
class Folder {
 public:
  explicit Folder(std::filesystem::path dir, InitialContent initial = nullptr)
      : dir_(std::move(dir)), initial_(initial) {}
  std::filesystem::path path(std::string_view bareName) const;
  const std::filesystem::path& dir() const { return dir_; }
  std::string initialContent(std::string_view bareName) const;

 private:
  std::filesystem::path dir_;
  InitialContent initial_ = nullptr;
};

// The program's current working folder. When it cannot be had (the folder was deleted
// while the program was starting from it, say), the reason is reported through `host` and
// the result is nullopt.
std::optional<Folder> currentFolder(Host& host);

// The most a formula or interface text may hold before its end marker. Such files are a
// few kilobytes; anything near this size is not a text a user wrote by hand.
inline constexpr std::size_t kMaxTextBytes = 1024 * 1024;

// The bytes of a user file before its end marker, as readUntil() found them.
struct MarkedText {
  enum class Status {
    Marker,     // the marker was found; `text` holds the bytes before it
    NoMarker,   // the file ended first; `text` holds the whole file
    TooLong,    // more than the limit before the marker (or the end); `text` is cut there
    ReadError,  // reading failed; `error` holds the errno
  };
  Status status = Status::NoMarker;
  std::string text;
  int error = 0;
};

class UserFile {
 public:
  // Opens for reading and writing, or for reading only when writing is refused (a read-only
  // file or file system); never truncates. A missing file is created with the folder's
  // initial content (createUserFile), and an empty one is given it in one step, when it has
  // one (an empty file holds nothing that could be lost). A path that names anything but a
  // regular file, or a symbolic link to nothing, is refused. On failure returns nullopt and
  // sets `errorText` to the message naming the file and the reason.
  static std::optional<UserFile> open(const Folder& folder, std::string_view name,
                                      std::string& errorText);
  // As open(), but reports a failure through the host (message box, warning icon, the
  // program's name as caption) and returns nullopt.
  static std::optional<UserFile> openOrReport(const Folder& folder, std::string_view name,
                                              Host& host);

  UserFile(UserFile&& other) noexcept;
  UserFile& operator=(UserFile&& other) noexcept;
  UserFile(const UserFile&) = delete;
  UserFile& operator=(const UserFile&) = delete;
  ~UserFile();

  // The first byte of the text as 0..255: a leading UTF-8 byte-order mark is skipped, as
  // editors write one in front of the text. An empty text counts as 0.
  int firstByte() const;
  // The byte at offset 0 as it stands (for "System.cfg", which is no text); empty: 0.
  int firstRawByte() const;
  std::int64_t length() const;
  std::string readAll() const;
  // Reads in chunks up to the first `marker`: the bytes after it are never read, and at most
  // `limit` bytes are kept.
  MarkedText readUntil(char marker, std::size_t limit = kMaxTextBytes) const;
  // Appends one byte at the end; false on a write error (errno tells why: for a file opened
  // for reading only, the reason writing was refused).
  bool append(char byte);
  // Overwrites one byte at `offset` (extends the file only when offset == length()).
  bool writeAt(std::int64_t offset, char byte);

 private:
  UserFile(int fd, int writeRefused) : fd_(fd), writeRefused_(writeRefused) {}
  int fd_ = -1;
  int writeRefused_ = 0;  // errno of the refused read-write open; 0 when writable
};

// What was being done to a file when it failed; the message says which.
enum class FileAction { Open, Read, Write };

// The reason for a failed system call on a file, in Chinese: one sentence for each error a
// user can meet with the files of the working folder.
std::string systemErrorText(int errorNumber);

// The message for a failed file operation, naming the file: "无法打开文件“<name>”：<reason>"
// (or 无法读取 / 无法写入).
std::string fileErrorText(FileAction action, std::string_view name, int errorNumber);
// As above for a file that could not be opened.
std::string fileErrorText(std::string_view name, int errorNumber);
// The message for a text that holds more than kMaxTextBytes before its end marker.
std::string textTooLongText(std::string_view name);

// Shows a file's message as file errors are shown: unowned box, warning icon, the program's
// name as caption.
void reportFileError(Host& host, std::string text);

// `text` without a leading UTF-8 byte-order mark.
std::string_view withoutByteOrderMark(std::string_view text);
// Whether `text` begins with a UTF-8 byte-order mark.
bool hasByteOrderMark(std::string_view text);

// Creates the file `name` holding `content`, but only when no file of that name exists: the
// content is written to a temporary file beside it, which is then linked into place only if
// the name is still free. The file appears whole or not at all, even to a second process
// starting in the same folder or when this one is killed; a file, folder or symbolic link of
// that name is never opened or changed. True when it was created, false when the name was
// taken; nullopt, with `errorText` set, when it could not be created or written.
std::optional<bool> createUserFile(const Folder& folder, std::string_view name,
                                   std::string_view content, std::string& errorText);

// Replaces the file `name` (or creates it) with `content` so that no data is lost: the content
// goes to a temporary file beside it, is flushed to the disk and renamed over the file, which
// keeps its permissions. A symbolic link, a folder or a special file of that name is refused,
// never replaced nor written through. Nullopt when the file holds `content`; otherwise the
// message naming the file and the reason, and the file that was there is as it was.
std::optional<std::string> replaceUserFile(const Folder& folder, std::string_view name,
                                           std::string_view content);

// Replaces the file at `path` with `content` as a whole: the content goes into a temporary
// file beside it, is flushed to the disk and renamed over the name, so that the file is seen
// either as it was or complete. A failure (a full disk, a folder that cannot be written)
// removes the temporary file, leaves an existing file as it was, and returns false with
// `errorText` naming the file and the reason. For files the user saves anywhere (a report).
bool replaceFile(const std::filesystem::path& path, std::string_view content,
                 std::string& errorText);

// The message text for a working folder that could not be created or entered.
std::string folderErrorText(std::string_view dir, int errorNumber);

}  // namespace tarnex
