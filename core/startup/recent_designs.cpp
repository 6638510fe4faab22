#include "startup/recent_designs.h"

#include <algorithm>
#include <sstream>

namespace tarnex {

namespace {

bool writeList(const Folder& folder, const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& p : paths) text += p + "\n";
  return !replaceUserFile(folder, kRecentDesignsFile, text).has_value();
}

}  // namespace

std::vector<std::string> recentDesigns(const Folder& folder) {
  std::string error;
  std::vector<std::string> paths;
  // Only a list that is there is read: opening a missing one must not create it.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(folder.path(kRecentDesignsFile), ec)) return paths;
  const std::optional<UserFile> file = UserFile::open(folder, kRecentDesignsFile, error);
  if (!file) return paths;
  const MarkedText read = file->readUntil('\0', 64 * 1024);
  std::istringstream lines(read.text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.starts_with('/')) continue;
    if (std::find(paths.begin(), paths.end(), line) != paths.end()) continue;
    paths.push_back(line);
    if (paths.size() == kRecentDesigns) break;
  }
  return paths;
}

bool rememberDesign(const Folder& folder, const std::string& path) {
  // A name with a line break in it cannot stand on a line of its own.
  if (path.find_first_of("\r\n") != std::string::npos || !path.starts_with('/')) return false;
  std::vector<std::string> paths = recentDesigns(folder);
  std::erase(paths, path);
  paths.insert(paths.begin(), path);
  if (paths.size() > kRecentDesigns) paths.resize(kRecentDesigns);
  return writeList(folder, paths);
}

bool forgetDesign(const Folder& folder, const std::string& path) {
  std::vector<std::string> paths = recentDesigns(folder);
  if (std::erase(paths, path) == 0) return true;
  return writeList(folder, paths);
}

}  // namespace tarnex
