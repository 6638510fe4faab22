#pragma once
// The words and numbers of a finding: a number as a finding writes it, a share as a
// percentage, a pattern filled with its pieces, and whether a field holds a number a check
// can work with. The design checks, the loop pages' checks and the loss sheet share them.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/finding.h"

namespace tarnex::check {

// A number as a finding writes it: about three significant digits, never an exponent.
std::string num(double v);
// A computed value for reading rather than editing, as the sheets show it: four significant
// digits, no exponent below 10⁶ ("0.0123", "12.35", "12346"), "—" when it is not finite.
std::string readable(double v);
// A share as a whole percentage, "31%".
std::string percent(double share);
// `pattern` with each "{}" replaced by the next of `args`.
std::string fill(std::string_view pattern, std::initializer_list<std::string> args);

// A field or result that the check can work with: finite and above zero.
inline bool usable(double v) {
  return v > 0 && v < 1e300;  // false for NaN and infinity too
}
template <class... T>
bool usable(double v, T... rest) {
  return usable(v) && usable(rest...);
}

void add(std::vector<Finding>& findings, Severity severity, std::string text);

}  // namespace tarnex::check
