// The end marker '#' closes the formula text; everything after it is free notes and is never
// read. A file that lacks it (an empty file created at start-up, say) gets it appended, the
// only change the interpreter ever makes to the file.

#include "formula/source.h"

#include <cerrno>

#include "formula/diagnostic.h"

namespace tarnex::formula {

std::optional<std::string> loadFormulaText(const Folder& folder, std::string_view fileName,
                                           Host& host) {
  std::optional<UserFile> file = UserFile::openOrReport(folder, fileName, host);
  if (!file) return std::nullopt;
  MarkedText read = file->readUntil('#');
  switch (read.status) {
    case MarkedText::Status::Marker:
      break;
    case MarkedText::Status::NoMarker:
      errno = 0;
      if (!file->append('#')) {
        const int error = errno != 0 ? errno : EIO;
        reportFileError(host, fileErrorText(FileAction::Write, fileName, error));
        return std::nullopt;
      }
      host.showMessage(missingEndMarkerWarning());
      break;
    case MarkedText::Status::TooLong:
      reportFileError(host, textTooLongText(fileName));
      return std::nullopt;
    case MarkedText::Status::ReadError:
      reportFileError(host, fileErrorText(FileAction::Read, fileName, read.error));
      return std::nullopt;
  }
  if (hasByteOrderMark(read.text)) return std::string(withoutByteOrderMark(read.text));
  return std::move(read.text);
}

std::string_view formulaText(std::string_view bytes) {
  return withoutByteOrderMark(bytes.substr(0, std::min(bytes.find('#'), bytes.size())));
}

}  // namespace tarnex::formula
