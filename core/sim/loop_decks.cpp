#include "sim/loop_decks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "sim/netlist.h"

namespace tarnex::sim {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kMicro = 1e-6, kPico = 1e-12, kNano = 1e-9, kKilo = 1e3;
// The op-amp's open-loop gain, 160 dB: every network's gain lies decades below it over the
// sweep, so the finite gain moves no corner of it.
constexpr double kOpAmpGain = 1e8;
// The transconductance amplifier's output resistance: it gives the output node the DC path the
// operating point needs and lies decades above the network's impedance over the sweep.
constexpr double kOtaOutput = 1e12;
// Points per decade of the sweep: linear interpolation in log f between them finds a crossover
// to far better than a per mille.
constexpr int kPointsPerDecade = 100;

// What the source and the loop-gain node of a loop deck stand for.
constexpr const char* kBreak =
    "the loop broken where the network takes in the sensed output: 1 V AC stands for it";
constexpr const char* kReturn =
    "loop gain: minus the return, the amplifier's inversion taken out as the page plots it";

bool usable(double v) {
  return std::isfinite(v) && v > 0;
}

std::string num(double v) {
  return spiceNumber(v);
}

// Corner frequency in Hz of a time constant in seconds.
double corner(double tau) {
  return 1 / (kTwoPi * tau);
}

// The cards every loop deck shares: the source that breaks the loop, the network, the sweep.
class LoopBuilder {
 public:
  explicit LoopBuilder(std::string_view title) : n_(title) {}

  bool require(bool ok, std::string_view why) {
    if (!ok && error_.empty()) error_ = why;
    return ok;
  }
  bool failed() const { return !error_.empty(); }
  Netlist& n() { return n_; }

  // A frequency (Hz) the sweep must take in with two decades below and one above.
  void mark(double f) {
    if (!usable(f)) return;
    lo_ = std::min(lo_, f);
    hi_ = std::max(hi_, f);
  }

  void source(std::string_view why = kBreak) { n_.card("Vinj inj 0 DC 0 AC 1", why); }

  // The op-amp with R1 (Ω) from the source to its inverting input and R2–C1 ∥ C2 (Ω; C1, C2 in
  // F, the parts' own values in `unit` for the comments) from there to its output `ea`.
  void opAmpNetwork(double R1, std::string_view r1Why, const ZeroPoleParts& p, double C1, double C2,
                    std::string_view unit) {
    n_.card("R1 inj n " + num(R1), r1Why);
    opAmp();
    zeroPole("n", "ea", p, C1, C2, unit);
  }

  void opAmp() {
    n_.card("Eea ea 0 0 n " + num(kOpAmpGain),
            "op-amp (not of the page): 160 dB into its inverting input, the reference grounded");
  }

  // R2 from `from` to the node z, C1 from z to `to`, C2 across from `from` to `to`.
  void zeroPole(std::string_view from, std::string_view to, const ZeroPoleParts& p, double C1,
                double C2, std::string_view unit) {
    require(usable(p.R2) && usable(C1) && usable(C2), "the network has no usable R2, C1 or C2");
    const std::string whose = ", the " + std::string(p.whose) + "'s";
    n_.card("R2 " + std::string(from) + " z " + num(p.R2), shown("R2", p.R2, "Ohm") + whose);
    n_.card("C1 z " + std::string(to) + " " + num(C1), shown("C1", p.C1, unit) + whose);
    n_.card("C2 " + std::string(from) + " " + std::string(to) + " " + num(C2),
            shown("C2", p.C2, unit) + whose);
    mark(corner(p.R2 * C1));
    mark(corner(p.R2 * C1 * C2 / (C1 + C2)));
  }

  // The loop gain: minus the return at `node`, the amplifier's inversion taken out.
  void loopGain(std::string_view node, std::string_view why = kReturn) {
    n_.card("Elg lg 0 " + std::string(node) + " 0 -1", why);
  }

  Deck finish() {
    if (failed()) return {"", error_};
    if (!require(usable(lo_) && usable(hi_), "the loop has no frequency to sweep")) {
      return {"", error_};
    }
    n_.comment("the sweep: two decades below the lowest corner to a decade above the highest");
    n_.card(".options nopage");
    n_.card(".ac dec " + std::to_string(kPointsPerDecade) + " " + num(lo_ / 100) + " " +
            num(hi_ * 10));
    n_.card(".print ac v(lg)");
    return {n_.text(), ""};
  }

 private:
  Netlist n_;
  std::string error_;
  double lo_ = std::numeric_limits<double>::infinity();
  double hi_ = 0;
};

}  // namespace

Deck currentModeLoopDeck(const CurrentModeInputs& in, const CurrentModeResults& r,
                         const ZeroPoleParts& network) {
  const bool ota = in.type == CurrentModeAmplifier::Transconductance;
  LoopBuilder b(std::string("* current-mode loop, ") +
                (ota ? "transconductance amplifier" : "op-amp") + ", the " +
                std::string(network.whose) + "'s network");
  Netlist& n = b.n();
  const double Vo = in.Vo, Io = in.Io, D = in.D, Dp = 1 - D;
  const double L = in.L * kMicro, Co = in.Co * kMicro, ESR = in.ESR, Ri = in.Ri;
  const double fsw = in.fsw * kKilo;
  const double RL = Vo / Io;
  const double wrhp = RL * Dp * Dp / (D * L);
  const double mc = r.Q + 0.5;
  // With a characteristic impedance of 1 Ω the sampling section's resistor is 1/Qs.
  const double Rs = std::numbers::pi * (mc * Dp - 0.5);
  const double wn = std::numbers::pi * fsw;
  b.require(in.type != CurrentModeAmplifier::None, "no amplifier type is selected");
  b.require(usable(RL) && usable(D) && usable(Dp) && usable(L),
            "the stage has no usable load, "
            "duty cycle or inductance");
  b.require(usable(Co) && usable(ESR) && usable(Ri) && usable(fsw) && usable(r.Rx),
            "the stage has no usable Co, ESR, Ri, fsw or Rx");
  b.require(std::isfinite(Rs) && Rs != 0, "the sampling poles are undamped (mc*D' = 0.5)");
  if (b.failed()) return b.finish();
  b.source();
  if (ota) {
    const double y = double{in.Vref} / Vo;
    b.require(usable(y) && usable(in.gm), "the amplifier has no usable Vref or gm");
    n.card("Ediv fb 0 inj 0 " + num(y),
           "divider Vref/Vo: " + shown("Vref", in.Vref, "V") + ", " + shown("Vo", Vo, "V"));
    n.card("Gea ea 0 fb 0 " + num(in.gm), "transconductance amplifier, " +
                                              shown("gm", in.gm, "A/V") +
                                              ": it draws gm*v(fb) from its output");
    n.card("Rdc ea 0 " + num(kOtaOutput),
           "its output resistance (not of the page): 1e12 Ohm, a DC path for the operating point");
    b.zeroPole("ea", "0", network, network.C1 * kMicro, network.C2 * kMicro, "uF");
  } else {
    b.require(usable(in.R1), "the amplifier has no usable R1");
    b.opAmpNetwork(in.R1, shown("R1", in.R1, "Ohm") + ", the divider's upper resistor", network,
                   network.C1 * kMicro, network.C2 * kMicro, "uF");
  }
  n.comment("the stage: the control voltage over Ri sets the inductor current, D' of it reaches");
  n.comment("the output, where Rx stands for the modulator and the load (page's results)");
  n.card("Gmod 0 out ea 0 " + num(Dp / Ri),
         "D'/Ri per volt: " + shown("D", D) + ", " + shown("Ri", Ri, "Ohm"));
  n.card("Rx out 0 " + num(r.Rx), shown("Rx", r.Rx, "Ohm") + ", the page's results");
  n.card("Co out esr " + num(Co), shown("Co", in.Co, "uF"));
  n.card("Resr esr 0 " + num(ESR), shown("ESR", ESR, "Ohm"));
  n.card("Erb rb 0 out 0 1", "buffer before the right-half-plane zero");
  n.card("Vcr rb rc DC 0", "sense: the current of Cr, s*Cr*v(out)");
  n.card("Cr rc 0 " + num(1 / wrhp),
         "Cr = 1/(wrhp*1 Ohm), wrhp = RL*D'^2/(D*L): " + shown("RL", RL, "Ohm") + " (Vo/Io), " +
             shown("L", in.L, "uH"));
  n.card("Hrhp rb rz Vcr 1", "v(rz) = v(out) - 1 Ohm * i(Vcr) = v(out)*(1 - s/wrhp)");
  n.card("Es s1 0 rz 0 1", "buffer before the sampling double pole");
  n.card("Rs s1 s2 " + num(Rs), "R = 1 Ohm/Qs = pi*(mc*D' - 0.5), " + shown("mc", mc) +
                                    " (Q + 0.5); negative puts the poles in the right half plane");
  n.card("Ls s2 vs " + num(1 / wn),
         "1 Ohm/wn, wn = pi*fsw: the double pole at half of " + shown("fsw", in.fsw, "kHz"));
  n.card("Cs vs 0 " + num(1 / wn), "1/(1 Ohm*wn)");
  b.loopGain("vs");
  b.mark(corner((r.Rx + ESR) * Co));
  b.mark(corner(ESR * Co));
  b.mark(wrhp / kTwoPi);
  b.mark(fsw);
  b.mark(in.fc * kKilo);
  return b.finish();
}

Deck typeIILoopDeck(const TypeIIInputs& in, const TypeIIStage& stage,
                    const ZeroPoleParts& network) {
  const bool forward = in.kind == TypeIIKind::Forward;
  LoopBuilder b(std::string("* type II loop, ") + (forward ? "forward type" : "DCM flyback") +
                ", the " + std::string(network.whose) + "'s network");
  Netlist& n = b.n();
  const double Vo = in.Vo, Co = in.Co * kMicro, ESR = in.ESR;
  b.require(in.kind != TypeIIKind::None, "no converter is selected");
  b.require(usable(Vo) && usable(Co) && usable(ESR) && usable(in.R1),
            "the stage has no usable Vo, Co, ESR or R1");
  if (b.failed()) return b.finish();
  b.source();
  b.opAmpNetwork(in.R1, shown("R1", in.R1, "Ohm"), network, network.C1 * kPico, network.C2 * kPico,
                 "pF");
  if (forward) {
    const double Vin = Vo / in.Dmax;
    const double A = Vin / in.Vramp;
    const double L = in.L * kMicro, RL = Vo / in.Iomax, y = double{in.Vref} / Vo;
    b.require(usable(A) && usable(L) && usable(RL) && usable(y),
              "the stage has no usable Dmax, Vramp, L, Iomax or Vref");
    n.card("Emod sw 0 ea 0 " + num(A), "modulator: the ramp " + shown("Vramp", in.Vramp, "V") +
                                           " switches " + shown("Vin", Vin, "V") + " (Vo/Dmax)" +
                                           " onto the filter");
    n.card("Lf sw out " + num(L), shown("L", in.L, "uH"));
    n.card("Co out esr " + num(Co), shown("Co", in.Co, "uF"));
    n.card("Resr esr 0 " + num(ESR), shown("ESR", ESR, "Ohm"));
    n.card("RL out 0 " + num(RL), "full load Vo/Iomax, " + shown("Iomax", in.Iomax, "A"));
    n.card("Ediv fb 0 out 0 " + num(y),
           "divider Vref/Vo, buffered as the page's stage has it: " + shown("Vref", in.Vref, "V"));
    b.loopGain("fb");
    b.mark(corner(std::sqrt(L * Co)));
  } else {
    const double RL = Vo / in.Iomin;
    const double g = 2 * stage.G0 / RL;
    b.require(usable(RL) && usable(g), "the stage has no usable Iomin or G0");
    n.card("Gmod 0 out ea 0 " + num(g),
           "averaged DCM switch: 2*G0/RL per volt, so that the DC gain into RL || RL is " +
               shown("G0", stage.G0) + " (step 2)");
    n.card("Rsw out 0 " + num(RL), "its own output resistance, as large as the load");
    n.card("RL out 0 " + num(RL), "lightest load Vo/Iomin, " + shown("Iomin", in.Iomin, "A"));
    n.card("Co out esr " + num(Co), shown("Co", in.Co, "uF"));
    n.card("Resr esr 0 " + num(ESR), shown("ESR", ESR, "Ohm"));
    b.loopGain("out");
    b.mark(corner((RL / 2 + ESR) * Co));
  }
  b.mark(corner(ESR * Co));
  b.mark(in.fc * kKilo);
  b.mark(in.fsw * kKilo);
  return b.finish();
}

Deck typeIILoadStepDeck(const TypeIIInputs& in, const ZeroPoleParts& network, int periods,
                        double after) {
  Netlist n("* type II loop, forward type, switching: a load step from 50 % to 100 %, the " +
            std::string(network.whose) + "'s network");
  const double Vo = in.Vo, Vin = Vo / in.Dmax, RL = Vo / in.Iomax, y = double{in.Vref} / Vo;
  const double L = in.L * kMicro, Co = in.Co * kMicro, ESR = in.ESR, R1 = in.R1;
  const double C1 = network.C1 * kPico, C2 = network.C2 * kPico, R2 = network.R2;
  const double T = 1 / (in.fsw * kKilo), D = in.Dmax, Vc = D * in.Vramp;
  if (in.kind != TypeIIKind::Forward || !usable(Vin) || !usable(RL) || !usable(y) || !usable(L) ||
      !usable(Co) || !usable(ESR) || !usable(R1) || !usable(T) || !usable(in.Vramp) || !(D < 1) ||
      !usable(R2) || !usable(C1) || !usable(C2) || periods < 20 || !usable(after)) {
    return {"", "the forward type's numbers make no switching circuit"};
  }
  const double t0 = periods * T + D * T / 2;
  n.card("Vin vin 0 DC " + num(Vin), "the input Vo/Dmax: " + shown("Dmax", in.Dmax));
  n.card("Vramp ramp 0 PULSE(0 " + num(in.Vramp) + " 0 " + num(T - 2e-9) + " 1e-9 1e-9 " + num(T) +
             ")",
         "sawtooth 0 to " + shown("Vramp", in.Vramp, "V") + " at " + shown("fsw", in.fsw, "kHz"));
  n.card("Bsw sw 0 V=v(vin)*0.5*(1+tanh(200*(v(ea)-v(ramp))))",
         "synchronous switch: the input while the amplifier's output lies above the ramp");
  n.card("Lf sw out " + num(L) + " IC=" + num(Vo / RL / 2), shown("L", in.L, "uH"));
  n.card("Co out esr " + num(Co) + " IC=" + num(Vo), shown("Co", in.Co, "uF"));
  n.card("Resr esr 0 " + num(ESR), shown("ESR", ESR, "Ohm"));
  n.card("Vstep st 0 PWL(0 0 " + num(t0) + " 0 " + num(t0 + 100e-9) + " 1)",
         "the step, in 100 ns, where the inductor current crosses its mean");
  n.card("Bload out 0 I=v(out)/" + num(RL) + "*(0.5+0.5*v(st))",
         "the load: 50 % then 100 % of " + shown("Iomax", in.Iomax, "A"));
  n.card("Ediv fb 0 out 0 " + num(y), "divider Vref/Vo, buffered: " + shown("Vref", in.Vref, "V"));
  n.card("Vref ref 0 DC " + num(in.Vref), "the amplifier's reference");
  n.card("R1 fb n " + num(R1), shown("R1", R1, "Ohm"));
  n.card("Eea ea 0 ref n " + num(kOpAmpGain), "op-amp (not of the page): 160 dB");
  const std::string whose = ", the " + std::string(network.whose) + "'s";
  n.card("R2 n z " + num(R2), shown("R2", network.R2, "Ohm") + whose);
  n.card("C1 z ea " + num(C1) + " IC=" + num(in.Vref - Vc), shown("C1", network.C1, "pF") + whose);
  n.card("C2 n ea " + num(C2) + " IC=" + num(in.Vref - Vc), shown("C2", network.C2, "pF") + whose);
  n.comment("the run: from the steady state at half load, 200 steps a period");
  n.card(".options nopage");
  n.card(".tran " + num(T / 200) + " " + num(t0 + after) + " 0 " + num(T / 200) + " uic");
  n.card(".meas tran vbefore AVG v(out) FROM=" + num(t0 - 20 * T) + " TO=" + num(t0));
  n.card(".meas tran vmin MIN v(out) FROM=" + num(t0) + " TO=" + num(t0 + after));
  return {n.text(), ""};
}

Deck typeIIINetworkDeck(const TypeIIIInputs& in, const TypeIIIResults& net,
                        std::string_view whose) {
  LoopBuilder b("* type III network, the " + std::string(whose) + "'s");
  Netlist& n = b.n();
  const double R1 = in.R1 * kKilo, R2 = net.R2 * kKilo, R3 = net.R3 * kKilo;
  const double C1 = net.C1 * kNano, C2 = net.C2 * kNano, C3 = net.C3 * kPico;
  b.require(usable(R1) && usable(R2) && usable(R3) && usable(C1) && usable(C2) && usable(C3),
            "the network has a component that is not positive");
  if (b.failed()) return b.finish();
  const std::string of = ", the " + std::string(whose) + "'s";
  b.source("the network's input: 1 V AC");
  n.card("R1 inj n " + num(R1), shown("R1", in.R1, "kOhm"));
  n.card("R3 inj y " + num(R3), shown("R3", net.R3, "kOhm") + of);
  n.card("C2 y n " + num(C2), shown("C2", net.C2, "nF") + of);
  b.opAmp();
  n.card("R2 n z " + num(R2), shown("R2", net.R2, "kOhm") + of);
  n.card("C1 z ea " + num(C1), shown("C1", net.C1, "nF") + of);
  n.card("C3 n ea " + num(C3), shown("C3", net.C3, "pF") + of);
  b.loopGain("ea", "the network's gain, its inversion taken out as the page plots it");
  for (const double tau : {R2 * C1, R3 * C2, (R1 + R3) * C2, R2 * C1 * C3 / (C1 + C3)}) {
    b.mark(corner(tau));
  }
  b.mark(in.fc * kKilo);
  return b.finish();
}

}  // namespace tarnex::sim
