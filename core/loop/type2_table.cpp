// The type II page: four numbered steps (the power stage, its control-to-output
// characteristic, the placement of the compensation, the components), the hands that lead
// from one step to the next, the drawing of the network and the gain picture of the kind.
#include "loop/loop_tables.h"

namespace tarnex {

using namespace vctrl;

namespace {

// The group boxes.
constexpr int kStep1Group = 1231, kStep2Group = 1232, kStep3Group = 1234, kStep4Group = 1233,
              kNetworkGroup = 1225, kGainPictureGroup = 1226;

constexpr FieldRow kFields[] = {
#include "type2_fields.inc"
};

// Listed in the order the page shows them: the first step above the second, the fourth above
// the third beside them, so that the steps go round and the hands point along.
constexpr GroupRow kGroups[] = {
#include "type2_groups.inc"
};

constexpr ListEntry kKinds[] = {{"DCM反激", "flyback"}, {"正激类", "forward"}};
constexpr ListRow kLists[] = {{kKindList, "电路形式", "kind", kKinds, kStep1Group, kForward}};

constexpr ButtonRow kButtons[] = {
    {kStep2, "计算(&C)", "step2", kStep2Group, true},
    {kStep4, "计算(&K)", "step4", kStep4Group},
    {kExact, "精确设计", "exact", kStep4Group},
};

constexpr StaticRow kStatics[] = {
    {kOtherHint, StaticKind::Click, "其他参数？请点击这里", kStep1Group, kBlue},
    {kCriteriaHint, StaticKind::Click, "不知道稳定的增益准则？请点击这里", kStep3Group, kBlue},
};

// The hands 194 (down, 40 × 48 pixels), 196 (up, 40 × 48) and 195 (right, 48 × 40) stand
// before the step they lead to, at their own size: from the first step down to the second,
// from the second across to the third, from the third up to the fourth. Drawing 197
// (740 × 504) is the network; 203 (643 × 451, DCM flyback) or 204 (650 × 467, forward type)
// the gain picture of the kind; their source rectangles reach 2 pixels right and 10 below.
constexpr PictureRow kPictures[] = {
    {"bitmap194", kStep2Group, 110, 416, 40, 48, {}, {70, 0, 27, 32}},
    {"bitmap195", kStep3Group, 250, 505, 48, 40, {}, {0, 0, 32, 27}},
    {"bitmap196", kStep3Group, 411, 283, 40, 48, {}, {70, 0, 27, 32}},
    {"bitmap197", kNetworkGroup, 575, 18, 742, 514},
    {"bitmap203", kGainPictureGroup, 575, 295, 645, 461, {kKindList, kDcmFlyback}},
    {"bitmap204", kGainPictureGroup, 575, 295, 652, 477, {kKindList, kForward}},
};

constexpr DialogTable kTable = formTable(107, "loop-type2", "电压模式Ⅱ型补偿网络",
                                         {kFields, kGroups, kLists, kButtons, kStatics, kPictures});

}  // namespace

const DialogTable& typeIITable() {
  return kTable;
}

}  // namespace tarnex
