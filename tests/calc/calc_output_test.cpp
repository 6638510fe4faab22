// Escaping of tarnex-calc's two output forms.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "output.h"

namespace tarnex::calc {
namespace {

TEST(JsonString, Escapes) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "\"\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"1\n2\r\t", "\"1\\n2\\r\\t\""},
      {std::string("\x01\x1f\x7f", 3), "\"\\u0001\\u001f\\u007f\""},
      {std::string("x\0y", 3), "\"x\\u0000y\""},
      // UTF-8 passes as it is; stray bytes (a GBK pair) become U+FFFD.
      {"注意 µH", "\"注意 µH\""},
      {"\xb4\xed", "\"\\ufffd\\ufffd\""},
      {"\xe6\xb3", "\"\\ufffd\\ufffd\""},             // cut short
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},  // surrogate
      {"\xc0\xaf", "\"\\ufffd\\ufffd\""}};            // overlong
  for (const auto& [text, json] : cases) EXPECT_EQ(jsonString(text), json) << json;
}

TEST(TabColumn, EscapesControlBytes) {
  EXPECT_EQ(tabColumn("a\nb\tc\r"), "a\\nb\\tc\\r");
  EXPECT_EQ(tabColumn("a\\nb"), "a\\\\nb");
  // A caption 1=a<NUL>b; of an interface file: no raw control byte reaches the output.
  EXPECT_EQ(tabColumn(std::string("a\0b\x1f\x7f", 5)), "a\\u0000b\\u001f\\u007f");
}

// One record tree written both ways: a tab line per record with a kind (its columns, then
// the lines of the records it holds), and a JSON object of the named members.
TEST(Record, WritesTheSameTreeAsTabLinesAndAsJson) {
  std::vector<Record> points;
  const double inf = std::numeric_limits<double>::infinity();
  points.push_back(
      Record{"point"}.add("f", Value::number(1.0 / 3)).add("gain", Value::number(inf)));
  const Record root = Record{}
                          .add("dialog", "x", In::Json)
                          .inlined("title", Record{"title"}.add("text", "T"))
                          .records("rows", {Record{"row"}
                                                .add("id", Value::whole(-7))
                                                .add("number", Value::none())
                                                .add("on", Value::truth(true, "yes", "no"))
                                                .add("hidden", "h", In::Tab)
                                                .texts("texts", {"a", "b\t"})
                                                .records("points", std::move(points))})
                          .record("none", std::nullopt)
                          .records("tabOnly", {Record{"extra"}}, In::Tab);
  EXPECT_EQ(tabLines(root), "title\tT\nrow\t-7\t\tyes\th\ta\tb\\t\npoint\t0.333333\tinf\nextra\n");
  EXPECT_EQ(jsonObject(root),
            "{\"dialog\":\"x\",\"title\":\"T\",\"rows\":[{\"id\":-7,\"on\":true,\"texts\":[\"a\","
            "\"b\\t\"],\"points\":[{\"f\":0.333333,\"gain\":null}]}],\"none\":null}");
}

}  // namespace
}  // namespace tarnex::calc
