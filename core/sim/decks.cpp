#include "sim/decks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string_view>

#include "designs/magnetics.h"
#include "sim/netlist.h"

namespace tarnex::sim {

namespace {

constexpr double kMicro = 1e-6;
constexpr double kNano = 1e-9;
// The switch and diode on-resistances drop this share of the input (switch) or of the
// output (diode) at their peak current: small against every drop the windows assume.
constexpr double kDropShare = 0.001;
// Drive edges, ns: the switch turns at the middle of each edge, so the pulse is shortened by
// one edge to keep the on-time exact.
constexpr double kEdge = 1 * kNano;
// Periods in the measurement window, and the shortest settling before it.
constexpr int kMeasuredPeriods = 5;
constexpr int kLeastSettling = 60;
// The initial conditions start the circuit close to its steady state: what is left to settle
// is small, and this many periods bound the run of a slow output filter (a boost at a high duty).
constexpr int kMostSettling = 800;
// Resonance periods of the damped output filter before the measurement starts: the damper
// brings its Q near 1, so the start-up error has died away by then.
constexpr double kSettlingResonances = 3;
// Step limit, as a share of the switching period.
constexpr double kStepsPerPeriod = 150;
// The inductor current "rests at zero" below this share of its expected peak.
constexpr double kRestShare = 0.02;
// What the deck chooses where a window computes no output capacitor: the ripple of an
// inductor current of 0.4·Io on it is 0.5 % of Vo (a buck's ΔI / (8·f·C)); small enough
// not to move the DC point, large enough for the measured ripple to mean something.
constexpr double kChosenRippleShare = 0.005;
// Where a window computes no magnetising inductance: its current peaks at this share of the
// reflected load current at the lowest input and the longest on-time.
constexpr double kMagnetisingShare = 0.03;

bool usable(double v) {
  return std::isfinite(v) && v > 0;
}

std::string num(double v) {
  return spiceNumber(v);
}

// The parts every deck shares: models, drive, output filter, measurements, analysis.
class Builder {
 public:
  Builder(std::string_view title, const Drive& drive) : n_(title), drive_(drive) {
    const StagePoint& p = drive.point;
    T_ = p.T * kMicro;
    Ton_ = p.Ton * kMicro;
    require(p.valid, "the drive has no steady state to reach");
    require(usable(drive.Vin), "the input voltage is not positive");
    require(usable(p.Ton) && usable(p.T) && p.Ton < p.T, "the on-time does not fit the period");
  }

  // False (and the first reason kept) when `ok` does not hold.
  bool require(bool ok, std::string_view why) {
    if (!ok && error_.empty()) error_ = why;
    return ok;
  }
  bool failed() const { return !error_.empty(); }
  Netlist& n() { return n_; }
  const StagePoint& point() const { return drive_.point; }
  double Vin() const { return drive_.Vin; }
  double Ton() const { return Ton_; }
  // The period the inductor sees (half the switching period of the push-pull and bridges).
  double T() const { return T_; }

  // The switch model with an on-resistance dropping kDropShare of the input at `ipk`, and a
  // diode model of forward drop `vdf` whose resistance drops kDropShare of the output at its
  // peak current `idpk`.
  void models(double ipk, double vdf, double idpk) {
    const double ron = kDropShare * Vin() / std::max(ipk, 1e-6);
    const double rd = kDropShare * point().Vo / std::max(idpk, 1e-6);
    n_.card(".model SW SW(Vt=0.5 Vh=0.1 Ron=" + num(ron) + " Roff=1e9)",
            "ideal switch: on-resistance drops 0.1 % of the input at the peak switch current");
    n_.card(".model DX sidiode(Roff=1e9 Ron=" + num(rd) + " Vfwd=" + num(vdf) + " Vrev=1e5)",
            "rectifier: forward drop " + shown("Vdf", vdf, "V") +
                ", its resistance dropping 0.1 % of the output at the peak diode current");
  }

  // A gate drive `name` into node `node`: on for Ton once every `period`, from `delay`.
  void drive(std::string_view name, std::string_view node, double period, double delay) {
    n_.card(std::string(name) + " " + std::string(node) + " 0 PULSE(0 1 " + num(delay) + " " +
                num(kEdge) + " " + num(kEdge) + " " + num(Ton_ - kEdge) + " " + num(period) + ")",
            "drive: on for " + shown("Ton", point().Ton, "us") + " every " +
                shown("T", period / kMicro, "us"));
  }

  // Output capacitor C (F) on node `out` with its damper for the inductance `Lf` (H) the
  // filter sees, and the full load. `sign` is −1 for an output below ground.
  void outputFilter(double C, std::string_view why, double Lf, double sign = 1) {
    const double Vo = point().Vo;
    const double R = Vo / point().Io;
    require(usable(C), "the output capacitor is not positive");
    require(usable(R), "the load is not positive");
    Lf_ = Lf;
    C_ = C;
    const std::string ic = " IC=" + num(sign * Vo);
    n_.card("Co out 0 " + num(C) + ic, std::string(why));
    n_.card("Rd out dmp " + num(std::sqrt(Lf / C)),
            "damper (not of the window): sqrt(L/C) in series with 4*Co damps the output "
            "filter's resonance, leaves the switching ripple and the DC point alone");
    n_.card("Cd dmp 0 " + num(4 * C) + ic, "damper capacitor, 4*Co");
    n_.card("Rload out 0 " + num(R),
            "full load: " + shown("Vo", Vo, "V") + " at " + shown("Io", point().Io, "A"));
    n_.card(std::string("Bvo vout 0 V = ") + (sign < 0 ? "-v(out)" : "v(out)"),
            "the output as a positive voltage, for the measurements");
  }

  // The inductor current as the power stage sees it, and the core's flux density (gauss),
  // as B-source expressions; `switchCurrent` and `diodeCurrent` are the sensed currents.
  void senses(std::string_view inductorCurrent, std::string_view flux) {
    n_.card("Bil il 0 V = " + std::string(inductorCurrent),
            "inductor current as the power stage sees it, A");
    n_.card("Bflux flux 0 V = " + std::string(flux), "flux density of the core, gauss");
    n_.card("Brest rest 0 V = u(" + num(kRestShare * point().iPeak) + " - abs(v(il)))",
            "1 while the inductor current rests near zero");
  }

  // The analysis and the measurements, over the last kMeasuredPeriods of `period`, of the
  // waveforms the deck saves: the switch's voltage and current, the diode's current, and the
  // clamp voltage where there is one.
  std::string finish(double period, std::string_view switchVoltage, std::string_view switchCurrent,
                     std::string_view diodeCurrent, std::string_view clampVoltage = "") {
    if (failed()) return {};
    n_.card("Bwv wv 0 V = " + std::string(switchVoltage), "the switch's voltage, V");
    n_.card("Bwi wi 0 V = " + std::string(switchCurrent), "the switch's current, A");
    n_.card("Bwd wd 0 V = " + std::string(diodeCurrent), "the diode's current, A");
    // The filter's resonance sets how long the start-up error takes to die away.
    const double resonance = 2 * std::numbers::pi * std::sqrt(Lf_ * C_);
    const double settle = std::clamp(kSettlingResonances * resonance, kLeastSettling * period,
                                     kMostSettling * period);
    const double from = std::ceil(settle / period) * period;
    const double to = from + kMeasuredPeriods * period;
    const std::string window = " from=" + num(from) + " to=" + num(to);
    n_.comment("steady state: the last periods, after the output filter has settled");
    n_.card(".options filetype=ascii", "the waveforms, when a raw file is written, as text");
    n_.card(std::string(".save v(vout) v(il) v(wv) v(wi) v(wd) v(flux) v(rest)") +
                (clampVoltage.empty() ? "" : " v(vc)"),
            "the waveforms kept");
    n_.card(".tran " + num(period / kStepsPerPeriod) + " " + num(to) + " " + num(from) + " " +
            num(period / kStepsPerPeriod) + " uic");
    n_.card(".meas tran vo AVG v(vout)" + window);
    n_.card(".meas tran vpp PP v(vout)" + window);
    n_.card(".meas tran ilmax MAX v(il)" + window);
    n_.card(".meas tran ilmin MIN v(il)" + window);
    n_.card(".meas tran isw RMS v(wi)" + window);
    n_.card(".meas tran iswpk MAX v(wi)" + window);
    n_.card(".meas tran vswpk MAX v(wv)" + window);
    n_.card(".meas tran idiode RMS v(wd)" + window);
    n_.card(".meas tran idpk MAX v(wd)" + window);
    n_.card(".meas tran dead AVG v(rest)" + window);
    n_.card(".meas tran bmax MAX v(flux)" + window);
    n_.card(".meas tran bmin MIN v(flux)" + window);
    if (!clampVoltage.empty()) {
      n_.card(".meas tran vclamp AVG " + std::string(clampVoltage) + window);
    }
    return n_.text();
  }

  Deck deck(std::string text) const {
    if (failed()) return {"", error_};
    return {std::move(text), ""};
  }

 private:
  Netlist n_;
  Drive drive_;
  double T_ = 0, Ton_ = 0;
  double Lf_ = 0, C_ = 0;
  std::string error_;
};

// The inductance the output capacitor sees: the inductor itself behind a buck, magnified by
// 1/(1 − D)² behind a boost or buck-boost, whose inductor reaches the output only while the
// switch is off.
double filterInductance(double L, StageKind kind, const StagePoint& p) {
  if (kind == StageKind::Buck) return L;
  const double off = 1 - p.duty();
  return L / (off * off);
}

// A capacitor the window does not size: 0.4·Io of ripple current at the frequency the
// inductor sees gives kChosenRippleShare of Vo.
double chosenCapacitor(const StagePoint& p) {
  return 0.4 * p.Io * p.T * kMicro / (8 * kChosenRippleShare * p.Vo);
}

const char* topologyName(DcDcTopology t) {
  switch (t) {
    case DcDcTopology::Buck:
      return "buck";
    case DcDcTopology::Boost:
      return "boost";
    case DcDcTopology::BuckBoost:
      return "buck-boost";
  }
  return "";
}

// Coupling of every pair of the windings named, all on one core with no leakage between them.
void couple(Netlist& n, std::initializer_list<std::string_view> windings) {
  int k = 0;
  for (auto a = windings.begin(); a != windings.end(); ++a) {
    for (auto b = a + 1; b != windings.end(); ++b) {
      // Appended piece by piece: "K" + std::to_string(...) inserts into the temporary, which
      // gcc 12 at -O3 takes for an overlapping copy (-Wrestrict).
      std::string card = "K";
      card += std::to_string(++k);
      card += ' ';
      card += *a;
      card += ' ';
      card += *b;
      card += " 1";
      n.card(card, "windings on one core, no leakage between them");
    }
  }
}

// The voltage across the primary (one half of the push-pull's) while a switch conducts: the
// whole input, or half of it across the half-bridge's split capacitors.
double primaryVoltage(BridgeKind kind, double Vin) {
  return kind == BridgeKind::HalfBridge ? Vin / 2 : Vin;
}

bool wholeTurns(double N) {
  return std::isfinite(N) && N >= 1;
}

}  // namespace

Deck dcdcDeck(DcDcTopology topology, const DcDcInputs& in, const DcDcOutputs& out,
              const Drive& drive) {
  Builder b(std::string("* ") + topologyName(topology) + " as designed", drive);
  const StagePoint& p = drive.point;
  const double L = out.L * kMicro;
  b.require(usable(out.L), "the inductance is not positive");
  b.require(usable(out.Co), "the output capacitor is not positive");
  b.require(wholeTurns(out.NL), "the inductor has no turns");
  b.require(usable(in.Ae), "the core area is not positive");
  if (b.failed()) return b.deck("");
  Netlist& n = b.n();
  b.models(p.iPeak, in.Vdf, p.iPeak);
  n.card("Vin in 0 DC " + num(b.Vin()), shown("Vin", b.Vin(), "V"));
  b.drive("Vdrv", "drv", b.T(), 0);
  auto inductor = [&](std::string_view to) {
    return "L1 xl " + std::string(to) + " " + num(L) + " IC=" + num(p.iStart);
  };
  const std::string whyL = shown("L", out.L, "uH");
  const std::string whySw = "switch drop " + shown("Vsw", in.Vsw, "V");
  const StageKind kind = topology == DcDcTopology::Buck    ? StageKind::Buck
                         : topology == DcDcTopology::Boost ? StageKind::Boost
                                                           : StageKind::BuckBoost;
  double sign = 1;
  switch (topology) {
    case DcDcTopology::Buck:
      // Switch from the input to x, the diode freewheels x from ground, L from x to the output.
      n.card("S1 in s1 drv 0 SW", "switch");
      n.card("Vsw s1 x DC " + num(in.Vsw), whySw);
      n.card("Vid 0 da DC 0", "sense: diode current");
      n.card("a1 da x DX", "freewheeling diode");
      n.card("Vil x xl DC 0", "sense: inductor current");
      n.card(inductor("out"), whyL);
      break;
    case DcDcTopology::Boost:
      // L from the input to x, the switch from x to ground, the diode from x to the output.
      n.card("Vil in xl DC 0", "sense: inductor current");
      n.card(inductor("x"), whyL);
      n.card("S1 x s1 drv 0 SW", "switch");
      n.card("Vsw s1 0 DC " + num(in.Vsw), whySw);
      n.card("Vid x da DC 0", "sense: diode current");
      n.card("a1 da out DX", "output diode");
      break;
    case DcDcTopology::BuckBoost:
      // The switch puts the input across L (x to ground); the diode empties L into an output
      // below ground.
      sign = -1;
      n.card("S1 in s1 drv 0 SW", "switch");
      n.card("Vsw s1 x DC " + num(in.Vsw), whySw);
      n.card("Vil x xl DC 0", "sense: inductor current");
      n.card(inductor("0"), whyL);
      n.card("Vid out da DC 0", "sense: diode current");
      n.card("a1 da x DX", "output diode (the output lies below ground)");
      break;
  }
  b.outputFilter(out.Co * kMicro, shown("Co", out.Co, "uF"), filterInductance(L, kind, p), sign);
  // The gapped inductor's flux: B = L·i / (N·Ae), gauss from µH, A and mm².
  const double perAmp = out.L * 1e4 / (double{out.NL} * in.Ae);
  b.senses("i(Vil)", num(perAmp) + " * i(Vil)");
  n.comment("flux from " + shown("NL", out.NL) + " turns on " + shown("Ae", in.Ae, "mm2"));
  return b.deck(b.finish(b.T(), topology == DcDcTopology::Boost ? "v(x)" : "v(in) - v(x)", "i(Vsw)",
                         "i(Vid)"));
}

Deck flybackDeck(const FlybackInputs& in, const FlybackDesign& d,
                 const std::optional<FlybackClamp>& clamp, const Drive& drive) {
  Builder b(clamp ? "* flyback as designed, with its RCD clamp"
                  : "* flyback as designed, without leakage (the coupled windings alone)",
            drive);
  const StagePoint& p = drive.point;
  b.require(usable(d.Lp), "the primary inductance is not positive");
  b.require(wholeTurns(d.Np) && wholeTurns(d.Ns), "a winding has no turns");
  b.require(usable(d.Co), "the output capacitor is not positive");
  if (clamp) {
    b.require(usable(clamp->Rlk) && usable(clamp->Clk), "the clamp is not sized");
    b.require(usable(in.Per), "there is no leakage inductance");
  }
  b.require(usable(in.Ae), "the core area is not positive");
  if (b.failed()) return b.deck("");
  Netlist& n = b.n();
  const double ratio = double{d.Ns} / d.Np;  // secondary over primary turns
  const double Lp = d.Lp * kMicro;
  const double Ls = Lp * ratio * ratio;
  const double ipStart = p.iStart * ratio;
  b.models(p.iPeak * ratio, in.Vdf, p.iPeak);
  n.card("Vin in 0 DC " + num(b.Vin()), "rectified mains: " + shown("Vin", b.Vin(), "V"));
  b.drive("Vdrv", "drv", b.T(), 0);
  if (clamp) {
    n.card("Llk in p1 " + num(in.Per * 0.01 * Lp) + " IC=" + num(ipStart),
           "leakage: " + shown("Per", in.Per, "%") + " of " + shown("Lp", d.Lp, "uH"));
  } else {
    n.card("Vlk in p1 DC 0", "no leakage inductance");
  }
  n.card("Vip p1 p2 DC 0", "sense: primary current");
  n.card("Lp p2 d " + num(Lp) + " IC=" + num(ipStart),
         shown("Lp", d.Lp, "uH") + " with " + shown("Np", d.Np));
  n.card("Ls 0 sa " + num(Ls) + " IC=0", "Ls = Lp*(Ns/Np)^2 with " + shown("Ns", d.Ns) +
                                             " (the window shows " + shown("Ls", d.Ls, "uH") + ")");
  couple(n, {"Lp", "Ls"});
  n.card("S1 d s drv 0 SW", "switch");
  n.card("Visw s 0 DC 0", "sense: switch current");
  if (clamp) {
    const double Vc = double{in.Vswm} - in.Vswr - acPeak(in.VacMax);
    n.card(".model DC sidiode(Roff=1e9 Ron=" +
               num(0.01 * b.Vin() / std::max(p.iPeak * ratio, 1e-6)) + " Vfwd=0.01 Vrev=1e5)",
           "clamp diode, near ideal");
    n.card("a2 d c DC", "clamp diode into the clamp capacitor");
    n.card("Rlk c in " + num(clamp->Rlk * 1e3), shown("Rlk", clamp->Rlk, "kOhm"));
    n.card("Clk c in " + num(clamp->Clk * kNano) + " IC=" + num(std::max(Vc, 0.0)),
           shown("Clk", clamp->Clk, "nF") + ", starting at Vswm - Vswr - 1.414*VacMax");
    n.card("Bvc vc 0 V = v(c) - v(in)", "the clamp voltage above the input");
  }
  n.card("Vid sa sd DC 0", "sense: rectifier current");
  n.card("a1 sd out DX", "output rectifier");
  b.outputFilter(d.Co * kMicro, shown("Co", d.Co, "uF"),
                 filterInductance(Ls, StageKind::BuckBoost, p));
  // Magnetising current: the primary's and the secondary's ampere-turns together.
  const std::string im = "(i(Vip) + " + num(ratio) + " * i(Vid))";
  b.senses(num(1 / ratio) + " * " + im, num(d.Lp * 1e4 / (double{d.Np} * in.Ae)) + " * " + im);
  return b.deck(b.finish(b.T(), "v(d)", "i(Visw)", "i(Vid)", clamp ? "v(vc)" : ""));
}

Deck rccDeck(const RccInputs& in, const RccDesign& d, const Drive& drive) {
  Builder b("* ringing choke converter as designed", drive);
  const StagePoint& p = drive.point;
  b.require(usable(d.Lp), "the primary inductance is not positive");
  b.require(wholeTurns(d.Np) && wholeTurns(d.Ns), "a winding has no turns");
  b.require(usable(in.Ae), "the core area is not positive");
  if (b.failed()) return b.deck("");
  Netlist& n = b.n();
  const double ratio = double{d.Ns} / d.Np;
  const double Lp = d.Lp * kMicro;
  const double Ls = Lp * ratio * ratio;
  b.models(p.iPeak * ratio, in.Vdf, p.iPeak);
  n.card("Vin in 0 DC " + num(b.Vin()), "rectified mains: " + shown("Vin", b.Vin(), "V"));
  b.drive("Vdrv", "drv", b.T(), 0);
  n.card("Vip in p DC 0", "sense: primary current");
  n.card("Lp p d " + num(Lp) + " IC=0", shown("Lp", d.Lp, "uH") + " with " + shown("Np", d.Np));
  n.card("Ls 0 sa " + num(Ls) + " IC=0", "Ls = Lp*(Ns/Np)^2 with " + shown("Ns", d.Ns) +
                                             " (the window shows " + shown("Ls", d.Ls, "uH") + ")");
  couple(n, {"Lp", "Ls"});
  n.card("S1 d s1 drv 0 SW", "switch");
  n.card("Vsw s1 0 DC " + num(in.Vsw), "switch drop " + shown("Vsw", in.Vsw, "V"));
  n.card("Vid sa sd DC 0", "sense: rectifier current");
  n.card("a1 sd out DX", "output rectifier");
  // The window sizes no output capacitor: one that holds a period's load charge to 1 % of
  // Vo, which keeps the ripple small against the DC point.
  const double C = p.Io * p.T * kMicro / (0.01 * p.Vo);
  b.outputFilter(C, "Co chosen (the window sizes none): a period's load charge is 1 % of Vo",
                 filterInductance(Ls, StageKind::BuckBoost, p));
  const std::string im = "(i(Vip) + " + num(ratio) + " * i(Vid))";
  b.senses(num(1 / ratio) + " * " + im, num(d.Lp * 1e4 / (double{d.Np} * in.Ae)) + " * " + im);
  return b.deck(b.finish(b.T(), "v(d)", "i(Vsw)", "i(Vid)"));
}

Deck forwardDeck(const ForwardInputs& in, const ForwardDesign& d, const Drive& drive) {
  Builder b("* forward as designed, reset winding as long as the primary", drive);
  const StagePoint& p = drive.point;
  b.require(wholeTurns(d.Np) && wholeTurns(d.Ns), "a winding has no turns");
  b.require(usable(d.Lo), "the output inductance is not positive");
  b.require(usable(in.Ae), "the core area is not positive");
  if (b.failed()) return b.deck("");
  Netlist& n = b.n();
  const double ratio = double{d.Ns} / d.Np;
  // The window computes no magnetising inductance: one whose current peaks at a few % of the
  // reflected load at the lowest input and Dmax keeps the transformer close to ideal.
  const double Lm =
      acPeak(in.VacMin) * (in.Dmax * 1000 / in.f) * kMicro / (kMagnetisingShare * in.Io * ratio);
  const double Lsec = Lm * ratio * ratio;
  const double Lo = d.Lo * kMicro;
  b.models(p.iPeak * ratio, in.Vdf, p.iPeak);
  n.card(".model DR sidiode(Roff=1e9 Ron=" + num(0.01 * b.Vin() / std::max(p.iPeak, 1e-6)) +
             " Vfwd=0.01 Vrev=1e5)",
         "reset diode, near ideal");
  n.card("Vin in 0 DC " + num(b.Vin()), "rectified mains: " + shown("Vin", b.Vin(), "V"));
  b.drive("Vdrv", "drv", b.T(), 0);
  n.card("Vip in p DC 0", "sense: primary current");
  n.card("Lpri p d " + num(Lm) + " IC=0",
         "primary, " + shown("Np", d.Np) +
             "; magnetising inductance chosen (the window computes none): its current peaks "
             "at 3 % of the reflected load at VacMin and Dmax");
  n.card("Lres 0 r " + num(Lm) + " IC=0", "reset winding, as many turns as the primary");
  n.card("Lsec a 0 " + num(Lsec) + " IC=0", "secondary, " + shown("Ns", d.Ns));
  couple(n, {"Lpri", "Lres", "Lsec"});
  n.card("S1 d s drv 0 SW", "switch");
  n.card("Visw s 0 DC 0", "sense: switch current");
  n.card("Vir r rr DC 0", "sense: reset current");
  n.card("a3 rr in DR", "reset diode back to the input");
  n.card("Vid a a1 DC 0", "sense: forward diode current");
  n.card("a1 a1 x DX", "forward diode");
  n.card("Vif 0 f DC 0", "sense: freewheeling diode current");
  n.card("a2 f x DX", "freewheeling diode");
  n.card("Vil x xl DC 0", "sense: output inductor current");
  n.card("Lo xl out " + num(Lo) + " IC=" + num(p.iStart), shown("Lo", d.Lo, "uH"));
  b.outputFilter(chosenCapacitor(p),
                 "Co chosen (the window sizes none): 0.4*Io of ripple gives 0.5 % of Vo", Lo);
  const std::string im = "(i(Vip) + i(Vir) - " + num(ratio) + " * i(Vid))";
  b.senses("i(Vil)", num(Lm * 1e4 / kMicro / (double{d.Np} * in.Ae)) + " * " + im);
  return b.deck(b.finish(b.T(), "v(d)", "i(Visw)", "i(Vid)"));
}

Deck bridgeDeck(BridgeKind kind, const BridgeInputs& in, const BridgeDesign& d,
                const Drive& drive) {
  const char* name = kind == BridgeKind::PushPull     ? "push-pull"
                     : kind == BridgeKind::HalfBridge ? "half-bridge"
                                                      : "full-bridge";
  Builder b(std::string("* ") + name + " as designed, centre-tapped secondary", drive);
  const StagePoint& p = drive.point;
  b.require(wholeTurns(d.Np) && wholeTurns(d.Ns), "a winding has no turns");
  b.require(usable(d.Lo), "the output inductance is not positive");
  b.require(usable(in.Ae), "the core area is not positive");
  if (b.failed()) return b.deck("");
  Netlist& n = b.n();
  const double ratio = double{d.Ns} / d.Np;
  const double period = 2 * b.T();  // each switch or diagonal conducts once per period
  const double Vp = primaryVoltage(kind, b.Vin());
  // No magnetising inductance is computed: one whose current swings to a few % of the
  // reflected load at the lowest input and the longest on-time.
  const double Lm = primaryVoltage(kind, acPeak(in.VacMin)) * (in.Dmax * 0.5 * 1000 / in.f) *
                    kMicro / (2 * kMagnetisingShare * in.Io * ratio);
  const double Lsec = Lm * ratio * ratio;
  const double Lo = d.Lo * kMicro;
  // The magnetising current starts each period at the bottom of its swing; the secondary
  // halves share the inductor current while both diodes freewheel, and carry it.
  const double im0 = -Vp * b.Ton() / (2 * Lm);
  const double share = im0 / (2 * ratio);
  b.models(p.iPeak * ratio, in.Vdf, p.iPeak);
  n.card("Vin in 0 DC " + num(b.Vin()), "rectified mains: " + shown("Vin", b.Vin(), "V"));
  b.drive("VdrvA", "drvA", period, 0);
  b.drive("VdrvB", "drvB", period, b.T());
  const std::string primary = shown("Np", d.Np) +
                              "; magnetising inductance chosen (the window computes none): "
                              "its current swings to 3 % of the reflected load";
  switch (kind) {
    case BridgeKind::PushPull:
      // Centre-tapped primary dB-ct-dA, the centre tap at the input, a switch from each end
      // to ground; switch A puts the input across the half ct-dA.
      n.card("Lpa in pa " + num(Lm) + " IC=0", "primary half A, " + primary);
      n.card("Lpb pb in " + num(Lm) + " IC=0", "primary half B, " + shown("Np", d.Np));
      n.card("SA pa sa drvA 0 SW", "switch A");
      n.card("Visw sa 0 DC 0", "sense: switch A current");
      n.card("SB pb sb drvB 0 SW", "switch B");
      n.card("Visb sb 0 DC 0", "sense: switch B current");
      break;
    case BridgeKind::HalfBridge:
      // The input capacitors split the input: taken as stiff, a source of half of it.
      n.card("Vip pa pw DC 0", "sense: primary current");
      n.card("Lpa pw mid " + num(Lm) + " IC=0", "primary, " + primary);
      n.card("Vmid mid 0 DC " + num(b.Vin() / 2),
             "the split input capacitors, taken as stiff: the primary's end at half the input");
      n.card("SA in pa drvA 0 SW", "upper switch");
      n.card("SB pa 0 drvB 0 SW", "lower switch");
      break;
    case BridgeKind::FullBridge:
      n.card("Vip pa pw DC 0", "sense: primary current");
      n.card("Lpa pw pb " + num(Lm) + " IC=0", "primary, " + primary);
      n.card("SA1 in pa drvA 0 SW", "diagonal A, upper");
      n.card("SA2 pb 0 drvA 0 SW", "diagonal A, lower");
      n.card("SB1 in pb drvB 0 SW", "diagonal B, upper");
      n.card("SB2 pa 0 drvB 0 SW", "diagonal B, lower");
      break;
  }
  n.card("Lsa a 0 " + num(Lsec) + " IC=" + num(-p.iStart / 2 + share),
         "secondary half A, " + shown("Ns", d.Ns));
  n.card("Lsb 0 b " + num(Lsec) + " IC=" + num(p.iStart / 2 + share),
         "secondary half B, " + shown("Ns", d.Ns));
  if (kind == BridgeKind::PushPull) {
    couple(n, {"Lpa", "Lpb", "Lsa", "Lsb"});
  } else {
    couple(n, {"Lpa", "Lsa", "Lsb"});
  }
  n.card("Vida a a1 DC 0", "sense: diode A current");
  n.card("aDA a1 x DX", "rectifier of half A");
  n.card("Vidb b b1 DC 0", "sense: diode B current");
  n.card("aDB b1 x DX", "rectifier of half B");
  n.card("Vil x xl DC 0", "sense: output inductor current");
  n.card("Lo xl out " + num(Lo) + " IC=" + num(p.iStart), shown("Lo", d.Lo, "uH"));
  b.outputFilter(chosenCapacitor(p),
                 "Co chosen (the window sizes none): 0.4*Io of ripple gives 0.5 % of Vo", Lo);
  // Magnetising current referred to the primary (one half of the push-pull's).
  const std::string ip = kind == BridgeKind::PushPull ? "(i(Visw) - i(Visb))" : "i(Vip)";
  const std::string im = "(" + ip + " + " + num(ratio) + " * (i(Vidb) - i(Vida)))";
  b.senses("i(Vil)", num(Lm * 1e4 / kMicro / (double{d.Np} * in.Ae)) + " * " + im);
  // The primary winding's current: the push-pull's one half is its switch's.
  const std::string primaryCurrent = kind == BridgeKind::PushPull ? "i(Visw)" : ip;
  // Switch A's voltage: the push-pull's to ground, the bridges' upper one's from the input.
  const std::string switchVoltage = kind == BridgeKind::PushPull ? "v(pa)" : "v(in) - v(pa)";
  return b.deck(b.finish(period, switchVoltage, primaryCurrent, "i(Vida)"));
}

}  // namespace tarnex::sim
