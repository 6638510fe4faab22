#include "output.h"

#include <cstdio>

#include "base/text_codec.h"

namespace tarnex::calc {

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
      const std::size_t n = utf8SequenceLength(text.substr(i));
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
