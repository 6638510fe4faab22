#include "support/golden_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace tarnex::testing {

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> goldenCases(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

GoldenNotes goldenNotes(const std::string& bytes) {
  GoldenNotes notes;
  const std::size_t marker = bytes.find('#');
  if (marker == std::string::npos) return notes;
  std::istringstream in(bytes.substr(marker + 1));
  for (std::string line; std::getline(in, line);) {
    const std::size_t colon = line.find(": "), blank = line.find(' ');
    if (line.starts_with("expect: ")) {
      notes.expect.push_back(line.substr(8));
    } else if (blank == std::string::npos || (colon != std::string::npos && colon < blank)) {
      notes.settings[line.substr(0, colon)] =
          colon == std::string::npos ? "" : line.substr(colon + 2);
    }
  }
  return notes;
}

std::string unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
  }
  return out;
}

}  // namespace tarnex::testing
