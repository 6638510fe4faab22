// The command-line program's output for whole designs, against files kept in the source tree:
// each case NAME.args holds the arguments (one per line; a line starting with "#" is a comment,
// where a worked design keeps its hand derivation), NAME.expect what the program prints
// in a fresh working folder (and on stderr; and whether it made the folder), the point rows of the
// Bode plot and of the load step counted per trace (their crossover, margins, peaks and checks
// stay in). The pages of the compensation sheet and the design windows of the README's examples,
// in either output form. A change of any number, check or margin shows as a difference.
// TARNEX_UPDATE_GOLDEN=1 rewrites the .expect files from the program's output, to be read over
// before they are committed. A file NAME.stdin beside the arguments is the program's standard
// input (for --batch). A folder NAME.files beside the arguments is copied, bytes and links as
// they are, into the working folder before the run; the .expect then shows every file of the folder
// the run changed, made or removed (a digest for a large one; a design file line by line), and
// counts those it made with their first content. "${home}" in an argument is the working folder's
// path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "startup/startup.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = TARNEX_CALC_GOLDEN_DIR;

std::vector<std::string> argumentsOf(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with("#")) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> cases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGolden)) {
    if (entry.path().extension() == ".args") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The bytes of every plain file of a folder by name; links and folders are left out.
std::map<std::string, std::string> filesOf(const fs::path& dir) {
  std::map<std::string, std::string> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    if (!fs::is_regular_file(entry.symlink_status())) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(in), {}};
  }
  return files;
}

// A file's bytes on one line: printable ASCII as it is, every other byte as \xNN; beyond
// a few hundred bytes only the size and a 64-bit FNV-1a digest.
std::string bytesLine(const std::string& bytes) {
  char hex[24];
  if (bytes.size() > 400) {
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
    return std::to_string(bytes.size()) + " bytes, digest " + hex;
  }
  std::string line;
  for (const unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      line += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      line += hex;
    }
  }
  return line;
}

// What the run did to the files it was given and which it made.
std::string changesOf(const std::map<std::string, std::string>& before,
                      const std::map<std::string, std::string>& after) {
  std::string printed;
  int firstContent = 0;
  for (const auto& [name, bytes] : after) {
    const auto was = before.find(name);
    // The help document is the shipped one, copied as it is.
    if (was == before.end() && (bytes == initialContent(name) || name == kHelpDocument)) {
      ++firstContent;
    } else if (was == before.end() || was->second != bytes) {
      const std::string what = was == before.end() ? "made" : "changed";
      if (!name.ends_with(".tarnex")) {
        printed += "file\t" + name + "\t" + what + "\t" + bytesLine(bytes) + "\n";
        continue;
      }
      std::istringstream lines(bytes);
      for (std::string line; std::getline(lines, line);) {
        printed += "file\t" + name + "\t" + what + "\t" + line + "\n";
      }
    }
  }
  for (const auto& [name, bytes] : before) {
    if (!after.contains(name)) printed += "file\t" + name + "\tremoved\n";
  }
  return printed + "files\t" + std::to_string(firstContent) + " made with their first content\n";
}

class CalcGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(CalcGolden, PrintsWhatItsFileHolds) {
  const fs::path base = kGolden / GetParam();
  testing::TempFolder dir;
  const fs::path home = dir.folder().dir() / "home";
  const fs::path given = base.string() + ".files";
  std::map<std::string, std::string> before;
  if (fs::is_directory(given)) {
    fs::copy(given, home, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    before = filesOf(home);
  }
  std::vector<std::string> args = argumentsOf(base.string() + ".args");
  for (std::string& a : args) {
    if (const std::size_t at = a.find("${home}"); at != std::string::npos) {
      a.replace(at, 7, home.string());
    }
  }
  args.insert(args.end(), {"--dir", home.string()});
  const fs::path input = base.string() + ".stdin";
  const testing::ProgramRun run =
      testing::runProgram(TARNEX_CALC_PROGRAM, args, dir, fs::exists(input) ? input.string() : "");
  std::string printed = "status\t" + std::to_string(run.status) + "\n";
  std::vector<std::pair<std::string, int>> traces;
  for (const std::string& line : run.lines) {
    if (!line.starts_with("bode\t") && !line.starts_with("step\t")) {
      printed += line + "\n";
      continue;
    }
    // The kind and the trace: "bode\tloop", "step\tpage".
    const std::string trace = line.substr(0, line.find('\t', 5));
    if (traces.empty() || traces.back().first != trace) traces.emplace_back(trace, 0);
    ++traces.back().second;
  }
  for (const auto& [trace, points] : traces) {
    printed += trace + "\t" + std::to_string(points) + " points\n";
  }
  std::istringstream err(run.err);
  for (std::string line; std::getline(err, line);) printed += "stderr\t" + line + "\n";
  if (fs::is_directory(given)) printed += changesOf(before, filesOf(home));
  // A refused call opens nothing: the working folder is not even made.
  if (!fs::exists(home)) printed += "folder\tnot made\n";
  const fs::path expectFile = base.string() + ".expect";
  if (const char* update = std::getenv("TARNEX_UPDATE_GOLDEN");
      update && std::string(update) == "1") {
    std::ofstream(expectFile) << printed;
  }
  std::ifstream expect(expectFile);
  ASSERT_TRUE(expect) << expectFile << " is missing";
  std::stringstream expected;
  expected << expect.rdbuf();
  EXPECT_EQ(printed, expected.str());
}

INSTANTIATE_TEST_SUITE_P(Runs, CalcGolden, ::testing::ValuesIn(cases()),
                         [](const auto& test) { return test.param; });

}  // namespace
}  // namespace tarnex
