// Design files: every design window and the compensation sheet saved and opened in a fresh
// window (one table), files that must be refused whole (another table), and saves that fail
// leaving the old file as it was.

#include "forms/design_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <memory>

#include "designs/registry.h"
#include "forms/core_pick.h"
#include "forms/sheet.h"
#include "loop/loop_sheet.h"
#include "magnetics/catalogue.h"
#include "support/child_process.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

// A window as the launcher opens it: a design window, or the sheet with its pages.
class Window {
 public:
  Window(const std::string& key, RecordingHost& host, const Folder& folder) {
    if (key == kLoopSheetKey) {
      sheet_ = makeLoopSheet(host);
      sheet_->open();
      sheet_->openAll();
      for (std::size_t i = 0; i < sheet_->size(); ++i) forms_.push_back(&sheet_->page(i));
    } else {
      form_ = makeDesign(key, host, folder);
      form_->open();
      forms_.push_back(form_.get());
    }
  }
  const std::vector<Form*>& forms() const { return forms_; }
  std::string text() { return sheet_ ? designText(*sheet_) : designText(*form_); }
  std::optional<std::string> open(const std::filesystem::path& path) {
    return sheet_ ? openDesignFile(path, *sheet_) : openDesignFile(path, *form_);
  }

  // What a user sees of the window: every control's text and selection, and the core chosen.
  std::vector<std::string> shown() const {
    std::vector<std::string> seen;
    for (const Form* f : forms_) {
      for (const Control& c : f->controls()) {
        seen.push_back(std::to_string(c.id) + "=" + c.text + "/" + std::to_string(c.selection) +
                       (c.enabled ? "" : " disabled"));
      }
      if (CorePick* pick = const_cast<Form*>(f)->corePick()) {
        seen.push_back("core=" + pick->text() + " " + std::to_string(pick->settings().temperature) +
                       " " + std::to_string(pick->settings().fillFactor));
      }
    }
    return seen;
  }

 private:
  std::unique_ptr<Form> form_;
  std::unique_ptr<Sheet> sheet_;
  std::vector<Form*> forms_;
};

std::vector<std::string> windowKeys() {
  std::vector<std::string> keys;
  for (const DesignInfo& d : designs()) {
    if (d.make != nullptr) keys.emplace_back(d.key());
  }
  keys.emplace_back(kLoopSheetKey);
  return keys;
}

// A design as a user leaves it: every list on its last entry, a catalogue core with its own
// sheet settings, every command pressed in order, then a field typed as no calculation would
// write it.
void workOn(Form& form) {
  for (const ListRow& l : form.table()->lists) {
    form.select(l.id, static_cast<int>(l.entries.size()) - 1);
  }
  if (CorePick* pick = form.corePick()) {
    pick->choose(*magnetics::findCore("ETD 34/17/11"), *magnetics::findMaterial("N87"));
    pick->setSettings({80, 0.35});
  }
  for (const ButtonRow& b : form.table()->buttons) {
    if (!b.key.empty()) form.command(b.id);
  }
  for (const FieldRow& row : form.table()->fields) {
    if (row.role == FieldRole::Input && form.control(row.controlId)->enabled) {
      form.setText(row.controlId, " 1.50");
      break;
    }
  }
}

class DesignRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(DesignRoundTrip, OpensInAFreshWindowAsItWasShownWithoutCalculating) {
  TempFolder dir;
  RecordingHost host;
  Window before(GetParam(), host, dir.folder());
  for (Form* f : before.forms()) workOn(*f);
  bool anyResult = false;
  for (const Form* f : before.forms()) {
    for (const FieldRow& row : f->table()->fields)
      anyResult |= row.output() && !f->text(row.controlId).empty();
  }
  EXPECT_TRUE(anyResult) << "no command wrote a result to keep";

  const std::filesystem::path file = dir.path("设计" + std::string(kDesignSuffix));
  std::string error;
  const std::string text = before.text();
  ASSERT_TRUE(saveDesignFile(file, text, error)) << error;
  EXPECT_EQ(dir.read(file.filename().string()), text);

  RecordingHost freshHost;
  Window after(GetParam(), freshHost, dir.folder());
  const std::optional<std::string> refused = after.open(file);
  ASSERT_FALSE(refused) << *refused;
  EXPECT_EQ(after.shown(), before.shown());
  // Nothing was calculated: no progress window, no message, no check of the numbers.
  EXPECT_EQ(freshHost.progressRuns, 0);
  EXPECT_TRUE(freshHost.messages.empty());
  for (const Form* f : after.forms()) {
    EXPECT_EQ(f->calculationsWritten(), 0);
    EXPECT_TRUE(f->findings().empty());
    EXPECT_EQ(f->bode(), nullptr);
  }
  // Saved again, the design is the same text but for the check that was not worked out.
  Window again(GetParam(), freshHost, dir.folder());
  ASSERT_FALSE(again.open(file));
  EXPECT_EQ(again.text(), after.text());
}

INSTANTIATE_TEST_SUITE_P(Windows, DesignRoundTrip, ::testing::ValuesIn(windowKeys()),
                         [](const auto& p) {
                           std::string name = p.param;
                           std::erase(name, '-');
                           return name;
                         });

// --- files that are refused whole ------------------------------------------------------------

struct BadFile {
  const char* name;
  const char* window;
  const char* from;  // the saved text's part changed (empty: the text cut in half)
  const char* to;
  const char* says;  // part of the message: the key at fault
};

class BadDesignFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadDesignFile, IsRefusedNamingTheKeyAndChangesNothing) {
  const BadFile& bad = GetParam();
  TempFolder dir;
  RecordingHost host;
  Window source(bad.window, host, dir.folder());
  std::string text = source.text();
  if (*bad.from == '\0') {
    text.resize(text.size() / 2);
  } else {
    const std::size_t at = text.find(bad.from);
    ASSERT_NE(at, std::string::npos) << bad.from;
    text.replace(at, std::string_view(bad.from).size(), bad.to);
  }
  dir.write("bad.tarnex", text);

  Window target(bad.window, host, dir.folder());
  for (Form* f : target.forms()) workOn(*f);
  const std::vector<std::string> shown = target.shown();
  const std::optional<std::string> refused = target.open(dir.path("bad.tarnex"));
  ASSERT_TRUE(refused);
  EXPECT_NE(refused->find(bad.says), std::string::npos) << *refused;
  EXPECT_TRUE(refused->starts_with("无法打开设计“bad.tarnex”：")) << *refused;
  EXPECT_EQ(target.shown(), shown);
  EXPECT_EQ(dir.read("bad.tarnex"), text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadDesignFile,
    ::testing::Values(
        BadFile{"Truncated", "flyback", "", "", "不完整"},
        BadFile{"NewerVersion", "flyback", "\"formatVersion\": 1", "\"formatVersion\": 2",
                "“formatVersion”"},
        BadFile{"AnotherWindow", "flyback", "\"window\": \"flyback\"", "\"window\": \"forward\"",
                "“window”是“forward”"},
        BadFile{"FieldOfAnotherWindow", "flyback", "\"Po\": {",
                "\"L\": {\"value\": \"1\"}, \"Po\": {", "“inputs.L”"},
        BadFile{"NumberForAText", "flyback", "\"value\": \"74\"", "\"value\": 74",
                "“inputs.Po.value”"},
        BadFile{"OtherUnit", "flyback", "\"unit\": \"kHz\"", "\"unit\": \"Hz\"", "“inputs.f.unit”"},
        BadFile{"MissingField", "flyback",
                "\"Vo\": {\n      \"value\": \"5\",\n      \"unit\": \"V\"\n    },", "",
                "缺少键“inputs.Vo”"},
        BadFile{"UnknownEntry", "flyback", "\"mode\": \"ccm\"", "\"mode\": \"bcm\"",
                "“lists.mode”"},
        BadFile{"UnknownCore", "flyback", "\"core\": null",
                "\"core\": {\"core\": \"ETD 99\", \"material\": \"N87\", \"temperature\": 100, "
                "\"fillFactor\": 0.4}",
                "“core.core”"},
        BadFile{"KeyUnknownToAPage", "loop", "\"results\": {",
                "\"results\": {\"x\": {\"value\": \"1\", \"unit\": \"\"},",
                "“pages.loop-current.results.x”"},
        BadFile{"MissingPage", "loop", "\"loop-type3\": {", "\"type3\": {",
                "缺少键“pages.loop-type3”"}),
    [](const auto& p) { return std::string(p.param.name); });

// --- saves that fail ------------------------------------------------------------------------

struct SaveFault {
  const char* name;
  const char* says;
};

class FailedSave : public ::testing::TestWithParam<SaveFault> {};

// The old file stays whole (and a link stays a link), no temporary file is left beside it,
// and the message says why.
TEST_P(FailedSave, LeavesTheOldFileAsItWasAndSaysWhy) {
  const std::string fault = GetParam().name;
  TempFolder dir;
  const std::string old = "{ \"an\": \"engineer's design\" }\n";
  dir.write("target.txt", old);
  std::string name = "d.tarnex";
  if (fault == "SymbolicLink") {
    std::filesystem::create_symlink(dir.path("target.txt"), dir.path(name));
  } else if (fault == "Folder") {
    std::filesystem::create_directory(dir.path(name));
  } else {
    name = "target.txt";
  }
  // The save runs as an ordinary user, for whom a read-only folder is one.
  ::chmod(dir.folder().dir().c_str(), fault == "ReadOnlyFolder" ? 0555 : 0777);
  const std::string text(8192, ' ');
  const std::filesystem::path path = dir.path(name);
  const std::string says = GetParam().says;
  const int code = testing::runInChild(
      [&] {
        if (fault == "FileSizeLimit") {
          const rlimit limit{1000, 1000};
          ::setrlimit(RLIMIT_FSIZE, &limit);
          std::signal(SIGXFSZ, SIG_IGN);
        }
        std::string error;
        if (saveDesignFile(path, text, error)) return 1;
        return error.find(says) != std::string::npos ? 0 : 2;
      },
      true);
  EXPECT_EQ(code, 0);
  ::chmod(dir.folder().dir().c_str(), 0755);
  EXPECT_EQ(dir.read("target.txt"), old);
  if (fault == "SymbolicLink") {
    EXPECT_TRUE(std::filesystem::is_symlink(path));
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.folder().dir()))
    ++files;
  EXPECT_EQ(files, fault == "SymbolicLink" || fault == "Folder" ? 2u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, FailedSave,
                         ::testing::Values(SaveFault{"FileSizeLimit", "文件超出了允许的大小。"},
                                           SaveFault{"ReadOnlyFolder", "拒绝访问。"},
                                           SaveFault{"SymbolicLink", "它是一个符号链接"},
                                           SaveFault{"Folder", "同名的文件夹已存在。"}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tarnex
