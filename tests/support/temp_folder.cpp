#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

#include "support/golden_file.h"

namespace tarnex::testing {

namespace {

std::filesystem::path makeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarnex-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

}  // namespace

TempFolder::TempFolder() : folder_(makeTempDir()) {}

TempFolder::~TempFolder() {
  std::error_code ec;
  // A test may have made the folder read-only; give the write bit back before removing.
  std::filesystem::permissions(folder_.dir(), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(folder_.dir(), ec);
}

void TempFolder::write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::read(std::string_view name) const {
  return readBytes(path(name));
}

bool TempFolder::exists(std::string_view name) const {
  return std::filesystem::exists(path(name));
}

}  // namespace tarnex::testing
