#pragma once
// Design files: what a design window or the compensation sheet shows, kept as a readable JSON
// text an engineer can diff and keep under version control. One key per field by its formula
// name with its text exactly as typed and its unit, the list entries selected by their keys,
// the catalogue core and ferrite chosen, the window's key, the program and the format
// version, and the results as last shown, apart from the inputs.
//
// Opening a design reads and checks the whole text against the window first; only a design
// found sound is put into the window, in the order a user would set it (list entries, then
// the catalogue core, then every field's text). Nothing is calculated: the design check, the
// plot and the loss sheet of the window's last calculation are dropped, and the next
// calculation works them out from the fields.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "magnetics/window_windings.h"

namespace tarnex {

class Form;
class Sheet;
namespace magnetics {
struct CatalogueCore;
struct Material;
}  // namespace magnetics

inline constexpr int kDesignFormatVersion = 1;
inline constexpr const char* kDesignFormat = "Tarnex design";
inline constexpr const char* kDesignProgram = "Tarnex V3.2";
// The name ending of a design file, and its type for the desktop.
inline constexpr const char* kDesignSuffix = ".tarnex";
inline constexpr const char* kDesignMimeType = "application/x-tarnex-design";
// Design files are a few kilobytes; a file beyond this is not one.
inline constexpr std::size_t kMaxDesignBytes = 4 * 1024 * 1024;

// One form's part of a design, checked against that form and ready to put into it.
struct FormDesign {
  bool present = true;                          // false: a page of a sheet the design does not hold
  std::vector<std::pair<int, int>> selections;  // list id, entry index, in table order
  bool choosesCore = false;                     // the form asks for a core
  const magnetics::CatalogueCore* core = nullptr;
  const magnetics::Material* material = nullptr;
  magnetics::SheetSettings settings;
  std::vector<std::pair<int, std::string>> texts;  // field id, text, in table order
};

// A design checked against a window: one part for a design window, one per page of a sheet.
// A page opens its part of a sheet's design; a sheet opens a design of one of its pages into
// that page.
struct Design {
  std::string window;
  std::vector<FormDesign> forms;
};

// What the window shows now, as the text of its design file. A sheet's pages not shown yet
// are opened first, so that they give the texts they will show.
std::string designText(Form& form);
std::string designText(Sheet& sheet);

// The window key a design text names (which window opens it), or the reason the text is no
// design file.
std::variant<std::string, std::string> designWindowKey(std::string_view text);

// The design of `text` checked against the window whole: the design, or the message that
// names the key at fault (nothing is changed in the window either way).
std::variant<Design, std::string> readDesign(std::string_view text, Form& form);
std::variant<Design, std::string> readDesign(std::string_view text, Sheet& sheet);

// Puts a design read for this window into it. The form has had its first data exchange; a
// sheet's pages are opened first.
void applyDesign(Form& form, const Design& design);
void applyDesign(Sheet& sheet, const Design& design);

// The bytes of a design file (a regular file of at most kMaxDesignBytes), or nullopt with
// `errorText` the reason, in a sentence.
std::optional<std::string> readDesignFile(const std::filesystem::path& path,
                                          std::string& errorText);

// The message for a design file that could not be opened into a window: the file's name and
// the reason.
std::string openDesignErrorText(const std::filesystem::path& path, std::string_view reason);

// Reads the design file `path`, checks it against the window and puts it in: nullopt when it
// did, else the message (openDesignErrorText), the window and the file as they were.
std::optional<std::string> openDesignFile(const std::filesystem::path& path, Form& form);
std::optional<std::string> openDesignFile(const std::filesystem::path& path, Sheet& sheet);

// Saves `text` as the design file `path` so that no data is lost: written to a temporary file
// in the same folder, flushed to the disk, then renamed over the file. On failure the file
// that was there stays as it was, and `errorText` says why.
bool saveDesignFile(const std::filesystem::path& path, std::string_view text,
                    std::string& errorText);

// `path` with the design file's name ending added when it has none.
std::filesystem::path withDesignSuffix(std::filesystem::path path);

}  // namespace tarnex
