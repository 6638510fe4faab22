// The ringing choke converter window: its 25 fields in data-exchange order, matching the
// relabel list one to one. The transformer is designed at the lowest frequency (full load,
// low line); fMax is the frequency reached at the minimum load.
#include "tables/rcc_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace rcc;

namespace {

constexpr int kConditions = 1090;
constexpr int kTransformer = 1092;

constexpr FieldRow kFields[] = {
    {1027, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, kIn, 1},
    {1028, "VacMax", 1249, "最高交流输入(V)", "V", "260", kConditions, kIn, 2},
    {1029, "Vo", 1250, "输出电压(V)", "V", "5", kConditions, kIn, 3},
    {1030, "IoMax", 1267, "最大负载电流(A)", "A", "1", kConditions, kIn, 4},
    {1052, "IoMin", 1287, "最小负载电流(A)", "A", "0.1", kConditions, kIn, 5},
    {1031, "fMin", 1288, "最低频率(KHz)", "kHz", "60", kConditions, kIn, 6},
    {1032, "Eff", 1253, "效率(%)", "%", "75", kConditions, kIn, 7},
    {1033, "Vswm", 1281, "开关管耐压(V)", "V", "600", kConditions, kIn, 8},
    {1034, "Vswr", 1290, "耐压余量(V)", "V", "150", kConditions, kIn, 9},
    {1043, "Vsw", 1268, "开关管压降(V)", "V", "1.5", kConditions, kIn, 10},
    {1044, "Vdf", 1254, "二极管压降(V)", "V", "0.6", kConditions, kIn, 11},
    {1045, "Bpk", 1270, "峰值磁密(GS)", "gauss", "2500", kConditions, kIn, 12},
    {1046, "Ae", 1258, "磁芯面积Ae(mm2)", "mm²", "19.2", kConditions, kIn, 13},
    {1047, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", kConditions, kIn, 14},
    {1091, "Lp", 1291, "初级电感量(μH)", "µH", "", kTransformer, kOut, 15},
    {1035, "Ls", 1292, "次级电感量(μH)", "µH", "", kTransformer, kOut, 16},
    {1036, "Ipkp", 1293, "初级电流峰值(A)", "A", "", kTransformer, kOut, 17},
    {1037, "Ipks", 1294, "次级电流峰值(A)", "A", "", kTransformer, kOut, 18},
    {1038, "Irmsp", 1262, "初级电流有效值(A)", "A", "", kTransformer, kOut, 19},
    {1039, "Irmss", 1263, "次级电流有效值(A)", "A", "", kTransformer, kOut, 20},
    {1040, "Np", 1259, "初级匝数NP(Ts)", "turns", "", kTransformer, kOut, 21},
    {1041, "Ns", 1247, "次级匝数NS(Ts)", "turns", "", kTransformer, kOut, 22},
    {1042, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, kOut, 23},
    {1048, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, kOut, 24},
    {1049, "fMax", 1295, "Imin处最大频率(KHz)", "kHz", "", kTransformer, kOut, 25},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed},
    {kTransformer, " 变压器参数", kBlue},
};

constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

// Drawing 209 is 234 × 129 pixels; the source rectangle is 1 wider and 10 taller.
constexpr PictureRow kPictures[] = {{"bitmap209", kDrawingFrame, 254, 19, 235, 139}};

constexpr FormulaFileRow kFormulaFiles[] = {{"RCC cfg.txt", {}, "RCC 变换器"}};

constexpr DialogTable kTable{
    .dialogId = 134,
    .key = "rcc",
    .titleName = "Ringing Choke Coverter",
    .fields = kFields,
    .groups = kGroups,
    .buttons = kButtons,
    .pictures = kPictures,
    .interfaceFile = "RCC Interface.txt",
    .formulaFiles = kFormulaFiles,
    .markers = &kRccTitleMarkers,
    .launcherButton = launcher::kRccButton,
    .toolboxName = "RCC变换器",
};

}  // namespace

const DialogTable& rccTable() {
  return kTable;
}

}  // namespace tarnex
