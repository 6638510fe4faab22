// The single-switch forward window: its 20 fields in data-exchange order (the order of the
// forward formula names). The window-utilisation factor Kw and the area-product estimate Ap
// close the list; the chosen core's Ae is the last entry of the relabel list. Ap has no
// label static of its own: its text and its unit "cm4" are fixed statics beside it.
#include "tables/field_table.h"

namespace tarnex {

namespace {

constexpr int kConditions = 1109;   // "设计条件"
constexpr int kAreaProduct = 1112;  // "估算磁芯面积乘积AP"
constexpr int kCore = 1071;         // "实际所选的磁芯参数"
constexpr int kTransformer = 1110;  // "变压器参数"
constexpr int kOther = 1139;        // "Other"
constexpr int kNote = 1113;         // "注意："

constexpr FieldRow kFields[] = {
    {1097, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, false, 1},
    {1098, "VacMax", 1249, "最高交流输入(V)", "V", "270", kConditions, false, 2},
    {1031, "Vo", 1250, "输出电压(V)", "V", "5", kConditions, false, 3},
    {1099, "Io", 1251, "输出电流(A)", "A", "50", kConditions, false, 4},
    {1032, "f", 1252, "开关频率(kHz)", "kHz", "200", kConditions, false, 5},
    {1033, "Eff", 1253, "效率(%)", "%", "83", kConditions, false, 6},
    {1035, "Vdf", 1254, "输出二极管≈(V)", "V", "0.6", kConditions, false, 7},
    {1100, "Dmax", 1255, "最大占空比", "", "0.35", kConditions, false, 8},
    {1101, "Bpk", 1270, "峰值磁密(GS)", "gauss", "1500", kConditions, false, 9},
    {1102, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "600", kConditions, false, 10},
    {1046, "Ae", 1258, "Ae(mm2)", "mm²", "", kCore, false, 19},
    {1103, "Np", 1259, "初级匝数NP(Ts)", "turns", "", kTransformer, true, 12},
    {1104, "Ns", 1247, "次级匝数NS(Ts)", "turns", "", kTransformer, true, 13},
    {1105, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, true, 14},
    {1038, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, true, 15},
    {1108, "Irmsp", 1262, "初级电流有效值(A)", "A", "", kTransformer, true, 16},
    {1044, "Irmss", 1263, "次级电流有效值(A)", "A", "", kTransformer, true, 17},
    {1045, "Lo", 1264, "输出电感(μH)", "µH", "", kOther, true, 18},
    {1061, "Kw", 1286, "窗口面积利用系数", "", "0.3", kConditions, false, 11},
    {1094, "Ap", 0, "AP=Ae*Wa (Wa---窗口面积)", "cm⁴", "", kAreaProduct, false, 0},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed, true},
    {kAreaProduct, "估算磁芯面积乘积AP", kBlue, true},
    {kCore, "实际所选的磁芯参数", kRed, true},
    {kTransformer, "变压器参数", kBlue, true},
    {kOther, "Other", kBlue, true},
    {kNote, "注意：", kPurple, true},
};

constexpr DialogTable kTable{130,     "forward", "正激变换器 Forward", "Forward Interface.txt",
                             kFields, kGroups};

}  // namespace

const DialogTable& forwardTable() {
  return kTable;
}

}  // namespace tarnex
