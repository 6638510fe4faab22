// The toolbox page: its two lists in the toolbox's order, and what each button hands to the
// desktop (the file of the working folder in a normal window, the picture minimised).
#include "toolbox/toolbox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using namespace toolbox;
using testing::RecordingHost;
using testing::TempFolder;

struct EntryCase {
  int list;
  int index;
  const char* text;
  const char* file;
  const char* picture;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
  *os << c.file;
}

// The toolbox's lists as the program has always shown them.
const EntryCase kEntries[] = {
    {kFormulaList, 0, "CCM Buck", "CCM Buck cfg.txt", "DC-DC变换器.JPG"},
    {kFormulaList, 5, "DCM Buck-Boost", "DCM Buck-Boost cfg.txt", "DC-DC变换器.JPG"},
    {kFormulaList, 7, "DCM 反激", "DCM反激变换器 cfg.txt", "反激变换器.JPG"},
    {kFormulaList, 8, "RCC 变换器", "RCC cfg.txt", "RCC变换器.JPG"},
    {kFormulaList, 9, "正激变换器", "正激变换器 cfg.txt", "正激变换器.JPG"},
    {kFormulaList, 12, "全桥变换器", "全桥变换器 cfg.txt", "全桥变换器.JPG"},
    {kInterfaceList, 0, "DC-DC变换器", "DC-DC Interface.txt", "DC-DC变换器.JPG"},
    {kInterfaceList, 2, "RCC变换器", "RCC Interface.txt", "RCC变换器.JPG"},
    {kInterfaceList, 4, "推挽变换器", "Push-Pull Interface.txt", "推挽变换器.JPG"},
    {kInterfaceList, 6, "全桥变换器", "Full Bridge Interface.txt", "全桥变换器.JPG"},
};

class ToolboxPage : public ::testing::TestWithParam<EntryCase> {
 protected:
  TempFolder dir;
  RecordingHost host;
  const std::filesystem::path pictures{"/opt/tarnex/bin/Code"};
};

TEST_P(ToolboxPage, ButtonHandsTheSelectedFileAndItsPictureToTheDesktop) {
  const EntryCase& c = GetParam();
  CEditPage page(host, dir.folder(), pictures);
  page.open();
  ASSERT_EQ(page.control(kFormulaList)->entries.size(), 13u);
  ASSERT_EQ(page.control(kInterfaceList)->entries.size(), 7u);
  EXPECT_EQ(page.control(kFormulaList)->selection, 0);
  EXPECT_EQ(page.control(kInterfaceList)->selection, 0);
  EXPECT_EQ(page.control(c.list)->entries[static_cast<std::size_t>(c.index)], c.text);

  page.select(c.list, c.index);
  page.command(c.list == kFormulaList ? kOpenFormula : kOpenInterface);
  EXPECT_EQ(host.opened, (std::vector<std::string>{dir.folder().path(c.file).string(),
                                                   (pictures / c.picture).string()}));
  EXPECT_EQ(host.openedMinimized, (std::vector<bool>{false, true}));
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Entries, ToolboxPage, ::testing::ValuesIn(kEntries));

TEST(Toolbox, AListWithoutSelectionOpensNothing) {
  TempFolder dir;
  RecordingHost host;
  CEditPage page(host, dir.folder(), "Code");
  page.open();
  page.control(kInterfaceList)->selection = -1;
  page.command(kOpenInterface);
  EXPECT_TRUE(host.opened.empty());
  page.command(kOpenFormula);  // the other list still has its entry
  EXPECT_EQ(host.opened.size(), 2u);
}

// A file the desktop cannot open (no application for its type) is named in a message with its
// folder; the other file of the same button is still handed on.
TEST(Toolbox, AFileTheDesktopCannotOpenIsNamedWithItsFolder) {
  TempFolder dir;
  const std::filesystem::path pictures{"/opt/tarnex/bin/Code"};
  const std::filesystem::path formula = dir.folder().path("CCM Buck cfg.txt");
  const std::filesystem::path picture = pictures / "DC-DC变换器.JPG";
  for (const std::filesystem::path& unopenable : {formula, picture}) {
    RecordingHost host;
    host.unopenable = {unopenable.string()};
    CEditPage page(host, dir.folder(), pictures);
    page.open();
    page.command(kOpenFormula);
    EXPECT_EQ(host.opened.size(), 2u);
    ASSERT_EQ(host.messages.size(), 1u) << unopenable;
    const Message& m = host.messages[0];
    EXPECT_EQ(m.icon, Icon::Warning);
    EXPECT_TRUE(m.owned);
    EXPECT_NE(m.text.find("“" + unopenable.filename().string() + "”"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("“" + unopenable.parent_path().string() + "”"), std::string::npos)
        << m.text;
  }
}

TEST(Toolbox, SheetOfOnePage) {
  TempFolder dir;
  RecordingHost host;
  const std::unique_ptr<Sheet> sheet = makeToolbox(host, dir.folder(), "Code");
  EXPECT_EQ(sheet->title(), "Toolbox");
  ASSERT_EQ(sheet->size(), 1u);
  EXPECT_EQ(sheet->page(0).title(), "公式界面编辑");
}

}  // namespace
}  // namespace tarnex
