#include "base/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace tarnex {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Converts `bytes` with the C library's converter. Where a sequence cannot be converted,
// `bad` is written and `skip` tells how many input bytes it stands for. Without a converter
// on the system, ASCII is kept and every other byte becomes `bad`.
std::string convert(const char* to, const char* from, std::string_view bytes, std::string_view bad,
                    std::size_t (*skip)(std::string_view rest)) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) < 0x80) {
        out += c;
      } else {
        out += bad;
      }
    }
    return out;
  }
  std::vector<char> in(bytes.begin(), bytes.end());
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ (invalid sequence) or EINVAL (a sequence cut off at the end).
    out += bad;
    const std::size_t n = std::min(inLeft, skip({inPtr, inLeft}));
    inPtr += n;
    inLeft -= n;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::size_t utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(0);
  if (b0 < 0x80) return 1;
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  if (byte(1) < lo || byte(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return n;
}

std::string decodeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t n = utf8SequenceLength(bytes);
    if (n == 0) {
      out += kReplacement;
      bytes.remove_prefix(1);
    } else {
      out += bytes.substr(0, n);
      bytes.remove_prefix(n);
    }
  }
  return out;
}

std::string decodeGbk(std::string_view bytes) {
  // A stray lead byte is skipped alone, so that an ASCII byte after it survives.
  return convert("UTF-8", "GBK", bytes, kReplacement,
                 [](std::string_view) -> std::size_t { return 1; });
}

std::string encodeGbk(std::string_view utf8) {
  // A character GBK cannot hold, or a broken sequence: one '?' for the whole sequence.
  return convert("GBK", "UTF-8", utf8, "?", [](std::string_view rest) {
    return std::max<std::size_t>(1, utf8SequenceLength(rest));
  });
}

}  // namespace tarnex
