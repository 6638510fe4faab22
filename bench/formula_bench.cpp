// Cost of one formula run as a calculate command does it: open the file, read it, translate
// and check it, prepare and evaluate it against a dialog's numbers. Sizes from a typical
// design file (about 100 tokens) up to the 5000-token limit show that the cost is linear.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "base/number_text.h"
#include "formula/formula.h"
#include "formula/reader.h"
#include "tables/dcdc_table.h"

namespace {

constexpr const char* kFileName = "CCM Buck cfg.txt";

class NullHost : public tarnex::Host {
 public:
  void showMessage(const tarnex::Message& message) override { last = message.text; }
  void runProgress() override {}
  bool openInDesktop(const std::string&, bool) override { return true; }
  void runDialog(tarnex::Form&) override {}
  void runSheet(tarnex::Sheet&) override {}
  void repaint() override {}
  std::string last;
};

class DialogNumbers : public tarnex::FieldValues {
 public:
  DialogNumbers() {
    for (const tarnex::FieldRow& row : tarnex::dcdcTable().fields) {
      values_[row.controlId] = tarnex::parseFieldText(row.opening).value_or(0.0f);
    }
  }
  float value(int controlId) const override { return values_.at(controlId); }
  void setValue(int controlId, float value) override { values_[controlId] = value; }

 private:
  std::map<int, float> values_;
};

// Statements of a CCM buck design, cycled to reach the wanted size.
const std::vector<std::string> kStatements = {
    "Duty = (Vo + Vdf) / (VinMax - Vsw + Vdf);\r\n",
    "Ton = Duty * 1000000 / (f * 1000);       // 导通时间\r\n",
    "L = (VinMax - Vsw - Vo) * Ton / (IoMax * r);\r\n",
    "Ipk = (1 + 0.5 * r) * IoMax;\r\n",
    "Irms = IoMax * pow(1 + r * r * 0.083333336, 0.5);\r\n",
    "DL = pow(Irms * Cmil, 0.5) * 0.025400050800101603;\r\n",
    "Vswm = 1.2 * VinMax;\r\n",
    "Idrms = IoMax * pow(1 - Duty, 0.5);\r\n",
    "Co = (1000 / f - Ton) * IoMax / (Vopp * 0.001);\r\n",
    "Vc = -(1.2 * Vo) * (-1);\r\n",
};

std::size_t tokenCount(const std::string& text) {
  std::vector<tarnex::formula::Token> tokens;
  // Beyond the limit the reader stops: count that as too long.
  if (tarnex::formula::translate(text, tokens)) return std::numeric_limits<std::size_t>::max();
  return tokens.size();
}

// A formula text of exactly `tokens` tokens (end marker included), padded with line ends.
std::string formulaOfTokens(std::size_t tokens) {
  std::string text;
  for (std::size_t k = 0;; ++k) {
    const std::string longer = text + kStatements[k % kStatements.size()];
    if (tokenCount(longer) > tokens) break;
    text = longer;
  }
  while (tokenCount(text) < tokens) text += "\r";
  return text;
}

void BM_FormulaRun(benchmark::State& state) {
  const auto tokens = static_cast<std::size_t>(state.range(0));
  std::string pattern = (std::filesystem::temp_directory_path() / "tarnex-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  const tarnex::Folder folder(pattern);
  const std::string text = formulaOfTokens(tokens);
  {
    std::ofstream out(folder.path(kFileName), std::ios::binary);
    out << text << "#\r\n这里是说明文字。";
  }
  DialogNumbers numbers;
  NullHost host;
  for (auto _ : state) {
    const bool ok = tarnex::runFormulaFile(folder, kFileName, &tarnex::dcdcTable(), numbers, host);
    if (!ok) {
      state.SkipWithError(host.last.c_str());
      break;
    }
    benchmark::DoNotOptimize(numbers);
  }
  state.counters["tokens"] = static_cast<double>(tokenCount(text));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(tokens));
  std::filesystem::remove_all(folder.dir());
}

BENCHMARK(BM_FormulaRun)->Arg(100)->Arg(1000)->Arg(2500)->Arg(5000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
