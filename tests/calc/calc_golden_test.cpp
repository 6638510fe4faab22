// The command-line program's output for whole designs, against files kept in the source tree:
// each case NAME.args holds the arguments (one per line; a line starting with "#" is a comment,
// where a worked design keeps its hand derivation), NAME.expect what the program prints
// in a fresh working folder (and on stderr; and whether it made the folder), the Bode plot's point
// rows counted per trace (their crossover, margins and checks stay in). The pages of the
// compensation sheet and the design windows of the README's examples, in either output form. A
// change of any number, check or margin shows as a difference. TARNEX_UPDATE_GOLDEN=1 rewrites the
// .expect files from the program's output, to be read over before they are committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

class CalcGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(CalcGolden, PrintsWhatItsFileHolds) {
  const fs::path base = kGolden / GetParam();
  testing::TempFolder dir;
  std::vector<std::string> args = argumentsOf(base.string() + ".args");
  args.insert(args.end(), {"--dir", (dir.folder().dir() / "home").string()});
  const testing::ProgramRun run = testing::runProgram(TARNEX_CALC_PROGRAM, args, dir);
  std::string printed = "status\t" + std::to_string(run.status) + "\n";
  std::vector<std::pair<std::string, int>> traces;
  for (const std::string& line : run.lines) {
    if (!line.starts_with("bode\t")) {
      printed += line + "\n";
      continue;
    }
    const std::string trace = line.substr(5, line.find('\t', 5) - 5);
    if (traces.empty() || traces.back().first != trace) traces.emplace_back(trace, 0);
    ++traces.back().second;
  }
  for (const auto& [trace, points] : traces) {
    printed += "bode\t" + trace + "\t" + std::to_string(points) + " points\n";
  }
  std::istringstream err(run.err);
  for (std::string line; std::getline(err, line);) printed += "stderr\t" + line + "\n";
  // A refused call opens nothing: the working folder is not even made.
  if (!fs::exists(dir.folder().dir() / "home")) printed += "folder\tnot made\n";
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
