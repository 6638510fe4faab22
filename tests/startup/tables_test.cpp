// The seven window tables: counts, the relabel list behind the interface files, the result
// fields the calculate frame resets, and the look-ups by name and control id.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "tables/bridge_tables.h"
#include "tables/dcdc_table.h"
#include "tables/field_table.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"
#include "tables/rcc_table.h"

namespace tarnex {
namespace {

struct TableCase {
  const DialogTable& (*table)();
  std::string_view key;
  int dialogId;
  std::size_t names;
  std::vector<int> relabelLabels;  // label ids in the order of the relabel list
  std::vector<int> outputs;        // control ids of the result fields
  int voField;                     // the field behind `Vo`, different in every window
};

// Half-bridge, full-bridge and push-pull share the same label statics.
const std::vector<int> kBridgeLabels = {1248, 1249, 1250, 1251, 1252, 1253, 1254, 1255, 1256,
                                        1257, 1258, 1259, 1247, 1260, 1261, 1262, 1263, 1264};

const TableCase kCases[] = {
    {dcdcTable,
     "dcdc",
     165,
     27,
     {1265, 1266, 1250, 1267, 1268, 1254, 1252, 1215, 1216, 1270, 1271, 1257, 1272, 1258,
      1273, 1274, 1275, 1276, 1277, 1278, 1279, 1280, 1281, 1282, 1283, 1284, 1285},
     {1031, 1032, 1033, 1034, 1036, 1058, 1038, 1061, 1051, 1065, 1052, 1067, 1054},
     1047},
    {flybackTable,
     "flyback",
     129,
     40,
     {1296, 1250, 1253, 1248, 1249, 1281, 1290, 1252, 1254, 1216, 1215, 1257, 1272, 1052,
      1291, 1292, 1259, 1247, 1260, 1261, 1297, 1298, 1293, 1262, 1299, 1278, 1300, 1258,
      1066, 1270, 1271, 1263, 1294, 1283, 1301, 1284, 1302, 1303, 1304, 1305},
     {1022, 1028, 1034, 1036, 1037, 1038, 1039, 1041, 1042, 1040, 1061,
      1058, 1063, 1062, 1064, 1065, 1067, 1068, 1057, 1056, 1059},
     1017},
    {forwardTable,
     "forward",
     130,
     20,
     {1248, 1249, 1250, 1251, 1252, 1253, 1254, 1255, 1270, 1257, 1286, 1259, 1247, 1260, 1261,
      1262, 1263, 1264, 1258},
     {1108, 1044, 1105, 1038, 1103, 1104, 1045},
     1031},
    {rccTable,
     "rcc",
     134,
     25,
     {1248, 1249, 1250, 1267, 1287, 1288, 1253, 1281, 1290, 1268, 1254, 1270, 1258,
      1257, 1291, 1292, 1293, 1294, 1262, 1263, 1259, 1247, 1260, 1261, 1295},
     {1091, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042, 1048, 1049},
     1029},
    {pushPullTable,
     "pushpull",
     137,
     18,
     kBridgeLabels,
     {1133, 1135, 1129, 1130, 1127, 1128, 1136},
     1118},
    {halfBridgeTable,
     "halfbridge",
     135,
     18,
     kBridgeLabels,
     {1154, 1155, 1156, 1157, 1158, 1159, 1160},
     1145},
    {fullBridgeTable,
     "fullbridge",
     136,
     18,
     kBridgeLabels,
     {1175, 1176, 1177, 1178, 1179, 1180, 1183},
     1166},
};

class TableTest : public ::testing::TestWithParam<TableCase> {};

TEST_P(TableTest, IdentityAndNameCount) {
  const TableCase& c = GetParam();
  const DialogTable& t = c.table();
  EXPECT_EQ(t.key, c.key);
  EXPECT_EQ(t.dialogId, c.dialogId);
  EXPECT_EQ(t.fields.size(), c.names);
  EXPECT_FALSE(t.titleName.empty());
  EXPECT_TRUE(t.interfaceFile.ends_with(" Interface.txt")) << t.interfaceFile;
}

TEST_P(TableTest, ControlIdsAndNamesAreUnique) {
  const DialogTable& t = GetParam().table();
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

TEST_P(TableTest, RelabelNumbersAreOneToNOnceEach) {
  const TableCase& c = GetParam();
  const DialogTable& t = c.table();
  const int n = static_cast<int>(c.relabelLabels.size());
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
    EXPECT_EQ(labelOfNumber[static_cast<std::size_t>(k)],
              c.relabelLabels[static_cast<std::size_t>(k - 1)])
        << "relabel number " << k;
}

TEST_P(TableTest, ResultFieldsAreExactlyTheResetOnesAndOpenBlank) {
  const TableCase& c = GetParam();
  const DialogTable& t = c.table();
  std::set<int> outputs;
  for (const FieldRow& row : t.fields) {
    if (row.role == FieldRole::Result) {
      outputs.insert(row.controlId);
      EXPECT_EQ(row.opening, "") << row.name << " is a result but opens with a number";
    } else if (!row.opening.empty()) {
      EXPECT_TRUE(parseFieldText(row.opening).has_value()) << row.name << ": " << row.opening;
    }
  }
  EXPECT_EQ(outputs, std::set<int>(c.outputs.begin(), c.outputs.end()));
}

TEST_P(TableTest, EveryFieldSitsInANamedGroup) {
  const DialogTable& t = GetParam().table();
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

TEST_P(TableTest, LookUpByNameAndIdFindsTheSameRow) {
  const TableCase& c = GetParam();
  const DialogTable& t = c.table();
  for (const FieldRow& row : t.fields) {
    EXPECT_EQ(findField(t, row.name), &row);
    EXPECT_EQ(findFieldById(t, row.controlId), &row);
  }
  const FieldRow* vo = findField(t, "Vo");
  ASSERT_NE(vo, nullptr);
  EXPECT_EQ(vo->controlId, c.voField);
  // Names are case-sensitive and belong to one window only.
  EXPECT_EQ(findField(t, "vo"), nullptr);
  EXPECT_EQ(findField(t, "F"), nullptr);
  EXPECT_EQ(findFieldById(t, 0), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Windows, TableTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TableCase>& param) {
                           return std::string(param.param.key);
                         });

TEST(Tables, IoMaxIsADcDcNameAndIoAPushPullName) {
  EXPECT_NE(findField(dcdcTable(), "IoMax"), nullptr);
  EXPECT_EQ(findField(pushPullTable(), "IoMax"), nullptr);
  EXPECT_NE(findField(pushPullTable(), "Io"), nullptr);
  // The ripple ratio r exists only in the DC-DC and flyback windows.
  EXPECT_NE(findField(flybackTable(), "r"), nullptr);
  EXPECT_EQ(findField(forwardTable(), "r"), nullptr);
}

TEST(Tables, ForwardAreaProductHasNoLabelAndAeIsLastOfTheList) {
  const FieldRow* ap = findField(forwardTable(), "Ap");
  ASSERT_NE(ap, nullptr);
  EXPECT_EQ(ap->labelId, 0);
  EXPECT_EQ(ap->relabel, 0);
  EXPECT_EQ(findField(forwardTable(), "Ae")->relabel, 19);
}

TEST(Tables, KeysTitlesAndInterfaceFilesDifferBetweenWindows) {
  std::set<std::string_view> keys, titles, files;
  for (const TableCase& c : kCases) {
    EXPECT_TRUE(keys.insert(c.table().key).second);
    EXPECT_TRUE(titles.insert(c.table().titleName).second);
    EXPECT_TRUE(files.insert(c.table().interfaceFile).second);
  }
}

}  // namespace
}  // namespace tarnex
