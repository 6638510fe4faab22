#pragma once
// ngspice decks of the loops the compensation pages design, for an `.ac` analysis: the
// averaged small-signal model of the page's power stage built as a circuit, and the error
// amplifier's network built from the component values the page shows (an op-amp as a VCVS of
// 160 dB, a transconductance amplifier as a VCCS). Both amplifiers invert, as built.
//
// The loop is broken where the network takes in the sensed output: a 1 V AC source drives the
// network in its place, and node `lg` carries minus what comes back round the loop, the
// amplifier's inversion taken out as the pages plot it. v(lg) is then the loop gain; its phase
// margin is 180° plus its phase at the crossover. The deck prints v(lg) as a complex number at
// every frequency of the sweep (`.print ac v(lg)`), from two decades below the lowest corner of
// the circuit to a decade above the highest, the switching frequency and the crossover asked
// included.
//
// The stages, as circuits:
//   current mode  the control voltage over Ri sets the inductor current, D' of which reaches
//                 the output: a current source of D'/Ri per volt into Rx ∥ (Co + ESR), Rx the
//                 resistance the page's results put across the capacitor; then the
//                 right-half-plane zero 1 − s/ωrhp (the input less the rate of change of a
//                 buffered copy, Rr·Cr = 1/ωrhp) and the sampling double pole at fsw/2 (a
//                 series R–L into C of 1 Ω characteristic impedance, R = 1/Qs, negative when
//                 the slope compensation is too small);
//   forward       the modulator, a VCVS of (Vo/Dmax)/Vramp, into the filter L, Co with its ESR
//                 and the full load Vo/Iomax, sensed through the divider Vref/Vo (a buffered
//                 VCVS, as the page's stage includes it);
//   DCM flyback   the averaged DCM switch: a current source with its own output resistance
//                 RL = Vo/Iomin, in parallel with the load RL and Co with its ESR, the source
//                 set so that the DC gain is the page's G0 (step 2).
// The type III page has no stage: its deck is the network alone, v(lg) its gain.

#include <string_view>

#include "loop/compensation.h"
#include "sim/decks.h"

namespace tarnex::sim {

// The amplifier's R2–C1 ∥ C2 network as a page shows it, in that page's units (current mode:
// Ω, µF; type II: Ω, pF), and whose design it is, for the deck's comments.
struct ZeroPoleParts {
  double R2 = 0;
  double C1 = 0;
  double C2 = 0;
  std::string_view whose = "page";  // "page" or "exact design"
};

// The current-mode loop: the page's inputs and amplifier type, Rx and the slope term Q of its
// results (the network's values in `network`).
Deck currentModeLoopDeck(const CurrentModeInputs& in, const CurrentModeResults& r,
                         const ZeroPoleParts& network);

// The type II loop of the forward type or the DCM flyback: the page's inputs, G0 of its step 2
// (the DCM flyback's), and the network with R1 of the inputs.
Deck typeIILoopDeck(const TypeIIInputs& in, const TypeIIStage& stage, const ZeroPoleParts& network);

// The forward type's loop as a switching circuit, for a `.tran` analysis of a load step: the
// input Vin = Vo/Dmax switched onto the filter L, Co with its ESR (an ideal synchronous switch,
// so that the circuit stays in continuous conduction as the averaged model does), the duty
// cycle set by comparing the amplifier's output with a sawtooth rising from 0 to Vramp over
// each period, the divider Vref/Vo buffered, and the op-amp with R1 and the network, its
// non-inverting input at Vref. The load draws Vo/RL·(50 %) and steps to 100 % of Iomax (RL =
// Vo/Iomax) at `periods` switching periods plus half the on-time at Dmax, where the inductor
// current crosses its mean. The circuit starts from the steady state at half load.
// Measurements: vbefore, the mean output over the 20 periods before the step; vmin, the lowest
// output in the `after` seconds that follow it (ngspice prints them in lower case).
Deck typeIILoadStepDeck(const TypeIIInputs& in, const ZeroPoleParts& network, int periods,
                        double after);

// The type III network alone: R1 of the inputs, the other parts in the page's units (kΩ, nF,
// pF), the crossover asked in the sweep.
Deck typeIIINetworkDeck(const TypeIIIInputs& in, const TypeIIIResults& network,
                        std::string_view whose);

}  // namespace tarnex::sim
