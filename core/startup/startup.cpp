#include "startup/startup.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "designs/registry.h"

namespace tarnex {

namespace {

// The creation order: formula and interface files mixed, by name without regard to case,
// compared in the Chinese code page (so the Chinese names come last, in their GBK order).
bool createdBefore(std::string_view a, std::string_view b) {
  auto key = [](std::string_view name) {
    std::string k = encodeGbk(name);
    for (char& c : k) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return k;
  };
  const std::string ka = key(a), kb = key(b);
  return std::lexicographical_compare(
      ka.begin(), ka.end(), kb.begin(), kb.end(),
      [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

struct FileLists {
  std::vector<std::string_view> formula, interface, startup;
};

const FileLists& fileLists() {
  static const FileLists lists = [] {
    FileLists l;
    for (const DesignInfo& d : designs()) {
      for (const FormulaFileRow& f : d.table->formulaFiles) l.formula.push_back(f.fileName);
      l.interface.push_back(d.table->interfaceFile);
    }
    l.startup = l.formula;
    l.startup.insert(l.startup.end(), l.interface.begin(), l.interface.end());
    std::sort(l.startup.begin(), l.startup.end(), createdBefore);
    return l;
  }();
  return lists;
}

}  // namespace

std::span<const std::string_view> formulaFiles() {
  return fileLists().formula;
}
std::span<const std::string_view> interfaceFiles() {
  return fileLists().interface;
}
std::span<const std::string_view> startupFiles() {
  return fileLists().startup;
}

bool prepareWorkingFolder(const Folder& folder, Host& host) {
  for (std::string_view name : startupFiles()) {
    // Opened and closed at once: a missing file is created empty, an existing one kept whole.
    if (!UserFile::openOrReport(folder, name, host)) return false;
  }
  return UserFile::openOrReport(folder, kSystemFile, host).has_value();
}

bool needsWelcome(const Folder& folder, Host& host) {
  const auto file = UserFile::openOrReport(folder, kSystemFile, host);
  if (!file) return false;
  // "System.cfg" holds a mark, not a text: its byte 0 counts as it stands.
  return file->firstRawByte() != static_cast<unsigned char>(kWelcomeMark);
}

bool markWelcomeSeen(const Folder& folder, Host& host) {
  auto file = UserFile::openOrReport(folder, kSystemFile, host);
  if (!file) return false;
  errno = 0;
  if (file->writeAt(0, kWelcomeMark)) return true;
  reportFileError(host, fileErrorText(FileAction::Write, kSystemFile, errno != 0 ? errno : EIO));
  return false;
}

}  // namespace tarnex
