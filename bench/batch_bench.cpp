// A 1000-point sweep of the DC-DC window's output voltage, side by side: through
// `tarnex-calc dcdc --batch` (one process, a fresh window per line on the working folder it
// prepares once, a CSV row per line) and as the same 1000 calculations of one window in one
// process (type the text, press calculate, read the result).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/host.h"
#include "designs/registry.h"
#include "forms/offscreen_host.h"
#include "startup/startup.h"
#include "tables/field_table.h"

namespace {

using namespace tarnex;
namespace fs = std::filesystem;

constexpr int kPoints = 1000;

// The output voltages of the sweep: 3 V to 12.99 V in steps of 10 mV, each one the window designs.
std::vector<std::string> voltages() {
  std::vector<std::string> texts;
  for (int i = 0; i < kPoints; ++i) texts.push_back(std::to_string(3 + i * 0.01).substr(0, 6));
  return texts;
}

class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (fs::temp_directory_path() / "tarnex-batch-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
  }
  ~BenchFolder() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  const fs::path& dir() const { return dir_; }

 private:
  fs::path dir_;
};

void BM_BatchProgram(benchmark::State& state) {
  BenchFolder dir;
  const fs::path input = dir.dir() / "points.txt";
  {
    std::ofstream lines(input);
    for (const std::string& v : voltages()) lines << "Vo=" << v << '\n';
  }
  const std::string command = std::string(TARNEX_CALC_PROGRAM) + " dcdc --batch --dir '" +
                              (dir.dir() / "home").string() + "' <'" + input.string() +
                              "' >/dev/null";
  for (auto _ : state) {
    // 1: a point refused (none is here); 2 or no exit: the run failed.
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) state.SkipWithError("tarnex-calc failed");
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_BatchProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OneWindow(benchmark::State& state) {
  BenchFolder dir;
  const Folder folder(dir.dir(), initialContent);
  OffscreenHost host;
  std::unique_ptr<Form> form = makeDesign("dcdc", host, folder);
  form->open();
  const DialogTable& table = *form->table();
  const int vo = findField(table, "Vo")->controlId;
  const int inductance = findField(table, "L")->controlId;
  const std::vector<std::string> texts = voltages();
  for (auto _ : state) {
    for (const std::string& v : texts) {
      form->setText(vo, v);
      form->command(kCalculateButton);
      benchmark::DoNotOptimize(form->text(inductance));
    }
    host.messages.clear();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_OneWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
