// The formula samples a new working folder gets. Put in use (the first line, which begins with
// the end marker, deleted), each computes what its window's built-in procedure computes on the
// same numbers, command by command, in every field the formula language can compute.
// Tolerance: a relative 1e-4. The samples compute in single precision, the procedures in
// double; chains of about 30 operations with mild cancellation stay below 1e-5, while a real
// slip (1.414 written as √2, 0.707 as 1/√2) already moves a result by 1.5e-4.
#include "startup/formula_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "designs/registry.h"
#include "formula/formula.h"
#include "startup/startup.h"
#include "support/procedure_binds.h"
#include "support/recording_host.h"
#include "support/table_fields.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using testing::RecordingHost;
using testing::TempFolder;

using Values = std::map<std::string_view, double>;

using Fields = testing::TableFields;
using namespace testing::binds;

// What the built-in procedure shows, and what the sample gives instead of rounded turns.
struct Expected {
  Values shown;
  Values raw = {};  // the turns before rounding: the samples write Ns = Np0 / n, Np = n·Ns
};

// A procedure's inputs from the fields, and its results by their field names.
template <class S, std::size_t N>
S in(const Fields& v, const Bound<S> (&binds)[N]) {
  S s{};
  for (const Bound<S>& b : binds) s.*b.member = v.named(b.name);
  return s;
}
template <class S, std::size_t N>
Values out(const S& s, const Bound<S> (&binds)[N]) {
  Values values;
  for (const Bound<S>& b : binds) values[b.name] = s.*b.member;
  return values;
}
template <class D>
Values rawTurns(const D& d) {
  return {{"Np", d.Np0}, {"Ns", d.turns.Ns0}};
}

template <DcDcTopology T, DcDcMode M>
Expected dcdc(const Fields& v) {
  return {out(designDcDc(T, M, in(v, kDcDcInputs)).out, kDcDcOutputs)};
}

template <FlybackCoreEstimate (*estimate)(const FlybackInputs&)>
Expected flybackCore(const Fields& v) {
  return {{{"Ve", estimate(in(v, kFlybackInputs)).Ve}}};
}

// The clamp from the inductance and peak current that the verification put into the fields.
template <FlybackDesign (*verify)(const FlybackInputs&)>
Expected flybackClamp(const Fields& v) {
  const FlybackDesign design = verify(in(v, kFlybackInputs));
  const FlybackSnubber d = flybackSnubber(in(v, kFlybackInputs), design.Lp, design.Ipkp);
  return {{{"Rlk", d.Rlk}, {"Clk", d.Clk}}};
}

Expected forwardCore(const Fields& v) {
  return {{{"Ap", forwardAreaProduct(in(v, kForwardInputs)).Ap}}};
}

// The designs with turns: the flyback's and the forward's verifications, the RCC, the bridges.
template <auto design, auto inputs, auto outputs>
Expected transformer(const Fields& v) {
  const auto d = design(in(v, *inputs));
  return {out(d, *outputs), rawTurns(d)};
}
template <auto verify>
constexpr auto flybackVerify = transformer<verify, &kFlybackInputs, &kFlybackDesign>;
constexpr auto forwardDesign = transformer<forwardVerify, &kForwardInputs, &kForwardDesign>;
constexpr auto rcc = transformer<designRcc, &kRccInputs, &kRccDesign>;
template <auto design>
constexpr auto bridge = transformer<design, &kBridgeInputs, &kBridgeDesign>;

struct SampleCase {
  const char* label;
  std::string_view file;
  std::vector<std::pair<std::string_view, float>> given;  // beyond the opening values
  std::vector<std::string_view> pinned;                   // the command's pinned fields
  Expected (*builtIn)(const Fields&);  // the command's results by the built-in procedure
  // Results the sample cannot compute as the procedure does: the rounded turns (compared
  // before rounding instead) and what uses them.
  std::vector<std::string_view> notComputed = {};
};

using enum DcDcTopology;
using enum DcDcMode;
const std::vector<std::pair<std::string_view, float>> kCore = {{"Ae", 100}, {"Le", 60}};
const std::vector<std::pair<std::string_view, float>> kForwardCore = {{"Ae", 100}};

// No sample can show the procedures' hints (DC-DC saturation, flyback flux and dead time,
// forward and push-pull duty cycle) or refuse impossible conditions (input ranges, switch
// drops and headroom, duty cycles of 1). The flyback's three commands run one file: the
// core estimate with Ae = Le = 1 pinned, the verification with Ve = 1, the clamp with none;
// the forward's two: the area product with Ae = 1, the verification with Ap = 1. The boost
// and buck-boost output capacitor takes the longer of two times, written without a
// condition: the rows with a low input walk the other side of that max.
// clang-format off
const SampleCase kCases[] = {
  {"CcmBuck",          "CCM Buck cfg.txt",       {},           {}, dcdc<Buck, Ccm>,      {"NL"}},
  {"CcmBoost",         "CCM Boost cfg.txt",      {{"Vo", 30}}, {}, dcdc<Boost, Ccm>,     {"NL"}},
  {"CcmBoostLowInput", "CCM Boost cfg.txt", {{"VinMin", 5}, {"VinMax", 9}}, {},
   dcdc<Boost, Ccm>, {"NL"}},
  {"CcmBuckBoost",     "CCM Buck-Boost cfg.txt", {},           {}, dcdc<BuckBoost, Ccm>, {"NL"}},
  {"CcmBuckBoostLowInput", "CCM Buck-Boost cfg.txt", {{"VinMin", 5}}, {},
   dcdc<BuckBoost, Ccm>, {"NL"}},
  {"DcmBuck",          "DCM Buck cfg.txt",       {},           {}, dcdc<Buck, Dcm>,      {"NL"}},
  {"DcmBoost",         "DCM Boost cfg.txt",      {{"Vo", 30}}, {}, dcdc<Boost, Dcm>,     {"NL"}},
  {"DcmBoostLowInput", "DCM Boost cfg.txt", {{"VinMin", 5}, {"VinMax", 9}}, {},
   dcdc<Boost, Dcm>, {"NL"}},
  {"DcmBuckBoost",     "DCM Buck-Boost cfg.txt", {},           {}, dcdc<BuckBoost, Dcm>, {"NL"}},
  {"DcmBuckBoostLowInput", "DCM Buck-Boost cfg.txt", {{"VinMin", 5}}, {},
   dcdc<BuckBoost, Dcm>, {"NL"}},
  {"DcmBuckWideInput", "DCM Buck cfg.txt",
   {{"VinMin", 40.6f}, {"VinMax", 79.7f}, {"Vo", 15}, {"IoMax", 0.4f}, {"Vsw", 0.3f}, {"f", 500},
    {"Ptd", 25}, {"Vopp", 10}, {"Ae", 90}}, {}, dcdc<Buck, Dcm>, {"NL"}},
  {"CcmFlybackCore",   "CCM反激变换器 cfg.txt", kCore, {"Ae", "Le"},
   flybackCore<flybackCcmCoreVolume>},
  {"CcmFlybackVerify", "CCM反激变换器 cfg.txt", kCore, {"Ve"}, flybackVerify<flybackVerifyCcm>,
   {"Np", "Ns", "Zc"}},
  {"CcmFlybackClamp",  "CCM反激变换器 cfg.txt", kCore, {}, flybackClamp<flybackVerifyCcm>},
  {"DcmFlybackCore",   "DCM反激变换器 cfg.txt", kCore, {"Ae", "Le"},
   flybackCore<flybackDcmAreaProduct>},
  {"DcmFlybackVerify", "DCM反激变换器 cfg.txt", kCore, {"Ve"}, flybackVerify<flybackVerifyDcm>,
   {"Np", "Ns", "Zc"}},
  {"DcmFlybackClamp",  "DCM反激变换器 cfg.txt", kCore, {}, flybackClamp<flybackVerifyDcm>},
  {"ForwardCore",      "正激变换器 cfg.txt", kForwardCore, {"Ae"}, forwardCore},
  {"ForwardVerify",    "正激变换器 cfg.txt", kForwardCore, {"Ap"}, forwardDesign, {"Np", "Ns"}},
  {"Rcc",              "RCC cfg.txt", {}, {}, rcc, {"Np", "Ns"}},
  {"PushPull",         "推挽变换器 cfg.txt", {}, {}, bridge<designPushPull>,   {"Np", "Ns"}},
  {"HalfBridge",       "半桥变换器 cfg.txt", {}, {}, bridge<designHalfBridge>, {"Np", "Ns"}},
  {"FullBridge",       "全桥变换器 cfg.txt", {}, {}, bridge<designFullBridge>, {"Np", "Ns"}},
  {"FullBridgeWideInput", "全桥变换器 cfg.txt",
   {{"VacMin", 85}, {"VacMax", 213}, {"Io", 21.8f}, {"f", 70}, {"Eff", 91}, {"Vdf", 0.42f},
    {"Dmax", 0.9f}, {"DB", 1500}, {"Cmil", 400}}, {},
   bridge<designFullBridge>, {"Np", "Ns"}},
};
// clang-format on

// The sample as the user puts it in use: its first line deleted. What remains must end with
// the only end marker, on a line of its own, and use CR LF line ends throughout.
std::string activated(std::string_view sample) {
  EXPECT_TRUE(sample.starts_with("#"));
  const std::string text(sample.substr(sample.find("\r\n") + 2));
  EXPECT_TRUE(text.ends_with("\r\n#\r\n"));
  EXPECT_EQ(text.find('#'), text.size() - 3);
  for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1))
    EXPECT_EQ(text[i - 1], '\r') << "line end at byte " << i;
  return text;
}

class FormulaSampleTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(FormulaSampleTest, ComputesWhatTheBuiltInProcedureComputes) {
  const SampleCase& c = GetParam();
  const DialogTable* table = bindingTableFor(c.file);
  ASSERT_NE(table, nullptr);
  Fields fields(*table);
  for (const auto& [name, value] : c.given) fields.setNamed(name, value);
  const Expected expected = c.builtIn(fields);

  TempFolder dir;
  dir.write(c.file, activated(initialContent(c.file)));
  std::vector<int> pinned;
  for (std::string_view name : c.pinned) pinned.push_back(findField(*table, name)->controlId);
  RecordingHost host;
  ASSERT_TRUE(runFormulaFilePinned(dir.folder(), c.file, table, fields, host, pinned));
  EXPECT_TRUE(host.messages.empty());

  auto expectClose = [&](std::string_view name, double want) {
    EXPECT_NEAR(fields.named(name), want, 1e-4 * std::fabs(want)) << name;
  };
  for (const auto& [name, want] : expected.shown) {
    if (std::find(c.notComputed.begin(), c.notComputed.end(), name) == c.notComputed.end())
      expectClose(name, want);
  }
  for (const auto& [name, want] : expected.raw) expectClose(name, want);
}

INSTANTIATE_TEST_SUITE_P(Samples, FormulaSampleTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SampleCase>& p) {
                           return std::string(p.param.label);
                         });

TEST(FormulaSamples, OnePerFormulaFileAndEachTestedHere) {
  const auto files = formulaFiles();
  EXPECT_EQ(formulaSamples().size(), files.size());
  for (const EmbeddedFile& sample : formulaSamples())
    EXPECT_NE(std::find(files.begin(), files.end(), sample.name), files.end()) << sample.name;
  for (std::string_view file : files) {
    EXPECT_TRUE(std::any_of(std::begin(kCases), std::end(kCases), [file](const SampleCase& c) {
      return c.file == file;
    })) << file;
  }
}

}  // namespace
}  // namespace tarnex
