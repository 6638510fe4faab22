// Start-up time and memory of the desktop program, measured in the program's own code.
//
//   gui_bench startup   the program's start: start-up work, loading window (99 ticks of
//                       10 ms), launcher shown; prints milliseconds from main() to the
//                       launcher being on screen
//   gui_bench minimal   a bare Qt dialog with one label, for comparison
//   gui_bench memory [N]  the launcher and N (default ten) DC-DC windows; prints the peak
//                         resident size
//
// Runs on the working folder; give it one whose "System.cfg" carries the welcome mark and
// whose formula and interface files begin with '#' (bench/gui_bench.sh does).
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QWindow>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "form_view.h"
#include "launcher.h"
#include "qt_host.h"

namespace {

void waitUntilExposed(QWidget& w) {
  while (w.windowHandle() == nullptr || !w.windowHandle()->isExposed()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  QCoreApplication::processEvents();
}

long peakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Resident KiB per mapping (heap, anonymous, each file), largest first.
void printResidentBreakdown() {
  std::ifstream smaps("/proc/self/smaps");
  std::map<std::string, long> byName;
  std::string line, name;
  while (std::getline(smaps, line)) {
    if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
        line.find('-') < line.find(' ')) {
      std::istringstream fields(line);
      std::string range, perms, offset, dev, inode;
      fields >> range >> perms >> offset >> dev >> inode;
      std::getline(fields, name);
      name.erase(0, name.find_first_not_of(' '));
      if (name.empty()) name = "[anonymous]";
    } else if (line.rfind("Rss:", 0) == 0) {
      byName[name] += std::stol(line.substr(4));
    }
  }
  std::vector<std::pair<long, std::string>> sorted;
  for (const auto& [n, kib] : byName) sorted.emplace_back(kib, n);
  std::sort(sorted.rbegin(), sorted.rend());
  for (std::size_t i = 0; i < sorted.size() && i < 12; ++i) {
    std::printf("  %8ld KiB  %s\n", sorted[i].first, sorted[i].second.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  const std::string mode = argc > 1 ? argv[1] : "startup";
  QApplication app(argc, argv);

  if (mode == "minimal") {
    QDialog dialog;
    auto* label = new QLabel(QStringLiteral("Tarnex"), &dialog);
    label->move(10, 10);
    dialog.show();
    waitUntilExposed(dialog);
    std::printf("minimal dialog shown after %lld ms\n", static_cast<long long>(clock.elapsed()));
    return 0;
  }

  tarnex::qt::setUpApplication(app);
  const tarnex::Folder folder(std::filesystem::current_path());
  tarnex::qt::QtHost host;
  tarnex::qt::Launcher launcher(folder, host);
  tarnex::qt::runStartup(folder, host);
  launcher.show();
  waitUntilExposed(launcher);
  std::printf("launcher shown after %lld ms\n", static_cast<long long>(clock.elapsed()));

  if (mode == "memory") {
    const int windows = argc > 2 ? std::atoi(argv[2]) : 10;
    for (int i = 0; i < windows; ++i) {
      tarnex::qt::FormView* view = launcher.openDesign("dcdc");
      if (view == nullptr) return 1;
      waitUntilExposed(*view);
      if (i == 0) std::printf("design window %d x %d\n", view->width(), view->height());
    }
    std::printf("launcher and %zu DC-DC windows: peak resident %ld KiB\n",
                launcher.designWindows().size(), peakResidentKiB());
    if (argc > 3 && std::strcmp(argv[3], "breakdown") == 0) printResidentBreakdown();
  }
  return 0;
}
