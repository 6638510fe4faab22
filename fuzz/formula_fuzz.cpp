// Feeds arbitrary bytes to the formula interpreter as the text of a DC-DC formula file, in
// memory: translation, checks, preparation and evaluation as a calculate command runs them,
// without the file around them (file_fuzz covers that). The run must end in success or in a
// diagnostic whose box is one of the interpreter's own, at a line the text has; a text
// that holds no statement must do nothing.

#include <cstdint>
#include <string_view>

#include "formula/formula.h"
#include "formula/reader.h"
#include "formula/source.h"
#include "fuzz_support.h"

namespace {

using fuzz::check;

// The lines of a text: 1 plus its line ends, counted generously (every CR, every LF and
// every written line-end word). The harness's own counting is kept out of the coverage
// instrumentation, which would otherwise cost more than the interpreter it checks.
__attribute__((no_sanitize("coverage"))) int lineCount(std::string_view text) {
  int lines = 1;
  for (const char c : text) lines += (c == '\r') + (c == '\n');
  constexpr std::string_view kLineEndWord = "char13linechg";
  for (std::size_t at = text.find(kLineEndWord); at != std::string_view::npos;
       at = text.find(kLineEndWord, at + 1))
    ++lines;
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view text = tarnex::formula::formulaText(input);

  fuzz::DialogNumbers numbers;
  const auto error = tarnex::checkAndEvaluate(text, &tarnex::dcdcTable(), numbers);
  // A text without a statement is not run at all by the file run: running it must indeed
  // do nothing.
  if (!tarnex::formula::holdsStatement(text)) {
    check(!error && numbers.unchanged(), "a text without a statement did something");
  }
  if (error) {
    fuzz::FormulaHost host;
    host.showMessage(tarnex::formula::formatDiagnostic(*error));
    // Every error names its line, a count mismatch the first statement without a target.
    check(error->line >= 1, "line below 1");
    check(error->line <= lineCount(text) && error->secondLine <= lineCount(text),
          "a line the text does not have");
  }
  return 0;
}
