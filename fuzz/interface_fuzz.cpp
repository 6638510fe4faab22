// Feeds arbitrary bytes to the interface reader as the text of an interface file, in memory
// (file_fuzz covers the file around it). The reader must end in success or in its own
// messages and hand back only numbers 1..N with a caption each.
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "iface/interface_file.h"

namespace {

using fuzz::check;

constexpr int kRelabelCount = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The file run hands over the bytes before the first '#'.
  const std::string_view text = input.substr(0, input.find('#'));

  fuzz::InterfaceHost host;
  const tarnex::InterfaceFileResult result = tarnex::readInterfaceText(text, kRelabelCount, host);
  if (!result.applied) check(result.captions.empty(), "captions of a rejected file");
  for (const auto& [number, caption] : result.captions) {
    check(number >= 1 && number <= kRelabelCount, "number outside 1..N");
    check(!caption.empty(), "empty caption");
  }
  return 0;
}
