// The DC-DC window: its fields in data-exchange order, which is also the order of the names a
// DC-DC formula file may use and of the relabel list; two lists choose the topology and the
// conduction mode, and with them the drawing and the formula file.
#include "tables/dcdc_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace dcdc;

namespace {

constexpr int kConditions = 1082;
constexpr int kInductor = 1088;
constexpr int kOther = 1087;
constexpr int kNote = 1089;

constexpr FieldRow kFields[] = {
    {1030, "VinMin", 1265, "最低输入电压(V)", "V", "18", kConditions, kIn, 1},
    {1040, "VinMax", 1266, "最高输入电压(V)", "V", "24", kConditions, kIn, 2},
    {1047, "Vo", 1250, "输出电压(V)", "V", "12", kConditions, kIn, 3},
    {1041, "IoMax", 1267, "最大负载(A)", "A", "1", kConditions, kIn, 4},
    {1042, "Vsw", 1268, "开关管Vsw(V)", "V", "1.5", kConditions, kIn, 5},
    {1064, "Vdf", 1254, "二极管VD(V)", "V", "0.5", kConditions, kIn, 6},
    {1044, "f", 1252, "开关频率(kHz)", "kHz", "150", kConditions, kIn, 7},
    {kPtd, "Ptd", 1215, "死区时间(T%)", "%", "20", kConditions, kIn, 8},
    {kR, "r", 1216, "纹波率(r)", "", "0.4", kConditions, kIn, 9},
    {1048, "Bpk", 1270, "峰值磁密(GS)", "gauss", "2500", kConditions, kIn, 10},
    {1049, "Bsat", 1271, "饱和磁密(GS)", "gauss", "3000", kConditions, kIn, 11},
    {1027, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "400", kConditions, kIn, 12},
    {1056, "Vopp", 1272, "输出纹波电压(mV)  ", "mV", "50", kConditions, kIn, 13},
    {1057, "Ae", 1258, "磁芯面积Ae(mm2)", "mm²", "23", kConditions, kIn, 14},
    {1031, "L", 1273, "电感量(μH)", "µH", "", kInductor, kOut, 15},
    {1032, "Ipk", 1274, "电流峰值(A)", "A", "", kInductor, kOut, 16},
    {1033, "Irms", 1275, "电流有效值(A)", "A", "", kInductor, kOut, 17},
    {1034, "DL", 1276, "绕线线径(mm)", "mm", "", kInductor, kOut, 18},
    {1036, "NL", 1277, "绕线匝数(Ts)", "turns", "", kInductor, kOut, 19},
    {1058, "Ton", 1278, "导通时间(μS)", "µs", "", kOther, kOut, 20},
    {1038, "Duty", 1279, "占空比", "", "", kOther, kOut, 21},
    {1061, "Iswrms", 1280, "开关管有效电流(A)", "A", "", kOther, kOut, 22},
    {1051, "Vswm", 1281, "开关管耐压>(V)", "V", "", kOther, kOut, 23},
    {1065, "Idrms", 1282, "二极管有效电流(A)", "A", "", kOther, kOut, 24},
    {1052, "Vdm", 1283, "二极管耐压>(V)", "V", "", kOther, kOut, 25},
    {1067, "Co", 1284, "输出电容估算值(uF)", "µF", "", kOther, kOut, 26},
    {1054, "Vc", 1285, "输出电容耐压>(V)", "V", "", kOther, kOut, 27},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed},
    {kInductor, "电感参数", kBlue},
    {kOther, "其他参数", kBlue},
    {kNote, "提示：", kPurple},
};

constexpr ListEntry kTopologies[] = {
    {"buck", "buck"}, {"boost", "boost"}, {"buck-boost", "buck-boost"}};
constexpr ListEntry kModes[] = {{"连续(CCM)", "ccm"}, {"断续(DCM)", "dcm"}};

constexpr ListRow kLists[] = {
    {kTopologyList, "DC-DC拓扑", "topology", kTopologies, kConditions},
    {kModeList, "工作模式", "mode", kModes, kConditions},
};

constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

constexpr StaticRow kStatics[] = {
    {kHint, StaticKind::Note,
     "请先选择拓扑和工作模式然后输入设计条件进行计算，左边的参数纹波率是指  dI/IL，即：  "
     "电流纹波/电感斜坡中值， 定义在连续模式下,只要 r<2 即可以保证连续，推荐0.4,"
     "此时变换器的应力损耗等最小；死区时间是为了保证断续而设置的，推荐导通时间加上关断时间为0.8T，"
     "留0.2的余量。"
     "                    ",
     kNote},
    {kHelpLine, StaticKind::Note, "    更多详情请阅读帮助文档!    ", kNote},
};

// Drawings 167 (225 × 117 pixels), 168 (217 × 115) and 169 (208 × 105) follow the topology;
// the source rectangle reaches 10 pixels below each (and 2 beyond boost and buck-boost).
constexpr PictureRow kPictures[] = {
    {"bitmap167", kDrawingFrame, 369, 19, 225, 127, {kTopologyList, kBuck}},
    {"bitmap168", kDrawingFrame, 370, 19, 219, 125, {kTopologyList, kBoost}},
    {"bitmap169", kDrawingFrame, 370, 19, 210, 115, {kTopologyList, kBuckBoost}},
};

constexpr FormulaFileRow kFormulaFiles[] = {
    {"CCM Buck cfg.txt", {{{kTopologyList, kBuck}, {kModeList, kCcm}}}, "CCM Buck"},
    {"DCM Buck cfg.txt", {{{kTopologyList, kBuck}, {kModeList, kDcm}}}, "DCM Buck"},
    {"CCM Boost cfg.txt", {{{kTopologyList, kBoost}, {kModeList, kCcm}}}, "CCM Boost"},
    {"DCM Boost cfg.txt", {{{kTopologyList, kBoost}, {kModeList, kDcm}}}, "DCM Boost"},
    {"CCM Buck-Boost cfg.txt",
     {{{kTopologyList, kBuckBoost}, {kModeList, kCcm}}},
     "CCM Buck-Boost"},
    {"DCM Buck-Boost cfg.txt",
     {{{kTopologyList, kBuckBoost}, {kModeList, kDcm}}},
     "DCM Buck-Boost"},
};

constexpr int kDisabledInFormulaMode[] = {kHint, kHelpLine};

constexpr DialogTable kTable{
    .dialogId = 165,
    .key = "dcdc",
    .titleName = "DC-DC变换器",
    .fields = kFields,
    .groups = kGroups,
    .lists = kLists,
    .buttons = kButtons,
    .statics = kStatics,
    .pictures = kPictures,
    .interfaceFile = "DC-DC Interface.txt",
    .formulaFiles = kFormulaFiles,
    .disabledInFormulaMode = kDisabledInFormulaMode,
    .launcherButton = launcher::kDcDcButton,
    .toolboxName = "DC-DC变换器",
};

}  // namespace

const DialogTable& dcdcTable() {
  return kTable;
}

}  // namespace tarnex
