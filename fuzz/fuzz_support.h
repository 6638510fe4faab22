#pragma once
// What both fuzzers share: a failed expectation aborts (libFuzzer then keeps the input),
// and each input is written as a user file into a temporary working folder.

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "base/user_file.h"

namespace fuzz {

inline void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz expectation failed: %s\n", what);
    abort();
  }
}

// The working folder of the inputs, created once and removed at exit. It is never
// destroyed, so that the exit handler can still name it.
inline const tarnex::Folder& workFolder() {
  static const tarnex::Folder* const folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnex-fuzz-XXXXXX").string();
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

// Replaces the whole content of `name` in the working folder with `bytes`.
inline void writeInput(std::string_view name, const std::string& bytes) {
  std::ofstream out(workFolder().path(name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  check(out.good(), "writing the input file");
}

inline std::string readFile(std::string_view name) {
  std::ifstream in(workFolder().path(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace fuzz
