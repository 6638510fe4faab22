// The type III page: the placed poles and zeros with the crossover, gain and R1 in one
// group, the components in the other, and the drawings of the network and of the placement.
#include "loop/loop_tables.h"

namespace tarnex {

using namespace type3;

namespace {

// The group boxes.
constexpr int kPlacement = 1237, kComponents = 1238, kNetworkGroup = 1239,
              kPlacementPictureGroup = 1240;

constexpr FieldRow kFields[] = {
#include "type3_fields.inc"
};

constexpr GroupRow kGroups[] = {
#include "type3_groups.inc"
};

constexpr ButtonRow kButtons[] = {{kCalculate, "计算(&C)", "calc", kComponents, true},
                                  {kExact, "精确设计", "exact", kComponents}};

constexpr StaticRow kStatics[] = {
    {kHint, StaticKind::Click, "不知道如何设置这些参数？请点击这里", kComponents, kBlue},
};

// Drawing 207 (564 × 352 pixels) is the network, 206 (420 × 268) the placement of its poles
// and zeros; each source rectangle reaches 2 pixels right of the drawing and 10 below.
constexpr PictureRow kPictures[] = {
    {"bitmap207", kNetworkGroup, 480, 19, 566, 362},
    {"bitmap206", kPlacementPictureGroup, 480, 325, 422, 278},
};

constexpr DialogTable kTable = formTable(205, "loop-type3", "电压模式Ⅲ型补偿网络 ",
                                         {kFields, kGroups, {}, kButtons, kStatics, kPictures});

}  // namespace

const DialogTable& typeIIITable() {
  return kTable;
}

}  // namespace tarnex
