// The single-switch forward window: its 20 fields in data-exchange order (the order of the
// forward formula names). The window-utilisation factor Kw and the area-product estimate Ap
// close the list; the chosen core's Ae is the last entry of the relabel list. Ap has no
// label of its own: its caption is the formula of the estimate, its unit a fixed static.
#include "tables/forward_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace forward;

namespace {

constexpr int kConditions = 1109;
constexpr int kAreaProduct = 1112;
constexpr int kCore = 1071;
constexpr int kTransformer = 1110;
constexpr int kOther = 1139;
constexpr int kNoteGroup = 1113;

constexpr FieldRow kFields[] = {
    {1097, "VacMin", 1248, "最低交流输入(V)", "V", "90", kConditions, kIn, 1},
    {1098, "VacMax", 1249, "最高交流输入(V)", "V", "270", kConditions, kIn, 2},
    {1031, "Vo", 1250, "输出电压(V)", "V", "5", kConditions, kIn, 3},
    {1099, "Io", 1251, "输出电流(A)", "A", "50", kConditions, kIn, 4},
    {1032, "f", 1252, "开关频率(kHz)", "kHz", "200", kConditions, kIn, 5},
    {1033, "Eff", 1253, "效率(%)", "%", "83", kConditions, kIn, 6},
    {1035, "Vdf", 1254, "输出二极管≈(V)", "V", "0.6", kConditions, kIn, 7},
    {1100, "Dmax", 1255, "最大占空比", "", "0.35", kConditions, kIn, 8},
    {1101, "Bpk", 1270, "峰值磁密(GS)", "gauss", "1500", kConditions, kIn, 9},
    {1102, "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "600", kConditions, kIn, 10},
    {kAe, "Ae", 1258, "Ae(mm2)", "mm²", "", kCore, kIn, 19},
    {1103, "Np", 1259, "初级匝数NP(Ts)", "turns", "", kTransformer, kOut, 12},
    {1104, "Ns", 1247, "次级匝数NS(Ts)", "turns", "", kTransformer, kOut, 13},
    {1105, "Dp", 1260, "初级线径(mm)", "mm", "", kTransformer, kOut, 14},
    {1038, "Ds", 1261, "次级线径(mm)", "mm", "", kTransformer, kOut, 15},
    {1108, "Irmsp", 1262, "初级电流有效值(A)", "A", "", kTransformer, kOut, 16},
    {1044, "Irmss", 1263, "次级电流有效值(A)", "A", "", kTransformer, kOut, 17},
    {1045, "Lo", 1264, "输出电感(μH)", "µH", "", kOther, kOut, 18},
    {1061, "Kw", 1286, "窗口面积利用系数", "", "0.3", kConditions, kIn, 11},
    {kAp, "Ap", 0, "AP=Ae*Wa (Wa---窗口面积)", "cm⁴", "", kAreaProduct, kEst, 0, "cm4"},
};

constexpr GroupRow kGroups[] = {
    {kConditions, "设计条件", kRed},
    {kAreaProduct, "估算磁芯面积乘积AP", kBlue},
    {kCore, "实际所选的磁芯参数", kRed},
    {kTransformer, "变压器参数", kBlue},
    {kOther, "Other", kBlue},
    {kNoteGroup, "注意：", kPurple},
};

// No default button: Enter only checks the fields. The command line starts a design with the
// core estimate.
constexpr ButtonRow kButtons[] = {
    {.id = kCoreButton,
     .caption = "计算磁芯(&C)",
     .key = "core",
     .groupId = kAreaProduct,
     .commandLineDefault = true},
    {kVerifyButton, "验证(&R)", "verify", kCore},
    {kCloseButton, "返回(&B)", ""},
};

constexpr StaticRow kStatics[] = {
    {kNote, StaticKind::Note,
     "电流值都是基于buck最坏工作条件-VinMax下的值，其他参数可以利用其他拓扑的计算方法，"
     "比如后级等效为buck，所以在此只给出变压器和电感的计算结果,"
     "电感是基于其电流纹波率0.4的值计算的。复位绕组匝数一般等于初级绕组，由于励磁电流很小，"
     "所以线径用<30AWG即可。"
     "                                                               "
     "更多详情请阅读帮助文档！",
     kNoteGroup},
};

// Drawing 173 is 229 × 204 pixels; the source rectangle is 1 wider and 11 taller.
constexpr PictureRow kPictures[] = {{"bitmap173", kDrawingFrame, 405, 19, 230, 215}};

constexpr FormulaFileRow kFormulaFiles[] = {{"正激变换器 cfg.txt", {}, "正激变换器"}};
constexpr int kDisabledInFormulaMode[] = {kNote};

constexpr DialogTable kTable{
    .dialogId = 130,
    .key = "forward",
    .titleName = "正激变换器 Forward",
    .fields = kFields,
    .groups = kGroups,
    .buttons = kButtons,
    .statics = kStatics,
    .pictures = kPictures,
    .interfaceFile = "Forward Interface.txt",
    .formulaFiles = kFormulaFiles,
    .disabledInFormulaMode = kDisabledInFormulaMode,
    .launcherButton = launcher::kForwardButton,
    .toolboxName = "正激变换器",
};

}  // namespace

const DialogTable& forwardTable() {
  return kTable;
}

}  // namespace tarnex
