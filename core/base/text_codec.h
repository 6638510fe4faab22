#pragma once
// Text encodings the program meets: UTF-8 (its own texts, and files saved by Linux editors)
// and GBK, code page 936 (the files of Chinese Windows editors). Invalid bytes never pass
// through: each becomes U+FFFD.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarnex {

// Length of the valid UTF-8 sequence at the start of `s`, or 0 (an empty text, a stray
// continuation byte, overlong forms, surrogates and code points above U+10FFFF are invalid).
std::size_t utf8SequenceLength(std::string_view s);

// UTF-8 as it stands, each byte that starts no valid sequence replaced by U+FFFD.
std::string decodeUtf8(std::string_view bytes);

// GBK to UTF-8. A byte that starts no valid character becomes U+FFFD and is skipped alone, so
// that an ASCII byte after a stray lead byte survives.
std::string decodeGbk(std::string_view bytes);

// UTF-8 to GBK; a character GBK lacks becomes '?'.
std::string encodeGbk(std::string_view utf8);

}  // namespace tarnex
