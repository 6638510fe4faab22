#include "output.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "base/text_codec.h"

namespace tarnex::calc {

namespace {

// One ASCII byte as both forms write it: the escapes they share, every other control byte
// as \u00XX, the rest as it is.
void appendAscii(std::string& out, char c) {
  switch (c) {
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    case '\\':
      out += "\\\\";
      return;
    default:
      break;
  }
  const auto u = static_cast<unsigned char>(c);
  if (u < 0x20 || u == 0x7F) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04x", u);
    out += buf;
  } else {
    out += c;
  }
}

std::string sixDigits(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

bool inTab(const Member& m) {
  return m.in != In::Json;
}

bool inJson(const Member& m) {
  return m.in != In::Tab;
}

void appendEscaped(std::string& out, std::string_view text) {
  for (char c : text) appendAscii(out, c);
}

void appendColumn(std::string& line, std::string_view text) {
  line += '\t';
  appendEscaped(line, text);
}

// The items written by `element`, comma-separated in brackets.
template <class T, class Element>
std::string jsonArray(const std::vector<T>& items, Element element) {
  std::string json = "[";
  for (const T& item : items) {
    if (json.size() > 1) json += ',';
    json += element(item);
  }
  json += ']';
  return json;
}

void appendTab(const Record& record, std::string& out) {
  if (!record.kind.empty()) {
    out += record.kind;
    for (const Member& m : record.members) {
      if (!inTab(m)) continue;
      if (m.shape == Member::Shape::Value) appendColumn(out, m.value.tab());
      if (m.shape == Member::Shape::Texts) {
        for (const std::string& t : m.texts) appendColumn(out, t);
      }
    }
    out += '\n';
  }
  for (const Member& m : record.members) {
    const bool holdsRecords = m.shape != Member::Shape::Value && m.shape != Member::Shape::Texts;
    if (!inTab(m) || !holdsRecords) continue;
    for (const Record& r : m.records) appendTab(r, out);
  }
}

std::string jsonMember(const Member& m) {
  switch (m.shape) {
    case Member::Shape::Value:
      return m.value.json();
    case Member::Shape::Texts:
      return jsonArray(m.texts, [](const std::string& t) { return jsonString(t); });
    case Member::Shape::Records:
      return jsonArray(m.records, jsonObject);
    case Member::Shape::Record:
      return m.records.empty() ? "null" : jsonObject(m.records.front());
    case Member::Shape::Inline:
      for (const Member& first : m.records.front().members) {
        if (first.shape == Member::Shape::Value && inJson(first)) return first.value.json();
      }
      break;
  }
  return "null";
}

}  // namespace

Value Value::text(std::string text) {
  Value v;
  v.kind_ = Kind::Text;
  v.text_ = std::move(text);
  return v;
}

Value Value::number(double number) {
  Value v;
  v.kind_ = Kind::Number;
  v.number_ = number;
  return v;
}

Value Value::whole(long long number) {
  Value v;
  v.kind_ = Kind::Whole;
  v.text_ = std::to_string(number);
  return v;
}

Value Value::truth(bool truth, std::string_view yes, std::string_view no) {
  Value v;
  v.kind_ = Kind::Truth;
  v.truth_ = truth;
  v.text_ = truth ? yes : no;
  return v;
}

std::string Value::tab() const {
  return kind_ == Kind::Number ? sixDigits(number_) : text_;
}

std::string Value::json() const {
  switch (kind_) {
    case Kind::Text:
      return jsonString(text_);
    case Kind::Number:
      return std::isfinite(number_) ? sixDigits(number_) : "null";
    case Kind::Whole:
      return text_;
    case Kind::Truth:
      return truth_ ? "true" : "false";
    case Kind::None:
      break;
  }
  return "null";
}

Record& Record::add(std::string name, Value v, In in) {
  members.push_back({.name = std::move(name), .in = in, .value = std::move(v)});
  return *this;
}

Record& Record::texts(std::string name, std::vector<std::string> texts) {
  members.push_back(
      {.name = std::move(name), .shape = Member::Shape::Texts, .texts = std::move(texts)});
  return *this;
}

Record& Record::records(std::string name, std::vector<Record> records, In in) {
  members.push_back({.name = std::move(name),
                     .shape = Member::Shape::Records,
                     .in = in,
                     .records = std::move(records)});
  return *this;
}

Record& Record::record(std::string name, std::optional<Record> record) {
  Member m{.name = std::move(name), .shape = Member::Shape::Record};
  if (record) m.records.push_back(std::move(*record));
  members.push_back(std::move(m));
  return *this;
}

Record& Record::inlined(std::string name, Record record) {
  members.push_back(
      {.name = std::move(name), .shape = Member::Shape::Inline, .records = {std::move(record)}});
  return *this;
}

std::string tabLines(const Record& record) {
  std::string out;
  appendTab(record, out);
  return out;
}

std::string jsonObject(const Record& record) {
  std::string json = "{";
  for (const Member& m : record.members) {
    if (!inJson(m) || (m.shape == Member::Shape::Value && m.value.isNone())) continue;
    if (json.size() > 1) json += ',';
    json += jsonString(m.name);
    json += ':';
    json += jsonMember(m);
  }
  json += '}';
  return json;
}

std::string tabColumn(std::string_view text) {
  std::string column;
  appendEscaped(column, text);
  return column;
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      if (text[i] == '"') {
        out += "\\\"";
      } else {
        appendAscii(out, text[i]);
      }
      ++i;
      continue;
    }
    const std::size_t n = utf8SequenceLength(text.substr(i));
    if (n == 0) {
      out += "\\ufffd";
      ++i;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  out += '"';
  return out;
}

}  // namespace tarnex::calc
