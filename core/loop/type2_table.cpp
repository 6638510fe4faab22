// The type II page: four numbered steps (the power stage, its control-to-output
// characteristic, the placement of the compensation, the components), the hands that lead
// from one step to the next, the drawing of the network and the gain picture of the kind.
#include "loop/loop_tables.h"

namespace tarnex {

using namespace vctrl;

namespace {

constexpr int kStep1Group = 1231;
constexpr int kStep2Group = 1232;
constexpr int kStep3Group = 1234;
constexpr int kStep4Group = 1233;
constexpr int kNetworkGroup = 1225;
constexpr int kGainPictureGroup = 1226;

constexpr FieldRow kFields[] = {
    {1195, "Vo", 0, "输出电压(V)", "V", "5", kStep1Group, kIn, 0},
    {1196, "Iomax", 0, "额定负载电流(A)", "A", "10", kStep1Group, kIn, 0},
    {1197, "Iomin", 0, "最小负载电流(A)", "A", "1", kStep1Group, kIn, 0},
    {1198, "Vinmax", 0, "最高直流输入(V)", "V", "10", kStep1Group, kIn, 0},
    {1199, "Vinmin", 0, "最低直流输入(V)", "V", "15", kStep1Group, kIn, 0},
    {1200, "fsw", 0, "开关频率(kHz)", "kHz", "100", kStep1Group, kIn, 0},
    {1201, "Co", 0, "输出电容(μF)", "µF", "470", kStep1Group, kIn, 0},
    {1202, "ESR", 0, "电容ESR(Ω)", "Ω", "0.13", kStep1Group, kIn, 0},
    {1204, "Vramp", 0, "三角波电压(V)", "V", "3", kStep1Group, kIn, 0},
    {1203, "Vref", 0, "运放参考电压(V)", "V", "2.5", kStep1Group, kIn, 0},
    {kL, "L", kLLabel, "输出电感(μH)", "µH", "50", kStep1Group, kIn, 0},
    {1206, "Dmax", 0, "最大占空比", "", "0.5", kStep1Group, kIn, 0},
    {kFpo, "fpo", kFpoLabel, "LC双重极点(kHz)", "kHz", "", kStep2Group, kOut, 0},
    {kFesr, "fesr", 0, "ESR零点(KHz)", "kHz", "", kStep2Group, kOut, 0},
    {kGesr, "Gesr", 0, "增益(dB)(ESR Zero)", "dB", "", kStep2Group, kOut, 0},
    {kFp1, "fp1", kFp1Label, "fp1(KHz)(图中P3)", "kHz", "80", kStep3Group, kIn, 0},
    {kFz1, "fz1", kFz1Label, "fz1(KHz)(图中P5)", "kHz", "5", kStep3Group, kIn, 0},
    {1218, "fc", 0, "环路穿越频率(KHz)", "kHz", "20", kStep3Group, kIn, 0},
    {kPmWant, "PMwant", kPmWantLabel, "期望相位裕量(°)", "°", "45", kStep3Group, kIn, 0},
    {1220, "R1", 0, "R1(Ω)", "Ω", "1000", kStep3Group, kIn, 0},
    {kStep4Results[0], "C1", 0, "C1(pF)", "pF", "", kStep4Group, kOut, 0},
    {kStep4Results[1], "C2", 0, "C2(pF)", "pF", "", kStep4Group, kOut, 0},
    {kStep4Results[2], "R2", 0, "R2(Ω)", "Ω", "", kStep4Group, kOut, 0},
    {kStep4Results[3], "PM", 0, "相位裕量(°)", "°", "", kStep4Group, kOut, 0},
};

// Listed in the order the page shows them: the first step above the second, the fourth above
// the third beside them, so that the steps go round and the hands point along.
constexpr GroupRow kGroups[] = {
    {kStep1Group, "第一步：输入控制到输出参数(可选)", kRed},
    {kStep2Group, "第二步：计算出控制到输出特性", Rgb{200, 0, 128}},
    {kStep4Group, "第四步:得到所需元件参数", Rgb{64, 0, 128}},
    {kStep3Group, "第三步:放置补偿点（Ⅱ型）", Rgb{100, 0, 170}},
    {kNetworkGroup, "Ⅱ型补偿网络", Rgb{64, 0, 128}},
    {kGainPictureGroup, ""},
};

constexpr ListEntry kKinds[] = {{"DCM反激", "flyback"}, {"正激类", "forward"}};
constexpr ListRow kLists[] = {{kKindList, "电路形式", "kind", kKinds, kStep1Group, kForward}};

constexpr ButtonRow kButtons[] = {
    {kStep2, "计算(&C)", "step2", kStep2Group, true},
    {kStep4, "计算(&K)", "step4", kStep4Group},
};

constexpr StaticRow kStatics[] = {
    {kOtherHint, StaticKind::Click, "其他参数？请点击这里", kStep1Group, kBlue},
    {kCriteriaHint, StaticKind::Click, "不知道稳定的增益准则？请点击这里", kStep3Group, kBlue},
};

// The hands 194 (down, 40 × 48 pixels), 196 (up, 40 × 48) and 195 (right, 48 × 40) stand
// before the step they lead to, at their own size: from the first step down to the second,
// from the second across to the third, from the third up to the fourth. Drawing 197
// (740 × 504) is the network; 203 (643 × 451, DCM flyback) or 204 (650 × 467, forward type)
// the gain picture of the kind; their source rectangles reach 2 pixels right and 10 below.
constexpr PictureRow kPictures[] = {
    {"bitmap194", kStep2Group, 110, 416, 40, 48, {}, {70, 0, 27, 32}},
    {"bitmap195", kStep3Group, 250, 505, 48, 40, {}, {0, 0, 32, 27}},
    {"bitmap196", kStep3Group, 411, 283, 40, 48, {}, {70, 0, 27, 32}},
    {"bitmap197", kNetworkGroup, 575, 18, 742, 514},
    {"bitmap203", kGainPictureGroup, 575, 295, 645, 461, {kKindList, kDcmFlyback}},
    {"bitmap204", kGainPictureGroup, 575, 295, 652, 477, {kKindList, kForward}},
};

constexpr DialogTable kTable{
    .dialogId = 107,
    .key = "loop-type2",
    .titleName = "电压模式Ⅱ型补偿网络",
    .fields = kFields,
    .groups = kGroups,
    .lists = kLists,
    .buttons = kButtons,
    .statics = kStatics,
    .pictures = kPictures,
};

}  // namespace

const DialogTable& typeIITable() {
  return kTable;
}

}  // namespace tarnex
