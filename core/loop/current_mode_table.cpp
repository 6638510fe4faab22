// The current-mode page: the power stage and the amplifier in one group, the compensation
// components in the other, and the drawings of the amplifier's network (following the type)
// and of the slope-compensation waveforms.
#include "loop/loop_tables.h"

namespace tarnex {

using namespace icctrl;

namespace {

// The group boxes.
constexpr int kStage = 1192, kComponents = 1193;

constexpr FieldRow kFields[] = {
#include "current_mode_fields.inc"
};

constexpr GroupRow kGroups[] = {
#include "current_mode_groups.inc"
};

constexpr ListEntry kTypes[] = {{"跨导运放", "gm"}, {"普通运放", "opamp"}};
constexpr ListRow kLists[] = {{kTypeList, "补偿器类型", "type", kTypes, kStage}};

constexpr ButtonRow kButtons[] = {{kCalculate, "计算(&C)", "calc", kComponents, true},
                                  {kExact, "精确设计", "exact", kComponents}};

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

constexpr DialogTable kTable = formTable(106, "loop-current", "电流模式控制环路补偿",
                                         {kFields, kGroups, kLists, kButtons, kStatics, kPictures});

}  // namespace

const DialogTable& currentModeTable() {
  return kTable;
}

}  // namespace tarnex
