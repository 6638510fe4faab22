#pragma once
// The working folder that both programs share, and where the files shipped with the program
// lie. The desktop program changes into the working folder at start, so that its files are
// addressed by bare name in the process's working directory; the command-line program works
// on the same folder without changing into it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarnex {

// The folder named by `--dir` when given, else $TARNEX_HOME when set and not empty, else
// "Tarnex" in the user's home folder ($HOME, or the account's home when that is unset).
// Relative names are taken from the current working directory.
std::filesystem::path workingFolderPath(const std::optional<std::string>& dirOption);

// Creates the folder, with the folders above it, when it is missing. nullopt when the folder
// is there afterwards; else the message to show ("无法使用工作文件夹“…”：…").
std::optional<std::string> makeWorkingFolder(const std::filesystem::path& dir);

// The folders that may hold the files shipped with a program whose executable lies in
// `programDir`, in the order they are searched: beside the executable (the build tree) and
// ../share/tarnex (an installed tree).
std::vector<std::filesystem::path> shippedFolders(const std::filesystem::path& programDir);

}  // namespace tarnex
