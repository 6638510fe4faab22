// The DC-DC window (buck, boost, buck-boost): its fields in data-exchange order, which is
// also the order of the names a DC-DC formula file may use and of the relabel list.
#include "tables/field_table.h"

namespace tarnex {

namespace {

constexpr int kConditions = 1082;  // "设计条件"
constexpr int kInductor = 1088;    // "电感参数"
constexpr int kOther = 1087;       // "其他参数"
constexpr int kNote = 1089;        // "提示："

constexpr FieldRow kFields[] = {
    {1030, "VinMin", 1265, "最低输入电压(V)", "V", "18", kConditions, false, 1},
    {1040, "VinMax", 1266, "最高输入电压(V)", "V", "24", kConditions, false, 2},
    {1047, "Vo", 1250, "输出电压(V)", "V", "12", kConditions, false, 3},
    {1041, "IoMax", 1267, "最大负载(A)", "A", "1", kConditions, false, 4},
    {1042, "Vsw", 1268, "开关管Vsw(V)", "V", "1.5", kConditions, false, 5},
    {1064, "Vdf", 1254, "二极管VD(V)", "V", "0.5", kConditions, false, 6},
    {1044, "f", 1252, "开关频率(kHz)", "kHz", "150", kConditions, false, 7},
    {1046, "Ptd", 1215, "死区时间(T%)", "%", "20", kConditions, false, 8},
    {1045, "r", 1216, "纹波率(r)", "", "0.4", kConditions, false, 9},
    {1048, "Bpk", 1270, "峰值磁密(GS)", "gauss", "2500", kConditions, false, 10},
    {1049, "Bsat", 1271, "饱和磁密(GS)", "gauss", "3000", kConditions, false, 11},
    {1027, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "400", kConditions, false, 12},
    {1056, "Vopp", 1272, "输出纹波电压(mV)  ", "mV", "50", kConditions, false, 13},
    {1057, "Ae", 1258, "磁芯面积Ae(mm2)", "mm²", "23", kConditions, false, 14},
    {1031, "L", 1273, "电感量(μH)", "µH", "", kInductor, true, 15},
    {1032, "Ipk", 1274, "电流峰值(A)", "A", "", kInductor, true, 16},
    {1033, "Irms", 1275, "电流有效值(A)", "A", "", kInductor, true, 17},
    {1034, "DL", 1276, "绕线线径(mm)", "mm", "", kInductor, true, 18},
    {1036, "NL", 1277, "绕线匝数(Ts)", "turns", "", kInductor, true, 19},
    {1058, "Ton", 1278, "导通时间(μS)", "µs", "", kOther, true, 20},
    {1038, "Duty", 1279, "占空比", "", "", kOther, true, 21},
    {1061, "Iswrms", 1280, "开关管有效电流(A)", "A", "", kOther, true, 22},
    {1051, "Vswm", 1281, "开关管耐压>(V)", "V", "", kOther, true, 23},
    {1065, "Idrms", 1282, "二极管有效电流(A)", "A", "", kOther, true, 24},
    {1052, "Vdm", 1283, "二极管耐压>(V)", "V", "", kOther, true, 25},
    {1067, "Co", 1284, "输出电容估算值(uF)", "µF", "", kOther, true, 26},
    {1054, "Vc", 1285, "输出电容耐压>(V)", "V", "", kOther, true, 27},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed, true},
    {kInductor, "电感参数", kBlue, true},
    {kOther, "其他参数", kBlue, true},
    {kNote, "提示：", kPurple, true},
};

constexpr DialogTable kTable{165, "dcdc", "DC-DC变换器", "DC-DC Interface.txt", kFields, kGroups};

}  // namespace

const DialogTable& dcdcTable() {
  return kTable;
}

}  // namespace tarnex
