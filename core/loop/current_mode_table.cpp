// The current-mode page: the power stage and the amplifier in one group, the compensation
// components in the other, and the drawings of the amplifier's network (following the type)
// and of the slope-compensation waveforms.
#include "loop/loop_tables.h"

namespace tarnex {

using namespace icctrl;

namespace {

constexpr int kStage = 1192;
constexpr int kComponents = 1193;
constexpr Rgb kDarkPurple{64, 0, 128};

constexpr FieldRow kFields[] = {
    {1030, "Vo", 0, "输出电压(V)", "V", "5", kStage, kIn, 0},
    {1031, "Io", 0, "负载电流(A)", "A", "1", kStage, kIn, 0},
    {1032, "Co", 0, "输出电容(μF)", "µF", "470", kStage, kIn, 0},
    {1033, "ESR", 0, "电容ESR(Ω)", "Ω", "0.13", kStage, kIn, 0},
    {1034, "D", 0, "占空比(Max)", "", "0.5", kStage, kIn, 0},
    {1035, "Vin", 0, "最低输入电压(V)", "V", "10", kStage, kIn, 0},
    {1036, "L", 0, "电感(μH)", "µH", "30", kStage, kIn, 0},
    {1037, "Vse", 0, "斜率补偿电压(V)", "V", "1", kStage, kIn, 0},
    {1038, "Ri", 0, "电流传递电阻(Ω)", "Ω", "0.6", kStage, kIn, 0},
    {1039, "fsw", 0, "工作频率(KHz)", "kHz", "60", kStage, kIn, 0},
    {1040, "fc", 0, "穿越频率(KHz)", "kHz", "20", kStage, kIn, 0},
    {1043, "R1", 0, "取样电阻R1(Ω)", "Ω", "4700", kStage, kIn, 0},
    {kGm, "gm", 0, "跨导gm", "A/V", "0.3", kStage, kIn, 0},
    {1052, "Vref", 0, "运放参考电压(V)", "V", "2.5", kStage, kIn, 0},
    {1044, "GdB", 0, "调节器直流增益dB", "dB", "", kComponents, kOut, 0},
    {1045, "C1", 0, "C1(μF)", "µF", "", kComponents, kOut, 0},
    {1046, "R2", 0, "R2(Ω)", "Ω", "", kComponents, kOut, 0},
    {1047, "C2", 0, "C2(μF)", "µF", "", kComponents, kOut, 0},
    {1048, "fp", 0, "输出极点(Hz)", "Hz", "", kComponents, kOut, 0},
    {1049, "fz", 0, "ESR零点(Hz)", "Hz", "", kComponents, kOut, 0},
    {1051, "fEA", 0, "运放穿越频率(Hz)", "Hz", "", kComponents, kOut, 0},
};

constexpr GroupRow kGroups[] = {
    {kStage, "控制到输出参数", kRed},
    {kComponents, "确定补偿元件参数", kBlue},
    {kCompensatorGroup, "电流模式补偿", kDarkPurple},
    {kSlopeGroup, "斜率补偿", kDarkPurple},
};

constexpr ListEntry kTypes[] = {{"跨导运放", "gm"}, {"普通运放", "opamp"}};
constexpr ListRow kLists[] = {{kTypeList, "补偿器类型", "type", kTypes, kStage}};

constexpr ButtonRow kButtons[] = {{kCalculate, "计算(&C)", "calc", kComponents, true}};

constexpr StaticRow kStatics[] = {
    {kEsrHint, StaticKind::Click, "不知道如何确定电容的ESR？请点击这里", kStage, kBlue},
};

// Drawings 192 (528 × 348 pixels, transconductance amplifier) or 191 (504 × 355, op-amp)
// follow the type; 190 (592 × 418) shows the slope compensation. Each source rectangle
// reaches 2 pixels right of its drawing and 10 below.
constexpr PictureRow kPictures[] = {
    {"bitmap192", kCompensatorGroup, 445, 19, 530, 358, {kTypeList, kTransconductance}},
    {"bitmap191", kCompensatorGroup, 445, 19, 506, 365, {kTypeList, kOpAmp}},
    {"bitmap190", kSlopeGroup, 442, 296, 594, 428},
};

constexpr DialogTable kTable{
    .dialogId = 106,
    .key = "loop-current",
    .titleName = "电流模式控制环路补偿",
    .fields = kFields,
    .groups = kGroups,
    .lists = kLists,
    .buttons = kButtons,
    .statics = kStatics,
    .pictures = kPictures,
};

}  // namespace

const DialogTable& currentModeTable() {
  return kTable;
}

}  // namespace tarnex
