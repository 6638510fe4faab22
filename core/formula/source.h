#pragma once
// Loading a formula file: the bytes of the text, with the end marker made sure of.

#include <optional>
#include <string>
#include <string_view>

#include "base/host.h"
#include "base/user_file.h"

namespace tarnex::formula {

// Reads the whole file. A file without any '#' gets one '#' appended on disk (and in the
// returned bytes) and the warning "注意" is shown. A file that cannot be opened or extended
// is reported through the host; nullopt then.
std::optional<std::string> loadFormulaFile(const Folder& folder, std::string_view fileName,
                                           Host& host);

// The formula text proper: the bytes before the first '#'.
std::string_view formulaText(std::string_view bytes);

}  // namespace tarnex::formula
