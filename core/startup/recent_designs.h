#pragma once
// The designs opened or saved last, which the launcher offers again: absolute paths, newest
// first, one per line in "Recent.cfg" of the working folder. The list is written whole or not
// at all; a list that cannot be read or written costs nothing but the list.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/user_file.h"

namespace tarnex {

inline constexpr std::string_view kRecentDesignsFile = "Recent.cfg";
inline constexpr std::size_t kRecentDesigns = 8;

// The list as kept (empty when there is none); blank lines and relative paths are skipped.
std::vector<std::string> recentDesigns(const Folder& folder);

// `path` put at the head of the list (once), the list cut to kRecentDesigns; false when the
// list could not be written.
bool rememberDesign(const Folder& folder, const std::string& path);

// `path` taken off the list (a design that no longer opens); false when it could not be
// written.
bool forgetDesign(const Folder& folder, const std::string& path);

}  // namespace tarnex
