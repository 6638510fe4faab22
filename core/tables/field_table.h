#pragma once
// One table per design window: a row per numeric field. The table is the single source of
// the window's layout, the order of its data exchange, the names a formula file may use
// (the binding table) and the list of labels an interface file may relabel.

#include <cstdint>
#include <span>
#include <string_view>

namespace tarnex {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kPurple{200, 0, 255};

struct FieldRow {
  int controlId;             // the edit field
  std::string_view name;     // formula name (binding), e.g. "VinMin"
  int labelId;               // the static caption beside the field (0: none)
  std::string_view caption;  // its system caption, UTF-8, exactly as shown
  std::string_view unit;     // unit for listings, e.g. "V", "kHz", "µH"
  std::string_view opening;  // text when the window opens ("" = blank)
  int groupId;               // the group box holding the field
  bool output;               // a result field (reset to "0"/"" by the calculate frame)
  int relabel;               // number in the interface file's relabel list (0: not listed)
};

struct GroupRow {
  int id;
  std::string_view caption;
  Rgb color;  // caption colour (default dialog colour when {0,0,0} and !colored)
  bool colored;
};

struct DialogTable {
  int dialogId;                 // e.g. 165
  std::string_view key;         // command-line name, e.g. "dcdc"
  std::string_view titleName;   // e.g. "DC-DC变换器"
  std::string_view interfaceFile;
  std::span<const FieldRow> fields;  // in exchange order
  std::span<const GroupRow> groups;
};

// The tables of the seven design windows.
const DialogTable& dcdcTable();
const DialogTable& flybackTable();
const DialogTable& forwardTable();
const DialogTable& rccTable();
const DialogTable& pushPullTable();
const DialogTable& halfBridgeTable();
const DialogTable& fullBridgeTable();

// The row of a formula name in a table, or nullptr.
const FieldRow* findField(const DialogTable& table, std::string_view name);
const FieldRow* findFieldById(const DialogTable& table, int controlId);

}  // namespace tarnex
