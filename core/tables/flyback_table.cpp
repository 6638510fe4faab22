// The flyback window: its 40 fields in data-exchange order, shared by the CCM and DCM
// formula files and matching the relabel list one to one. The results are the 21 fields
// the calculate frame resets; the core estimate Ve and the chosen core's Ae and Le are not
// among them.
#include "tables/flyback_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace flyback;

namespace {

// The group boxes.
constexpr int kConditions = 1069, kCore = 1071, kTransformer = 1070, kPrimary = 1072,
              kSecondary = 1073, kSnubber = 1074;

constexpr FieldRow kFields[] = {
#include "flyback_fields.inc"
};

constexpr GroupRow kGroups[] = {
#include "flyback_groups.inc"
};

constexpr ListEntry kModes[] = {{"连续(CCM)", "ccm"}, {"断续(DCM)", "dcm"}};
constexpr ListRow kLists[] = {{kModeList, "工作模式", "mode", kModes, kConditions}};

// No default button: Enter only checks the fields.
constexpr ButtonRow kButtons[] = {
    {kCoreButton, "计算磁芯(&C)", "core", kEstimateGroup},
    {kVerifyButton, "验证(&R)", "verify", kCore},
    {kSnubberButton, "计算(&K)", "snubber", kSnubber},
    {kCloseButton, "返回(&B)", ""},
};

constexpr StaticRow kStatics[] = {
    {kEmpiricalNote, StaticKind::Label, "(铁氧体)经验公式", kEstimateGroup},
};

// Drawing 166 is 270 × 154 pixels; the source rectangle reaches 10 pixels below it.
constexpr PictureRow kPictures[] = {{"bitmap166", kDrawingFrame, 432, 20, 270, 164}};

constexpr FormulaFileRow kFormulaFiles[] = {
    {"CCM反激变换器 cfg.txt", {{{kModeList, kCcm}}}, "CCM 反激"},
    {"DCM反激变换器 cfg.txt", {{{kModeList, kDcm}}}, "DCM 反激"},
};

constexpr DialogTable kTable = designTable(
    129, "flyback", "反激变换器 Flyback", {kFields, kGroups, kLists, kButtons, kStatics, kPictures},
    {"Flyback Interface.txt", kFormulaFiles, {}, launcher::kFlybackButton, "反激变换器"});

}  // namespace

const DialogTable& flybackTable() {
  return kTable;
}

}  // namespace tarnex
