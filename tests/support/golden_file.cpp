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

std::vector<std::string> linesBehindMarker(const std::string& bytes) {
  std::vector<std::string> lines;
  const std::size_t marker = bytes.find('#');
  if (marker == std::string::npos) return lines;
  std::istringstream in(bytes.substr(marker + 1));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
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
