#pragma once
// The launcher's start-up work on the working folder: every formula and interface file is
// created when missing (never shortened), "System.cfg" is opened last, and its first byte
// tells whether the welcome window has counted down once. The steps are separate so that the
// desktop program can show its loading window between them.
//
// A file the start-up creates is not left empty: an empty formula file would be run at the
// first calculation (a warning, and zeros in every result), an empty interface file read when
// the window first opens. It gets content that begins with the end marker '#', so that the
// window keeps its built-in procedure and captions, followed by what the user needs to make
// the file his own: the window's procedure in the formula language, or the numbered list of
// its captions.

#include <filesystem>
#include <span>
#include <string>
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

// The help document the launcher hands to the desktop from the working folder.
inline constexpr std::string_view kHelpDocument = "Tarnex V3.2帮助.chm";

// What the start-up writes into the file `name` when it creates it or finds it empty: for a
// formula file its sample, for an interface file its window's captions; "" for any other
// name. Both begin with a first line that starts with '#' and end with a line "#", so that
// deleting the first line puts the rest in use. Line ends are CR LF. The programs' working
// folder is a Folder with this content, so that a window meets no empty user file either.
std::string initialContent(std::string_view name);

// Creates each of the 20 files that is missing, with its initial content, gives each that is
// empty its initial content, and opens each other one (never changing it); then opens
// "System.cfg" (created empty when missing). The first
// file that cannot be created or opened is reported through the host and ends the work:
// false. Last, the help document is copied from the first of `shippedFolders(programDir)`
// that holds it, when the working folder has none; a help document that is not found or not
// copied is not reported. An empty `programDir` copies nothing.
bool prepareWorkingFolder(const Folder& folder, Host& host,
                          const std::filesystem::path& programDir);

// True unless "System.cfg" begins with the welcome mark (an empty file included; a missing
// one is created). A file that cannot be opened is reported and gives false: the rest of the
// start-up work is skipped.
bool needsWelcome(const Folder& folder, Host& host);

// Writes the welcome mark over the first byte of "System.cfg", leaving the rest. False,
// after a message, when the file cannot be opened or written.
bool markWelcomeSeen(const Folder& folder, Host& host);

}  // namespace tarnex
