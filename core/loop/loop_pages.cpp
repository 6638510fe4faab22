#include "loop/loop_pages.h"

#include <string>
#include <vector>

#include "forms/table_form.h"

namespace tarnex {

namespace {

// The incomplete-input messages; their blanks differ from page to page and step to step.
constexpr const char* kCurrentModeIncomplete = "   请输入完整的参数!  ";
constexpr const char* kStep2Incomplete = "  请输入完整的参数!  ";
constexpr const char* kStep4Incomplete = " 请输入完整的参数! ";
constexpr const char* kTypeIIIIncomplete = "  请输入完整的条件!  ";

// The captions of the type II page that follow the kind.
constexpr const char* kPrimaryInductance = "一次电感(μH)";
constexpr const char* kOutputInductance = "输出电感(μH)";
constexpr const char* kOutputPole = "极点频率(KHz)";
constexpr const char* kLcDoublePole = "LC双重极点(KHz)";

constexpr Bound<CurrentModeInputs> kCurrentModeInputs[] = {
    TARNEX_BINDS(CurrentModeInputs, Vo, Io, Co, ESR, D, Vin, L, Vse, Ri, fsw, fc, R1, gm, Vref)};
constexpr Bound<CurrentModeResults> kCurrentModeResults[] = {
    TARNEX_BINDS(CurrentModeResults, GdB, C1, R2, C2, fp, fz, fEA)};

constexpr Bound<TypeIIInputs> kTypeIIInputs[] = {
    TARNEX_BINDS(TypeIIInputs, Vo, Iomax, Iomin, Vinmax, Vinmin, fsw, Co, ESR, Vramp, Vref, L, Dmax,
                 fpo, fesr, Gesr, fp1, fz1, fc, PMwant, R1)};
constexpr Bound<TypeIIStage> kTypeIIStage[] = {TARNEX_BINDS(TypeIIStage, fpo, fesr, Gesr)};
constexpr Bound<TypeIINetwork> kTypeIINetwork[] = {
    TARNEX_BINDS(TypeIINetwork, C1, C2, R2, PM, fp1, fz1)};

constexpr Bound<TypeIIIInputs> kTypeIIIInputs[] = {
    TARNEX_BINDS(TypeIIIInputs, fp1, fp2, fz1, fz2, fc, GdB, R1)};
constexpr Bound<TypeIIIResults> kTypeIIIResults[] = {
    TARNEX_BINDS(TypeIIIResults, C1, C2, C3, R2, R3, fEA)};

}  // namespace

// --- the exchange flag and what every page shares ---------------------------------------

bool LoopPage::readForExact(std::string_view incomplete) {
  // The calculate frame with every field read, a blank one as 0 that stays blank, and nothing
  // to write back.
  std::vector<int> every;
  for (const FieldRow& row : form().fields) every.push_back(row.controlId);
  return calculateFrame({.blankAsZero = every, .incomplete = incomplete, .progress = false},
                        [] { return false; }) == FrameEnd::Stopped;
}

bool LoopPage::calculateAll(std::string_view incomplete, const std::function<void()>& compute) {
  const auto computed = [&] {
    compute();
    return true;
  };
  return calculateFrame({.results = outputIds(), .incomplete = incomplete}, computed) ==
         FrameEnd::Written;
}

const LoadStep* LoopPage::loadStep() {
  if (!stepModel_) return nullptr;
  if (!step_) step_ = loadStepOf(*stepModel_);
  return &*step_;
}

void LoopPage::showHint(int dialogId) {
  TableForm hint(host(), hintTable(dialogId));
  host().runDialog(hint);
}

// --- current mode ------------------------------------------------------------------------

CICtrl::CICtrl(Host& host) : LoopPage(host, currentModeTable()) {}

void CICtrl::runSetUp() {
  LoopPage::runSetUp();  // blanks the results, fills the list, selects the amplifier
  setEnabled(icctrl::kGm, true);
}

CurrentModeAmplifier CICtrl::amplifier() const {
  switch (selectedEntry(icctrl::kTypeList)) {
    case icctrl::kTransconductance:
      return CurrentModeAmplifier::Transconductance;
    case icctrl::kOpAmp:
      return CurrentModeAmplifier::OpAmp;
    default:
      return CurrentModeAmplifier::None;
  }
}

void CICtrl::command(int id) {
  if (id == icctrl::kCalculate) return calculate();
  if (id == icctrl::kExact) return exactDesign();
  if (id == icctrl::kEsrHint) return showHint(hint::kEsrEstimate);
  LoopPage::command(id);
}

void CICtrl::select(int listId, int index) {
  if (!setSelection(listId, index)) return;
  // Only the transconductance amplifier has a gm; the results belong to the other type.
  setEnabled(icctrl::kGm, index == icctrl::kTransconductance);
  setOutputsText("");
  dropPlot();
  host().repaint();
}

void CICtrl::calculate() {
  const CurrentModeAmplifier type = amplifier();
  CurrentModeInputs in;
  CurrentModeResults r;
  const auto compute = [&] {
    in = bound(kCurrentModeInputs);
    in.type = type;
    r = currentModeCompensation(in);
    store(r, kCurrentModeResults);
  };
  if (!calculateAll(kCurrentModeIncomplete, compute)) return;
  BodePlot plot = currentModeBode(in, r);
  std::vector<Finding> findings = currentModeFindings(in, r, plot, nullptr);
  setPlot(std::move(plot), std::move(findings), currentModeLoadStepModel(in, r, nullptr));
}

void CICtrl::exactDesign() {
  const CurrentModeAmplifier type = amplifier();
  if (!readForExact(kCurrentModeIncomplete)) return;
  CurrentModeInputs in = bound(kCurrentModeInputs);
  in.type = type;
  // The page's own design as its command computes it, and the exact one beside it.
  const CurrentModeResults r = currentModeCompensation(in);
  const CurrentModeExact exact = currentModeExactDesign(in, r);
  BodePlot plot = currentModeBode(in, r, &exact);
  std::vector<Finding> findings = currentModeFindings(in, r, plot, &exact);
  setPlot(std::move(plot), std::move(findings), currentModeLoadStepModel(in, r, &exact));
  setWritten(exact.ok);
  host().repaint();
}

// --- type II -----------------------------------------------------------------------------

CVCtrl::CVCtrl(Host& host) : LoopPage(host, typeIITable()) {}

void CVCtrl::runSetUp() {
  LoopPage::runSetUp();  // blanks the results, fills the list, selects the forward type
  for (int id : {vctrl::kFp1Label, vctrl::kFz1Label, vctrl::kFp1, vctrl::kFz1}) {
    setEnabled(id, false);
  }
  setEnabled(vctrl::kL, true);
  setEnabled(vctrl::kLLabel, true);
}

TypeIIKind CVCtrl::kind() const {
  switch (selectedEntry(vctrl::kKindList)) {
    case vctrl::kDcmFlyback:
      return TypeIIKind::DcmFlyback;
    case vctrl::kForward:
      return TypeIIKind::Forward;
    default:
      return TypeIIKind::None;
  }
}

// The DCM flyback places its pole and zero itself; the forward type asks for a phase margin
// and computes them.
void CVCtrl::enableForKind(int entry) {
  const bool flyback = entry == vctrl::kDcmFlyback;
  for (int id : {vctrl::kFp1Label, vctrl::kFz1Label, vctrl::kFp1, vctrl::kFz1}) {
    setEnabled(id, flyback);
  }
  setEnabled(vctrl::kPmWant, !flyback);
  setEnabled(vctrl::kPmWantLabel, !flyback);
  setText(vctrl::kLLabel, flyback ? kPrimaryInductance : kOutputInductance);
  setText(vctrl::kFpoLabel, flyback ? kOutputPole : kLcDoublePole);
}

void CVCtrl::command(int id) {
  if (id == vctrl::kStep2) return controlToOutput();
  if (id == vctrl::kStep4) return network();
  if (id == vctrl::kExact) return exactDesign();
  if (id == vctrl::kOtherHint) return showHint(hint::kSaberNote);
  if (id == vctrl::kCriteriaHint) return showHint(hint::kStabilityCriteria);
  LoopPage::command(id);
}

void CVCtrl::select(int listId, int index) {
  if (!setSelection(listId, index)) return;
  enableForKind(index);
  setOutputsText("");
  dropPlot();
  host().repaint();
}

TypeIIInputs CVCtrl::inputs() const {
  TypeIIInputs in = bound(kTypeIIInputs);
  in.kind = kind();
  return in;
}

void CVCtrl::controlToOutput() {
  TypeIIInputs in;
  const auto compute = [&] {
    in = inputs();
    if (in.kind != TypeIIKind::None) {
      const TypeIIStage s = typeIIControlToOutput(in);
      store(s, kTypeIIStage);
      in.fpo = s.fpo, in.fesr = s.fesr, in.Gesr = s.Gesr;
    }
  };
  if (!calculateAll(kStep2Incomplete, compute)) return;
  // The network of step 4 belongs to the characteristic it was computed for.
  setFieldsText(vctrl::kStep4Results, "");
  // The stage alone, until step 4 adds the network.
  setPlot(typeIIBode(in, TypeIINetwork{}), {});
}

void CVCtrl::network() {
  TypeIIInputs in;
  TypeIINetwork n;
  const auto compute = [&] {
    in = inputs();
    n = typeIINetwork(in);
    store(n, kTypeIINetwork);
    return true;
  };
  // Step 4 reads the characteristic from the fields of step 2; blank ones count as 0 and
  // stay blank.
  const CalculateFrame frame{.results = vctrl::kStep4Results,
                             .blankAsZero = vctrl::kStep2Results,
                             .incomplete = kStep4Incomplete};
  if (calculateFrame(frame, compute) != FrameEnd::Written) return;
  BodePlot plot = typeIIBode(in, n);
  std::vector<Finding> findings = typeIIFindings(in, n, plot, nullptr);
  setPlot(std::move(plot), std::move(findings), typeIILoadStepModel(in, n, nullptr));
}

void CVCtrl::exactDesign() {
  if (!readForExact(kStep4Incomplete)) return;
  TypeIIInputs in = inputs();
  if (in.kind == TypeIIKind::None) return;
  // Steps 2 and 4 as the page computes them from the fields typed, then the exact network.
  const TypeIIStage s = typeIIControlToOutput(in);
  in.fpo = s.fpo, in.fesr = s.fesr, in.Gesr = s.Gesr;
  const TypeIINetwork n = typeIINetwork(in);
  const TypeIIExact exact = typeIIExactDesign(in);
  BodePlot plot = typeIIBode(in, n, &exact);
  std::vector<Finding> findings = typeIIFindings(in, n, plot, &exact);
  setPlot(std::move(plot), std::move(findings), typeIILoadStepModel(in, n, &exact));
  setWritten(exact.ok);
  host().repaint();
}

// --- type III ----------------------------------------------------------------------------

CType3::CType3(Host& host) : LoopPage(host, typeIIITable()) {}

void CType3::command(int id) {
  if (id == type3::kCalculate) return calculate();
  if (id == type3::kExact) return exactDesign();
  if (id == type3::kHint) return showHint(hint::kPolePlacement);
  LoopPage::command(id);
}

void CType3::calculate() {
  TypeIIIInputs in;
  TypeIIIResults r;
  const auto compute = [&] {
    in = bound(kTypeIIIInputs);
    r = typeIIINetwork(in);
    store(r, kTypeIIIResults);
  };
  if (!calculateAll(kTypeIIIIncomplete, compute)) return;
  BodePlot plot = typeIIIBode(in, r);
  std::vector<Finding> findings = typeIIIFindings(in, r, plot, nullptr);
  setPlot(std::move(plot), std::move(findings));
}

void CType3::exactDesign() {
  if (!readForExact(kTypeIIIIncomplete)) return;
  const TypeIIIInputs in = bound(kTypeIIIInputs);
  const TypeIIIResults r = typeIIINetwork(in);
  const TypeIIIExact exact = typeIIIExactDesign(in);
  BodePlot plot = typeIIIBode(in, r, &exact);
  std::vector<Finding> findings = typeIIIFindings(in, r, plot, &exact);
  setPlot(std::move(plot), std::move(findings));
  setWritten(exact.ok);
  host().repaint();
}

}  // namespace tarnex
