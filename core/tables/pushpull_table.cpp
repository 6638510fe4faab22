// The push-pull window: its 18 fields in data-exchange order, matching the relabel list one
// to one. Turns and RMS currents refer to one half of each centre-tapped winding.
#include "tables/pushpull_table.h"

#include "tables/bridge_form.h"
#include "tables/launcher_table.h"

namespace tarnex {

namespace {

constexpr bridge::Form kForm{
    .fieldIds = {1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126, 1127, 1128, 1129,
                 1130, 1133, 1135, 1136},
    .conditions = 1140,
    .transformer = 1141,
    .other = 1087,
    .noteGroup = 1036,
    .dmaxCaption = "最大占空比(双管)",
    .aeCaption = "磁芯面积AE(mm2)",
    .npCaption = "初级匝数NP(1/2)",
    .loCaption = "输出电感(μH)",
    .ioOpening = "20",
    .effOpening = "80",
};
constexpr auto kFields = bridge::fields(kForm);
constexpr auto kGroups = bridge::groups(kForm);

constexpr StaticRow kStatics[] = {
    {bridge::kNote, StaticKind::Note,
     "假定最小负载为额定负载的1/10得出的输出电感值,请自行计算电感，可以利用buck模块来计算。"
     "对于电流有效值，均指的是1/2绕组上的有效值。",
     kForm.noteGroup},
};

// Drawing 174 is 243 × 196 pixels; the source rectangle is 2 wider and 9 taller.
constexpr PictureRow kPictures[] = {{"bitmap174", pushpull::kDrawingFrame, 400, 19, 245, 205}};

constexpr FormulaFileRow kFormulaFiles[] = {{"推挽变换器 cfg.txt", {}, "推挽变换器"}};

constexpr DialogTable kTable{
    .dialogId = 137,
    .key = "pushpull",
    .titleName = "推挽变换器 Push Pull",
    .fields = kFields,
    .groups = kGroups,
    .buttons = bridge::kButtons,
    .statics = kStatics,
    .pictures = kPictures,
    .interfaceFile = "Push-Pull Interface.txt",
    .formulaFiles = kFormulaFiles,
    .disabledInFormulaMode = bridge::kDisabledInFormulaMode,
    .launcherButton = launcher::kPushPullButton,
    .toolboxName = "推挽变换器",
};

}  // namespace

const DialogTable& pushPullTable() {
  return kTable;
}

}  // namespace tarnex
