// The flyback window: its 40 fields in data-exchange order, shared by the CCM and DCM
// formula files and matching the relabel list one to one. The results are the 21 fields
// the calculate frame resets; the core estimate Ve and the chosen core's Ae and Le are not
// among them.
#include "tables/field_table.h"

namespace tarnex {

namespace {

constexpr int kConditions = 1069;   // "设计条件"
constexpr int kEstimate = 1051;     // core-volume estimate (captioned by mode)
constexpr int kCore = 1071;         // " 请输入磁芯参数再继续验证": the chosen core
constexpr int kTransformer = 1070;  // "变压器参数"
constexpr int kPrimary = 1072;      // "初级参数"
constexpr int kSecondary = 1073;    // "次级参数"
constexpr int kSnubber = 1074;      // "漏感吸收(RCD)"

constexpr FieldRow kFields[] = {
    {1016, "Po", 1296, "输出功率(W)", "W", "74", kConditions, false, 1},
    {1017, "Vo", 1250, "输出电压(V)", "V", "5", kConditions, false, 2},
    {1019, "Eff", 1253, "效率(%)", "%", "70", kConditions, false, 3},
    {1020, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, false, 4},
    {1021, "VacMax", 1249, "最高交流输入(V)", "V", "270", kConditions, false, 5},
    {1023, "Vswm", 1281, "开关管耐压(V)", "V", "600", kConditions, false, 6},
    {1055, "Vswr", 1290, "耐压裕量>30(V)", "V", "100", kConditions, false, 7},
    {1024, "f", 1252, "开关频率(kHz)", "kHz", "150", kConditions, false, 8},
    {1030, "Vdf", 1254, "输出整流管压降(V)", "V", "0.6", kConditions, false, 9},
    {1025, "r", 1216, "纹波率(仅CCM)", "", "0.5", kConditions, false, 10},
    {1026, "Ptd", 1215, "死区时间(T%)", "%", "20", kConditions, false, 11},
    {1027, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", kConditions, false, 12},
    {1060, "Vopp", 1272, "输出纹波电压(mV)", "mV", "50", kConditions, false, 13},
    {1049, "Ve", 1052, "磁芯体积Ve(mm3)", "mm³", "", kEstimate, false, 14},
    {1022, "Lp", 1291, "初级电感量(μH)", "µH", "", kTransformer, true, 15},
    {1028, "Ls", 1292, "次级电感量(μH)", "µH", "", kTransformer, true, 16},
    {1034, "Np", 1259, "初级匝数NP(Ts)", "turns", "", kTransformer, true, 17},
    {1036, "Ns", 1247, "次级匝数NS(Ts)", "turns", "", kTransformer, true, 18},
    {1037, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, true, 19},
    {1038, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, true, 20},
    {1039, "Zc", 1297, "气隙长度(mm)", "mm", "", kTransformer, true, 21},
    {1040, "Iin", 1298, "电流平均值(A)", "A", "", kPrimary, true, 22},
    {1041, "Ipkp", 1293, "电流峰值(A)", "A", "", kPrimary, true, 23},
    {1042, "Irmsp", 1262, "电流有效值(A)", "A", "", kPrimary, true, 24},
    {1061, "Iswe", 1299, "Isw=10*Irms(A)", "A", "", kPrimary, true, 25},
    {1058, "Ton", 1278, "导通时间Max(uS)", "µs", "", kPrimary, true, 26},
    {1059, "Cin", 1300, "输入电容>(μF)", "µF", "", kPrimary, true, 27},
    {1029, "Ae", 1258, "Ae(mm2)", "mm²", "", kCore, false, 28},
    {1031, "Le", 1066, "Le(mm)", "mm", "", kCore, false, 29},
    {1033, "Bpk", 1270, "峰值磁密(GS)", "gauss", "2500", kCore, false, 30},
    {1032, "Bsat", 1271, "饱和磁密(GS)", "gauss", "3000", kCore, false, 31},
    {1062, "Irmss", 1263, "电流有效值(A)", "A", "", kSecondary, true, 32},
    {1063, "Ipks", 1294, "电流峰值(A)", "A", "", kSecondary, true, 33},
    {1064, "Vdm", 1283, "二极管耐压 >(V)", "V", "", kSecondary, true, 34},
    {1065, "Idm", 1301, "二极管电流 >(A)", "A", "", kSecondary, true, 35},
    {1067, "Co", 1284, "输出电容>(μF)", "µF", "", kSecondary, true, 36},
    {1068, "Vcm", 1302, "输出电容耐压>(V)", "V", "", kSecondary, true, 37},
    {1048, "Per", 1303, "漏感占一次百分比(%)", "%", "5", kSnubber, false, 38},
    {1056, "Clk", 1304, "漏感吸收电容>(nF)", "nF", "", kSnubber, true, 39},
    {1057, "Rlk", 1305, "漏感吸收电阻(KΩ)", "kΩ", "", kSnubber, true, 40},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed, true},
    {kEstimate, "估算所需磁芯体积Ve=Ae*Le", kBlue, true},
    {kCore, " 请输入磁芯参数再继续验证", kRed, true},
    {kTransformer, "变压器参数", kBlue, true},
    {kPrimary, "初级参数", kBlue, true},
    {kSecondary, "次级参数", kBlue, true},
    {kSnubber, "漏感吸收(RCD)", kRed, true},
};

constexpr DialogTable kTable{129,     "flyback", "反激变换器 Flyback", "Flyback Interface.txt",
                             kFields, kGroups};

}  // namespace

const DialogTable& flybackTable() {
  return kTable;
}

}  // namespace tarnex
