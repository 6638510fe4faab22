// The simulation command of every design window (rows.txt), as the desktop and tarnex-calc run
// it: the window's own decks in ngspice, the table of simulated against shown, the waveforms
// read back from the raw file, the deck exported as a netlist; and how a run fails: no
// ngspice on PATH, a deck ngspice refuses, a run past its time limit or cancelled, leaving no
// process behind.

#include "sim/window_sim.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "designs/design_check.h"
#include "sim/ngspice_run.h"
#include "sim/wave_plot.h"
#include "sim_window.h"
#include "support/ngspice.h"

namespace tarnex {
namespace {

using namespace simtest;

// The design rows that show a design.
std::vector<Row> shownDesigns() {
  std::vector<Row> rows = rowsOf(false);
  std::erase_if(rows, [](const Row& r) { return !r.message.empty(); });
  return rows;
}

const sim::ComparedRow* rowOf(const sim::WindowSimulation& s, std::string_view label) {
  for (const sim::ComparedRow& r : s.table) {
    if (r.label == label) return &r;
  }
  return nullptr;
}

// Whether the design check warns that the window states a current below the circuit's.
bool checkWarnsCurrent(const Form& w, std::initializer_list<std::string_view> labels) {
  for (const Finding& f : w.findings()) {
    for (std::string_view label : labels) {
      if (f.text.starts_with(label) && f.text.find("按电路") != std::string::npos) return true;
    }
  }
  return false;
}

class WindowSimulated : public ::testing::TestWithParam<Row> {};

TEST_P(WindowSimulated, AgreesWithTheWindowAndItsCheck) {
  ASSERT_TRUE(testing::ngspiceInstalled()) << "ngspice is not installed";
  const Shown w(GetParam().command);
  ASSERT_TRUE(w.written()) << "the window refused:" << w.messages();
  testing::RecordingHost host;
  const sim::WindowSimulation s = sim::simulateWindow(w.window(), host);
  ASSERT_TRUE(s.ok()) << s.error;
  ASSERT_EQ(s.ends.size(), 2u);
  for (const sim::ComparedRow& r : s.table) {
    EXPECT_TRUE(std::isfinite(r.simulated)) << r.label;
    std::printf("window-sim %s %s: %.4g against %.4g %s (%s)%s\n", w.key.c_str(), r.label.c_str(),
                r.simulated, r.shown, r.unit.c_str(), r.basis.c_str(), r.differs ? " differs" : "");
  }
  // Driven at the check's steady state, the circuit holds the window's output.
  const sim::ComparedRow* vo = rowOf(s, "输出电压");
  ASSERT_NE(vo, nullptr);
  EXPECT_FALSE(vo->differs) << vo->simulated << " V against " << vo->shown << " V";
  // The simulation and the design check tell the same of the RMS currents the window states.
  struct RmsRow {
    const char* label;
    const char* dcdc;  // the check's words for the current, the DC-DC's and the transformers'
    const char* transformer;
  };
  for (const RmsRow& rms : {RmsRow{"开关管电流有效值", "开关管有效电流", "初级电流有效值"},
                            RmsRow{"二极管电流有效值", "二极管有效电流", "次级电流有效值"}}) {
    const sim::ComparedRow* r = rowOf(s, rms.label);
    ASSERT_NE(r, nullptr) << rms.label;
    EXPECT_EQ(r->differs, checkWarnsCurrent(w.window(), {rms.dcdc, rms.transformer}))
        << rms.label << ": simulated " << r->simulated << " A, shown " << r->shown << " A";
  }
  // The waveforms read back are the ones ngspice measured: the peak switch current of both
  // ends, and every trace over the same points.
  double peak = -INFINITY;
  for (const sim::WindowWaves& e : s.ends) {
    ASSERT_GT(e.waves.time.size(), 100u) << e.end;
    for (const char* name : {"v(vout)", "v(il)", "v(wv)", "v(wi)", "v(wd)"}) {
      const std::vector<double>* v = e.waves.find(name);
      ASSERT_NE(v, nullptr) << e.end << " " << name;
      EXPECT_EQ(v->size(), e.waves.time.size()) << name;
    }
    const std::vector<double>& wi = *e.waves.find("v(wi)");
    peak = std::max(peak, *std::max_element(wi.begin(), wi.end()));
  }
  // The plot of an end: a panel per waveform, each with its unit, over time from zero.
  const PlotData plot = sim::wavePlot(s, s.ends.front());
  ASSERT_EQ(plot.panels.size(), 5u);
  EXPECT_EQ(plot.x.front(), 0);
  for (const PlotPanel& panel : plot.panels) {
    EXPECT_FALSE(panel.axis.unit.empty()) << panel.axis.caption;
    ASSERT_EQ(panel.traces.size(), 1u) << panel.axis.caption;
    EXPECT_EQ(panel.traces[0].y.size(), plot.x.size()) << panel.axis.caption;
  }
  const sim::ComparedRow* switchPeak = rowOf(s, "开关管峰值电流");
  ASSERT_NE(switchPeak, nullptr);
  EXPECT_TRUE(near(peak, switchPeak->simulated, 0.005)) << "peak switch current of the waveforms";
  // The exported deck runs in ngspice as it stands and reaches the window's output.
  std::string error;
  const std::string deck = sim::windowNetlist(w.window(), error);
  ASSERT_FALSE(deck.empty()) << error;
  const testing::NgspiceRun run = testing::runNgspice(deck, sim::kWindowSimSeconds);
  ASSERT_TRUE(run.ok()) << run.error;
  EXPECT_TRUE(near(run.run.value("vo").value_or(NAN), w["Vo"], kReachShortfall));
}

INSTANTIATE_TEST_SUITE_P(Designs, WindowSimulated, ::testing::ValuesIn(shownDesigns()));

// The children of this process that still exist (zombies included).
int childProcesses() {
  int n = 0;
  DIR* proc = ::opendir("/proc");
  if (proc == nullptr) return -1;
  while (const dirent* e = ::readdir(proc)) {
    std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
    std::string pid, comm, state;
    long ppid = 0;
    if (stat >> pid >> comm >> state >> ppid && ppid == ::getpid()) ++n;
  }
  ::closedir(proc);
  return n;
}

// A host whose user cancels a task once it has run for a while.
class CancellingHost : public testing::RecordingHost {
 public:
  void runTask(const std::string&, LongTask& task) override {
    for (int i = 0; i < 40 && !task.finished(); ++i) ::usleep(10000);
    runningWhenCancelled = childProcesses();
    task.cancel();
  }
  int runningWhenCancelled = 0;
};

// A transient that takes far longer than any limit here.
constexpr const char* kLongDeck =
    "* long\nV1 a 0 SIN(0 1 1Meg)\nR1 a 0 1k\n.tran 1p 10 0 1p\n.end\n";

struct FailingRun {
  const char* name;
  const char* deck;
  double seconds;
  bool cancel;
  sim::NgspiceRun::End end;
  const char* message;  // a part of the message
};

void PrintTo(const FailingRun& run, std::ostream* os) {
  *os << run.name;
}

class NgspiceFails : public ::testing::TestWithParam<FailingRun> {};

TEST_P(NgspiceFails, SaysWhyAndLeavesNoProcess) {
  ASSERT_TRUE(testing::ngspiceInstalled()) << "ngspice is not installed";
  const FailingRun& p = GetParam();
  CancellingHost cancelling;
  testing::RecordingHost waiting;
  Host& host = p.cancel ? static_cast<Host&>(cancelling) : waiting;
  const std::vector<sim::NgspiceRun> runs = sim::runNgspice(host, "", {p.deck, p.deck}, p.seconds);
  for (const sim::NgspiceRun& r : runs) {
    EXPECT_EQ(r.end, p.end);
    EXPECT_NE(r.error.find(p.message), std::string::npos) << r.error;
  }
  if (p.cancel) {
    EXPECT_EQ(cancelling.runningWhenCancelled, 2) << "both runs were running";
  }
  EXPECT_EQ(childProcesses(), 0) << "a process was left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, NgspiceFails,
    ::testing::Values(FailingRun{"Broken", "* broken\nR1 a\nQ9 x y\n.tran 1u 10u\n.end\n", 30,
                                 false, sim::NgspiceRun::End::Done, "ngspice 没有完成瞬态分析"},
                      FailingRun{"TimedOut", kLongDeck, 0.5, false, sim::NgspiceRun::End::TimedOut,
                                 "秒内没有算完"},
                      FailingRun{"Cancelled", kLongDeck, 30, true, sim::NgspiceRun::End::Cancelled,
                                 "已取消"}),
    [](const ::testing::TestParamInfo<FailingRun>& run) { return std::string(run.param.name); });

TEST(WindowSimulation, WithoutNgspiceSaysSoOnce) {
  const Shown w("dcdc");
  ASSERT_TRUE(w.written());
  const testing::TempFolder empty;
  const char* old = std::getenv("PATH");
  const std::string saved = old != nullptr ? old : "";
  ::setenv("PATH", empty.path("").c_str(), 1);
  testing::RecordingHost host;
  const sim::WindowSimulation s = sim::simulateWindow(w.window(), host);
  ::setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(s.error, sim::kNoNgspice);
  EXPECT_TRUE(s.table.empty());
}

}  // namespace
}  // namespace tarnex
