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

// Inside a column, line breaks, carriage returns, tabs and backslashes are written as \n,
// \r, \t and \\, every other control byte (0x00-0x1F, 0x7F) as \u00XX with lower-case hex
// digits, as in JSON; so no column holds a raw control byte and every text reads back.
std::string tabLine(const Row& row);

// A JSON string literal (quotes included); invalid UTF-8 bytes become U+FFFD.
std::string jsonString(std::string_view text);

}  // namespace tarnex::calc
