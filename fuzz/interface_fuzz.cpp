// Feeds arbitrary bytes to the interface reader as the content of an interface file. The
// reader must end in success or in its own messages, hand back only numbers 1..N, and leave
// the file as it was, or with exactly one '#' appended when it held none.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "iface/interface_file.h"

namespace {

using fuzz::check;

constexpr int kRelabelCount = 40;
constexpr std::string_view kFileName = "Fuzz Interface.txt";

// Accepts only the reader's own message boxes, unowned.
class CheckingHost : public tarnex::Host {
 public:
  void showMessage(const tarnex::Message& message) override {
    check(!message.owned, "owned message");
    for (const tarnex::Message& own : tarnex::interfaceFileMessages()) {
      if (own.caption == message.caption && own.text == message.text && own.icon == message.icon)
        return;
    }
    std::fprintf(stderr, "%s | %s\n", message.caption.c_str(), message.text.c_str());
    check(false, "a message that is not the reader's own");
  }
  void runProgress() override { check(false, "progress window"); }
  void openInDesktop(const std::string&, bool) override { check(false, "desktop open"); }
  void runDialog(tarnex::Form&) override { check(false, "runDialog"); }
  void runSheet(tarnex::Sheet&) override { check(false, "runSheet"); }
  void repaint() override { check(false, "repaint"); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  fuzz::writeInput(kFileName, input);

  CheckingHost host;
  const auto result =
      tarnex::applyInterfaceFile(fuzz::workFolder(), kFileName, kRelabelCount, host);
  check(result.has_value(), "the file could not be opened");
  if (!result->applied) check(result->captions.empty(), "captions of a rejected file");
  for (const auto& [number, caption] : result->captions) {
    check(number >= 1 && number <= kRelabelCount, "number outside 1..N");
    check(!caption.empty(), "empty caption");
  }

  const bool hadMarker = input.find('#') != std::string::npos;
  check(fuzz::readFile(kFileName) == (hadMarker ? input : input + '#'), "the file was changed");
  return 0;
}
