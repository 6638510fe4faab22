#pragma once
// The design report of a run (--report FILE.html): the window as it stands after the
// commands, as an HTML document without the pictures, which only the desktop program renders.

#include <optional>
#include <string>

#include "forms/form.h"

namespace tarnex::calc {

// What is wrong with the report's file name before anything runs, or nothing.
std::optional<std::string> checkReportName(const std::string& path);

// Writes the report of `form` to `path` whole or not at all: nothing, or why it failed. The
// date is now's, or that of $SOURCE_DATE_EPOCH (seconds since 1970, UTC) when it is set, so
// that a report can be made again byte for byte.
std::optional<std::string> writeReport(Form& form, const std::string& path,
                                       const std::string& sheetTitle);

}  // namespace tarnex::calc
