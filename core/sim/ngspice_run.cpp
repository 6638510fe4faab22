#include "sim/ngspice_run.h"

#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "base/child_process.h"

namespace tarnex::sim {

namespace {

namespace fs = std::filesystem;

std::string readWhole(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A folder of its own under the temporary folder, removed with everything in it.
class WorkFolder {
 public:
  WorkFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tarnex-sim-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~WorkFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Every run's process, polled together; cancelling stops them all.
class Runs : public LongTask {
 public:
  explicit Runs(std::size_t n) : processes_(n) {}
  ChildProcess& operator[](std::size_t i) { return processes_[i]; }
  bool finished() override {
    bool all = true;
    for (ChildProcess& p : processes_) all = p.finished() && all;
    return all;
  }
  void cancel() override {
    for (ChildProcess& p : processes_) p.stop();
  }

 private:
  std::vector<ChildProcess> processes_;
};

// The deck with the commands that run it and write its waveforms: ngspice measures nothing in
// batch mode when asked for a raw file with -r, so the deck writes its own (and quits before
// batch mode would run the analysis a second time).
std::string withRawFile(const std::string& deck) {
  std::string text = deck;
  const std::string_view end = ".end\n";
  if (text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0)
    text.resize(text.size() - end.size());
  return text + ".control\nrun\nwrite out.raw\nquit\n.endc\n.end\n";
}

std::string seconds(double s) {
  std::ostringstream o;
  o << s;
  return o.str();
}

// What a run that ended gave: its output, measurements and waveforms, or why none.
void collect(const ChildProcess& process, const fs::path& dir, double limit, bool waveforms,
             NgspiceRun& r) {
  r.output = readWhole(dir / "ngspice.log");
  switch (process.state()) {
    case ChildProcess::State::Stopped:
      r.end = NgspiceRun::End::Cancelled;
      r.error = "仿真已取消。";
      return;
    case ChildProcess::State::TimedOut:
      r.end = NgspiceRun::End::TimedOut;
      r.error = "ngspice 在 " + seconds(limit) + " 秒内没有算完，已停止。";
      return;
    case ChildProcess::State::Signalled:
      r.end = NgspiceRun::End::Failed;
      r.error = "ngspice 异常退出（崩溃）。";
      return;
    default:
      break;
  }
  if (process.exitStatus() == 126 || process.exitStatus() == 127) {
    r.end = NgspiceRun::End::Failed;
    r.error = "无法运行 ngspice（退出码 " + std::to_string(process.exitStatus()) + "）。";
    return;
  }
  r.end = NgspiceRun::End::Done;
  r.run = parseSpiceOutput(r.output);
  if (!r.run.analysed) {
    std::string why = "ngspice 没有完成瞬态分析";
    for (const std::string& e : r.run.errors) why += "；" + e;
    r.error = why + "。";
    return;
  }
  std::string rawError;
  if (waveforms && !parseRawFile(readWhole(dir / "out.raw"), r.waves, rawError)) {
    r.error = "无法读取 ngspice 的波形文件：" + rawError + "。";
  }
}

}  // namespace

std::vector<NgspiceRun> runNgspice(Host& host, const std::string& caption,
                                   const std::vector<std::string>& decks, double limit,
                                   bool waveforms) {
  std::vector<NgspiceRun> results(decks.size());
  const std::string program = findProgram("ngspice");
  if (program.empty()) {
    for (NgspiceRun& r : results) {
      r.end = NgspiceRun::End::NotInstalled;
      r.error = kNoNgspice;
    }
    return results;
  }
  const WorkFolder work;
  Runs runs(decks.size());
  std::vector<fs::path> dirs(decks.size());
  const auto ms = std::chrono::milliseconds(static_cast<long long>(std::ceil(limit * 1000)));
  bool started = false;
  for (std::size_t i = 0; i < decks.size(); ++i) {
    std::error_code ec;
    dirs[i] = work.path() / std::to_string(i);
    if (work.path().empty() || !fs::create_directory(dirs[i], ec)) {
      results[i].error = "无法建立仿真用的临时文件夹。";
      continue;
    }
    std::ofstream out(dirs[i] / "deck.cir", std::ios::binary);
    out << (waveforms ? withRawFile(decks[i]) : decks[i]);
    out.close();
    std::string error;
    if (!out || !runs[i].start(program, {"-b", "deck.cir"}, dirs[i].string(),
                               (dirs[i] / "ngspice.log").string(), ms, error)) {
      results[i].error = out ? "无法启动 ngspice：" + error : "无法写入仿真用的临时文件。";
      continue;
    }
    started = true;
  }
  if (started) host.runTask(caption, runs);
  runs.cancel();  // nothing is left running, whatever the host did
  for (std::size_t i = 0; i < decks.size(); ++i) {
    if (runs[i].state() != ChildProcess::State::NotStarted)
      collect(runs[i], dirs[i], limit, waveforms, results[i]);
  }
  return results;
}

}  // namespace tarnex::sim
