// Golden formula files: each tests/golden/formula/<name>.txt is a formula text that carries
// its expectations behind the end marker, where the interpreter reads nothing:
//   file: <name>             the file name it runs under (default "CCM Buck cfg.txt"), which
//                            chooses the window whose names it computes with
//   expect: ok               the run succeeds without a message, or
//   expect: error <caption|text>   it stops with this one box ("\n" a line break of the text)
//   expect: <field> = <value>      a field afterwards, in round-trip single precision (%.9g)
// Other lines behind the marker are notes. The run must leave the file's bytes as they were.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "designs/registry.h"
#include "formula_fixture.h"
#include "support/golden_file.h"

namespace tarnex::testing {
namespace {

const std::filesystem::path kGoldenDir = TARNEX_GOLDEN_DIR;

// A single-precision value as the expectations write it: nine significant digits identify
// every float; "nan" whatever its sign.
std::string exactText(float value) {
  if (std::isnan(value)) return "nan";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

struct Expectation {
  std::string fileName = "CCM Buck cfg.txt";
  std::string outcome;  // "ok" or "caption|text"
  std::vector<std::pair<std::string, std::string>> fields;
};

Expectation readExpectation(const std::string& bytes) {
  const GoldenNotes notes = goldenNotes(bytes);
  Expectation e;
  if (notes.settings.contains("file")) e.fileName = notes.settings.at("file");
  for (const std::string& line : notes.expect) {
    if (line == "ok") {
      e.outcome = line;
    } else if (line.starts_with("error ")) {
      e.outcome = unescaped(line.substr(6));
    } else if (const std::size_t eq = line.find(" = "); eq != std::string::npos) {
      e.fields.emplace_back(line.substr(0, eq), line.substr(eq + 3));
    } else {
      ADD_FAILURE() << "unreadable expectation: " << line;
    }
  }
  return e;
}

class GoldenFormula : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenFormula, HasItsExpectedOutcome) {
  const std::string bytes = readBytes(kGoldenDir / (GetParam() + ".txt"));
  const Expectation expected = readExpectation(bytes);
  ASSERT_FALSE(expected.outcome.empty()) << "no outcome expected";
  const DialogTable* table = bindingTableFor(expected.fileName);
  TableFields fields(table != nullptr ? *table : *bindingTableFor("CCM Buck cfg.txt"));
  const RunOutcome outcome = runFormulaBytes(bytes, fields, expected.fileName);
  if (expected.outcome == "ok") {
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{});
  } else {
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.messages, std::vector<std::string>{expected.outcome});
  }
  for (const auto& [name, shown] : expected.fields) {
    EXPECT_EQ(exactText(fields.named(name)), shown) << name;
  }
  EXPECT_EQ(outcome.fileAfter, bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, GoldenFormula, ::testing::ValuesIn(goldenCases(kGoldenDir)),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return param.param;
                         });

}  // namespace
}  // namespace tarnex::testing
