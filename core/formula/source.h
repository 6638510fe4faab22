#pragma once
// Loading a formula file: the bytes of the text before its end marker, with the end marker
// made sure of.

#include <optional>
#include <string>
#include <string_view>

#include "base/host.h"
#include "base/user_file.h"

namespace tarnex::formula {

// Reads the formula text of the file: the bytes before its first '#', without a leading
// byte-order mark; nothing after the '#' is read. A file without any '#' gets one '#'
// appended on disk and the warning "注意" is shown. A file that cannot be opened, read or
// extended, or whose text exceeds kMaxTextBytes, is reported through the host, left as it
// is, and gives nullopt.
std::optional<std::string> loadFormulaText(const Folder& folder, std::string_view fileName,
                                           Host& host);

// The formula text proper within the bytes of a file: the bytes before the first '#',
// without a leading byte-order mark.
std::string_view formulaText(std::string_view bytes);

}  // namespace tarnex::formula
