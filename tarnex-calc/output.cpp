#include "output.h"

#include <cstdio>

namespace tarnex::calc {

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when the bytes there are not one.
std::size_t utf8Length(std::string_view text, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = b(i);
  std::size_t n = 0;
  unsigned min = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  unsigned code = lead & (0xFFu >> (n + 1));
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (b(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

}  // namespace

std::string tabLine(const Row& row) {
  std::string line = row.kind;
  for (const std::string& col : row.columns) {
    line += '\t';
    for (char c : col) {
      const auto u = static_cast<unsigned char>(c);
      switch (c) {
        case '\n':
          line += "\\n";
          break;
        case '\r':
          line += "\\r";
          break;
        case '\t':
          line += "\\t";
          break;
        case '\\':
          line += "\\\\";
          break;
        default:
          // Any other control byte (a NUL in a caption, say) as JSON writes it.
          if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            line += buf;
          } else {
            line += c;
          }
      }
    }
  }
  return line;
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      const std::size_t n = utf8Length(text, i);
      if (n == 0) {
        out += "\\ufffd";
        ++i;
      } else {
        out.append(text.substr(i, n));
        i += n;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (u < 0x20 || u == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", u);
          out += buf;
        } else {
          out += c;
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

}  // namespace tarnex::calc
