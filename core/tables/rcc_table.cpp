// The ringing choke converter window: its 25 fields in data-exchange order, matching the
// relabel list one to one. The transformer is designed at the lowest frequency (full load,
// low line); fMax is the frequency reached at the minimum load.
#include "tables/rcc_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace rcc;

namespace {

// The group boxes.
constexpr int kConditions = 1090, kTransformer = 1092;

constexpr FieldRow kFields[] = {
#include "rcc_fields.inc"
};

constexpr GroupRow kGroups[] = {
#include "rcc_groups.inc"
};

constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

// Drawing 209 is 234 × 129 pixels; the source rectangle is 1 wider and 10 taller.
constexpr PictureRow kPictures[] = {{"bitmap209", kDrawingFrame, 254, 19, 235, 139}};

constexpr FormulaFileRow kFormulaFiles[] = {{"RCC cfg.txt", {}, "RCC 变换器"}};

constexpr DialogTable kTable = designTable(
    134, "rcc", "Ringing Choke Coverter", {kFields, kGroups, {}, kButtons, {}, kPictures},
    {"RCC Interface.txt", kFormulaFiles, {}, launcher::kRccButton, "RCC变换器", &kRccTitleMarkers});

}  // namespace

const DialogTable& rccTable() {
  return kTable;
}

}  // namespace tarnex
