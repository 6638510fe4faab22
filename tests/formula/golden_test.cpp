// Golden formula files: each tests/golden/formula/<name>.txt runs under the file name given
// in <name>.expect, which also gives the outcome ("ok" or the message box) and the field
// values afterwards, written as the dialog shows them (six significant digits).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "designs/registry.h"
#include "formula/formula.h"
#include "formula_fixture.h"

namespace tarnex::testing {
namespace {

const std::filesystem::path kGoldenDir = TARNEX_GOLDEN_DIR;

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "\n" written in an expectation stands for a line break of the message.
std::string unescape(std::string text) {
  for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at)) {
    text.replace(at, 2, 1, '\n');
  }
  return text;
}

struct Expectation {
  std::string fileName;
  std::string outcome;  // "ok" or "caption|text"
  std::vector<std::pair<std::string, std::string>> fields;
};

Expectation readExpectation(const std::filesystem::path& path) {
  Expectation e;
  std::istringstream in(readBytes(path));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (line.rfind("file ", 0) == 0) {
      e.fileName = line.substr(5);
    } else if (line == "ok") {
      e.outcome = line;
    } else if (line.rfind("message ", 0) == 0) {
      e.outcome = unescape(line.substr(8));
    } else {
      const std::size_t space = line.find(' ');
      e.fields.emplace_back(line.substr(0, space), line.substr(space + 1));
    }
  }
  return e;
}

std::vector<std::string> goldenNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class GoldenFormula : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenFormula, HasItsExpectedOutcome) {
  const std::string bytes = readBytes(kGoldenDir / (GetParam() + ".txt"));
  const Expectation expected = readExpectation(kGoldenDir / (GetParam() + ".expect"));
  const DialogTable* table = bindingTableFor(expected.fileName);
  ASSERT_NE(table, nullptr) << "unknown file name " << expected.fileName;

  TableFields fields(*table);
  const RunOutcome outcome = runFormulaBytes(bytes, fields, expected.fileName);
  if (expected.outcome == "ok") {
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.messages.empty()) << outcome.messages[0];
  } else {
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{expected.outcome});
  }
  for (const auto& [name, shown] : expected.fields) {
    EXPECT_EQ(formatFieldValue(fields.named(name)), shown) << name;
  }
  EXPECT_EQ(outcome.fileAfter, bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenFormula, ::testing::ValuesIn(goldenNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.param;
                         });

}  // namespace
}  // namespace tarnex::testing
