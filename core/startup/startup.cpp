#include "startup/startup.h"

#include <cerrno>
#include <string>

namespace tarnex {

namespace {

constexpr std::string_view kFormulaFiles[] = {
    "CCM Boost cfg.txt",  "CCM Buck cfg.txt",   "CCM Buck-Boost cfg.txt", "CCM反激变换器 cfg.txt",
    "DCM Boost cfg.txt",  "DCM Buck cfg.txt",   "DCM Buck-Boost cfg.txt", "DCM反激变换器 cfg.txt",
    "RCC cfg.txt",        "半桥变换器 cfg.txt", "全桥变换器 cfg.txt",     "推挽变换器 cfg.txt",
    "正激变换器 cfg.txt",
};

constexpr std::string_view kInterfaceFiles[] = {
    "DC-DC Interface.txt",       "Flyback Interface.txt",     "Forward Interface.txt",
    "Full Bridge Interface.txt", "Half Bridge Interface.txt", "Push-Pull Interface.txt",
    "RCC Interface.txt",
};

// The creation order: formula and interface files mixed, alphabetically without regard to
// case, the Chinese names last.
constexpr std::string_view kStartupFiles[] = {
    "CCM Boost cfg.txt",         "CCM Buck cfg.txt",        "CCM Buck-Boost cfg.txt",
    "CCM反激变换器 cfg.txt",     "DC-DC Interface.txt",     "DCM Boost cfg.txt",
    "DCM Buck cfg.txt",          "DCM Buck-Boost cfg.txt",  "DCM反激变换器 cfg.txt",
    "Flyback Interface.txt",     "Forward Interface.txt",   "Full Bridge Interface.txt",
    "Half Bridge Interface.txt", "Push-Pull Interface.txt", "RCC cfg.txt",
    "RCC Interface.txt",         "半桥变换器 cfg.txt",      "全桥变换器 cfg.txt",
    "推挽变换器 cfg.txt",        "正激变换器 cfg.txt",
};

static_assert(std::size(kStartupFiles) == std::size(kFormulaFiles) + std::size(kInterfaceFiles));

}  // namespace

std::span<const std::string_view> formulaFiles() {
  return kFormulaFiles;
}
std::span<const std::string_view> interfaceFiles() {
  return kInterfaceFiles;
}
std::span<const std::string_view> startupFiles() {
  return kStartupFiles;
}

bool prepareWorkingFolder(const Folder& folder, Host& host) {
  for (std::string_view name : kStartupFiles) {
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
