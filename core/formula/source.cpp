// The end marker '#' closes the formula text; everything after it is free notes. A file that
// lacks it (an empty file created at start-up, say) gets it appended, the only change the
// interpreter ever makes to the file.

#include "formula/source.h"

#include <cerrno>

#include "formula/diagnostic.h"

namespace tarnex::formula {

std::optional<std::string> loadFormulaFile(const Folder& folder, std::string_view fileName,
                                           Host& host) {
  std::optional<UserFile> file = UserFile::openOrReport(folder, fileName, host);
  if (!file) return std::nullopt;
  std::string bytes = file->readAll();
  if (bytes.find('#') == std::string::npos) {
    errno = 0;
    if (!file->append('#')) {
      const int error = errno != 0 ? errno : EIO;
      host.showMessage(Message{kProgramName, fileErrorText(fileName, error), Icon::Warning, false});
      return std::nullopt;
    }
    bytes.push_back('#');
    host.showMessage(missingEndMarkerWarning());
  }
  return bytes;
}

std::string_view formulaText(std::string_view bytes) {
  return bytes.substr(0, std::min(bytes.find('#'), bytes.size()));
}

}  // namespace tarnex::formula
