// The full-bridge window: its 18 fields in data-exchange order, matching the relabel list
// one to one. The secondary is centre-tapped; Ns and Irmss refer to one half.
#include "tables/field_table.h"

namespace tarnex {

namespace {

constexpr int kConditions = 1181;   // "设计条件"
constexpr int kTransformer = 1182;  // "变压器参数"
constexpr int kOther = 1087;        // "Other"
constexpr int kNote = 1086;         // "提示："

constexpr FieldRow kFields[] = {
    {1164, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, false, 1},
    {1165, "VacMax", 1249, "最高交流输入(V)", "V", "260", kConditions, false, 2},
    {1166, "Vo", 1250, "输出电压(V)", "V", "12", kConditions, false, 3},
    {1167, "Io", 1251, "输出电流(A)", "A", "50", kConditions, false, 4},
    {1168, "f", 1252, "开关频率(kHz)", "kHz", "100", kConditions, false, 5},
    {1169, "Eff", 1253, "效率(%)", "%", "90", kConditions, false, 6},
    {1170, "Vdf", 1254, "输出二极管≈(V)", "V", "0.6", kConditions, false, 7},
    {1171, "Dmax", 1255, "最大占空比(2桥臂)", "", "0.8", kConditions, false, 8},
    {1172, "DB", 1256, "1/2△B(GS)", "gauss", "1600", kConditions, false, 9},
    {1173, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", kConditions, false, 10},
    {1174, "Ae", 1258, "磁芯面积Ae(mm2)", "mm²", "144", kConditions, false, 11},
    {1175, "Np", 1259, "初级匝数NP", "turns", "", kTransformer, true, 12},
    {1176, "Ns", 1247, "次级匝数NS(1/2)", "turns", "", kTransformer, true, 13},
    {1177, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, true, 14},
    {1178, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, true, 15},
    {1179, "Irmsp", 1262, "初级电流有效值(A)", "A", "", kTransformer, true, 16},
    {1180, "Irmss", 1263, "次级电流有效值(A)", "A", "", kTransformer, true, 17},
    {1183, "Lo", 1264, "输出电感(uH)", "µH", "", kOther, true, 18},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed, true},
    {kTransformer, "变压器参数", kBlue, true},
    {kOther, "Other", kBlue, true},
    {kNote, "提示：", kPurple, true},
};

constexpr DialogTable kTable{
    136, "fullbridge", "全桥变换器 Full Bridge", "Full Bridge Interface.txt", kFields, kGroups};

}  // namespace

const DialogTable& fullBridgeTable() {
  return kTable;
}

}  // namespace tarnex
