// The flyback window: its 40 fields in data-exchange order, shared by the CCM and DCM
// formula files and matching the relabel list one to one. The results are the 21 fields
// the calculate frame resets; the core estimate Ve and the chosen core's Ae and Le are not
// among them.
#include "tables/flyback_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace flyback;

namespace {

constexpr int kConditions = 1069;
constexpr int kCore = 1071;
constexpr int kTransformer = 1070;
constexpr int kPrimary = 1072;
constexpr int kSecondary = 1073;
constexpr int kSnubber = 1074;

constexpr FieldRow kFields[] = {
    {1016, "Po", 1296, "输出功率(W)", "W", "74", kConditions, kIn, 1},
    {1017, "Vo", 1250, "输出电压(V)", "V", "5", kConditions, kIn, 2},
    {1019, "Eff", 1253, "效率(%)", "%", "70", kConditions, kIn, 3},
    {1020, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, kIn, 4},
    {1021, "VacMax", 1249, "最高交流输入(V)", "V", "270", kConditions, kIn, 5},
    {1023, "Vswm", 1281, "开关管耐压(V)", "V", "600", kConditions, kIn, 6},
    {1055, "Vswr", 1290, "耐压裕量>30(V)", "V", "100", kConditions, kIn, 7},
    {1024, "f", 1252, "开关频率(kHz)", "kHz", "150", kConditions, kIn, 8},
    {1030, "Vdf", 1254, "输出整流管压降(V)", "V", "0.6", kConditions, kIn, 9},
    {kR, "r", 1216, "纹波率(仅CCM)", "", "0.5", kConditions, kIn, 10},
    {kPtd, "Ptd", 1215, "死区时间(T%)", "%", "20", kConditions, kIn, 11},
    {1027, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", kConditions, kIn, 12},
    {1060, "Vopp", 1272, "输出纹波电压(mV)", "mV", "50", kConditions, kIn, 13},
    {kVe, "Ve", kEstimateLabel, "磁芯体积Ve(mm3)", "mm³", "", kEstimateGroup, kEst, 14},
    {kLp, "Lp", 1291, "初级电感量(μH)", "µH", "", kTransformer, kOut, 15},
    {1028, "Ls", 1292, "次级电感量(μH)", "µH", "", kTransformer, kOut, 16},
    {1034, "Np", 1259, "初级匝数NP(Ts)", "turns", "", kTransformer, kOut, 17},
    {1036, "Ns", 1247, "次级匝数NS(Ts)", "turns", "", kTransformer, kOut, 18},
    {1037, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, kOut, 19},
    {1038, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, kOut, 20},
    {1039, "Zc", 1297, "气隙长度(mm)", "mm", "", kTransformer, kOut, 21},
    {1040, "Iin", 1298, "电流平均值(A)", "A", "", kPrimary, kOut, 22},
    {kIpkp, "Ipkp", 1293, "电流峰值(A)", "A", "", kPrimary, kOut, 23},
    {1042, "Irmsp", 1262, "电流有效值(A)", "A", "", kPrimary, kOut, 24},
    {1061, "Iswe", 1299, "Isw=10*Irms(A)", "A", "", kPrimary, kOut, 25},
    {1058, "Ton", 1278, "导通时间Max(uS)", "µs", "", kPrimary, kOut, 26},
    {1059, "Cin", 1300, "输入电容>(μF)", "µF", "", kPrimary, kOut, 27},
    {kAe, "Ae", 1258, "Ae(mm2)", "mm²", "", kCore, kIn, 28},
    {kLe, "Le", 1066, "Le(mm)", "mm", "", kCore, kIn, 29},
    {1033, "Bpk", 1270, "峰值磁密(GS)", "gauss", "2500", kCore, kIn, 30},
    {1032, "Bsat", 1271, "饱和磁密(GS)", "gauss", "3000", kCore, kIn, 31},
    {1062, "Irmss", 1263, "电流有效值(A)", "A", "", kSecondary, kOut, 32},
    {1063, "Ipks", 1294, "电流峰值(A)", "A", "", kSecondary, kOut, 33},
    {1064, "Vdm", 1283, "二极管耐压 >(V)", "V", "", kSecondary, kOut, 34},
    {1065, "Idm", 1301, "二极管电流 >(A)", "A", "", kSecondary, kOut, 35},
    {1067, "Co", 1284, "输出电容>(μF)", "µF", "", kSecondary, kOut, 36},
    {1068, "Vcm", 1302, "输出电容耐压>(V)", "V", "", kSecondary, kOut, 37},
    {1048, "Per", 1303, "漏感占一次百分比(%)", "%", "5", kSnubber, kIn, 38},
    {kClk, "Clk", 1304, "漏感吸收电容>(nF)", "nF", "", kSnubber, kOut, 39},
    {kRlk, "Rlk", 1305, "漏感吸收电阻(KΩ)", "kΩ", "", kSnubber, kOut, 40},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed},
    {kEstimateGroup, "估算所需磁芯体积Ve=Ae*Le", kBlue},
    {kCore, " 请输入磁芯参数再继续验证", kRed},
    {kTransformer, "变压器参数", kBlue},
    {kPrimary, "初级参数", kBlue},
    {kSecondary, "次级参数", kBlue},
    {kSnubber, "漏感吸收(RCD)", kRed},
};

constexpr ListEntry kModes[] = {{"连续(CCM)", "ccm"}, {"断续(DCM)", "dcm"}};
constexpr ListRow kLists[] = {{kModeList, "工作模式", "mode", kModes, kConditions}};

// No default button: Enter only checks the fields.
constexpr ButtonRow kButtons[] = {
    {kCoreButton, "计算磁芯(&C)", "core", kEstimateGroup},
    {kVerifyButton, "验证(&R)", "verify", kCore},
    {kSnubberButton, "计算(&K)", "snubber", kSnubber},
    {kCloseButton, "返回(&B)", ""},
};

constexpr StaticRow kStatics[] = {
    {kEmpiricalNote, StaticKind::Label, "(铁氧体)经验公式", kEstimateGroup},
};

// Drawing 166 is 270 × 154 pixels; the source rectangle reaches 10 pixels below it.
constexpr PictureRow kPictures[] = {{"bitmap166", kDrawingFrame, 432, 20, 270, 164}};

constexpr FormulaFileRow kFormulaFiles[] = {
    {"CCM反激变换器 cfg.txt", {{{kModeList, kCcm}}}, "CCM 反激"},
    {"DCM反激变换器 cfg.txt", {{{kModeList, kDcm}}}, "DCM 反激"},
};

constexpr DialogTable kTable{
    .dialogId = 129,
    .key = "flyback",
    .titleName = "反激变换器 Flyback",
    .fields = kFields,
    .groups = kGroups,
    .lists = kLists,
    .buttons = kButtons,
    .statics = kStatics,
    .pictures = kPictures,
    .interfaceFile = "Flyback Interface.txt",
    .formulaFiles = kFormulaFiles,
    .launcherButton = launcher::kFlybackButton,
    .toolboxName = "反激变换器",
};

}  // namespace

const DialogTable& flybackTable() {
  return kTable;
}

}  // namespace tarnex
