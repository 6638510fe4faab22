#pragma once
// The formula samples the start-up writes into the formula files it creates: the data files
// resources/formulas/*.txt, compiled into the program, each under the formula file's name.

#include <span>
#include <string_view>

namespace tarnex {

struct EmbeddedFile {
  std::string_view name;   // the bare file name, UTF-8
  std::string_view bytes;  // the content, with CR LF line ends
};

// Every sample, ordered by name.
std::span<const EmbeddedFile> formulaSamples();

}  // namespace tarnex
