// The load step of the compensation pages: the step response of rational functions against
// their responses worked by hand, and each page that knows its stage driven as the user drives
// it, its load step held to what the circuit must do (the instant drop through the ESR, the
// return to zero) and to the loop its Bode plot draws.
#include "loop/load_step.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <numbers>
#include <ostream>
#include <string>
#include <vector>

#include "forms/form.h"
#include "loop/bode.h"
#include "loop/loop_sheet.h"
#include "support/field_ids.h"
#include "support/recording_host.h"

namespace tarnex {
namespace {

// --- step responses worked by hand ---------------------------------------------------------

struct ClosedForm {
  const char* name;
  Rational h;
  std::function<double(double)> v;  // the unit step response
  double settling;                  // s, into ±2 % of the largest distance; NaN: not checked
};

constexpr double kTau = 1e-4, kW = 1e4;

// The loop worked by hand: a stage R0 ∥ C (Zo = R0/(1 + s·τ), control G0/(1 + s·τ), τ = R0·C)
// under an integrator ωi/s. T = K/(s·(1 + s·τ)) with K = G0·ωi, so
//   Zcl = Zo/(1 + T) = R0·s / (τ·s² + s + K),
// and the unit current step gives R0/τ · 1/(s² + s/τ + K/τ): e^(−t/2τ)·sin(ωd·t)·R0/(τ·ωd),
// ωd = √(K/τ − 1/(4τ²)).
constexpr double kR0 = 2, kC = 100e-6, kG0 = 3, kWi = 2e4;
constexpr double kLoopTau = kR0 * kC, kK = kG0 * kWi;
const double kWd = std::sqrt(kK / kLoopTau - 1 / (4 * kLoopTau * kLoopTau));

std::vector<ClosedForm> closedForms() {
  const double z = 0.3, wd = kW * std::sqrt(1 - z * z);
  return {
      {"FirstOrder",
       {{1}, {1, kTau}},
       [](double t) { return 1 - std::exp(-t / kTau); },
       -std::log(0.02) * kTau},
      {"LeadWithADirectPart",
       {{1, 3 * kTau}, {1, kTau}},
       [](double t) { return 1 + 2 * std::exp(-t / kTau); },
       -std::log(0.02) * kTau},
      {"SecondOrderZeta03",
       {{kW * kW}, {kW * kW, 2 * z * kW, 1}},
       [=](double t) {
         return 1 - std::exp(-z * kW * t) / std::sqrt(1 - z * z) * std::sin(wd * t + std::acos(z));
       },
       NAN},
      {"DoubleRoot",
       {{kW * kW}, {kW * kW, 2 * kW, 1}},
       [](double t) { return 1 - (1 + kW * t) * std::exp(-kW * t); },
       NAN},
      {"PolesFourDecadesApart",
       {{1}, Polynomial{1, 1 / kW} * Polynomial{1, 1e-4 / kW}},
       [](double t) {
         const double w2 = kW * 1e4;
         return 1 - (w2 * std::exp(-kW * t) - kW * std::exp(-w2 * t)) / (w2 - kW);
       },
       NAN},
      {"TheLoopByHand",
       {{0, kR0}, {kK, 1, kLoopTau}},
       [](double t) {
         return kR0 / (kLoopTau * kWd) * std::exp(-t / (2 * kLoopTau)) * std::sin(kWd * t);
       },
       NAN},
  };
}

class StepOfClosedForm : public ::testing::TestWithParam<ClosedForm> {};

TEST_P(StepOfClosedForm, FollowsItsResponseWorkedByHand) {
  const ClosedForm& c = GetParam();
  const Rational systems[] = {c.h};
  const StepTiming timing = stepTiming(systems, kStepSamples);
  ASSERT_GT(timing.count, 100u);
  ASSERT_TRUE(hurwitz(c.h.den));
  const std::vector<double> v = sampledStep(c.h, 1, timing.dt, timing.count);
  ASSERT_EQ(v.size(), timing.count);
  double worst = 0, largest = 0;
  for (std::size_t i = 1; i < v.size(); ++i) {
    worst = std::max(worst, std::fabs(v[i] - c.v(i * timing.dt)));
    largest = std::max(largest, std::fabs(c.v(i * timing.dt)));
  }
  EXPECT_LT(worst, 1e-9 * largest) << c.name;
  EXPECT_NEAR(v[0], c.h.num.size() == c.h.den.size() ? c.h.num.back() / c.h.den.back() : 0, 1e-12);
  const StepReading r = readStep(v, timing.dt, c.h.num[0] / c.h.den[0], kSettlingBand);
  if (std::isfinite(c.settling)) {
    EXPECT_NEAR(r.settling, c.settling, 1e-6 * c.settling) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Rationals, StepOfClosedForm, ::testing::ValuesIn(closedForms()),
                         [](const auto& p) { return std::string(p.param.name); });

// The peak of the loop by hand lies where tan(ωd·t) = 2·τ·ωd.
TEST(StepOfClosedForm, ReadsThePeakOfTheLoopByHand) {
  const Rational h{{0, kR0}, {kK, 1, kLoopTau}};
  const Rational systems[] = {h};
  const StepTiming timing = stepTiming(systems, kStepSamples);
  const std::vector<double> v = sampledStep(h, -5, timing.dt, timing.count);
  const StepReading r = readStep(v, timing.dt, 0, kSettlingBand);
  const double tPeak = std::atan(2 * kLoopTau * kWd) / kWd;
  const double peak =
      -5 * kR0 / (kLoopTau * kWd) * std::exp(-tPeak / (2 * kLoopTau)) * std::sin(kWd * tPeak);
  EXPECT_NEAR(r.peak, peak, 1e-4 * std::fabs(peak));
  EXPECT_NEAR(r.peakTime, tPeak, timing.dt);
  EXPECT_GT(r.settling, tPeak);
}

TEST(Hurwitz, DecidesByRouth) {
  struct Case {
    Polynomial p;
    bool stable;
  };
  const Case cases[] = {
      {{1, 1, 1}, true},         {{1, -1, 1}, false},  {{-1, -1, -1}, true},
      {{1, 1, 1, 1}, false},     {{1, 2, 2, 1}, true}, {{1, 3, 3, 1, 0}, true},
      {{0, 1, 1}, false},        {{1}, false},         {{1, 5, 10, 10, 5, 1}, true},
      {{1, 1, 1, 10, 1}, false}, {{1, NAN, 1}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(hurwitz(c.p), c.stable) << ::testing::PrintToString(c.p);
}

// --- the pages -----------------------------------------------------------------------------

struct PageRun {
  const char* name;
  const char* key;
  std::vector<std::pair<const char*, const char*>> typed;  // list or field name, text
  std::vector<const char*> commands;
  std::vector<bool> stable;  // of the page's network, then of the exact design's
  // What takes the step at once beside the ESR: the full load Vo/Iomax (the forward type, whose
  // inductor shorts the stage at DC), else the stage's own DC resistance (RL/2, Rx).
  bool fullLoad = false;
};

// The current mode's opening design crosses above half the switching frequency with a negative
// margin (its Bode check fails it); its exact design, at fRHP/3, is stable.
// clang-format off
const PageRun kPageRuns[] = {
    {"CurrentGm", "loop-current", {{"type", "gm"}}, {"calc"}, {false}},
    {"CurrentOpAmpExact", "loop-current", {{"type", "opamp"}}, {"calc", "exact"}, {false, true}},
    {"CurrentGmLowInput", "loop-current",
     {{"type", "gm"}, {"D", "0.6"}, {"Vin", "3.3"}, {"Vse", "0.1"}}, {"calc"}, {false}},
    {"CurrentGmStable", "loop-current",
     {{"type", "gm"}, {"Vo", "13"}, {"Io", "3.49"}, {"Co", "1050"}, {"ESR", "0.0496"},
      {"D", "0.284"}, {"Vin", "32.8"}, {"L", "109"}, {"Vse", "0.785"}, {"Ri", "0.674"},
      {"fsw", "52.7"}, {"fc", "6.87"}, {"R1", "1700"}, {"gm", "0.223"}, {"Vref", "2.36"}},
     {"calc", "exact"}, {true, true}},
    {"TypeIIForwardExact", "loop-type2", {{"kind", "forward"}}, {"step2", "step4", "exact"},
     {true, true}, true},
    {"TypeIIFlyback", "loop-type2", {{"kind", "flyback"}}, {"step2", "step4"}, {true}},
    {"TypeIIFlybackExact", "loop-type2", {{"kind", "flyback"}}, {"step2", "step4", "exact"},
     {true, true}},
};
// clang-format on

const Control* keyed(const Form& form, ControlKind kind, const std::string& key) {
  for (const Control& c : form.controls()) {
    if (c.kind == kind && c.key == key) return &c;
  }
  return nullptr;
}

double shownNumber(const Form& form, const char* name) {
  return std::strtod(form.text(testing::fieldId(*form.table(), name)).c_str(), nullptr);
}

std::complex<double> at(const Rational& h, std::complex<double> s) {
  std::complex<double> n = 0, d = 0;
  for (std::size_t k = h.num.size(); k-- > 0;) n = n * s + h.num[k];
  for (std::size_t k = h.den.size(); k-- > 0;) d = d * s + h.den[k];
  return n / d;
}

class PageLoadStep : public ::testing::TestWithParam<PageRun> {};

TEST_P(PageLoadStep, DropsThroughTheEsrAndReturnsOnThePlottedLoop) {
  const PageRun& run = GetParam();
  testing::RecordingHost host;
  const std::unique_ptr<Form> page = makeLoopPage(run.key, host);
  page->open();
  ASSERT_TRUE(page->stepsLoad());
  for (const auto& [name, text] : run.typed) {
    if (const Control* list = keyed(*page, ControlKind::DropList, name)) {
      const auto& keys = list->entryKeys;
      page->select(list->id,
                   static_cast<int>(std::find(keys.begin(), keys.end(), text) - keys.begin()));
    } else {
      page->setText(testing::fieldId(*page->table(), name), text);
    }
  }
  EXPECT_EQ(page->loadStep(), nullptr) << "before a calculation";
  for (const char* command : run.commands) {
    page->command(keyed(*page, ControlKind::Button, command)->id);
  }
  const LoadStep* step = page->loadStep();
  ASSERT_NE(step, nullptr);
  const BodePlot& plot = *page->bode();
  ASSERT_EQ(step->traces.size(), run.stable.size());
  ASSERT_EQ(step->model.loops.size(), step->traces.size());
  EXPECT_DOUBLE_EQ(step->step, step->load / 2);
  const double esr = shownNumber(*page, "ESR");
  for (std::size_t k = 0; k < step->traces.size(); ++k) {
    const LoadStepTrace& trace = step->traces[k];
    SCOPED_TRACE(trace.name);
    EXPECT_EQ(trace.name, k == 0 ? "page" : "exact");
    EXPECT_EQ(trace.stable, run.stable[k]);
    if (!trace.stable) {
      EXPECT_TRUE(trace.t.empty());
      continue;
    }
    // At once the step flows into the capacitor's ESR in parallel with the stage's own
    // resistance (RL, RL/2 or Rx).
    const Rational& zo = step->model.loops[k].output;
    const double parallel = run.fullLoad ? shownNumber(*page, "Vo") / shownNumber(*page, "Iomax")
                                         : zo.num[0] / zo.den[0];
    ASSERT_EQ(trace.t.size(), kStepShownPoints + 2);
    EXPECT_LT(trace.t[0], trace.t[1]);
    EXPECT_LT(trace.t[1], 0);
    EXPECT_EQ(trace.dv[1], 0);
    EXPECT_EQ(trace.t[2], 0);
    const double drop = -step->step * esr * parallel / (esr + parallel);
    EXPECT_NEAR(trace.dv[2], drop, 2e-3 * std::fabs(drop));
    // The peak lies at or beyond the drop, and the integrator returns the output to zero.
    EXPECT_LE(trace.reading.peak, trace.dv[2]);
    EXPECT_NEAR(trace.reading.final, 0, 1e-12);
    EXPECT_GT(trace.reading.settling, trace.reading.peakTime);
    EXPECT_LT(std::fabs(trace.dv.back()), kSettlingBand * std::fabs(trace.reading.peak));
  }
  // Zo/Zcl − 1 is the loop gain the Bode plot draws, for the page's network and the exact one.
  const double hzPerUnit = plot.unit == "kHz" ? 1000 : 1;
  for (const LoadStepLoop& loop : step->model.loops) {
    const BodeTrace& drawn = loop.name == "exact" ? plot.exact->loop : plot.loop;
    ASSERT_EQ(drawn.gainDb.size(), plot.f.size());
    for (std::size_t i = 0; i < plot.f.size(); i += 50) {
      const std::complex<double> s(0, 2 * std::numbers::pi * plot.f[i] * hzPerUnit);
      const double gainDb =
          20 * std::log10(std::abs(at(loop.output, s) / at(loop.impedance, s) - 1.0));
      EXPECT_NEAR(gainDb, drawn.gainDb[i], 1e-6) << loop.name << " at " << plot.f[i];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageLoadStep, ::testing::ValuesIn(kPageRuns),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tarnex
