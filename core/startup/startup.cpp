#include "startup/startup.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "designs/registry.h"
#include "startup/formula_samples.h"
#include "startup/working_folder.h"

namespace tarnex {

namespace {

// The creation order: formula and interface files mixed, by name without regard to case,
// compared in the Chinese code page (so the Chinese names come last, in their GBK order).
bool createdBefore(std::string_view a, std::string_view b) {
  auto key = [](std::string_view name) {
    std::string k = encodeGbk(name);
    for (char& c : k) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return k;
  };
  const std::string ka = key(a), kb = key(b);
  return std::lexicographical_compare(
      ka.begin(), ka.end(), kb.begin(), kb.end(),
      [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

struct FileLists {
  std::vector<std::string_view> formula, interface, startup;
};

const FileLists& fileLists() {
  static const FileLists lists = [] {
    FileLists l;
    for (const DesignInfo& d : designs()) {
      for (const FormulaFileRow& f : d.table->formulaFiles) l.formula.push_back(f.fileName);
      l.interface.push_back(d.table->interfaceFile);
    }
    l.startup = l.formula;
    l.startup.insert(l.startup.end(), l.interface.begin(), l.interface.end());
    std::sort(l.startup.begin(), l.startup.end(), createdBefore);
    return l;
  }();
  return lists;
}

constexpr std::string_view kCrLf = "\r\n";

// The first line of an interface file as the start-up creates it: the end marker that keeps
// the system captions, and how to use the list of captions below it.
constexpr std::string_view kInterfaceHead =
    "# 删去本行即启用下面的标题：改写等号和分号之间的文字，就是窗口上对应的标题。"
    "也可以只把要改的行复制到本行之前。";

// "#…", then one entry "k=caption;" per number of the relabel list, then "#".
std::string captionList(const DialogTable& table) {
  std::vector<const FieldRow*> rows;
  for (const FieldRow& row : table.fields) {
    if (row.relabel > 0) rows.push_back(&row);
  }
  std::sort(rows.begin(), rows.end(),
            [](const FieldRow* a, const FieldRow* b) { return a->relabel < b->relabel; });
  std::string text(kInterfaceHead);
  text += kCrLf;
  for (const FieldRow* row : rows) {
    text += std::to_string(row->relabel) + "=" + std::string(row->caption) + ";";
    text += kCrLf;
  }
  text += "#";
  text += kCrLf;
  return text;
}

// Copies the help document into the working folder when it has none. Nothing is reported:
// the launcher only hands the document to the desktop, which copes with a missing one.
void placeHelpDocument(const Folder& folder, const std::filesystem::path& programDir) {
  std::error_code ec;
  if (programDir.empty() || std::filesystem::exists(folder.path(kHelpDocument), ec)) return;
  for (const std::filesystem::path& dir : shippedFolders(programDir)) {
    const std::filesystem::path shipped = Folder(dir).path(kHelpDocument);
    if (!std::filesystem::is_regular_file(shipped, ec)) continue;
    std::ifstream in(shipped, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad() || bytes.empty()) continue;
    std::string error;
    createUserFile(folder, kHelpDocument, bytes, error);
    return;
  }
}

}  // namespace

std::string initialContent(std::string_view name) {
  for (const EmbeddedFile& sample : formulaSamples()) {
    if (sample.name == name) return std::string(sample.bytes);
  }
  for (const DesignInfo& d : designs()) {
    if (d.table->interfaceFile == name) return captionList(*d.table);
  }
  return {};
}

std::span<const std::string_view> formulaFiles() {
  return fileLists().formula;
}
std::span<const std::string_view> interfaceFiles() {
  return fileLists().interface;
}
std::span<const std::string_view> startupFiles() {
  return fileLists().startup;
}

bool prepareWorkingFolder(const Folder& folder, Host& host,
                          const std::filesystem::path& programDir) {
  // Opening creates a missing file whole with its content and gives an empty one its content
  // (a start that failed or was killed may have left it so); a file that is there is opened
  // and closed as it is, so that one the program cannot use is reported now.
  const Folder files(folder.dir(), initialContent);
  for (std::string_view name : startupFiles()) {
    if (!UserFile::openOrReport(files, name, host)) return false;
  }
  if (!UserFile::openOrReport(files, kSystemFile, host)) return false;
  placeHelpDocument(folder, programDir);
  return true;
}

bool needsWelcome(const Folder& folder, Host& host) {
  const auto file = UserFile::openOrReport(folder, kSystemFile, host);
  if (!file) return false;
  // "System.cfg" holds a mark, not a text: its byte 0 counts as it stands.
  return file->firstRawByte() != static_cast<unsigned char>(kWelcomeMark);
}

bool markWelcomeSeen(const Folder& folder, Host& host) {
  auto file = UserFile::openOrReport(folder, kSystemFile, host);
  if (!file) return false;
  errno = 0;
  if (file->writeAt(0, kWelcomeMark)) return true;
  reportFileError(host, fileErrorText(FileAction::Write, kSystemFile, errno != 0 ? errno : EIO));
  return false;
}

}  // namespace tarnex
