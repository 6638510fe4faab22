// The seven window tables: unique ids and names, the relabel numbers behind the interface
// files, the groups (the opening texts are the windows' opening designs: designs/windows_test).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tables/bridge_tables.h"
#include "tables/dcdc_table.h"
#include "tables/field_table.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"
#include "tables/rcc_table.h"

namespace tarnex {
namespace {

using TableOf = const DialogTable& (*)();

const TableOf kTables[] = {dcdcTable,     flybackTable,    forwardTable,   rccTable,
                           pushPullTable, halfBridgeTable, fullBridgeTable};

class TableTest : public ::testing::TestWithParam<TableOf> {};

TEST_P(TableTest, ControlIdsAndNamesAreUnique) {
  const DialogTable& t = GetParam()();
  std::set<int> ids;
  std::set<std::string_view> names;
  std::set<int> labels;
  for (const FieldRow& row : t.fields) {
    EXPECT_TRUE(ids.insert(row.controlId).second) << "control " << row.controlId;
    EXPECT_TRUE(names.insert(row.name).second) << "name " << row.name;
    if (row.labelId != 0) {
      EXPECT_TRUE(labels.insert(row.labelId).second) << row.labelId;
    }
  }
  // Labels and group boxes are controls of the same window: their ids differ from the fields'.
  for (int label : labels) EXPECT_EQ(ids.count(label), 0u) << label;
  for (const GroupRow& g : t.groups) EXPECT_EQ(ids.count(g.id) + labels.count(g.id), 0u) << g.id;
}

// The order of the captions by their numbers is checked in the interface files a new working
// folder gets (startup_test): here that the numbers are 1 to N, each once, on labelled fields.
TEST_P(TableTest, RelabelNumbersAreOneToNOnceEach) {
  const DialogTable& t = GetParam()();
  const int n = static_cast<int>(relabelList(t).size());
  ASSERT_GT(n, 0);
  std::vector<int> labelOfNumber(static_cast<std::size_t>(n) + 1, 0);
  for (const FieldRow& row : t.fields) {
    if (row.relabel == 0) continue;
    ASSERT_GE(row.relabel, 1) << row.name;
    ASSERT_LE(row.relabel, n) << row.name;
    EXPECT_EQ(labelOfNumber[static_cast<std::size_t>(row.relabel)], 0)
        << "number " << row.relabel << " given twice";
    labelOfNumber[static_cast<std::size_t>(row.relabel)] = row.labelId;
    EXPECT_NE(row.labelId, 0) << row.name << " is relabelled but has no label";
  }
  for (int k = 1; k <= n; ++k)
    EXPECT_NE(labelOfNumber[static_cast<std::size_t>(k)], 0) << "relabel number " << k;
}

TEST_P(TableTest, EveryFieldSitsInANamedGroup) {
  const DialogTable& t = GetParam()();
  std::set<int> groups;
  for (const GroupRow& g : t.groups) {
    EXPECT_TRUE(groups.insert(g.id).second) << g.id;
    EXPECT_FALSE(g.caption.empty()) << g.id;
    if (g.caption == "设计条件") {
      EXPECT_EQ(g.color, kRed);
    }
  }
  for (const FieldRow& row : t.fields)
    EXPECT_EQ(groups.count(row.groupId), 1u) << row.name << " in group " << row.groupId;
}

INSTANTIATE_TEST_SUITE_P(Windows, TableTest, ::testing::ValuesIn(kTables),
                         [](const ::testing::TestParamInfo<TableOf>& param) {
                           return std::string(param.param().key);
                         });

TEST(Tables, KeysTitlesAndInterfaceFilesDifferBetweenWindows) {
  std::set<std::string_view> keys, titles, files;
  for (TableOf table : kTables) {
    EXPECT_TRUE(keys.insert(table().key).second);
    EXPECT_TRUE(titles.insert(table().titleName).second);
    EXPECT_TRUE(files.insert(table().interfaceFile).second);
  }
  // The forward's area product is the one field shown without a caption of its own.
  EXPECT_EQ(findField(forwardTable(), "Ap")->labelId, 0);
}

}  // namespace
}  // namespace tarnex
