// Feeds arbitrary bytes to the interface reader as the content of an interface file. The
// reader must end in success or in its own messages, hand back only numbers 1..N, and leave
// the file as it was, or with exactly one '#' appended when it held none.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "iface/interface_file.h"

namespace {

constexpr int kRelabelCount = 40;
constexpr std::string_view kFileName = "Fuzz Interface.txt";

void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "interface_fuzz: %s\n", what);
    abort();
  }
}

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
  void repaint() override { check(false, "repaint"); }
};

// The folder of the input file, removed at exit. It is never destroyed, so that the exit
// handler can still name it.
const tarnex::Folder& workFolder() {
  static const tarnex::Folder* const folder = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarnex-iface-fuzz-XXXXXX").string();
    check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    const auto* made = new tarnex::Folder(pattern);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(workFolder().dir(), ec);
    });
    return made;
  }();
  return *folder;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tarnex::Folder& folder = workFolder();
  const std::filesystem::path path = folder.path(kFileName);
  const std::string input(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
    check(out.good(), "writing the input file");
  }

  CheckingHost host;
  const auto result = tarnex::applyInterfaceFile(folder, kFileName, kRelabelCount, host);
  check(result.has_value(), "the file could not be opened");
  if (!result->applied) check(result->captions.empty(), "captions of a rejected file");
  for (const auto& [number, caption] : result->captions) {
    check(number >= 1 && number <= kRelabelCount, "number outside 1..N");
    check(!caption.empty(), "empty caption");
  }

  const bool hadMarker = input.find('#') != std::string::npos;
  check(readFile(path) == (hadMarker ? input : input + '#'), "the file was changed");
  return 0;
}
