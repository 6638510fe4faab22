#pragma once
// The toolbox: a sheet of one page, "公式界面编辑", from which the user hands a formula file or
// an interface file of the working folder to the desktop's editor, together with the circuit
// picture of the same topology from the folder "Code" beside the program. The toolbox neither
// reads nor writes the files itself; when the desktop says it cannot open one (no application
// registered for its type), a message names the file and its folder, so that the user can
// open it there with an editor of their own.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/sheet.h"
#include "forms/table_form.h"

namespace tarnex {

namespace toolbox {
inline constexpr int kFormulaList = 1314;
inline constexpr int kInterfaceList = 1316;
inline constexpr int kOpenFormula = 1000;    // "打开(&O)"
inline constexpr int kOpenInterface = 1001;  // "打开(&E)"
}  // namespace toolbox

// One entry of a toolbox list: what it shows, the file it opens and the picture beside it.
struct ToolboxEntry {
  std::string text;     // "CCM Buck"
  std::string file;     // "CCM Buck cfg.txt", in the working folder
  std::string picture;  // "DC-DC变换器.JPG", in the picture folder
};

// The formula files and the interface files of every design window, in the toolbox's order.
std::vector<ToolboxEntry> toolboxFormulaEntries();
std::vector<ToolboxEntry> toolboxInterfaceEntries();

const DialogTable& toolboxPageTable();

// The page CEditPage: its set-up fills the two lists and selects their first entries; each
// button hands the selected list's file and picture to the desktop.
class CEditPage : public TableForm {
 public:
  // `pictures`: the folder "Code" beside the program.
  CEditPage(Host& host, const Folder& folder, std::filesystem::path pictures);

  void open() override;
  void command(int id) override;

 private:
  void openSelected(int listId, const std::vector<ToolboxEntry>& entries);
  void openInDesktop(const std::filesystem::path& file, bool minimized);

  Folder folder_;
  std::filesystem::path pictures_;
  std::vector<ToolboxEntry> formulas_;
  std::vector<ToolboxEntry> interfaces_;
  bool setUp_ = false;
};

// The sheet CTool, captioned "Toolbox", with its one page.
std::unique_ptr<Sheet> makeToolbox(Host& host, const Folder& folder,
                                   const std::filesystem::path& pictures);

}  // namespace tarnex
