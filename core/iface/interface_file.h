#pragma once
// Interface files: a user's own captions for a design dialog's labels.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/host.h"
#include "base/user_file.h"

namespace tarnex {

struct InterfaceFileResult {
  bool applied = false;                 // the captions are to be set
  std::map<int, std::string> captions;  // relabel number (1..N) -> UTF-8 caption
};

// Reads and checks the whole file (appending '#' when it holds none), shows every message
// through `host` (unowned boxes), and returns the captions to set when the file is valid.
// `relabelCount` is N, the length of the dialog's relabel list. A file that cannot be
// opened is reported through the host and gives nullopt (the caller abandons its step).
std::optional<InterfaceFileResult> applyInterfaceFile(const Folder& folder,
                                                      std::string_view fileName, int relabelCount,
                                                      Host& host);

// Every message the interface reader itself may show (file errors aside), for hosts and
// fuzzers that check they met nothing else.
std::span<const Message> interfaceFileMessages();

// Caption bytes of an interface file as UTF-8: GBK (code page 936), or UTF-8 when `utf8`.
// A byte sequence that is not valid in the encoding becomes U+FFFD, one per bad byte.
std::string decodeCaption(std::string_view bytes, bool utf8);

// Whether the whole file is to be read as UTF-8: its bytes are valid UTF-8 and not all
// ASCII. Any other file is read as GBK.
bool isUtf8File(std::string_view bytes);

}  // namespace tarnex
