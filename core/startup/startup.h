#pragma once
// The launcher's start-up work on the working folder: every formula and interface file is
// created when missing (never shortened), "System.cfg" is opened last, and its first byte
// tells whether the welcome window has counted down once. The steps are separate so that the
// desktop program can show its loading window between them.

#include <span>
#include <string_view>

#include "base/host.h"
#include "base/user_file.h"

namespace tarnex {

// The formula files and the interface files of every design window (13 and 7), in the
// order of the windows and their tables.
std::span<const std::string_view> formulaFiles();
std::span<const std::string_view> interfaceFiles();
// All of them in the order the start-up work creates them.
std::span<const std::string_view> startupFiles();

inline constexpr std::string_view kSystemFile = "System.cfg";
// First byte of "System.cfg" once the welcome window has counted down to the end.
inline constexpr char kWelcomeMark = 0x40;

// Opens (creating when missing) and closes the 20 files, then "System.cfg". The first file
// that cannot be opened is reported through the host and ends the work: false.
bool prepareWorkingFolder(const Folder& folder, Host& host);

// True unless "System.cfg" begins with the welcome mark (an empty file included; a missing
// one is created). A file that cannot be opened is reported and gives false: the rest of the
// start-up work is skipped.
bool needsWelcome(const Folder& folder, Host& host);

// Writes the welcome mark over the first byte of "System.cfg", leaving the rest. False,
// after a message, when the file cannot be opened or written.
bool markWelcomeSeen(const Folder& folder, Host& host);

}  // namespace tarnex
