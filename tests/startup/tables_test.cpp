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

// Labels and group boxes are controls of the same window: their ids differ from the fields'.
TEST_P(TableTest, UniqueIdsAndNamesAndEveryFieldInANamedGroup) {
  const DialogTable& t = GetParam()();
  std::set<int> ids, labels, groups;
  std::set<std::string_view> names;
  for (const FieldRow& row : t.fields) {
    EXPECT_TRUE(ids.insert(row.controlId).second) << "control " << row.controlId;
    EXPECT_TRUE(names.insert(row.name).second) << "name " << row.name;
    if (row.labelId != 0 && !labels.insert(row.labelId).second) ADD_FAILURE() << row.labelId;
  }
  for (int label : labels) EXPECT_EQ(ids.count(label), 0u) << label;
  for (const GroupRow& g : t.groups) {
    EXPECT_EQ(ids.count(g.id) + labels.count(g.id), 0u) << g.id;
    EXPECT_TRUE(groups.insert(g.id).second) << g.id;
    EXPECT_FALSE(g.caption.empty()) << g.id;
    EXPECT_TRUE(g.caption != "设计条件" || g.color == kRed) << g.id;
  }
  for (const FieldRow& row : t.fields)
    EXPECT_EQ(groups.count(row.groupId), 1u) << row.name << " in group " << row.groupId;
}

// The order of the captions by their numbers is checked in the interface files a new working
// folder gets (startup_test): here that the numbers are 1 to N, each once, on labelled fields.
TEST_P(TableTest, RelabelNumbersAreOneToNOnceEach) {
  const DialogTable& t = GetParam()();
  std::set<int> numbers;
  for (const FieldRow& row : t.fields) {
    if (row.relabel == 0) continue;
    EXPECT_TRUE(numbers.insert(row.relabel).second) << "number " << row.relabel << " twice";
    EXPECT_NE(row.labelId, 0) << row.name << " is relabelled but has no label";
  }
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), static_cast<int>(numbers.size()));
  EXPECT_EQ(numbers.size(), relabelList(t).size());
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
