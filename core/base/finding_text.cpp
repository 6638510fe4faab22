#include "base/finding_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tarnex::check {

std::string num(double v) {
  if (!std::isfinite(v)) return v != v ? "nan" : (v > 0 ? "inf" : "-inf");
  char buf[32];
  // Whole numbers from 100 up, else three significant digits without trailing zeros.
  std::snprintf(buf, sizeof buf, std::fabs(v) >= 100 ? "%.0f" : "%.3g", v);
  return buf;
}

std::string readable(double v) {
  if (!std::isfinite(v)) return "—";
  const double size = std::fabs(v);
  char buf[48];
  if (size >= 1e6 || (size > 0 && size < 1e-3)) {
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
  }
  // Digits after the point that leave four significant ones, none for 1000 and above.
  const int digits = size < 1 ? 4 : std::max(0, 3 - static_cast<int>(std::floor(std::log10(size))));
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  std::string text = buf;
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

std::string percent(double share) {
  char buf[32];
  // One decimal below 10 %, where a whole number would round a real difference away.
  std::snprintf(buf, sizeof buf, std::fabs(share) < 0.1 ? "%.1f%%" : "%.0f%%", share * 100);
  return buf;
}

std::string fill(std::string_view pattern, std::initializer_list<std::string> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern.compare(i, 2, "{}") == 0 && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

void add(std::vector<Finding>& findings, Severity severity, std::string text) {
  findings.push_back({severity, std::move(text)});
}

}  // namespace tarnex::check
