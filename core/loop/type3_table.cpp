// The type III page: the placed poles and zeros with the crossover, gain and R1 in one
// group, the components in the other, and the drawings of the network and of the placement.
#include "loop/loop_tables.h"

namespace tarnex {

using namespace type3;

namespace {

constexpr int kPlacement = 1237;
constexpr int kComponents = 1238;
constexpr int kNetworkGroup = 1239;
constexpr int kPlacementPictureGroup = 1240;

constexpr FieldRow kFields[] = {
    {1211, "fp1", 0, "极点fp1(KHz)", "kHz", "10.5", kPlacement, kIn, 0},
    {1196, "fp2", 0, "极点fp2(KHz)", "kHz", "500", kPlacement, kIn, 0},
    {1214, "fz1", 0, "零点fz1(KHz)", "kHz", "3.918", kPlacement, kIn, 0},
    {1198, "fz2", 0, "零点fz2(KHz)", "kHz", "3.918", kPlacement, kIn, 0},
    {1199, "fc", 0, "开环穿越频率(KHz)", "kHz", "50", kPlacement, kIn, 0},
    {1200, "GdB", 0, "调节器直流增益(dB)", "dB", "16.9", kPlacement, kIn, 0},
    {1206, "R1", 0, "R1（KΩ）", "kΩ", "2", kPlacement, kIn, 0},
    {1201, "C1", 0, "C1(nF)", "nF", "", kComponents, kOut, 0},
    {1202, "C2", 0, "C2(nF)", "nF", "", kComponents, kOut, 0},
    {1203, "C3", 0, "C3(pF)", "pF", "", kComponents, kOut, 0},
    {1204, "R2", 0, "R2(KΩ)", "kΩ", "", kComponents, kOut, 0},
    {1205, "R3", 0, "R3(KΩ)", "kΩ", "", kComponents, kOut, 0},
    {1207, "fEA", 0, "运放穿越频率(KHz)", "kHz", "", kComponents, kOut, 0},
};

constexpr GroupRow kGroups[] = {
    {kPlacement, "放置零极点", kRed},
    {kComponents, "所需元件参数", kBlue},
    {kNetworkGroup, "Ⅲ型补偿网络", Rgb{200, 0, 128}},
    {kPlacementPictureGroup, "零极点设置", Rgb{64, 0, 128}},
};

constexpr ButtonRow kButtons[] = {{kCalculate, "计算(&C)", "calc", kComponents, true}};

constexpr StaticRow kStatics[] = {
    {kHint, StaticKind::Click, "不知道如何设置这些参数？请点击这里", kComponents, kBlue},
};

// Drawing 207 (564 × 352 pixels) is the network, 206 (420 × 268) the placement of its poles
// and zeros; each source rectangle reaches 2 pixels right of the drawing and 10 below.
constexpr PictureRow kPictures[] = {
    {"bitmap207", kNetworkGroup, 480, 19, 566, 362},
    {"bitmap206", kPlacementPictureGroup, 480, 325, 422, 278},
};

constexpr DialogTable kTable{
    .dialogId = 205,
    .key = "loop-type3",
    .titleName = "电压模式Ⅲ型补偿网络 ",
    .fields = kFields,
    .groups = kGroups,
    .buttons = kButtons,
    .statics = kStatics,
    .pictures = kPictures,
};

}  // namespace

const DialogTable& typeIIITable() {
  return kTable;
}

}  // namespace tarnex
