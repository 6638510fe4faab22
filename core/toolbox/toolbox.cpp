#include "toolbox/toolbox.h"

#include <utility>

#include "designs/registry.h"

namespace tarnex {

using namespace toolbox;

namespace {

constexpr int kFormulaGroup = 1315;
constexpr int kInterfaceGroup = 1317;
constexpr Rgb kEditorPurple{200, 0, 200};

constexpr GroupRow kGroups[] = {
    {kFormulaGroup, "公式：", kBlue, {7, 7, 84, 101}},
    {kInterfaceGroup, "界面：", kBlue, {100, 7, 84, 101}},
};
// Drop-down lists with no caption of their own; the lists' entries come from the windows.
constexpr ListRow kLists[] = {
    {kFormulaList, "", "formula", {}, kFormulaGroup, 0, 0, {14, 22, 66, 14}},
    {kInterfaceList, "", "interface", {}, kInterfaceGroup, 0, 0, {108, 22, 66, 14}},
};
constexpr ButtonRow kButtons[] = {
    {kOpenFormula, "打开(&O)", "formula", kFormulaGroup, false, {29, 90, 43, 16}},
    {kOpenInterface, "打开(&E)", "interface", kInterfaceGroup, false, {122, 90, 43, 16}},
};
constexpr StaticRow kStatics[] = {
    {1313, StaticKind::Label, "Tarnex V3.2编辑", 0, kEditorPurple, {111, 126, 73, 8}},
};

constexpr DialogTable kPage{.dialogId = 220,
                            .key = "toolbox",
                            .titleName = "公式界面编辑",
                            .groups = kGroups,
                            .lists = kLists,
                            .buttons = kButtons,
                            .statics = kStatics,
                            .fontPoints = 10,
                            .size = {0, 0, 191, 151}};

}  // namespace

std::vector<ToolboxEntry> toolboxFormulaEntries() {
  std::vector<ToolboxEntry> entries;
  for (const DesignInfo* d : designsInToolboxOrder()) {
    for (const FormulaFileRow& f : d->table->formulaFiles) {
      entries.push_back({std::string(f.toolboxName), std::string(f.fileName), d->picture()});
    }
  }
  return entries;
}

std::vector<ToolboxEntry> toolboxInterfaceEntries() {
  std::vector<ToolboxEntry> entries;
  for (const DesignInfo* d : designsInToolboxOrder()) {
    const DialogTable& t = *d->table;
    entries.push_back({std::string(t.toolboxName), std::string(t.interfaceFile), d->picture()});
  }
  return entries;
}

const DialogTable& toolboxPageTable() {
  return kPage;
}

CEditPage::CEditPage(Host& host, const Folder& folder, std::filesystem::path pictures)
    : TableForm(host, kPage),
      folder_(folder),
      pictures_(std::move(pictures)),
      formulas_(toolboxFormulaEntries()),
      interfaces_(toolboxInterfaceEntries()) {}

void CEditPage::open() {
  if (setUp_) return;
  auto fill = [this](int listId, const std::vector<ToolboxEntry>& entries) {
    Control* list = control(listId);
    list->entries.clear();
    for (const ToolboxEntry& e : entries) list->entries.push_back(e.text);
    list->selection = 0;
  };
  fill(kFormulaList, formulas_);
  fill(kInterfaceList, interfaces_);
  setUp_ = true;
}

void CEditPage::command(int id) {
  if (id == kOpenFormula) openSelected(kFormulaList, formulas_);
  if (id == kOpenInterface) openSelected(kInterfaceList, interfaces_);
}

void CEditPage::openSelected(int listId, const std::vector<ToolboxEntry>& entries) {
  const int index = selectedEntry(listId);
  if (index < 0 || index >= static_cast<int>(entries.size())) return;
  const ToolboxEntry& e = entries[static_cast<std::size_t>(index)];
  // The file in a normal window, the picture minimised.
  openInDesktop(folder_.path(e.file), false);
  openInDesktop(pictures_ / e.picture, true);
}

void CEditPage::openInDesktop(const std::filesystem::path& file, bool minimized) {
  if (host().openInDesktop(file.string(), minimized)) return;
  host().showMessage({kProgramName,
                      "无法打开文件“" + file.filename().string() +
                          "”：桌面上没有登记能打开这类文件的程序。\n该文件在文件夹“" +
                          file.parent_path().string() + "”中，请从那里自己打开它。",
                      Icon::Warning, true});
}

std::unique_ptr<Sheet> makeToolbox(Host& host, const Folder& folder,
                                   const std::filesystem::path& pictures) {
  std::vector<std::unique_ptr<Form>> pages;
  pages.push_back(std::make_unique<CEditPage>(host, folder, pictures));
  return std::make_unique<Sheet>("Toolbox", std::move(pages));
}

}  // namespace tarnex
