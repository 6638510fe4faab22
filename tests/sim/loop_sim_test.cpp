// The loops the compensation pages design, built as circuits and swept in ngspice: the power
// stage's averaged small-signal model and the error amplifier's network made of the R and C
// values the page shows (loop_decks.h), the loop broken at the sensed output. Each row drives a
// page as the user does (fields typed, the calculation pressed, then the exact design) and
// holds what the page prints against what the circuit does:
//  - the page's own network: Tarnex's crossover and phase margin against the circuit's (type
//    III, which has no stage: the network's gain and phase at fc against the plotted ones);
//  - the exact design: the circuit crosses where it was asked, with the phase margin asked where
//    the type II network can give it (current mode: at the lowered crossover min(fc, fRHP/3,
//    fsw/5) where the slope compensation keeps the current loop stable, with no margin to aim
//    at); type III: its gain at fc is the one typed.
// The crossover is read from ngspice's complex loop gain by the test support's interpolation,
// not by Tarnex's Bode code.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>

#include "forms/field_form.h"
#include "loop/bode.h"
#include "loop/compensation.h"
#include "loop/loop_model.h"
#include "loop/loop_sheet.h"
#include "sim/loop_decks.h"
#include "sim_window.h"
#include "support/field_ids.h"
#include "support/loop_gain.h"
#include "support/ngspice.h"
#include "support/recording_host.h"

namespace tarnex {
namespace {

using sim::Deck;
using sim::ZeroPoleParts;

// --- tolerances ------------------------------------------------------------------------------

// Tarnex's crossover and phase margin against the circuit's.
constexpr double kCrossoverShare = 0.05;
constexpr double kMarginDeg = 5;
// The exact design's crossover against the one asked, and its margin against the one asked.
constexpr double kExactCrossoverShare = 0.10;
constexpr double kExactMarginDeg = 5;
// A network's gain at fc, dB.
constexpr double kGainDb = 0.2;
// ngspice's time limit for one deck.
constexpr double kDeckSeconds = 30;

// A page, its list entry and fields as tarnex-calc takes them: PAGE [LIST=ENTRY] [NAME=TEXT].
struct Row {
  const char* command;
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.command;
}

const Row kRows[] = {
    // The opening values of every page and kind.
    {"loop-current type=gm"},
    {"loop-current type=opamp"},
    {"loop-type2 kind=forward"},
    {"loop-type2 kind=flyback"},
    {"loop-type3"},
    // Slope compensation below the subharmonic limit, mc·D' = 0.44: the sampling poles lie in
    // the right half plane, the deck's sampling section has a negative resistor.
    {"loop-current type=gm D=0.6 Vin=3.3 Vse=0.1"},
    // The flyback's margin typed while the forward type is selected, high enough for a type II
    // network to give it.
    {"loop-type2 PMwant=100 kind=flyback"},
    // Further designs, drawn once (draw_loop_designs.py, seed 2718) from the ranges an engineer
    // would use on each page.
    {"loop-current type=gm Vo=13 Io=3.49 Co=1050 ESR=0.0496 D=0.284 Vin=32.8 L=109 Vse=0.785 "
     "Ri=0.674 fsw=52.7 fc=6.87 R1=1700 gm=0.223 Vref=2.36"},
    {"loop-current type=gm Vo=36.7 Io=1.4 Co=210 ESR=0.104 D=0.501 Vin=36.6 L=63 Vse=0.126 "
     "Ri=0.149 fsw=440 fc=41.9 R1=41800 gm=0.368 Vref=0.872"},
    {"loop-current type=gm Vo=17.2 Io=8.09 Co=295 ESR=0.0296 D=0.215 Vin=62.8 L=20.1 Vse=14.3 "
     "Ri=0.969 fsw=311 fc=17 R1=3630 gm=0.352 Vref=1.57"},
    {"loop-current type=gm Vo=42.8 Io=7.75 Co=148 ESR=0.0197 D=0.546 Vin=35.6 L=30.8 Vse=1.2 "
     "Ri=0.252 fsw=136 fc=16.6 R1=1220 gm=0.443 Vref=0.979"},
    {"loop-current type=opamp Vo=42.4 Io=4.73 Co=427 ESR=0.0381 D=0.325 Vin=88.1 L=19.9 Vse=0.417 "
     "Ri=0.0524 fsw=348 fc=21.2 R1=26300 gm=0.918 Vref=1.27"},
    {"loop-current type=opamp Vo=21.3 Io=8.32 Co=1730 ESR=0.138 D=0.572 Vin=15.9 L=1.86 Vse=18.7 "
     "Ri=0.7 fsw=464 fc=31.8 R1=1050 gm=0.245 Vref=1.36"},
    {"loop-current type=opamp Vo=37.4 Io=2.14 Co=1960 ESR=0.0591 D=0.552 Vin=30.4 L=62 Vse=3.74 "
     "Ri=0.722 fsw=139 fc=16.4 R1=17700 gm=0.244 Vref=1.04"},
    {"loop-current type=opamp Vo=15 Io=8.85 Co=1210 ESR=0.0845 D=0.253 Vin=44.3 L=10.3 Vse=17.8 "
     "Ri=0.755 fsw=225 fc=25.6 R1=1760 gm=0.238 Vref=2.16"},
    {"loop-type2 kind=forward Vo=22.4 Iomax=21.6 fsw=221 Co=3250 ESR=0.067 Vramp=1.75 Vref=2.48 "
     "L=13.5 Dmax=0.413 fc=22.1 PMwant=61.1 R1=1100"},
    {"loop-type2 kind=forward Vo=17.5 Iomax=3.11 fsw=285 Co=245 ESR=0.0796 Vramp=1.64 Vref=2.01 "
     "L=4.22 Dmax=0.411 fc=43.8 PMwant=65.9 R1=6770"},
    {"loop-type2 kind=forward Vo=21.8 Iomax=20.4 fsw=74.2 Co=643 ESR=0.0785 Vramp=1.29 Vref=1.97 "
     "L=21.2 Dmax=0.456 fc=11.6 PMwant=56.9 R1=9030"},
    {"loop-type2 kind=forward Vo=15.7 Iomax=23.9 fsw=181 Co=577 ESR=0.0333 Vramp=2.21 Vref=1.56 "
     "L=42.9 Dmax=0.405 fc=31.3 PMwant=54.6 R1=1160"},
    {"loop-type2 PMwant=96.3 kind=flyback Vo=40.4 Iomax=3.26 Iomin=0.636 Vinmax=124 fsw=97.7 "
     "Co=1510 ESR=0.157 Vramp=1.92 L=1420 Dmax=0.45 fp1=16.7 fz1=0.604 fc=5.5 R1=7530"},
    {"loop-type2 PMwant=105 kind=flyback Vo=28.7 Iomax=4.49 Iomin=0.447 Vinmax=365 fsw=131 Co=306 "
     "ESR=0.186 Vramp=1.19 L=1080 Dmax=0.45 fp1=11.9 fz1=0.413 fc=2.5 R1=5670"},
    {"loop-type2 PMwant=88.4 kind=flyback Vo=16.2 Iomax=3.62 Iomin=0.384 Vinmax=349 fsw=144 Co=259 "
     "ESR=0.13 Vramp=1.67 L=707 Dmax=0.45 fp1=17.1 fz1=0.628 fc=4.83 R1=1340"},
    {"loop-type2 PMwant=94.2 kind=flyback Vo=17.5 Iomax=3.26 Iomin=0.649 Vinmax=299 fsw=140 "
     "Co=2180 ESR=0.193 Vramp=2.02 L=1490 Dmax=0.45 fp1=15.4 fz1=0.87 fc=3.08 R1=3350"},
    {"loop-type3 fp1=46.7 fp2=423 fz1=5.47 fz2=5.2 fc=70.2 GdB=7.99 R1=14.7"},
    {"loop-type3 fp1=75.1 fp2=388 fz1=2.66 fz2=2.69 fc=77.9 GdB=8.12 R1=1.29"},
    {"loop-type3 fp1=68.3 fp2=708 fz1=6.36 fz2=6.81 fc=22.5 GdB=13.1 R1=5.42"},
    {"loop-type3 fp1=78.8 fp2=745 fz1=3.12 fz2=3.15 fc=65.9 GdB=8.75 R1=1.03"},
    {"loop-type3 fp1=40.7 fp2=773 fz1=8.64 fz2=10 fc=78.1 GdB=13.8 R1=4.58"},
    {"loop-type3 fp1=16.2 fp2=393 fz1=9.17 fz2=10.5 fc=73.3 GdB=11.5 R1=3.6"},
};

// --- the page, as the user drives it ---------------------------------------------------------

class Page {
 public:
  explicit Page(const std::string& command) {
    std::istringstream words(command);
    words >> key;
    form = makeLoopPage(key, host);
    if (!form) throw std::invalid_argument("no page " + key);
    form->open();
    for (std::string word; words >> word;) {
      const std::size_t eq = word.find('=');
      const std::string name = word.substr(0, eq), text = word.substr(eq + 1);
      if (const FieldRow* row = findField(*form->table(), name)) {
        form->setText(row->controlId, text);
        continue;
      }
      const Control& list = control(ControlKind::DropList, name);
      const auto entry = std::find(list.entryKeys.begin(), list.entryKeys.end(), text);
      if (entry == list.entryKeys.end()) throw std::invalid_argument("no entry " + word);
      form->select(list.id, static_cast<int>(entry - list.entryKeys.begin()));
    }
  }

  void press(std::string_view button) { form->command(control(ControlKind::Button, button).id); }
  bool written() const {
    const auto* fields = dynamic_cast<const FieldForm*>(form.get());
    return fields != nullptr && fields->lastCalculationWritten();
  }
  const BodePlot* bode() const { return form->bode(); }
  int selection(std::string_view list) const {
    return control(ControlKind::DropList, list).selection;
  }

  // The number a field shows (NaN when it shows none).
  float operator[](std::string_view name) const {
    const std::string& text = form->text(testing::fieldId(*form->table(), name));
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    return end == text.c_str() ? NAN : v;
  }

  template <class S, std::size_t N>
  S read(const Bound<S> (&binds)[N]) const {
    S s{};
    for (const Bound<S>& b : binds) s.*b.member = (*this)[b.name];
    return s;
  }

  std::string key;
  testing::RecordingHost host;

 private:
  const Control& control(ControlKind kind, std::string_view k) const {
    return simtest::controlByKey(*form, kind, k);
  }
  std::unique_ptr<Form> form;
};

// The exact design's component by its label's name ("R2" of "R2(Ω)"), as its text shows it.
double exactPart(const BodePlot& plot, std::string_view name) {
  for (const ComponentPair& c : plot.exact->components) {
    if (c.label.substr(0, c.label.find('(')) == name) return std::strtod(c.exact.c_str(), nullptr);
  }
  return NAN;
}

constexpr Bound<CurrentModeInputs> kCurrentModeInputs[] = {
    TARNEX_BINDS(CurrentModeInputs, Vo, Io, Co, ESR, D, Vin, L, Vse, Ri, fsw, fc, R1, gm, Vref)};
constexpr Bound<TypeIIInputs> kTypeIIInputs[] = {
    TARNEX_BINDS(TypeIIInputs, Vo, Iomax, Iomin, Vinmax, Vinmin, fsw, Co, ESR, Vramp, Vref, L, Dmax,
                 fpo, fesr, Gesr, fp1, fz1, fc, PMwant, R1)};
constexpr Bound<TypeIIIInputs> kTypeIIIInputs[] = {
    TARNEX_BINDS(TypeIIIInputs, fp1, fp2, fz1, fz2, fc, GdB, R1)};
constexpr Bound<TypeIIIResults> kTypeIIIResults[] = {
    TARNEX_BINDS(TypeIIIResults, C1, C2, C3, R2, R3)};

// --- what a row checks -------------------------------------------------------------------------

// The decks of one page: its own network's and the exact design's, and what to hold them to.
struct Plan {
  Deck page, exact;
  double hzPerUnit = 1;  // of the page's Bode plot
  double fc = NAN;       // Hz: the crossover the exact design aims at, NaN for none
  double PM = NAN;       // degrees: the margin it aims at, NaN for none
  double GdB = NAN;      // type III: the gain typed for fc
};

Plan currentModePlan(Page& p) {
  CurrentModeInputs in = p.read(kCurrentModeInputs);
  in.type = p.selection("type") == 0 ? CurrentModeAmplifier::Transconductance
                                     : CurrentModeAmplifier::OpAmp;
  // Rx and the slope term are the page's results that no field shows.
  const CurrentModeResults r = currentModeCompensation(in);
  Plan plan;
  plan.page = sim::currentModeLoopDeck(in, r, {p["R2"], p["C1"], p["C2"], "page"});
  p.press("exact");
  const BodePlot& b = *p.bode();
  plan.exact = sim::currentModeLoopDeck(
      in, r, {exactPart(b, "R2"), exactPart(b, "C1"), exactPart(b, "C2"), "exact design"});
  const double D = in.D, RL = double{in.Vo} / in.Io;
  const double fRHP = RL * (1 - D) * (1 - D) / (2 * std::numbers::pi * D * in.L * 1e-6);
  // Below the subharmonic limit mc·D' = 0.5 the sampling peak at fsw/2 crosses 0 dB again, as
  // the page's check reports: the exact design, which keeps the slope, aims at no crossover.
  if ((r.Q + 0.5) * (1 - D) > 0.5)
    plan.fc = std::min({in.fc * 1000.0, fRHP / 3, in.fsw * 1000.0 / 5});
  return plan;
}

Plan typeIIPlan(Page& p) {
  TypeIIInputs in = p.read(kTypeIIInputs);
  in.kind = p.selection("kind") == 0 ? TypeIIKind::DcmFlyback : TypeIIKind::Forward;
  const TypeIIStage stage = typeIIControlToOutput(in);
  Plan plan;
  plan.hzPerUnit = 1000;
  plan.page = sim::typeIILoopDeck(in, stage, {p["R2"], p["C1"], p["C2"], "page"});
  p.press("exact");
  const BodePlot& b = *p.bode();
  plan.exact = sim::typeIILoopDeck(
      in, stage, {exactPart(b, "R2"), exactPart(b, "C1"), exactPart(b, "C2"), "exact design"});
  plan.fc = in.fc * 1000.0;
  // The margin is aimed at only where a type II network can give it, which the exact design
  // judges from step 2 as the page computes it.
  TypeIIInputs solved = in;
  solved.fpo = stage.fpo, solved.fesr = stage.fesr, solved.Gesr = stage.Gesr;
  if (typeIIExactDesign(solved).reachable) plan.PM = in.PMwant;
  return plan;
}

Plan typeIIIPlan(Page& p) {
  const TypeIIIInputs in = p.read(kTypeIIIInputs);
  Plan plan;
  plan.hzPerUnit = 1000;
  plan.page = sim::typeIIINetworkDeck(in, p.read(kTypeIIIResults), "page");
  p.press("exact");
  const BodePlot& b = *p.bode();
  TypeIIIResults exact;
  for (const Bound<TypeIIIResults>& part : kTypeIIIResults) {
    exact.*part.member = static_cast<float>(exactPart(b, part.name));
  }
  plan.exact = sim::typeIIINetworkDeck(in, exact, "exact design");
  plan.fc = in.fc * 1000.0;
  plan.GdB = in.GdB;
  return plan;
}

// The loop gain ngspice swept for a deck; an empty sweep and the reason when it did not run.
testing::SweptGain sweep(const Deck& deck, std::string& error) {
  if (!deck.ok()) {
    error = "no circuit: " + deck.error;
    return {};
  }
  const testing::NgspiceRun run = testing::runNgspice(deck.netlist, kDeckSeconds);
  testing::SweptGain s = testing::sweptGain(run.run.ac);
  if (!run.ok() || s.f.empty()) error = run.error + " (no AC table)\n" + deck.netlist;
  return s;
}

// |a − b| within `share` of b.
::testing::AssertionResult near(double a, double b, double share) {
  if (std::fabs(a - b) <= share * std::fabs(b)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " against " << b << " (" << (a / b - 1) * 100
                                       << " %, allowed " << share * 100 << " %)";
}

::testing::AssertionResult within(double a, double b, double allowed) {
  if (std::fabs(a - b) <= allowed) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << a << " against " << b << " (" << a - b << ", allowed " << allowed << ")";
}

class LoopSimulated : public ::testing::TestWithParam<Row> {};

TEST_P(LoopSimulated, CrossesWhereThePagePrints) {
  ASSERT_TRUE(testing::ngspiceInstalled()) << "ngspice is not installed";
  Page p(GetParam().command);
  const bool type3 = p.key == "loop-type3";
  if (p.key == "loop-type2") p.press("step2");
  p.press(p.key == "loop-type2" ? "step4" : "calc");
  ASSERT_TRUE(p.written()) << "the page refused its numbers";
  ASSERT_NE(p.bode(), nullptr);
  const BodePlot page = *p.bode();
  const Plan plan = p.key == "loop-current" ? currentModePlan(p)
                    : type3                 ? typeIIIPlan(p)
                                            : typeIIPlan(p);
  ASSERT_TRUE(p.bode() && p.bode()->exact) << "the exact design drew no loop";
  const ExactLoop exact = *p.bode()->exact;
  std::string error;
  const testing::SweptGain own = sweep(plan.page, error);
  ASSERT_TRUE(error.empty()) << "the page's network: " << error;
  const testing::SweptGain solved = sweep(plan.exact, error);
  ASSERT_TRUE(error.empty()) << "the exact design: " << error;

  if (type3) {
    // The network's gain and phase at fc as Tarnex plots them, and the exact one's gain.
    testing::SweptGain plotted{{}, page.compensator.gainDb, page.compensator.phaseDeg};
    for (const double f : page.f) plotted.f.push_back(f * plan.hzPerUnit);
    const auto atFc = testing::valueAt(plotted, plan.fc);
    const auto circuit = testing::valueAt(own, plan.fc);
    const auto solvedAt = testing::valueAt(solved, plan.fc);
    ASSERT_TRUE(atFc) << "fc lies outside the plot";
    ASSERT_TRUE(circuit && solvedAt);
    std::printf(
        "sim %s: at fc %.4g dB %.4g deg (plotted %.4g dB %.4g deg); exact %.4g dB "
        "(typed %.4g)\n",
        GetParam().command, circuit->gainDb, circuit->phaseDeg, atFc->gainDb, atFc->phaseDeg,
        solvedAt->gainDb, plan.GdB);
    EXPECT_TRUE(within(atFc->gainDb, circuit->gainDb, kGainDb)) << "the page's network, gain at fc";
    EXPECT_TRUE(within(atFc->phaseDeg, circuit->phaseDeg, kMarginDeg))
        << "the page's network, phase at fc";
    EXPECT_TRUE(within(solvedAt->gainDb, plan.GdB, kGainDb)) << "the exact network, gain at fc";
    return;
  }

  const auto circuit = testing::crossoverOf(own);
  const auto solvedCross = testing::crossoverOf(solved);
  ASSERT_TRUE(page.crossover) << "Tarnex prints no crossover";
  ASSERT_TRUE(circuit) << "the circuit's loop does not cross 0 dB";
  ASSERT_TRUE(solvedCross) << "the exact design's circuit does not cross 0 dB";
  const double tarnexHz = page.crossover->f * plan.hzPerUnit;
  const double exactHz = exact.crossover ? exact.crossover->f * plan.hzPerUnit : NAN;
  std::printf(
      "sim %s: fc %.5g Hz PM %.4g (circuit %.5g Hz PM %.4g); exact aims %.5g Hz PM %.4g, "
      "prints %.5g Hz PM %.4g, circuit %.5g Hz PM %.4g\n",
      GetParam().command, tarnexHz, page.crossover->phaseMargin, circuit->f, circuit->phaseMargin,
      plan.fc, plan.PM, exactHz, exact.crossover ? exact.crossover->phaseMargin : NAN,
      solvedCross->f, solvedCross->phaseMargin);
  EXPECT_TRUE(near(tarnexHz, circuit->f, kCrossoverShare)) << "the page's crossover";
  EXPECT_TRUE(within(page.crossover->phaseMargin, circuit->phaseMargin, kMarginDeg))
      << "the page's phase margin";
  if (std::isfinite(plan.fc)) {
    EXPECT_TRUE(near(solvedCross->f, plan.fc, kExactCrossoverShare)) << "the exact crossover";
  }
  if (std::isfinite(plan.PM)) {
    EXPECT_TRUE(within(solvedCross->phaseMargin, plan.PM, kExactMarginDeg))
        << "the exact phase margin";
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, LoopSimulated, ::testing::ValuesIn(kRows));

}  // namespace
}  // namespace tarnex
