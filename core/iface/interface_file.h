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

// Reads the file's text before its end marker (appending '#' when it holds none) and checks
// it, shows every message through `host` (unowned boxes), and returns the captions to set
// when the file is valid. `relabelCount` is N, the length of the dialog's relabel list. A
// file that cannot be opened or read is reported through the host and gives nullopt (the
// caller abandons its step); a text longer than kMaxTextBytes is refused with its message.
std::optional<InterfaceFileResult> applyInterfaceFile(const Folder& folder,
                                                      std::string_view fileName, int relabelCount,
                                                      Host& host);

// Parses and checks the text of an interface file, the bytes before its end marker (a
// leading UTF-8 byte-order mark is skipped and makes the captions UTF-8). Shows the reader's
// messages through `host`; the file itself is not touched.
InterfaceFileResult readInterfaceText(std::string_view text, int relabelCount, Host& host);

// Every message the interface reader itself may show (file errors aside), for hosts and
// fuzzers that check they met nothing else.
std::span<const Message> interfaceFileMessages();

// Caption bytes of an interface file as UTF-8: GBK (code page 936), or UTF-8 when `utf8`.
// A byte sequence that is not valid in the encoding becomes U+FFFD, one per bad byte.
std::string decodeCaption(std::string_view bytes, bool utf8);

// Whether a text is to be read as UTF-8: its bytes are valid UTF-8 and not all ASCII. Any
// other text is read as GBK.
bool isUtf8File(std::string_view bytes);

}  // namespace tarnex
