#pragma once
// One table per window: the single source of the window's controls. A form table lists the
// numeric fields (in data-exchange order, which is also the order of the names a formula file
// may use and of the relabel list), the group boxes with their caption colours, the drop-down
// lists with their entries, the push buttons, the static texts, and the pictures painted into
// frames. A design window's table adds its files, its title and its launcher button. The
// form models, the layout of the desktop program, the binding tables of the formula language,
// the start-up file list and the command-line listing are all read from these tables.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tarnex {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kPurple{200, 0, 255};

// Position and size in dialog units; all zero where the window leaves the placement to the
// layout of the desktop program.
struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  friend constexpr bool operator==(Rect, Rect) = default;
  constexpr bool empty() const { return w == 0 || h == 0; }
};

// Control ids every window shares.
inline constexpr int kOkButton = 1;         // a dialog's "确定" / a hint's closing button
inline constexpr int kCloseButton = 2;      // "返回(&B)"
inline constexpr int kCalculateButton = 3;  // "计算(&C)" where a window has one

enum class FieldRole {
  Input,     // a design condition the user types
  Result,    // a result of the window: reset to "0" / "" by the calculate frame
  Estimate,  // a result of one command only, which handles the field itself
};

// Short names for the table rows.
inline constexpr FieldRole kIn = FieldRole::Input;
inline constexpr FieldRole kOut = FieldRole::Result;
inline constexpr FieldRole kEst = FieldRole::Estimate;

struct FieldRow {
  int controlId;             // the edit field
  std::string_view name;     // formula name (binding), e.g. "VinMin"
  int labelId;               // the static caption beside the field (0: a caption without id)
  std::string_view caption;  // its system caption, UTF-8, exactly as shown
  std::string_view unit;     // unit for listings, e.g. "V", "kHz", "µH"
  std::string_view opening;  // text when the window opens ("" = blank)
  int groupId;               // the group box holding the field
  FieldRole role;
  int relabel;  // number in the interface file's relabel list (0: not listed)
  // A fixed static after the field, e.g. the unit "cm4" of an estimate whose caption is a
  // formula rather than a name.
  std::string_view after = {};
  Rect rect = {};  // the edit field's place, where the window gives one

  constexpr bool output() const { return role != FieldRole::Input; }
};

struct GroupRow {
  int id;
  std::string_view caption;
  std::optional<Rgb> color = {};  // caption colour; none: the dialog's own
  Rect rect = {};
};

struct ListEntry {
  std::string_view text;  // as shown
  std::string_view key;   // command-line name ("boost", "dcm")
};

struct ListRow {
  int id;
  std::string_view caption;  // the static beside the list
  std::string_view key;      // command-line name of the list ("topology")
  std::span<const ListEntry> entries;
  int groupId;
  int selection = 0;  // selected when the window opens (-1: none)
  int labelId = 0;    // the caption's control id, when it has one
  Rect rect = {};
};

struct ButtonRow {
  int id;
  std::string_view caption;  // "计算(&C)"
  std::string_view key;      // command-line name ("calc"); empty: not offered there
  int groupId = 0;
  bool isDefault = false;  // Enter presses it
  Rect rect = {};
  // The command-line program presses it when no command is named, in a window whose first
  // step it is but that has no default button.
  bool commandLineDefault = false;
};

enum class StaticKind {
  Label,  // one line of text
  Note,   // a hint of several lines, wrapped
  Click,  // a clickable line that opens a hint
};

struct StaticRow {
  int id;  // 0: a static without id
  StaticKind kind;
  std::string_view text;
  int groupId = 0;
  std::optional<Rgb> color = {};
  Rect rect = {};
};

// A list entry that a picture or a formula file belongs to.
struct Selection {
  int listId = 0;  // 0: always
  int entry = 0;
};

// A picture painted into a frame of the form. The drawing's source rectangle (from its
// top-left corner) is stretched onto the frame; `x`, `y` give the client pixel origin of the
// window it was drawn for.
struct PictureRow {
  std::string_view drawing;  // drawing name, e.g. "bitmap167"
  int frameId;               // frame or group box it fills
  int x, y;
  int sourceWidth, sourceHeight;
  Selection when = {};  // shown only while this list entry is selected
  Rect frameRect = {};  // the frame's place, where the window gives one
};

// The title markers of a design window; the ringing-choke window spaces them differently.
struct TitleMarkers {
  std::string_view systemCaptions;
  std::string_view customCaptions;
  std::string_view builtInFormulas;
  std::string_view customFormulas;
};
inline constexpr TitleMarkers kTitleMarkers{"   <界面:系统", "   <界面:自定义", "   公式:内置>",
                                            "   公式:自定义>"};

// A formula file of a design window and the list entries that select it.
struct FormulaFileRow {
  std::string_view fileName;
  std::array<Selection, 2> when = {};
  std::string_view toolboxName = {};  // entry of the toolbox's formula list
};

// A window's table. Every window has a form; a design window adds its files, its title
// markers and the launcher button that opens it.
struct DialogTable {
  int dialogId;
  std::string_view key;        // command-line name, e.g. "dcdc"
  std::string_view titleName;  // a design window's name, a page's tab, a dialog's caption
  std::span<const FieldRow> fields = {};
  std::span<const GroupRow> groups = {};
  std::span<const ListRow> lists = {};
  std::span<const ButtonRow> buttons = {};
  std::span<const StaticRow> statics = {};
  std::span<const PictureRow> pictures = {};
  int fontPoints = 9;  // dialog font
  Rect size = {};      // the template's size in dialog units, where placement is given

  // A design window's files and title.
  std::string_view interfaceFile = {};
  // The first row decides the formula marker of the title when the window opens.
  std::span<const FormulaFileRow> formulaFiles = {};
  // Notes shown disabled while the title shows the custom formula marker.
  std::span<const int> disabledInFormulaMode = {};
  const TitleMarkers* markers = &kTitleMarkers;
  int launcherButton = 0;
  std::string_view toolboxName = {};  // entry of the toolbox's interface list
};

// The parts of a window's form, in the order a table lists them.
struct FormParts {
  std::span<const FieldRow> fields = {};
  std::span<const GroupRow> groups = {};
  std::span<const ListRow> lists = {};
  std::span<const ButtonRow> buttons = {};
  std::span<const StaticRow> statics = {};
  std::span<const PictureRow> pictures = {};
};

// What a design window has beyond its form.
struct DesignParts {
  std::string_view interfaceFile;
  std::span<const FormulaFileRow> formulaFiles;
  std::span<const int> disabledInFormulaMode;
  int launcherButton;
  std::string_view toolboxName;
  const TitleMarkers* markers = &kTitleMarkers;
};

// The table of a window laid out by the program (a page, a design window without files).
constexpr DialogTable formTable(int dialogId, std::string_view key, std::string_view titleName,
                                const FormParts& p) {
  return DialogTable{.dialogId = dialogId,
                     .key = key,
                     .titleName = titleName,
                     .fields = p.fields,
                     .groups = p.groups,
                     .lists = p.lists,
                     .buttons = p.buttons,
                     .statics = p.statics,
                     .pictures = p.pictures};
}

// The table of a design window.
constexpr DialogTable designTable(int dialogId, std::string_view key, std::string_view titleName,
                                  const FormParts& p, const DesignParts& d) {
  DialogTable t = formTable(dialogId, key, titleName, p);
  t.interfaceFile = d.interfaceFile;
  t.formulaFiles = d.formulaFiles;
  t.disabledInFormulaMode = d.disabledInFormulaMode;
  t.markers = d.markers;
  t.launcherButton = d.launcherButton;
  t.toolboxName = d.toolboxName;
  return t;
}

// The row of a formula name or of a field's control id in a table, or nullptr.
const FieldRow* findField(const DialogTable& table, std::string_view name);
const FieldRow* findFieldById(const DialogTable& table, int controlId);

// The label of each number of the relabel list, in order (number 1 first).
std::vector<int> relabelList(const DialogTable& table);

}  // namespace tarnex
