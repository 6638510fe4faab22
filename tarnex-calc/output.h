#pragma once
// The two output forms of tarnex-calc: tab-separated lines and one JSON object.

#include <string>
#include <string_view>
#include <vector>

namespace tarnex::calc {

// One reported item: a kind ("title", "message", "field", "caption", ...) and its columns.
struct Row {
  std::string kind;
  std::vector<std::string> columns;
};

// Line breaks, carriage returns and tabs inside a column are written as \n, \r and \t.
std::string tabLine(const Row& row);

// A JSON string literal (quotes included); invalid UTF-8 bytes become U+FFFD.
std::string jsonString(std::string_view text);

}  // namespace tarnex::calc
