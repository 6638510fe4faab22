// The push-pull window: its 18 fields in data-exchange order, matching the relabel list one
// to one. Turns and RMS currents refer to one half of each centre-tapped winding.
#include "tables/field_table.h"

namespace tarnex {

namespace {

constexpr int kConditions = 1140;   // "设计条件"
constexpr int kTransformer = 1141;  // "变压器参数"
constexpr int kOther = 1087;        // "Other"
constexpr int kNote = 1036;         // "提示："

constexpr FieldRow kFields[] = {
    {1116, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, false, 1},
    {1117, "VacMax", 1249, "最高交流输入(V)", "V", "260", kConditions, false, 2},
    {1118, "Vo", 1250, "输出电压(V)", "V", "12", kConditions, false, 3},
    {1119, "Io", 1251, "输出电流(A)", "A", "20", kConditions, false, 4},
    {1120, "f", 1252, "开关频率(kHz)", "kHz", "100", kConditions, false, 5},
    {1121, "Eff", 1253, "效率(%)", "%", "80", kConditions, false, 6},
    {1122, "Vdf", 1254, "输出二极管≈(V)", "V", "0.6", kConditions, false, 7},
    {1123, "Dmax", 1255, "最大占空比(双管)", "", "0.8", kConditions, false, 8},
    {1124, "DB", 1256, "1/2△B(GS)", "gauss", "1600", kConditions, false, 9},
    {1125, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", kConditions, false, 10},
    {1126, "Ae", 1258, "磁芯面积AE(mm2)", "mm²", "144", kConditions, false, 11},
    {1127, "Np", 1259, "初级匝数NP(1/2)", "turns", "", kTransformer, true, 12},
    {1128, "Ns", 1247, "次级匝数NS(1/2)", "turns", "", kTransformer, true, 13},
    {1129, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, true, 14},
    {1130, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, true, 15},
    {1133, "Irmsp", 1262, "初级电流有效值(A)", "A", "", kTransformer, true, 16},
    {1135, "Irmss", 1263, "次级电流有效值(A)", "A", "", kTransformer, true, 17},
    {1136, "Lo", 1264, "输出电感(μH)", "µH", "", kOther, true, 18},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed, true},
    {kTransformer, "变压器参数", kBlue, true},
    {kOther, "Other", kBlue, true},
    {kNote, "提示：", kPurple, true},
};

constexpr DialogTable kTable{137,     "pushpull", "推挽变换器 Push Pull", "Push-Pull Interface.txt",
                             kFields, kGroups};

}  // namespace

const DialogTable& pushPullTable() {
  return kTable;
}

}  // namespace tarnex
