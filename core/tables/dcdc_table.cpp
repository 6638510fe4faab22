// The DC-DC window: its fields in data-exchange order, which is also the order of the names a
// DC-DC formula file may use and of the relabel list; two lists choose the topology and the
// conduction mode, and with them the drawing and the formula file.
#include "tables/dcdc_table.h"

#include "tables/launcher_table.h"

namespace tarnex {

using namespace dcdc;

namespace {

// The group boxes.
constexpr int kConditions = 1082, kInductor = 1088, kOther = 1087, kNote = 1089;

constexpr FieldRow kFields[] = {
#include "dcdc_fields.inc"
};

constexpr GroupRow kGroups[] = {
#include "dcdc_groups.inc"
};

constexpr ListEntry kTopologies[] = {
    {"buck", "buck"}, {"boost", "boost"}, {"buck-boost", "buck-boost"}};
constexpr ListEntry kModes[] = {{"连续(CCM)", "ccm"}, {"断续(DCM)", "dcm"}};

constexpr ListRow kLists[] = {
    {kTopologyList, "DC-DC拓扑", "topology", kTopologies, kConditions},
    {kModeList, "工作模式", "mode", kModes, kConditions},
};

constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

constexpr StaticRow kStatics[] = {
    {kHint, StaticKind::Note,
     "请先选择拓扑和工作模式然后输入设计条件进行计算，左边的参数纹波率是指  dI/IL，即：  "
     "电流纹波/电感斜坡中值， 定义在连续模式下,只要 r<2 即可以保证连续，推荐0.4,"
     "此时变换器的应力损耗等最小；死区时间是为了保证断续而设置的，推荐导通时间加上关断时间为0.8T，"
     "留0.2的余量。"
     "                    ",
     kNote},
    {kHelpLine, StaticKind::Note, "    更多详情请阅读帮助文档!    ", kNote},
};

// Drawings 167 (225 × 117 pixels), 168 (217 × 115) and 169 (208 × 105) follow the topology;
// the source rectangle reaches 10 pixels below each (and 2 beyond boost and buck-boost).
constexpr PictureRow kPictures[] = {
    {"bitmap167", kDrawingFrame, 369, 19, 225, 127, {kTopologyList, kBuck}},
    {"bitmap168", kDrawingFrame, 370, 19, 219, 125, {kTopologyList, kBoost}},
    {"bitmap169", kDrawingFrame, 370, 19, 210, 115, {kTopologyList, kBuckBoost}},
};

constexpr FormulaFileRow kFormulaFiles[] = {
    {"CCM Buck cfg.txt", {{{kTopologyList, kBuck}, {kModeList, kCcm}}}, "CCM Buck"},
    {"DCM Buck cfg.txt", {{{kTopologyList, kBuck}, {kModeList, kDcm}}}, "DCM Buck"},
    {"CCM Boost cfg.txt", {{{kTopologyList, kBoost}, {kModeList, kCcm}}}, "CCM Boost"},
    {"DCM Boost cfg.txt", {{{kTopologyList, kBoost}, {kModeList, kDcm}}}, "DCM Boost"},
    {"CCM Buck-Boost cfg.txt",
     {{{kTopologyList, kBuckBoost}, {kModeList, kCcm}}},
     "CCM Buck-Boost"},
    {"DCM Buck-Boost cfg.txt",
     {{{kTopologyList, kBuckBoost}, {kModeList, kDcm}}},
     "DCM Buck-Boost"},
};

constexpr int kDisabledInFormulaMode[] = {kHint, kHelpLine};

constexpr DialogTable kTable = designTable(
    165, "dcdc", "DC-DC变换器", {kFields, kGroups, kLists, kButtons, kStatics, kPictures},
    {"DC-DC Interface.txt", kFormulaFiles, kDisabledInFormulaMode, launcher::kDcDcButton,
     "DC-DC变换器"});

}  // namespace

const DialogTable& dcdcTable() {
  return kTable;
}

}  // namespace tarnex
