// The single-switch forward window: its 20 fields in data-exchange order (the order of the
// forward formula names). The window-utilisation factor Kw and the area-product estimate Ap
// close the list; the chosen core's Ae is the last entry of the relabel list. Ap has no
// label of its own: its caption is the formula of the estimate, its unit a fixed static.
#include "tables/forward_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace forward;

namespace {

// The group boxes.
constexpr int kConditions = 1109, kAreaProduct = 1112, kCore = 1071, kTransformer = 1110,
              kOther = 1139, kNoteGroup = 1113;

constexpr FieldRow kFields[] = {
#include "forward_fields.inc"
};

constexpr GroupRow kGroups[] = {
#include "forward_groups.inc"
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

constexpr DialogTable kTable = designTable(
    130, "forward", "正激变换器 Forward", {kFields, kGroups, {}, kButtons, kStatics, kPictures},
    {"Forward Interface.txt", kFormulaFiles, kDisabledInFormulaMode, launcher::kForwardButton,
     "正激变换器"});

}  // namespace

const DialogTable& forwardTable() {
  return kTable;
}

}  // namespace tarnex
