// Feeds arbitrary bytes to both readers as the content of a file on disk: a DC-DC formula
// file and an interface file. Each run must end in success or in the reader's own messages
// and leave its file as it was, or with exactly one '#' appended when it held none. The
// languages themselves are fuzzed in memory (formula_fuzz, interface_fuzz), many times
// faster; this target is about the files.

#include <cstdint>
#include <string>
#include <string_view>

#include "formula/formula.h"
#include "fuzz_support.h"
#include "iface/interface_file.h"

namespace {

using fuzz::check;

constexpr std::string_view kFormulaFile = "CCM Buck cfg.txt";
constexpr std::string_view kInterfaceFile = "Fuzz Interface.txt";
constexpr int kRelabelCount = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const bool hadMarker = input.find('#') != std::string::npos;
  const std::string expected = hadMarker ? input : input + '#';

  fuzz::writeInput(kFormulaFile, input);
  fuzz::FormulaHost formulaHost;
  fuzz::DialogNumbers numbers;
  const bool ok = tarnex::runFormulaFile(fuzz::workFolder(), kFormulaFile, &tarnex::dcdcTable(),
                                         numbers, formulaHost);
  check(ok == (formulaHost.errors == 0), "result and error box disagree");
  check(formulaHost.warnings == (hadMarker ? 0 : 1), "end-marker warning without cause or missing");
  check(fuzz::readFile(kFormulaFile) == expected, "the formula file changed otherwise");

  fuzz::writeInput(kInterfaceFile, input);
  fuzz::InterfaceHost interfaceHost;
  const auto result =
      tarnex::applyInterfaceFile(fuzz::workFolder(), kInterfaceFile, kRelabelCount, interfaceHost);
  check(result.has_value(), "the interface file could not be opened");
  if (!result->applied) check(result->captions.empty(), "captions of a rejected file");
  check(fuzz::readFile(kInterfaceFile) == expected, "the interface file changed otherwise");
  return 0;
}
