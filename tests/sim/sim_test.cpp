// Every design window's designs (rows.txt) built as circuits and simulated in ngspice, each run
// through its window as tarnex-calc runs it, so that the refusals and the rounding of the
// fields are the window's own. The numbers as the window shows them (six digits: what an
// engineer builds) go into a deck of the power stage, which ngspice runs open loop at the
// lowest input and the window's longest on-time, and regulated at both ends of the input
// range; the circuit is held to what the window promises and what the design check says.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "base/number_text.h"
#include "designs/design_check.h"
#include "designs/magnetics.h"
#include "designs/power_stage.h"
#include "sim/decks.h"
#include "sim_window.h"
#include "support/ngspice.h"

namespace tarnex {
namespace {

using sim::Deck;
using sim::Drive;
using testing::NgspiceRun;
using namespace simtest;

// --- tolerances, once for all rows -----------------------------------------------------

// The output open loop at the lowest input and the longest on-time: at least Vo less this,
// or this close to what the design check predicts there.
constexpr double kReachedShare = 0.03;
// Regulated at the check's on-time: the output this close to Vo, the inductor current's peak
// and ripple and the RMS currents this close to the check's steady state. The circuit has
// what the check's model leaves out (the switch's and the diodes' resistance, the
// magnetising current of the forward and the bridges, the flyback's leakage), each below 1 %.
constexpr double kRegulatedShare = 0.02;
constexpr double kPointShare = 0.05;
// The asked inductor ripple and output ripple, and the asked peak flux, at most this much over.
constexpr double kAskedOver = 0.10;
// The ripple at the other end of the input range this close to the check's.
constexpr double kOtherEndShare = 0.10;
// The flux within this share of the check's after the turns are rounded.
constexpr double kFluxShare = 0.05;
// A current the window shows no more than this much below the simulated one.
constexpr double kShownBelow = 0.10;
// The flyback's clamp voltage at the highest input at most this much above the one the
// window designs with, Vc, so that the switch keeps its margin; and at both ends this close
// to the check's.
constexpr double kClampShare = 0.05;
constexpr double kClampStatedShare = 0.05;
// Discontinuous: the inductor current rests at zero for at least this share of the period.
// Critical conduction: for at most this share (the deck counts the time the current lies
// below 2 % of its peak, which a triangle from zero to its peak and back spends 2 % of the
// period in, without any rest), and its least current at most this share of its peak.
constexpr double kLeastRest = 0.01;
constexpr double kCriticalRest = 0.035;
// ngspice's time limit for one deck.
constexpr double kDeckSeconds = 60;

// --- what the design check states, and what the window promises --------------------------

// The design check's statements (design_check.h) the suite compares the circuit with: the
// stage referred to the secondary, regulated at both ends of the input range, open loop at the
// window's longest on-time at the lowest input, and the peak flux after rounding.
struct Stated {
  StagePoint low, high, reachedLow;
  bool predictsReached = false;  // the check predicts the open-loop output (reachedLow.Vo)
  double Bpeak = 0;
  double clampLow = 0, clampHigh = 0;  // flyback
};

// How the flux is read from the simulated core.
enum class Flux {
  Peak,       // a gapped core: the peak (DC-DC inductor, flyback, ringing choke)
  Swing,      // the forward: from zero after each reset to the peak
  HalfSwing,  // push-pull and bridges: half the swing, the window's 1/2△B
};

// What a window promises about its design, in the circuit's terms.
struct Promise {
  double Vo = 0;
  // The inductor ripple asked (as the stage sees it, A) and whether at the highest input.
  double ripple = 0;
  bool rippleAtHigh = false;
  double Vopp = 0;  // V; 0 when the window sizes no output capacitor
  bool voppAtHigh = false;
  bool discontinuous = false;
  double Bpk = 0;
  Flux flux = Flux::Peak;
  double Bsat = 0;             // a window that refuses saturation
  double Isw = 0, Idiode = 0;  // RMS currents the window shows for the switch and the diode
  double clamp = 0;            // the flyback's Vc
  double fMin = 0;             // the ringing choke's lowest frequency (full load, low line), kHz
};

// The deck writers for a drive, the two input voltages, and how the measured switch and diode
// currents follow from a steady state of the referred stage.
struct Plan {
  Stated stated;
  Promise promise;
  double VinLow = 0, VinHigh = 0;
  // The circuit as built (the flyback with its leakage and clamp).
  std::function<Deck(const Drive&)> deck;
  // The transformer as the window designs it, when that differs from the circuit as built:
  // the flyback without leakage (the window sizes its currents for that; what the leakage adds
  // is the design check's finding), regulated at both ends.
  std::function<Deck(const Drive&)> designedDeck;
  StagePoint designedLow, designedHigh;
  // The turns ratio the window computes before rounding (forward, push-pull, bridges), open
  // loop at Dmax at the lowest input: it must give Vo, whatever the rounding does after it.
  std::function<Deck(const Drive&)> ratioDeck;
  StagePoint ratioLow;
  std::function<double(const StagePoint&)> switchRms = [](const StagePoint& s) {
    return s.switchRms;
  };
  std::function<double(const StagePoint&)> diodeRms = [](const StagePoint& s) {
    return s.diodeRms;
  };
};

// The output `Ton` reaches open loop at the stage's input into the full load.
StagePoint openLoop(const Stage& s, double Ton) {
  return driveAt(s, Ton, s.Vo / s.Io);
}

// The check's statements at both ends, and the open-loop output where the check states one
// (the ringing choke's lowest-input point is the one it reaches).
template <class Check>
Stated statedBy(const Check& c) {
  Stated st{c.low, c.high, c.low, false, c.Bpeak};
  if constexpr (requires { c.reachedLow; }) {
    st.reachedLow = c.reachedLow;
    st.predictsReached = true;
  }
  return st;
}

// A window fed from the rectified mains (both ends at the peaks of VacMin and VacMax), its
// stage referred to the secondary: the switch carries the stage's current over the ratio.
template <class In, class Design, class Check>
Plan mainsPlan(const In& in, const Design& d, const Check& c, float Bpk) {
  Plan p;
  p.VinLow = acPeak(in.VacMin);
  p.VinHigh = acPeak(in.VacMax);
  p.stated = statedBy(c);
  p.promise.Vo = in.Vo;
  p.promise.Bpk = Bpk;
  p.promise.Isw = d.Irmsp;
  p.promise.Idiode = d.Irmss;
  p.switchRms = [n = c.n](const StagePoint& s) { return s.switchRms / n; };
  return p;
}

Plan dcdcPlan(const Shown& w) {
  const auto topology = static_cast<DcDcTopology>(w.selection("topology"));
  const DcDcMode mode = w.selection("mode") == 1 ? DcDcMode::Dcm : DcDcMode::Ccm;
  const bool dcm = mode == DcDcMode::Dcm;
  const DcDcInputs in = w.read(kDcDcInputs);
  const DcDcOutputs out = w.read(kDcDcOutputs);
  const DcDcCheck c = checkDcDc(topology, mode, in, out);
  Plan p;
  p.VinLow = in.VinMin;
  p.VinHigh = in.VinMax;
  p.stated = statedBy(c);
  // The on-time the window designs with at the lowest input: the buck's duty there (less the
  // dead time in DCM), the others' shown Ton. The check states no output there.
  double TonLow = out.Ton;
  if (topology == DcDcTopology::Buck) {
    TonLow = 1000 / double{in.f} * (double{in.Vo} + in.Vdf) / (double{in.VinMin} - in.Vsw + in.Vdf);
    if (dcm) TonLow *= 1 - in.Ptd * 0.01;
  }
  p.stated.reachedLow = openLoop(c.lowStage, TonLow);

  Promise& pr = p.promise;
  pr.Vo = in.Vo;
  if (!dcm) {
    // The buck designs its inductor at VinMax with r of the load, boost and buck-boost at
    // VinMin with r of IL = IoMax / (1 − Duty).
    pr.rippleAtHigh = topology == DcDcTopology::Buck;
    pr.ripple = in.r * (pr.rippleAtHigh ? in.IoMax : in.IoMax / (1 - double{out.Duty}));
  }
  pr.Vopp = in.Vopp * 0.001;
  pr.voppAtHigh = topology == DcDcTopology::Buck;  // its Ton is taken at VinMax
  pr.discontinuous = dcm;
  pr.Bpk = in.Bpk;
  pr.Bsat = in.Bsat;
  pr.Isw = out.Iswrms;
  pr.Idiode = out.Idrms;
  p.deck = [=](const Drive& d) { return sim::dcdcDeck(topology, in, out, d); };
  return p;
}

Plan flybackPlan(const Shown& w) {
  const FlybackInputs in = w.read(kFlybackInputs);
  const FlybackDesign d = w.read(kFlybackDesign);
  const FlybackClamp clamp{w["Rlk"], w["Clk"]};
  const bool continuous = w.selection("mode") == 0;
  const FlybackCheck c = checkFlyback(continuous, in, d, clamp);
  Plan p = mainsPlan(in, d, c, in.Bpk);
  p.stated.clampLow = c.clampLow;
  p.stated.clampHigh = c.clampHigh;
  Promise& pr = p.promise;
  // r of the primary centre current Ipkp / (1 + r/2) at VacMin, referred to the secondary.
  if (continuous) pr.ripple = in.r * d.Ipkp / (1 + in.r / 2) * c.n;
  pr.Vopp = in.Vopp * 0.001;
  pr.discontinuous = !continuous;
  pr.clamp = double{in.Vswm} - in.Vswr - acPeak(in.VacMax);
  p.deck = [=](const Drive& dr) { return sim::flybackDeck(in, d, clamp, dr); };
  p.designedDeck = [=](const Drive& dr) { return sim::flybackDeck(in, d, std::nullopt, dr); };
  Stage lowBare = c.lowStage, highBare = c.highStage;
  lowBare.Llk = highBare.Llk = 0;
  p.designedLow = regulate(lowBare);
  p.designedHigh = regulate(highBare);
  return p;
}

Plan rccPlan(const Shown& w) {
  const RccInputs in = w.read(kRccInputs);
  const RccDesign d = w.read(kRccDesign);
  // Critical conduction: full load at the lowest input, the minimum load at the highest.
  Plan p = mainsPlan(in, d, checkRcc(in, d), in.Bpk);
  p.promise.fMin = in.fMin;
  p.deck = [=](const Drive& dr) { return sim::rccDeck(in, d, dr); };
  return p;
}

Plan forwardPlan(const Shown& w) {
  const ForwardInputs in = w.read(kForwardInputs);
  const ForwardDesign d = w.read(kForwardDesign);
  // The output inductor behind the rectifier: the forward diode drops Vdf while the switch
  // conducts, the freewheeling diode Vdf while it does not.
  Plan p = mainsPlan(in, d, checkForward(in, d), in.Bpk);
  p.promise.flux = Flux::Swing;
  p.deck = [=](const Drive& dr) { return sim::forwardDeck(in, d, dr); };
  ForwardDesign unrounded = d;
  const double ratio = forwardVerify(in).n;
  unrounded.Np = toSingle(ratio * d.Ns);
  p.promise.ripple = 0.4 * in.Io;
  p.promise.rippleAtHigh = true;
  p.ratioDeck = [=](const Drive& dr) { return sim::forwardDeck(in, unrounded, dr); };
  p.ratioLow =
      openLoop(Stage{StageKind::Buck, p.VinLow / ratio, in.Vdf, in.Vdf, in.Vo, in.Io, d.Lo, in.f},
               in.Dmax * 1000 / in.f);
  p.diodeRms = [](const StagePoint& s) { return s.switchRms; };
  return p;
}

Plan bridgePlan(const Shown& w, BridgeKind kind) {
  const BridgeInputs in = w.read(kBridgeInputs);
  const BridgeDesign d = w.read(kBridgeDesign);
  // The output inductor behind the centre-tapped rectifier sees twice the switching
  // frequency; both diodes freewheel it, each at Vdf.
  const BridgeCheck c = checkBridge(kind, in, d);
  Plan p = mainsPlan(in, d, c, in.DB);
  p.promise.flux = Flux::HalfSwing;
  p.deck = [=](const Drive& dr) { return sim::bridgeDeck(kind, in, d, dr); };
  BridgeDesign unrounded = d;
  const BridgeProcedure procedure = kind == BridgeKind::PushPull     ? designPushPull
                                    : kind == BridgeKind::HalfBridge ? designHalfBridge
                                                                     : designFullBridge;
  const double ratio = procedure(in).n;
  unrounded.Np = toSingle(ratio * d.Ns);
  p.promise.ripple = 0.4 * in.Io;
  p.promise.rippleAtHigh = true;
  p.ratioDeck = [=](const Drive& dr) { return sim::bridgeDeck(kind, in, unrounded, dr); };
  p.ratioLow = openLoop(Stage{StageKind::Buck, bridgePrimaryVoltage(kind, p.VinLow) / ratio, in.Vdf,
                              in.Vdf, in.Vo, in.Io, d.Lo, 2.0 * in.f},
                        in.Dmax * 1000 / (2.0 * in.f));
  // One switch of the push-pull carries one primary half's share; the primary of the bridges
  // carries every on-time. A diode carries the inductor current while its half delivers and
  // half of it while both freewheel.
  const double perSwitch = kind == BridgeKind::PushPull ? std::sqrt(0.5) : 1;
  p.switchRms = [n = c.n, perSwitch](const StagePoint& s) { return s.switchRms / n * perSwitch; };
  p.diodeRms = [](const StagePoint& s) {
    return std::sqrt(s.switchRms * s.switchRms / 2 + s.diodeRms * s.diodeRms / 4);
  };
  return p;
}

Plan planFor(const Shown& w) {
  Plan p = w.key == "dcdc"         ? dcdcPlan(w)
           : w.key == "flyback"    ? flybackPlan(w)
           : w.key == "forward"    ? forwardPlan(w)
           : w.key == "rcc"        ? rccPlan(w)
           : w.key == "pushpull"   ? bridgePlan(w, BridgeKind::PushPull)
           : w.key == "halfbridge" ? bridgePlan(w, BridgeKind::HalfBridge)
                                   : bridgePlan(w, BridgeKind::FullBridge);
  if (!p.designedDeck) {
    p.designedDeck = p.deck;
    p.designedLow = p.stated.low;
    p.designedHigh = p.stated.high;
  }
  return p;
}

// --- running a deck --------------------------------------------------------------------

struct Measured {
  std::string error;  // why nothing was measured
  double vo = NAN, vpp = NAN, ilmax = NAN, ilmin = NAN, isw = NAN, idiode = NAN, dead = NAN,
         bmax = NAN, bmin = NAN, vclamp = NAN;
  double ripple() const { return ilmax - ilmin; }
  double flux(Flux f) const {
    return f == Flux::Peak ? bmax : f == Flux::Swing ? bmax - bmin : (bmax - bmin) / 2;
  }
};

Measured simulate(const std::function<Deck(const Drive&)>& writer, double Vin,
                  const StagePoint& point) {
  Measured m;
  if (!point.valid) {
    m.error = "the stage has no steady state there";
    return m;
  }
  const Deck deck = writer(Drive{Vin, point});
  if (!deck.ok()) {
    m.error = "no circuit: " + deck.error;
    return m;
  }
  const NgspiceRun run = testing::runNgspice(deck.netlist, kDeckSeconds);
  if (!run.ok()) {
    m.error = run.error + "\n" + deck.netlist;
    return m;
  }
  const auto v = [&](const char* name) { return run.run.value(name).value_or(NAN); };
  m.vo = v("vo"), m.vpp = v("vpp"), m.ilmax = v("ilmax"), m.ilmin = v("ilmin"), m.isw = v("isw");
  m.idiode = v("idiode"), m.dead = v("dead"), m.bmax = v("bmax"), m.bmin = v("bmin");
  m.vclamp = v("vclamp");
  return m;
}

class Simulated : public ::testing::TestWithParam<Row> {};

TEST_P(Simulated, BehavesAsTheWindowPromises) {
  ASSERT_TRUE(testing::ngspiceInstalled())
      << "ngspice is not installed: the simulation suite runs every design in it (Debian "
         "package ngspice, which ./dev test installs)";
  const Shown w(GetParam().command);
  if (!GetParam().message.empty()) {
    EXPECT_FALSE(w.written()) << "the window shows a design for conditions it must refuse";
    EXPECT_NE(w.messages().find(GetParam().message), std::string::npos)
        << "refused with" << w.messages();
    return;
  }
  ASSERT_TRUE(w.written()) << "the window refused:" << w.messages();
  const Plan p = planFor(w);
  const Promise& pr = p.promise;
  const Stated& st = p.stated;

  const Measured low = simulate(p.deck, p.VinLow, st.low);
  const Measured high = simulate(p.deck, p.VinHigh, st.high);
  ASSERT_TRUE(low.error.empty()) << "lowest input: " << low.error;
  ASSERT_TRUE(high.error.empty()) << "highest input: " << high.error;
  // The ringing choke runs in critical conduction, regulated by its own frequency: its
  // lowest-input point is the one it reaches.
  const bool openLoopRun = w.key != "rcc";
  const Measured reached = openLoopRun ? simulate(p.deck, p.VinLow, st.reachedLow) : low;
  // The transformer as the window designs it, where the circuit as built differs (the
  // flyback's leakage): the currents the window shows are sized for it.
  const bool designedRuns = pr.clamp > 0;
  const Measured designedLow =
      designedRuns ? simulate(p.designedDeck, p.VinLow, p.designedLow) : low;
  const Measured designedHigh =
      designedRuns ? simulate(p.designedDeck, p.VinHigh, p.designedHigh) : high;
  ASSERT_TRUE(designedLow.error.empty() && designedHigh.error.empty())
      << "as designed: " << designedLow.error << designedHigh.error;
  // The window's own turns ratio before rounding, at Dmax and the lowest input.
  const Measured ratio = p.ratioDeck ? simulate(p.ratioDeck, p.VinLow, p.ratioLow) : Measured{};
  ASSERT_TRUE(ratio.error.empty()) << "with the unrounded turns ratio: " << ratio.error;
  ASSERT_TRUE(reached.error.empty()) << "open loop: " << reached.error;
  std::printf(
      "sim %s: reached %.4g (stated %.4g) low %.4g high %.4g V; ripple %.4g/%.4g A "
      "(stated %.4g/%.4g); Vpp %.4g/%.4g V; B %.4g G (stated %.4g); Isw %.4g/%.4g "
      "Id %.4g/%.4g A; clamp %.4g V (stated %.4g); dead %.3g\n",
      w.key.c_str(), reached.vo, st.reachedLow.Vo, low.vo, high.vo, low.ripple(), high.ripple(),
      st.low.ripple(), st.high.ripple(), low.vpp, high.vpp,
      std::max({reached.flux(pr.flux), low.flux(pr.flux), high.flux(pr.flux)}), st.Bpeak, low.isw,
      high.isw, low.idiode, high.idiode, high.vclamp, st.clampHigh, low.dead);

  // Open loop at the lowest input and the longest on-time: at least Vo, unless the check
  // announces the shortfall.
  if (openLoopRun && reached.vo < pr.Vo * (1 - kReachedShare)) {
    EXPECT_TRUE(st.predictsReached && near(reached.vo, st.reachedLow.Vo, kReachedShare))
        << "open loop at the lowest input the output reaches " << reached.vo << " V of " << pr.Vo
        << " V, unannounced";
  }

  // The turns ratio the window computes gives Vo at Dmax from the lowest input, before its
  // turns are rounded (what the rounding then does is the check's to announce, above).
  if (p.ratioDeck) {
    EXPECT_GE(ratio.vo, pr.Vo * (1 - kReachedShare))
        << "the window's own turns ratio reaches only " << ratio.vo << " V of " << pr.Vo
        << " V at Dmax and the lowest input";
  }

  // Regulated at both ends: the check's model of the stage holds.
  for (const auto& [name, m, point] :
       {std::tuple{"lowest input", low, st.low}, std::tuple{"highest input", high, st.high}}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(near(m.vo, point.Vo, kRegulatedShare)) << "output";
    EXPECT_TRUE(near(m.ilmax, point.iPeak, kPointShare)) << "inductor peak";
    EXPECT_TRUE(near(m.ripple(), point.ripple(), kPointShare)) << "inductor ripple";
    EXPECT_TRUE(near(m.isw, p.switchRms(point), kPointShare)) << "switch RMS";
    EXPECT_TRUE(near(m.idiode, p.diodeRms(point), kPointShare)) << "diode RMS";
  }

  // The inductor ripple where the window designs it, and as stated at the other end.
  if (pr.ripple > 0) {
    const Measured& designed = pr.rippleAtHigh ? high : low;
    const Measured& other = pr.rippleAtHigh ? low : high;
    EXPECT_LE(designed.ripple(), pr.ripple * (1 + kAskedOver))
        << "inductor ripple at the input the window designs it for";
    EXPECT_TRUE(near(other.ripple(), (pr.rippleAtHigh ? st.low : st.high).ripple(), kOtherEndShare))
        << "inductor ripple at the other end of the input range";
  }
  if (pr.discontinuous) {
    EXPECT_GE(low.dead, kLeastRest) << "discontinuous at the lowest input: the inductor current "
                                       "never rests at zero";
  }
  if (pr.Vopp > 0) {
    EXPECT_LE((pr.voppAtHigh ? high : low).vpp, pr.Vopp * (1 + kAskedOver)) << "output ripple";
  }
  // The ringing choke at full load and low line: the circuit switches on just as its current
  // ends at the check's period, so that period is the one it runs at, and it must not fall
  // below the lowest frequency the window designs for.
  if (pr.fMin > 0) {
    EXPECT_LE(low.dead, kCriticalRest) << "critical conduction: the current rests at zero";
    EXPECT_LE(low.ilmin, kCriticalRest * low.ilmax) << "critical conduction: continuous";
    EXPECT_GE(1000 / st.low.T, pr.fMin * (1 - kAskedOver))
        << "the ringing choke runs at full load and low line below its lowest frequency";
  }

  // Peak flux: as asked, or as the check states it after rounding; never into saturation
  // where the window would refuse it.
  const double B = pr.flux == Flux::Peak ? std::max(low.flux(pr.flux), high.flux(pr.flux))
                                         : reached.flux(pr.flux);
  if (B > pr.Bpk * (1 + kAskedOver)) {
    EXPECT_TRUE(near(B, st.Bpeak, kFluxShare)) << "peak flux " << B << " G, asked " << pr.Bpk;
  }
  if (pr.Bsat > 0) {
    EXPECT_LE(B, pr.Bsat) << "the core saturates and the window says nothing";
  }

  // The currents the window shows carry at least what its design does, less a margin.
  if (pr.Isw > 0) {
    EXPECT_GE(pr.Isw, (1 - kShownBelow) * std::max(designedLow.isw, designedHigh.isw))
        << "switch RMS shown";
  }
  if (pr.Idiode > 0) {
    EXPECT_GE(pr.Idiode, (1 - kShownBelow) * std::max(designedLow.idiode, designedHigh.idiode))
        << "diode RMS shown";
  }

  // The clamp holds the switch within its rating at the highest input (the clamp at most
  // Vc above the input peak), and it settles where the check's energy balance puts it.
  if (pr.clamp > 0) {
    EXPECT_LE(high.vclamp, pr.clamp * (1 + kClampShare)) << "clamp voltage at the highest input";
    for (const auto& [name, m, stated] : {std::tuple{"lowest input", low, st.clampLow},
                                          std::tuple{"highest input", high, st.clampHigh}}) {
      EXPECT_TRUE(near(m.vclamp, stated, kClampStatedShare)) << "clamp voltage at the " << name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Designs, Simulated, ::testing::ValuesIn(rowsOf(false)));

}  // namespace
}  // namespace tarnex
