#pragma once
// ngspice decks of the power stages the design windows compute: the circuit an engineer
// would build from a window's inputs and results, driven at a given on-time and period from
// a given input, at full load, with `.meas` lines for what the window promises.
//
// The circuit as built: an ideal switch with a small on-resistance (its drop below 0.1 % of
// the input at the switch current), in series with the switch drop where the window has one
// (Vsw); diodes with the window's forward drop Vdf; the computed inductances, capacitors and
// clamp; transformers as coupled windings with the turns as rounded, each winding's
// inductance from the primary's and the turns as wound (Ls = Lp·(Ns/Np)²). What a window does
// not compute (an output capacitor, the forward's and the bridges' magnetising inductance) is
// chosen by the deck and its choice explained in the deck. Every component is written after
// a comment naming the field and value it comes from.
//
// The circuit starts from the steady state the drive is expected to reach (initial
// conditions on the inductors and capacitors), and an RC damper across the output capacitor
// (√(L/C) in series with 4·C) damps the output filter's resonance without changing the
// switching ripple or the DC point, so that a few hundred periods reach steady state.
//
// The deck saves the waveforms of the last periods (raw_file.h): v(vout) the output, v(il) the
// inductor current, v(wv) and v(wi) the switch's voltage and current, v(wd) the diode's
// current, v(flux) the flux density and, with a clamp, v(vc) its voltage.
//
// Measurements, over the last periods of the run (ngspice prints them in lower case):
//   vo      mean output voltage, V (positive also for the inverting buck-boost)
//   vpp     output ripple, peak to peak, V
//   ilmax, ilmin
//           the inductor current as the power stage of power_stage.h sees it, A: the DC-DC's
//           inductor, the forward's and the bridges' output inductor, the flyback's and the
//           ringing choke's magnetising current referred to the secondary
//   iswpk, vswpk
//           peak current and peak voltage of the switch (switch A of the push-pull and the
//           bridges: the bridges' upper one), A and V
//   idpk    peak current of the diode, A
//   isw     RMS current of the switch (push-pull: one switch, one primary half; half- and
//           full-bridge: the primary winding), A
//   idiode  RMS current of the diode (the DC-DC's; the flyback's and the ringing choke's
//           rectifier; the forward's forward diode; the bridges' diode of one secondary half), A
//   dead    share of the period the inductor current rests below 2 % of its expected peak
//   bmax, bmin
//           flux density of the core, gauss: the DC-DC's inductor from L·iL/(NL·Ae), the
//           transformers' from the magnetising current, Lp·im/(Np·Ae) (the volt-seconds)
//   vclamp  flyback with its clamp: the clamp capacitor's mean voltage above the input, V

#include <optional>
#include <string>

#include "designs/bridge_procedures.h"
#include "designs/dcdc_procedures.h"
#include "designs/design_check.h"
#include "designs/flyback_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/power_stage.h"
#include "designs/rcc_procedures.h"

namespace tarnex::sim {

// Where a deck is driven: the input and the switch timing. `point` is the steady state of the
// power stage referred to the secondary (power_stage.h) that the drive is expected to reach:
// its Ton and T time the switch (for the push-pull and the bridges, whose output inductor sees
// twice the switching frequency, each switch or diagonal conducts Ton once per 2·T), and its
// inductor current and output start the circuit.
struct Drive {
  double Vin = 0;  // V: the DC input, or the rectified mains (the AC peak)
  StagePoint point;
};

struct Deck {
  std::string netlist;  // the deck, ready for `ngspice -b`
  std::string error;    // why the window's numbers make no circuit ("" when they do)
  bool ok() const { return error.empty(); }
};

Deck dcdcDeck(DcDcTopology topology, const DcDcInputs& in, const DcDcOutputs& out,
              const Drive& drive);
// The flyback with its RCD clamp (the clamp command's Rlk and Clk) across a leakage
// inductance of Per % of Lp; without a clamp, the coupled windings alone (no leakage), as the
// power stage of power_stage.h models them.
Deck flybackDeck(const FlybackInputs& in, const FlybackDesign& d,
                 const std::optional<FlybackClamp>& clamp, const Drive& drive);
// The forward with a reset winding of as many turns as the primary, its diode back to the
// input.
Deck forwardDeck(const ForwardInputs& in, const ForwardDesign& d, const Drive& drive);
// The ringing choke at the fixed period of the drive (its point's T): the deck shows whether
// the current returns to zero just as the period ends.
Deck rccDeck(const RccInputs& in, const RccDesign& d, const Drive& drive);
Deck bridgeDeck(BridgeKind kind, const BridgeInputs& in, const BridgeDesign& d, const Drive& drive);

}  // namespace tarnex::sim
