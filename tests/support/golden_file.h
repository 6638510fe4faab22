#pragma once
// Golden files that carry their expectations behind the end marker '#', where the formula
// and interface readers read nothing: the cases of a folder and their expectation lines.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tarnex::testing {

// The whole content of `path` ("" when missing).
std::string readBytes(const std::filesystem::path& path);
// The names of the folder's .txt files without their extension, sorted.
std::vector<std::string> goldenCases(const std::filesystem::path& folder);
// What a golden file says behind its first '#': its "expect: WHAT" lines in order (WHAT only)
// and its settings, "NAME: VALUE" or a word of its own (VALUE ""); other lines are notes.
struct GoldenNotes {
  std::vector<std::string> expect;
  std::map<std::string, std::string> settings;
};
GoldenNotes goldenNotes(const std::string& bytes);
// `text` with the C escapes \r, \n, \" and \\ replaced by what they stand for.
std::string unescaped(std::string_view text);

}  // namespace tarnex::testing
