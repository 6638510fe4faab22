#include "sim/window_sim.h"

#include <algorithm>
#include <functional>

#include "base/finding_text.h"
#include "base/number_text.h"
#include "designs/bridge.h"
#include "designs/dcdc.h"
#include "designs/design_check.h"
#include "designs/flyback.h"
#include "designs/magnetics.h"
#include "sim/decks.h"
#include "sim/netlist.h"
#include "sim/ngspice_run.h"
#include "sim/window_binds.h"

namespace tarnex::sim {

namespace {

using namespace binds;

// The rows of the table, in order.
enum Row {
  kVo,
  kRipple,
  kSwitchPeak,
  kSwitchRms,
  kDiodePeak,
  kDiodeRms,
  kFlux,
  kSwitchV,
  kClamp,
  kRows
};

// How a row is compared: the output both ways; a current the window states too low; the
// others simulated too high.
enum class Compare { Both, ShownBelow, SimulatedAbove };

struct RowSpec {
  const char* label;
  const char* unit;
  Compare compare;
  double tolerance;
};

constexpr RowSpec kSpecs[kRows] = {
    {"输出电压", "V", Compare::Both, kReachShortfall},
    {"输出纹波（峰峰值）", "mV", Compare::SimulatedAbove, kOverAsked},
    {"开关管峰值电流", "A", Compare::ShownBelow, kCurrentBelow},
    {"开关管电流有效值", "A", Compare::ShownBelow, kCurrentBelow},
    {"二极管峰值电流", "A", Compare::ShownBelow, kCurrentBelow},
    {"二极管电流有效值", "A", Compare::ShownBelow, kCurrentBelow},
    {"峰值磁密（伏秒）", "GS", Compare::SimulatedAbove, kOverAsked},
    {"开关管峰值电压", "V", Compare::SimulatedAbove, kOverAsked},
    {"钳位电压", "V", Compare::SimulatedAbove, kOverAsked},
};

constexpr const char* kByCheck = "设计检查";

// How the flux is read from the simulated core.
enum class Flux {
  Peak,       // a gapped core: the peak (DC-DC inductor, flyback, ringing choke)
  Swing,      // the forward: from zero after each reset to the peak
  HalfSwing,  // push-pull and bridges: half the swing, as the window's 1/2△B
};

struct Shown {
  double value = NAN;
  std::string basis;
};

// A window's circuit: its deck writer, where it is driven, and what it shows for each row.
struct Circuit {
  std::string error;
  std::function<Deck(const Drive&)> deck;
  double VinLow = 0, VinHigh = 0;
  StagePoint low, high;
  Flux flux = Flux::Peak;
  bool clamp = false;
  const char* inductor = "电感电流";
  Shown shown[kRows];
};

Circuit made(std::function<Deck(const Drive&)> deck, double VinLow, double VinHigh,
             const StagePoint& low, const StagePoint& high, Flux flux = Flux::Peak) {
  Circuit c;
  c.deck = std::move(deck);
  c.VinLow = VinLow;
  c.VinHigh = VinHigh;
  c.low = low;
  c.high = high;
  c.flux = flux;
  return c;
}

Circuit failed(std::string why) {
  Circuit c;
  c.error = std::move(why);
  return c;
}

// The number a field shows; nullopt when it is blank or shows no number.
std::optional<double> fieldNumber(const Form& w, std::string_view name) {
  const FieldRow* row = w.table() != nullptr ? findField(*w.table(), name) : nullptr;
  if (row == nullptr) return std::nullopt;
  const std::optional<float> v = parseFieldText(w.text(row->controlId));
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return *v;
}

Shown field(const Form& w, const char* name, double scale = 1) {
  const std::optional<double> v = fieldNumber(w, name);
  return v ? Shown{*v * scale, name} : Shown{};
}

Shown stated(double v) {
  return check::usable(v) ? Shown{v, kByCheck} : Shown{};
}

// The rows every window shows alike.
void shownCommon(const Form& w, Circuit& c, const char* flux) {
  c.shown[kVo] = field(w, "Vo");
  c.shown[kSwitchRms] = field(w, "Irmsp");
  c.shown[kDiodeRms] = field(w, "Irmss");
  c.shown[kFlux] = field(w, flux);
}

Circuit dcdcCircuit(const CDcDcDlg& w) {
  const DcDcInputs in = w.bound(kDcDcInputs);
  const DcDcOutputs out = w.bound(kDcDcOutputs);
  const DcDcTopology topology = w.topology();
  const DcDcCheck ch = checkDcDc(topology, w.mode(), in, out);
  Circuit c = made([=](const Drive& d) { return dcdcDeck(topology, in, out, d); }, in.VinMin,
                   in.VinMax, ch.low, ch.high);
  c.shown[kVo] = field(w, "Vo");
  c.shown[kRipple] = field(w, "Vopp");
  c.shown[kSwitchPeak] = c.shown[kDiodePeak] = field(w, "Ipk");
  c.shown[kSwitchRms] = field(w, "Iswrms");
  c.shown[kDiodeRms] = field(w, "Idrms");
  c.shown[kFlux] = field(w, "Bpk");
  c.shown[kSwitchV] = field(w, "Vswm");
  return c;
}

Circuit flybackCircuit(const CFlybackDlg& w) {
  const FlybackInputs in = w.bound(kFlybackInputs);
  const FlybackDesign d = w.bound(kFlybackDesign);
  const std::optional<double> Rlk = fieldNumber(w, "Rlk"), Clk = fieldNumber(w, "Clk");
  // The clamp as its command sized it; before that, the coupled windings alone.
  std::optional<FlybackClamp> clamp;
  if (Rlk && Clk) clamp = FlybackClamp{*Rlk, *Clk};
  const FlybackCheck ch =
      checkFlyback(w.mode() == FlybackMode::Ccm, in, d, clamp.value_or(FlybackClamp{}));
  Circuit c = made([=](const Drive& dr) { return flybackDeck(in, d, clamp, dr); },
                   acPeak(in.VacMin), acPeak(in.VacMax), ch.low, ch.high);
  c.inductor = "励磁电流（折算到次级）";
  if (!clamp) {
    Stage low = ch.lowStage, high = ch.highStage;
    low.Llk = high.Llk = 0;
    c.low = regulate(low);
    c.high = regulate(high);
  }
  shownCommon(w, c, "Bpk");
  c.shown[kRipple] = field(w, "Vopp");
  c.shown[kSwitchPeak] = field(w, "Ipkp");
  c.shown[kDiodePeak] = field(w, "Ipks");
  c.shown[kSwitchV] = field(w, "Vswm");
  if (clamp) {
    c.clamp = true;
    c.shown[kClamp] = {double{in.Vswm} - in.Vswr - acPeak(in.VacMax), "Vswm − Vswr − 1.414·VacMax"};
  }
  return c;
}

Circuit rccCircuit(const FieldForm& w) {
  const RccInputs in = w.bound(kRccInputs);
  const RccDesign d = w.bound(kRccDesign);
  const RccCheck ch = checkRcc(in, d);
  Circuit c = made([=](const Drive& dr) { return rccDeck(in, d, dr); }, acPeak(in.VacMin),
                   acPeak(in.VacMax), ch.low, ch.high);
  c.inductor = "励磁电流（折算到次级）";
  shownCommon(w, c, "Bpk");
  c.shown[kSwitchPeak] = field(w, "Ipkp");
  c.shown[kDiodePeak] = field(w, "Ipks");
  c.shown[kSwitchV] = field(w, "Vswm");
  return c;
}

// The forward and the bridges show no peak currents nor the switch's voltage: the check's
// steady state stands for them.
void statedPeaks(Circuit& c, double n, double switchPeak) {
  const double iPeak = std::max(c.low.iPeak, c.high.iPeak);
  c.shown[kSwitchPeak] = stated(iPeak / n);
  c.shown[kDiodePeak] = stated(iPeak);
  c.shown[kSwitchV] = stated(switchPeak);
}

Circuit forwardCircuit(const FieldForm& w) {
  const ForwardInputs in = w.bound(kForwardInputs);
  const ForwardDesign d = w.bound(kForwardDesign);
  const ForwardCheck ch = checkForward(in, d);
  Circuit c = made([=](const Drive& dr) { return forwardDeck(in, d, dr); }, acPeak(in.VacMin),
                   acPeak(in.VacMax), ch.low, ch.high, Flux::Swing);
  c.inductor = "输出电感电流";
  shownCommon(w, c, "Bpk");
  statedPeaks(c, ch.n, ch.switchPeak);
  return c;
}

Circuit bridgeCircuit(const FieldForm& w, BridgeKind kind) {
  const BridgeInputs in = w.bound(kBridgeInputs);
  const BridgeDesign d = w.bound(kBridgeDesign);
  const BridgeCheck ch = checkBridge(kind, in, d);
  Circuit c = made([=](const Drive& dr) { return bridgeDeck(kind, in, d, dr); }, acPeak(in.VacMin),
                   acPeak(in.VacMax), ch.low, ch.high, Flux::HalfSwing);
  c.inductor = "输出电感电流";
  shownCommon(w, c, "DB");
  statedPeaks(c, ch.n, ch.switchPeak);
  return c;
}

Circuit circuitOf(const Form& w) {
  const auto* fields = dynamic_cast<const DesignDialog*>(&w);
  if (fields == nullptr) return failed("这个窗口没有可仿真的电路。");
  if (!fields->lastCalculationWritten()) return failed("请先计算出设计结果，再仿真。");
  const std::string_view key = w.key();
  if (const auto* d = dynamic_cast<const CDcDcDlg*>(&w)) return dcdcCircuit(*d);
  if (const auto* d = dynamic_cast<const CFlybackDlg*>(&w)) return flybackCircuit(*d);
  if (key == "rcc") return rccCircuit(*fields);
  if (key == "forward") return forwardCircuit(*fields);
  if (key == "pushpull") return bridgeCircuit(*fields, BridgeKind::PushPull);
  if (key == "halfbridge") return bridgeCircuit(*fields, BridgeKind::HalfBridge);
  if (key == "fullbridge") return bridgeCircuit(*fields, BridgeKind::FullBridge);
  return failed("这个窗口没有可仿真的电路。");
}

// The deck at one end, with a heading that says where it is driven.
std::string headed(const Deck& deck, const char* end, double Vin, const StagePoint& p) {
  const std::size_t title = deck.netlist.find('\n') + 1;
  Netlist head("");
  head.comment(std::string("driven at the ") + end + " input, " + shown("Vin", Vin, "V") +
               ", regulated as the design check works it out: " + shown("Ton", p.Ton, "us") +
               " in " + shown("T", p.T, "us") + ", " + shown("Vo", p.Vo, "V") + " at " +
               shown("Io", p.Io, "A"));
  std::string text = head.text();
  text = text.substr(1, text.size() - 1 - std::string_view(".end\n").size());
  return deck.netlist.substr(0, title) + text + deck.netlist.substr(title);
}

}  // namespace

WindowDecks windowDecks(const Form& window) {
  const Circuit c = circuitOf(window);
  if (!c.error.empty()) return {c.error, {}};
  WindowDecks out;
  const struct {
    const char* name;
    const char* english;
    double Vin;
    const StagePoint& point;
  } ends[] = {{"最低输入", "lowest", c.VinLow, c.low}, {"最高输入", "highest", c.VinHigh, c.high}};
  for (const auto& e : ends) {
    if (!e.point.valid) return {std::string(e.name) + "时电路达不到稳态，无法仿真。", {}};
    const Deck deck = c.deck(Drive{e.Vin, e.point});
    if (!deck.ok()) return {"窗口的数值构不成电路（" + deck.error + "）。", {}};
    out.decks.push_back({e.name, e.Vin, headed(deck, e.english, e.Vin, e.point)});
  }
  return out;
}

std::string windowNetlist(const Form& window, std::string& error) {
  WindowDecks d = windowDecks(window);
  error = d.error;
  return d.decks.empty() ? "" : d.decks.front().netlist;
}

WindowSimulation simulateWindow(const Form& window, Host& host, double seconds) {
  WindowSimulation sim;
  const Circuit c = circuitOf(window);
  const WindowDecks decks = windowDecks(window);
  if (!decks.error.empty()) {
    sim.error = decks.error;
    return sim;
  }
  sim.inductorLabel = c.inductor;
  std::vector<std::string> texts;
  for (const WindowDeck& d : decks.decks) texts.push_back(d.netlist);
  const std::vector<NgspiceRun> runs = runNgspice(host, "仿真波形", texts, seconds);
  for (const NgspiceRun& r : runs) {
    if (r.end == NgspiceRun::End::Cancelled) sim.cancelled = true;
    if (!r.ok()) {
      sim.error = r.error;
      return sim;
    }
  }
  for (std::size_t i = 0; i < runs.size(); ++i) {
    sim.ends.push_back({decks.decks[i].end, decks.decks[i].Vin, runs[i].waves});
  }
  // The worse of both ends: the output farther from Vo, the largest of the others.
  auto worst = [&](const char* name, double scale = 1) {
    double v = NAN;
    for (const NgspiceRun& r : runs) {
      const double x = r.run.value(name).value_or(NAN) * scale;
      if (std::isnan(v) || x > v) v = x;
    }
    return v;
  };
  double got[kRows];
  got[kVo] = NAN;
  for (const NgspiceRun& r : runs) {
    const double vo = r.run.value("vo").value_or(NAN);
    if (std::isnan(got[kVo]) ||
        std::fabs(vo - c.shown[kVo].value) > std::fabs(got[kVo] - c.shown[kVo].value))
      got[kVo] = vo;
  }
  got[kRipple] = worst("vpp", 1000);
  got[kSwitchPeak] = worst("iswpk");
  got[kSwitchRms] = worst("isw");
  got[kDiodePeak] = worst("idpk");
  got[kDiodeRms] = worst("idiode");
  double flux = NAN;
  for (const NgspiceRun& r : runs) {
    const double hi = r.run.value("bmax").value_or(NAN), lo = r.run.value("bmin").value_or(NAN);
    const double b = c.flux == Flux::Peak ? hi : c.flux == Flux::Swing ? hi - lo : (hi - lo) / 2;
    if (std::isnan(flux) || b > flux) flux = b;
  }
  got[kFlux] = flux;
  got[kSwitchV] = worst("vswpk");
  got[kClamp] = c.clamp ? worst("vclamp") : NAN;
  for (int row = 0; row < kRows; ++row) {
    const RowSpec& spec = kSpecs[row];
    const Shown& shown = c.shown[row];
    if (std::isnan(got[row]) && std::isnan(shown.value)) continue;  // not of this circuit
    ComparedRow r{spec.label, spec.unit, got[row], shown.value, shown.basis};
    if (std::isfinite(r.simulated) && check::usable(r.shown)) {
      const double ratio = r.simulated / r.shown;
      r.differs = spec.compare == Compare::Both         ? std::fabs(ratio - 1) > spec.tolerance
                  : spec.compare == Compare::ShownBelow ? 1 / ratio < 1 - spec.tolerance
                                                        : ratio > 1 + spec.tolerance;
      if (r.differs) {
        check::add(sim.findings, Severity::Warning,
                   check::fill("仿真的{}约 {} {}，窗口（{}）为 {} {}，{} {}",
                               {r.label, check::num(r.simulated), r.unit, r.basis,
                                check::num(r.shown), r.unit, ratio > 1 ? "仿真高" : "仿真低",
                                check::percent(std::fabs(ratio - 1))}));
      }
    }
    sim.table.push_back(std::move(r));
  }
  return sim;
}

}  // namespace tarnex::sim
