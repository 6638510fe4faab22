// The full-bridge window: its 18 fields in data-exchange order, matching the relabel list
// one to one. The secondary is centre-tapped; Ns and Irmss refer to one half.
#include "tables/fullbridge_table.h"

#include "tables/bridge_form.h"
#include "tables/launcher_table.h"

namespace tarnex {

namespace {

constexpr bridge::Form kForm{
    .fieldIds = {1164, 1165, 1166, 1167, 1168, 1169, 1170, 1171, 1172, 1173, 1174, 1175, 1176, 1177,
                 1178, 1179, 1180, 1183},
    .conditions = 1181,
    .transformer = 1182,
    .other = 1087,
    .noteGroup = 1086,
    .dmaxCaption = "最大占空比(2桥臂)",
    .aeCaption = "磁芯面积Ae(mm2)",
    .npCaption = "初级匝数NP",
    .loCaption = "输出电感(uH)",
    .ioOpening = "50",
    .effOpening = "90",
};
constexpr auto kFields = bridge::fields(kForm);
constexpr auto kGroups = bridge::groups(kForm);
constexpr StaticRow kStatics[] = {
    {bridge::kNote, StaticKind::Note, bridge::kBridgeNote, kForm.noteGroup}};

// Drawing 176 is 218 × 196 pixels; the source rectangle is 1 wider and 11 taller.
constexpr PictureRow kPictures[] = {{"bitmap176", fullbridge::kDrawingFrame, 396, 20, 219, 207}};

constexpr FormulaFileRow kFormulaFiles[] = {{"全桥变换器 cfg.txt", {}, "全桥变换器"}};

constexpr DialogTable kTable{
    .dialogId = 136,
    .key = "fullbridge",
    .titleName = "全桥变换器 Full Bridge",
    .fields = kFields,
    .groups = kGroups,
    .buttons = bridge::kButtons,
    .statics = kStatics,
    .pictures = kPictures,
    .interfaceFile = "Full Bridge Interface.txt",
    .formulaFiles = kFormulaFiles,
    .disabledInFormulaMode = bridge::kDisabledInFormulaMode,
    .launcherButton = launcher::kFullBridgeButton,
    .toolboxName = "全桥变换器",
};

}  // namespace

const DialogTable& fullBridgeTable() {
  return kTable;
}

}  // namespace tarnex
