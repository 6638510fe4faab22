#pragma once
// A fresh, empty working folder for one test, removed afterwards.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/user_file.h"

namespace tarnex::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const Folder& folder() const { return folder_; }
  std::filesystem::path path(std::string_view name) const { return folder_.path(name); }
  // Writes `bytes` as the whole content of the file `name`.
  void write(std::string_view name, std::string_view bytes) const;
  // The whole content of `name` ("" when missing).
  std::string read(std::string_view name) const;
  bool exists(std::string_view name) const;

 private:
  Folder folder_;
};

}  // namespace tarnex::testing
