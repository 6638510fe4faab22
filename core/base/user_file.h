#pragma once
// The user files of the working folder: formula files, interface files and "System.cfg".
// They are opened so that a missing file is created empty and an existing one is never
// shortened; the only writes are appending one byte and overwriting one byte in place.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarnex {

class Host;

// The folder that holds the user files (the program's working folder). Names are bare,
// UTF-8 on disk.
class Folder {
 public:
  explicit Folder(std::filesystem::path dir) : dir_(std::move(dir)) {}
  std::filesystem::path path(std::string_view bareName) const;
  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path dir_;
};

class UserFile {
 public:
  // Opens for reading and writing; creates the file when missing; never truncates.
  // On failure returns nullopt and sets `errorText` to the system's text for the error.
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

  // The first byte as 0..255; an empty file counts as 0.
  int firstByte() const;
  std::int64_t length() const;
  std::string readAll() const;
  // Appends one byte at the end; false on a write error.
  bool append(char byte);
  // Overwrites one byte at `offset` (extends the file only when offset == length()).
  bool writeAt(std::int64_t offset, char byte);

 private:
  explicit UserFile(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// The message text for a file that could not be opened, e.g. for tests and hosts.
std::string fileErrorText(std::string_view name, int errorNumber);

// Creates the file `name` holding `content`, but only when no file of that name exists: the
// file is created exclusively, so that a file that exists, or appears meanwhile, is neither
// opened for writing nor changed. True when it was created, false when a file (or folder) of
// that name was there already; nullopt, with `errorText` set, when it could not be created
// or written (a file left half-written is removed again).
std::optional<bool> createUserFile(const Folder& folder, std::string_view name,
                                   std::string_view content, std::string& errorText);

// The message text for a working folder that could not be created or entered.
std::string folderErrorText(std::string_view dir, int errorNumber);

}  // namespace tarnex
