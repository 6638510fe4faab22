// The half-bridge window: its 18 fields in data-exchange order, matching the relabel list
// one to one. The secondary is centre-tapped; Ns and Irmss refer to one half.
#include "tables/halfbridge_table.h"

#include "tables/bridge_form.h"
#include "tables/launcher_table.h"

namespace tarnex {

namespace {

constexpr bridge::Form kForm{
    .fieldIds = {1143, 1144, 1145, 1146, 1147, 1148, 1149, 1150, 1151, 1152, 1153, 1154, 1155, 1156,
                 1157, 1158, 1159, 1160},
    .conditions = 1161,
    .transformer = 1162,
    .other = 1087,
    .noteGroup = 1086,
    .dmaxCaption = "最大占空比(双管)",
    .aeCaption = "磁芯面积Ae(mm2)",
    .npCaption = "初级匝数NP",
    .loCaption = "输出电感(μH)",
    .ioOpening = "50",
    .effOpening = "90",
};
constexpr auto kFields = bridge::fields(kForm);
constexpr auto kGroups = bridge::groups(kForm);
constexpr StaticRow kStatics[] = {
    {bridge::kNote, StaticKind::Note, bridge::kBridgeNote, kForm.noteGroup}};

// Drawing 175 is 221 × 180 pixels; the source rectangle is 1 wider and 11 taller.
constexpr PictureRow kPictures[] = {{"bitmap175", halfbridge::kDrawingFrame, 400, 20, 222, 191}};

constexpr FormulaFileRow kFormulaFiles[] = {{"半桥变换器 cfg.txt", {}, "半桥变换器"}};

constexpr DialogTable kTable{
    .dialogId = 135,
    .key = "halfbridge",
    .titleName = "半桥变换器 Half Bridge",
    .fields = kFields,
    .groups = kGroups,
    .buttons = bridge::kButtons,
    .statics = kStatics,
    .pictures = kPictures,
    .interfaceFile = "Half Bridge Interface.txt",
    .formulaFiles = kFormulaFiles,
    .disabledInFormulaMode = bridge::kDisabledInFormulaMode,
    .launcherButton = launcher::kHalfBridgeButton,
    .toolboxName = "半桥变换器",
};

}  // namespace

const DialogTable& halfBridgeTable() {
  return kTable;
}

}  // namespace tarnex
