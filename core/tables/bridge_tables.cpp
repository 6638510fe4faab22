// The push-pull, half-bridge and full-bridge windows. Their fields come in the same order and
// match the relabel list one to one (the relabel list uses the same label statics); each
// window's groups and fields are its NAME_form.tsv, and what else differs (the note, the
// drawing and the files) is the record below. Turns and RMS currents of the centre-tapped
// windings refer to one half.
#include "tables/bridge_tables.h"

#include <array>
#include <span>

#include "tables/launcher_table.h"

namespace tarnex {

namespace {

struct Bridge {
  int dialogId;
  std::string_view key, titleName;
  std::span<const FieldRow> fields;
  std::span<const GroupRow> groups;
  int noteGroup;
  std::string_view note;
  PictureRow picture;
  std::array<std::string_view, 3> files;  // interface file, formula file, toolbox entry
  int launcherButton;
};

// The note that explains the built-in method; greyed while a formula file is in use.
constexpr int kNote = 1306;
constexpr int kDisabledInFormulaMode[] = {kNote};
constexpr std::string_view kBridgeNote =
    "假定最小负载为额定负载的1/10计算得出的电感，请自行计算电感,可以利用buck模块进行计算。"
    "次级电流有效值是1/2绕组的有效值。";

constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

// The group boxes of each window, as its tab-separated rows name them.
namespace pushpull {
constexpr int kConditions = 1140, kTransformer = 1141, kOther = 1087, kNoteGroup = 1036;
constexpr FieldRow kFields[] = {
#include "pushpull_fields.inc"
};
constexpr GroupRow kGroups[] = {
#include "pushpull_groups.inc"
};
}  // namespace pushpull

namespace halfbridge {
constexpr int kConditions = 1161, kTransformer = 1162, kOther = 1087, kNoteGroup = 1086;
constexpr FieldRow kFields[] = {
#include "halfbridge_fields.inc"
};
constexpr GroupRow kGroups[] = {
#include "halfbridge_groups.inc"
};
}  // namespace halfbridge

namespace fullbridge {
constexpr int kConditions = 1181, kTransformer = 1182, kOther = 1087, kNoteGroup = 1086;
constexpr FieldRow kFields[] = {
#include "fullbridge_fields.inc"
};
constexpr GroupRow kGroups[] = {
#include "fullbridge_groups.inc"
};
}  // namespace fullbridge

// Drawings 174 (243 × 196 pixels), 175 (221 × 180) and 176 (218 × 196); each source rectangle
// reaches a little beyond its drawing.
// clang-format off
constexpr Bridge kPushPull{
    137, "pushpull", "推挽变换器 Push Pull", pushpull::kFields, pushpull::kGroups,
    pushpull::kNoteGroup,
    "假定最小负载为额定负载的1/10得出的输出电感值,请自行计算电感，可以利用buck模块来计算。"
    "对于电流有效值，均指的是1/2绕组上的有效值。",
    {"bitmap174", 1142, 400, 19, 245, 205},
    {"Push-Pull Interface.txt", "推挽变换器 cfg.txt", "推挽变换器"}, launcher::kPushPullButton};

constexpr Bridge kHalfBridge{
    135, "halfbridge", "半桥变换器 Half Bridge", halfbridge::kFields, halfbridge::kGroups,
    halfbridge::kNoteGroup, kBridgeNote,
    {"bitmap175", 1185, 400, 20, 222, 191},
    {"Half Bridge Interface.txt", "半桥变换器 cfg.txt", "半桥变换器"}, launcher::kHalfBridgeButton};

constexpr Bridge kFullBridge{
    136, "fullbridge", "全桥变换器 Full Bridge", fullbridge::kFields, fullbridge::kGroups,
    fullbridge::kNoteGroup, kBridgeNote,
    {"bitmap176", 1184, 396, 20, 219, 207},
    {"Full Bridge Interface.txt", "全桥变换器 cfg.txt", "全桥变换器"}, launcher::kFullBridgeButton};
// clang-format on

// The rows of one window, kept for as long as the program runs.
template <const Bridge& B>
struct Rows {
  static constexpr StaticRow statics[] = {{kNote, StaticKind::Note, B.note, B.noteGroup}};
  static constexpr PictureRow pictures[] = {B.picture};
  static constexpr FormulaFileRow formulaFiles[] = {{B.files[1], {}, B.files[2]}};
  static constexpr DialogTable table = designTable(
      B.dialogId, B.key, B.titleName, {B.fields, B.groups, {}, kButtons, statics, pictures},
      {B.files[0], formulaFiles, kDisabledInFormulaMode, B.launcherButton, B.files[2]});
};

}  // namespace

const DialogTable& pushPullTable() {
  return Rows<kPushPull>::table;
}
const DialogTable& halfBridgeTable() {
  return Rows<kHalfBridge>::table;
}
const DialogTable& fullBridgeTable() {
  return Rows<kFullBridge>::table;
}

}  // namespace tarnex
