#include "calc_report.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "base/user_file.h"
#include "report/report.h"

namespace tarnex::calc {

namespace {

bool endsWith(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    const char c = text[text.size() - end.size() + i];
    if (std::tolower(static_cast<unsigned char>(c)) != end[i]) return false;
  }
  return true;
}

std::string reportDate() {
  std::time_t t = std::time(nullptr);
  bool utc = false;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
    char* end = nullptr;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (*end == '\0' && seconds >= 0) {
      t = static_cast<std::time_t>(seconds);
      utc = true;
    }
  }
  std::tm parts{};
  if (utc) {
    gmtime_r(&t, &parts);
  } else {
    localtime_r(&t, &parts);
  }
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &parts);
  return buf;
}

}  // namespace

std::optional<std::string> checkReportName(const std::string& path) {
  if (endsWith(path, ".html") || endsWith(path, ".htm")) return std::nullopt;
  if (endsWith(path, ".pdf")) {
    return "--report writes HTML only (FILE.html); the desktop program writes the PDF";
  }
  return "--report needs a file name ending in .html";
}

std::optional<std::string> writeReport(Form& form, const std::string& path,
                                       const std::string& sheetTitle) {
  const report::Report model =
      report::build(form, {.date = reportDate(), .sheetTitle = sheetTitle});
  std::string error;
  if (!replaceFile(std::filesystem::path(path), report::html(model), error)) return error;
  return std::nullopt;
}

}  // namespace tarnex::calc
