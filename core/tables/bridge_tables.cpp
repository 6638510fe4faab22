// The push-pull, half-bridge and full-bridge windows. Their fields come in the same order and
// match the relabel list one to one (the relabel list uses the same label statics); only the
// control ids, four captions, two opening values, the note, the drawing and the files differ,
// and those differences are the three records below. Turns and RMS currents of the
// centre-tapped windings refer to one half.
#include "tables/bridge_tables.h"

#include <array>

#include "tables/launcher_table.h"

namespace tarnex {

namespace {

struct Bridge {
  int dialogId;
  std::string_view key, titleName;
  // Edit fields in the order VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, DB, Cmil, Ae (the
  // design conditions), then Np, Ns, Dp, Ds, Irmsp, Irmss (the transformer), then Lo.
  std::array<int, 18> fieldIds;
  std::array<int, 4> groupIds;  // conditions, transformer, other, note
  // The captions of Dmax (what the maximum duty cycle counts), Ae, Np and Lo.
  std::array<std::string_view, 4> captions;
  std::array<std::string_view, 2> openings;  // of Io and Eff
  std::string_view note;
  PictureRow picture;
  std::array<std::string_view, 3> files;  // interface file, formula file, toolbox entry
  int launcherButton;
};

// The note that explains the built-in method; greyed while a formula file is in use.
constexpr int kNote = 1306;
constexpr int kDisabledInFormulaMode[] = {kNote};
constexpr std::string_view kBridgeNote =
    "假定最小负载为额定负载的1/10计算得出的电感，请自行计算电感,可以利用buck模块进行计算。"
    "次级电流有效值是1/2绕组的有效值。";

constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

// Drawings 174 (243 × 196 pixels), 175 (221 × 180) and 176 (218 × 196); each source rectangle
// reaches a little beyond its drawing.
// clang-format off
constexpr Bridge kPushPull{
    137, "pushpull", "推挽变换器 Push Pull",
    {1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129, 1130,
     1133, 1135, 1136},
    {1140, 1141, 1087, 1036},
    {"最大占空比(双管)", "磁芯面积AE(mm2)", "初级匝数NP(1/2)", "输出电感(μH)"}, {"20", "80"},
    "假定最小负载为额定负载的1/10得出的输出电感值,请自行计算电感，可以利用buck模块来计算。"
    "对于电流有效值，均指的是1/2绕组上的有效值。",
    {"bitmap174", 1142, 400, 19, 245, 205},
    {"Push-Pull Interface.txt", "推挽变换器 cfg.txt", "推挽变换器"}, launcher::kPushPullButton};

constexpr Bridge kHalfBridge{
    135, "halfbridge", "半桥变换器 Half Bridge",
    {1143, 1144, 1145, 1146, 1147, 1148, 1149, 1150, 1151, 1152, 1153, 1154, 1155, 1156, 1157,
     1158, 1159, 1160},
    {1161, 1162, 1087, 1086},
    {"最大占空比(双管)", "磁芯面积Ae(mm2)", "初级匝数NP", "输出电感(μH)"}, {"50", "90"}, kBridgeNote,
    {"bitmap175", 1185, 400, 20, 222, 191},
    {"Half Bridge Interface.txt", "半桥变换器 cfg.txt", "半桥变换器"}, launcher::kHalfBridgeButton};

constexpr Bridge kFullBridge{
    136, "fullbridge", "全桥变换器 Full Bridge",
    {1164, 1165, 1166, 1167, 1168, 1169, 1170, 1171, 1172, 1173, 1174, 1175, 1176, 1177, 1178,
     1179, 1180, 1183},
    {1181, 1182, 1087, 1086},
    {"最大占空比(2桥臂)", "磁芯面积Ae(mm2)", "初级匝数NP", "输出电感(uH)"}, {"50", "90"}, kBridgeNote,
    {"bitmap176", 1184, 396, 20, 219, 207},
    {"Full Bridge Interface.txt", "全桥变换器 cfg.txt", "全桥变换器"}, launcher::kFullBridgeButton};
// clang-format on

constexpr std::array<FieldRow, 18> fieldsOf(const Bridge& b) {
  const auto& id = b.fieldIds;
  const int c = b.groupIds[0], t = b.groupIds[1];
  return {{
      {id[0], "VacMin", 1248, "最低交流输入(V)", "V", "90", c, kIn, 1},
      {id[1], "VacMax", 1249, "最高交流输入(V)", "V", "260", c, kIn, 2},
      {id[2], "Vo", 1250, "输出电压(V)", "V", "12", c, kIn, 3},
      {id[3], "Io", 1251, "输出电流(A)", "A", b.openings[0], c, kIn, 4},
      {id[4], "f", 1252, "开关频率(kHz)", "kHz", "100", c, kIn, 5},
      {id[5], "Eff", 1253, "效率(%)", "%", b.openings[1], c, kIn, 6},
      {id[6], "Vdf", 1254, "输出二极管≈(V)", "V", "0.6", c, kIn, 7},
      {id[7], "Dmax", 1255, b.captions[0], "", "0.8", c, kIn, 8},
      {id[8], "DB", 1256, "1/2△B(GS)", "gauss", "1600", c, kIn, 9},
      {id[9], "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", c, kIn, 10},
      {id[10], "Ae", 1258, b.captions[1], "mm²", "144", c, kIn, 11},
      {id[11], "Np", 1259, b.captions[2], "turns", "", t, kOut, 12},
      {id[12], "Ns", 1247, "次级匝数NS(1/2)", "turns", "", t, kOut, 13},
      {id[13], "Dp", 1260, "初级线径(mm)", "mm", "", t, kOut, 14},
      {id[14], "Ds", 1261, "次级线径(mm)", "mm", "", t, kOut, 15},
      {id[15], "Irmsp", 1262, "初级电流有效值(A)", "A", "", t, kOut, 16},
      {id[16], "Irmss", 1263, "次级电流有效值(A)", "A", "", t, kOut, 17},
      {id[17], "Lo", 1264, b.captions[3], "µH", "", b.groupIds[2], kOut, 18},
  }};
}

constexpr std::array<GroupRow, 4> groupsOf(const Bridge& b) {
  return {{
      {b.groupIds[0], "设计条件", kRed},
      {b.groupIds[1], "变压器参数", kBlue},
      {b.groupIds[2], "Other", kBlue},
      {b.groupIds[3], "提示：", kPurple},
  }};
}

// The rows of one window, kept for as long as the program runs.
template <const Bridge& B>
struct Rows {
  static constexpr auto fields = fieldsOf(B);
  static constexpr auto groups = groupsOf(B);
  static constexpr StaticRow statics[] = {{kNote, StaticKind::Note, B.note, B.groupIds[3]}};
  static constexpr PictureRow pictures[] = {B.picture};
  static constexpr FormulaFileRow formulaFiles[] = {{B.files[1], {}, B.files[2]}};
  static constexpr DialogTable table =
      designTable(B.dialogId, B.key, B.titleName, {fields, groups, {}, kButtons, statics, pictures},
                  {B.files[0], formulaFiles, kDisabledInFormulaMode, B.launcherButton, B.files[2]});
};

}  // namespace

const DialogTable& pushPullTable() {
  return Rows<kPushPull>::table;
}
const DialogTable& halfBridgeTable() {
  return Rows<kHalfBridge>::table;
}
const DialogTable& fullBridgeTable() {
  return Rows<kFullBridge>::table;
}

}  // namespace tarnex
