// The DC-DC calculate command as the user runs it (read the fields, decide by the formula
// file's first byte, compute, write back), without the progress animation; and the bare
// procedure.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/host.h"
#include "designs/dcdc.h"

namespace {

using namespace tarnex;

class QuietHost : public Host {
 public:
  void showMessage(const Message&) override { ++messages; }
  void runProgress() override {}
  bool openInDesktop(const std::string&, bool) override { return true; }
  void runDialog(Form&) override {}
  void runSheet(Sheet&) override {}
  void repaint() override {}
  int messages = 0;
};

// A working folder with every DC-DC file switched off ('#'): the built-in procedures run.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnex-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
    for (const char* name :
         {"DC-DC Interface.txt", "CCM Buck cfg.txt", "CCM Boost cfg.txt", "CCM Buck-Boost cfg.txt",
          "DCM Buck cfg.txt", "DCM Boost cfg.txt", "DCM Buck-Boost cfg.txt"}) {
      std::ofstream(dir_ / name, std::ios::binary) << '#';
    }
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  Folder folder() const { return Folder(dir_); }

 private:
  std::filesystem::path dir_;
};

void BM_DcDcCalculate(benchmark::State& state) {
  BenchFolder dir;
  QuietHost host;
  CDcDcDlg dlg(host, dir.folder());
  dlg.open();
  dlg.select(dcdc::kModeList, static_cast<int>(state.range(0)));
  const int inductance = findField(dcdcTable(), "L")->controlId;
  for (auto _ : state) {
    dlg.command(kCalculateButton);
    benchmark::DoNotOptimize(dlg.text(inductance));
  }
  if (host.messages != 0 || !dlg.lastCalculationWritten()) state.SkipWithError("no result");
}
BENCHMARK(BM_DcDcCalculate)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DcDcProcedure(benchmark::State& state) {
  const DcDcInputs in;
  for (auto _ : state) {
    benchmark::DoNotOptimize(designDcDc(DcDcTopology::Buck, DcDcMode::Ccm, in));
  }
}
BENCHMARK(BM_DcDcProcedure);

}  // namespace

BENCHMARK_MAIN();
