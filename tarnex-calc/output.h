#pragma once
// The output of tarnex-calc, built once as a tree of records and written in either form:
// tab-separated lines (a line per record, its kind first, then its columns) or one JSON
// object (a record as an object of its named members).

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnex::calc {

// Where a member of a record is written.
enum class In { Both, Tab, Json };

// One scalar: a text; a number (six significant digits; in JSON null when not finite); a
// whole number; a truth value (in a tab column the word given for it, in JSON true or false);
// or nothing (an empty tab column, left out of the JSON object).
class Value {
 public:
  static Value text(std::string text);
  static Value number(double v);
  static Value whole(long long v);
  static Value truth(bool v, std::string_view yes, std::string_view no);
  static Value none() { return Value(); }

  std::string tab() const;   // unescaped
  std::string json() const;  // a JSON value, escaped
  bool isNone() const { return kind_ == Kind::None; }

 private:
  enum class Kind { None, Text, Number, Whole, Truth };
  Kind kind_ = Kind::None;
  std::string text_;  // the text; a whole number's digits; a truth value's tab word
  double number_ = 0;
  bool truth_ = false;
};

struct Record;

// A named member of a record.
struct Member {
  enum class Shape {
    Value,    // a column
    Texts,    // a column per text in a tab line; a JSON array of strings
    Records,  // tab lines of their own after the record's; a JSON array of objects
    Record,   // at most one record: its tab line; a JSON object, or null
    Inline,   // one record: its tab line; in JSON its first value stands for the member
  };
  std::string name;
  Shape shape = Shape::Value;
  In in = In::Both;
  Value value = {};
  std::vector<std::string> texts = {};
  std::vector<calc::Record> records = {};
};

struct Record {
  std::string kind;  // the tab line's first column; empty: the record has no line of its own
  std::vector<Member> members = {};

  Record& add(std::string name, Value v, In in = In::Both);
  Record& add(std::string name, std::string_view text, In in = In::Both) {
    return add(std::move(name), Value::text(std::string(text)), in);
  }
  Record& texts(std::string name, std::vector<std::string> texts);
  Record& records(std::string name, std::vector<Record> records, In in = In::Both);
  Record& record(std::string name, std::optional<Record> record);
  Record& inlined(std::string name, Record record);
};

// The record's tab line (when it has a kind), then those of the records it holds; every
// line ends with a line break.
std::string tabLines(const Record& record);

// The record as one JSON object (no line break).
std::string jsonObject(const Record& record);

// Inside a tab column, line breaks, carriage returns, tabs and backslashes are written as
// \n, \r, \t and \\, every other control byte (0x00-0x1F, 0x7F) as \u00XX with lower-case
// hex digits, as in JSON; so no column holds a raw control byte and every text reads back.
std::string tabColumn(std::string_view text);

// A JSON string literal (quotes included); invalid UTF-8 bytes become U+FFFD.
std::string jsonString(std::string_view text);

}  // namespace tarnex::calc
