// Start-up time and memory of the desktop program.
//
//   gui_bench startup   the program as `tarnex` runs it (start-up work, loading window of
//                       99 ticks of 10 ms, launcher); prints the milliseconds from the spawn of
//                       the process to the end of the launcher's first paint
//   gui_bench bare      a bare Qt dialog with one button, for comparison: the same figure
//   gui_bench memory [N]  the launcher and N (default ten) DC-DC windows; prints the peak
//                         resident size
//
// The spawn time comes from the caller, who reads the clock just before it starts the
// process: TARNEX_SPAWN_NS, nanoseconds of CLOCK_REALTIME (bench/gui_bench.sh sets it). Give
// the program a working folder (TARNEX_HOME) whose "System.cfg" carries the welcome mark and
// whose formula and interface files begin with '#'.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Nanoseconds of CLOCK_REALTIME, the clock the caller read before spawning the process.
long long nowNs() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// Ends the process right after the first paint of the watched window, printing the time
// since the spawn.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget& window, const char* what) : what_(what) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    static_cast<QWidget*>(watched)->removeEventFilter(this);
    QCoreApplication::sendEvent(watched, event);  // the paint itself
    const char* spawn = std::getenv("TARNEX_SPAWN_NS");
    const double ms = spawn ? static_cast<double>(nowNs() - std::atoll(spawn)) / 1e6 : -1;
    std::printf("%s first paint %.1f ms after spawn\n", what_, ms);
    std::fflush(stdout);
    std::_Exit(0);
  }

 private:
  const char* what_;
};

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
  const std::string mode = argc > 1 ? argv[1] : "startup";
  if (mode == "startup") {
    std::signal(SIGXFSZ, SIG_IGN);  // as main() of the program
    std::unique_ptr<FirstPaint> watch;
    return tarnex::qt::runProgram(argc, argv, [&watch](QWidget& launcher) {
      watch = std::make_unique<FirstPaint>(launcher, "launcher");
    });
  }
  QApplication app(argc, argv);

  if (mode == "bare") {
    QDialog dialog;
    auto* button = new QPushButton(QStringLiteral("Tarnex"), &dialog);
    button->move(10, 10);
    const FirstPaint watch(dialog, "bare dialog");
    dialog.show();
    return QApplication::exec();
  }

  // memory
  tarnex::qt::setUpApplication(app);
  const tarnex::Folder folder(std::filesystem::current_path());
  tarnex::qt::QtHost host;
  tarnex::qt::Launcher launcher(folder, host);
  tarnex::qt::runStartup(folder, host);
  launcher.show();
  waitUntilExposed(launcher);
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
  return 0;
}
