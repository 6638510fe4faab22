// The design report of every kind of window, one table walking each through the same checks:
// before its calculation it says the results are blank; after it the HTML holds the title,
// version and date, every caption and unit of the inputs, every result as shown, every finding
// of the design check, the catalogue core's loss sheet and a page's margins, all escaped; a
// text the user typed with markup in it comes out as text.

#include "report/report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "designs/window_driver.h"
#include "forms/core_pick.h"
#include "loop/bode.h"
#include "loop/loop_sheet.h"

namespace tarnex {
namespace {

struct Kind {
  const char* key;
  const char* commands;  // pressed in order
  const char* core;      // a catalogue core chosen before the last command, with its ferrite
  bool page;             // a page of the compensation sheet
};

const Kind kKinds[] = {
    {"dcdc", "calc", nullptr, false},
    {"flyback", "core verify", "ETD 34/17/11", false},
    {"forward", "core verify", "ETD 34/17/11", false},
    {"rcc", "calc", nullptr, false},
    {"pushpull", "calc", "ETD 49/25/16", false},
    {"halfbridge", "calc", nullptr, false},
    {"fullbridge", "calc", nullptr, false},
    {"loop-current", "calc exact", nullptr, true},
    {"loop-type2", "step2 step4", nullptr, true},
    {"loop-type3", "calc", nullptr, true},
};

class Report : public testing::WindowDriver, public ::testing::TestWithParam<Kind> {
 protected:
  void SetUp() override {
    if (GetParam().page) {
      form = makeLoopPage(GetParam().key, host);
      ASSERT_NE(form, nullptr);
      table = form->table();
      form->open();
    } else {
      switchFilesOff(GetParam().key);
      open(GetParam().key);
    }
  }
  std::string html() {
    const report::Context context{"2026-12-09 15:40", GetParam().page ? kLoopSheetTitle : ""};
    return report::html(report::build(*form, context));
  }
  static bool contains(const std::string& html, const std::string& part) {
    return html.find(part) != std::string::npos;
  }
  static bool has(const std::string& html, const std::string& text) {
    return contains(html, report::escape(text));
  }
};

TEST_P(Report, ShowsTheWindowAsItStands) {
  const std::string before = html();
  EXPECT_TRUE(has(before, "尚未计算")) << "results blank before the calculation";
  const std::string commands = GetParam().commands;
  const std::size_t last = commands.rfind(' ') + 1;  // 0 for a single command
  run(commands.substr(0, last));
  if (GetParam().core) {
    std::string error;
    ASSERT_TRUE(form->corePick()->choose(GetParam().core, "N87", error)) << error;
  }
  run(commands.substr(last));
  ASSERT_GT(form->calculationsWritten(), 0) << host.summary().size();
  const std::string after = html();
  EXPECT_FALSE(has(after, "尚未计算"));
  const std::string title = form->title();
  EXPECT_TRUE(has(after, title.substr(0, title.find_last_not_of(' ') + 1)));
  EXPECT_TRUE(has(after, "Tarnex 3.2"));
  EXPECT_TRUE(has(after, "2026-12-09 15:40"));
  for (const FieldRow& row : table->fields) {
    const std::string& shown = form->text(row.controlId);
    EXPECT_TRUE(contains(after, "<td>" + report::escape(row.unit) + "</td>")) << row.name;
    if (!shown.empty()) {
      EXPECT_TRUE(contains(after, ">" + report::escape(shown) + "<")) << row.name << "=" << shown;
    }
  }
  ASSERT_FALSE(form->findings().empty());
  for (const Finding& f : form->findings()) EXPECT_TRUE(has(after, f.text)) << f.text;
  if (GetParam().core) {
    const magnetics::LossSheet* sheet = form->corePick()->sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(has(after, form->corePick()->text()));
    for (const magnetics::SheetRow& r : sheet->rows) EXPECT_TRUE(has(after, r.label)) << r.label;
    for (const Finding& f : sheet->findings) EXPECT_TRUE(has(after, f.text)) << f.text;
  }
  if (GetParam().page) {
    ASSERT_NE(form->bode(), nullptr);
    EXPECT_TRUE(has(after, "波特图"));
    // A page that models its stage gives the loop's margins.
    EXPECT_EQ(has(after, "相位裕量"), form->bode()->crossover.has_value());
    // The sheet's title holds markup characters of its own.
    EXPECT_NE(after.find("&lt;内置算法&gt;"), std::string::npos);
  }
}

TEST_P(Report, TypedMarkupStaysText) {
  const FieldRow* input = nullptr;
  for (const FieldRow& row : table->fields) {
    if (!row.output()) input = &row;
  }
  ASSERT_NE(input, nullptr);
  form->setText(input->controlId, "<script>1&2</script>\"'\x01\xff");
  const std::string out = html();
  EXPECT_NE(out.find("&lt;script&gt;1&amp;2&lt;/script&gt;&quot;&#39;\xEF\xBF\xBD<"),
            std::string::npos);
  EXPECT_EQ(out.find("<script>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Report, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& p) {
                           std::string name = p.param.key;
                           std::erase(name, '-');
                           return name;
                         });

// The name a report is offered under keeps the title's words and drops what a file name
// cannot hold.
TEST(ReportName, DropsWhatAFileNameCannotHold) {
  EXPECT_EQ(report::suggestedName("反激变换器 Flyback", ".pdf"), "反激变换器 Flyback.pdf");
  EXPECT_EQ(report::suggestedName("环路补偿 <内置算法>/a:b ", ".html"),
            "环路补偿 _内置算法__a_b.html");
  EXPECT_EQ(report::suggestedName(" .", ".pdf"), "报告.pdf");
}

}  // namespace
}  // namespace tarnex
