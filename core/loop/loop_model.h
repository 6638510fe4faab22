#pragma once
// Exact small-signal models of the loops the compensation pages design: the power stage each
// page describes, the error amplifier's network exactly as its drawing wires it, and the
// designs that solve that network from the complete stage so that the loop crosses where it
// was asked with the phase margin asked.
//
// Transfer functions take the complex frequency s in rad/s. The amplifiers' inversion is left
// out, as in the Bode plots (loop/bode.h): an integrator starts at −90°, and the phase margin
// is 180° plus the loop phase at the crossover.

#include <cmath>
#include <complex>
#include <functional>
#include <numbers>
#include <string>

#include "loop/compensation.h"

namespace tarnex {

using Complex = std::complex<double>;
// A transfer function of s; empty when the page does not model it or its numbers cannot make
// one (a zero, negative or infinite value).
using Transfer = std::function<Complex(Complex s)>;

// What the exact models, their plots and their check compute with.
namespace exact {

// Exact: the models are the circuit, where the pages compute with kTwoPiPage (6.2831852).
inline constexpr double kTwoPi = 2 * std::numbers::pi;
inline constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

// A value a model can be built from: finite and above zero.
inline bool positive(double x) {
  return std::isfinite(x) && x > 0;
}
template <class... T>
bool allPositive(T... x) {
  return (positive(x) && ...);
}

// The complex frequency of f in Hz, and a transfer function's phase in degrees.
inline Complex jw(double fHz) {
  return {0, kTwoPi * fHz};
}
inline double phaseDeg(Complex v) {
  return std::arg(v) * kDegreesPerRadian;
}

}  // namespace exact

// --- power stages --------------------------------------------------------------------------

// Peak-current-mode control of the page's converter (its D' terms are those of a
// buck-boost), after the sampled-data model of current-mode control (R. B. Ridley, "A new,
// continuous-time model for current-mode control", IEEE Trans. Power Electronics 6(2), 1991,
// and its buck-boost form): the page's DC gain G,
// output pole fp and ESR zero fz, the right-half-plane zero of the D' stage, and the double
// pole at half the switching frequency that the sampling of the inductor current makes,
//   Gvc(s) = G·(1 + s/ωz)(1 − s/ωrhp) / ((1 + s/ωp')(1 + s/(ωn·Qs) + s²/ωn²)),
//   ωp' = 1/((Rx + ESR)·Co) = ωp·ωz/(ωp + ωz) (the page's fp leaves the ESR out),
//   ωrhp = RL·D'² / (D·L), ωn = π·fsw, Qs = 1 / (π·(mc·D' − 0.5)), mc = 1 + Se/Sn.
// The page's slope term is mc − 0.5. Below mc·D' = 0.5 Qs is negative: the sampling poles lie
// in the right half plane, the current loop oscillates at half the switching frequency.
struct CurrentModeStage {
  double G = 0;     // DC gain
  double fp = 0;    // output pole, Hz
  double fz = 0;    // ESR zero, Hz
  double fRHP = 0;  // right-half-plane zero, Hz
  double fn = 0;    // sampling double pole, fsw/2, Hz
  double mc = 0;    // compensation ramp factor 1 + Se/Sn
  double Qs = 0;    // quality factor of the sampling poles
};

CurrentModeStage currentModeStage(const CurrentModeInputs& in, const CurrentModeResults& r);
Transfer stageTransfer(const CurrentModeStage& stage);

// Control to the sensed output of the type II page's converter, from the step-2 fields and
// the inputs (frequencies of the fields in kHz).
//  Forward type: the ramp Vramp turns the duty cycle into Vin = Vo/Dmax at the filter, the
//  divider Vref/Vo senses the output, and the LC filter is damped by the full load
//  RL = Vo/Iomax and by the ESR Rc:
//    K·(1 + s·Rc·Co) / (1 + s·(L/RL + Rc·Co) + s²·L·Co·(RL + Rc)/RL),
//  with K = 10^(Gesr/20)·(fesr/fpo)² (the gain whose asymptote passes through Gesr at fesr,
//  i.e. Vo/(Dmax·Vramp)·Vref/Vo) and L·Co = 1/(2π·fpo)².
//  DCM flyback: the peak current sets the power, so the output is a current into the load and
//  the converter's own output resistance RL (the averaged DCM switch model, R. W. Erickson and
//  D. Maksimović, Fundamentals of Power Electronics, 2nd ed., §15.3; RL = Vo/Iomin): one pole
//  at 1/(2π·(RL/2 + ESR)·Co), which is the page's fpo = 2/(2π·RL·Co) with the ESR added,
//  and the ESR zero, G0 = 10^(Gesr/20)·fesr/fpo. Its right-half-plane zero needs the turns
//  ratio, which the page does not have: it is left out.
Transfer typeIIStageTransfer(const TypeIIInputs& in);

// --- networks (ohms and farads) ----------------------------------------------------------------

// The current-mode amplifier's gain in front of its network R2–C1 ∥ C2: the transconductance
// y·gm (y = Vref/Vo: its output current gm·y·v drives the network to ground), or 1/R1 of the
// op-amp; 0 when no type is selected.
double currentModeAmplifierGain(const CurrentModeInputs& in);

// R2 in series with C1, the pair shunted by C2: zero at 1/(2π·R2·C1), pole at
// 1/(2π·R2·C1·C2/(C1 + C2)).
Complex zeroPoleImpedance(Complex s, double R2, double C1, double C2);

// The current-mode page's amplifier: the transconductance y·gm into that impedance to ground
// (`gain` = y·gm, y = Vref/Vo), or the op-amp with R1 in (`gain` = 1/R1).
Transfer zeroPoleNetwork(double gain, double R2, double C1, double C2);

// The type III network: feedback R2–C1 shunted by C3, input R1 shunted by R3–C2.
Transfer typeIIINetworkTransfer(double R1, double R2, double R3, double C1, double C2, double C3);

// --- exact designs -------------------------------------------------------------------------------

// The current-mode network solved from the complete stage: the zero on the output pole (with the
// ESR) and the pole on the ESR zero (at most at half the switching frequency), as the page places
// them, and the gain set so that the loop crosses exactly at fc, fc limited to a third of the
// right-half-plane zero and a fifth of the switching frequency.
struct CurrentModeExact {
  double fc = 0;           // crossover aimed at, Hz
  bool lowered = false;    // below the asked crossover
  bool byRhpZero = false;  // lowered to fRHP/3 (else to fsw/5)
  float R2 = 0;            // Ω
  float C1 = 0;            // µF
  float C2 = 0;            // µF
  bool ok = false;         // false: the stage or the placement has no usable numbers
};
CurrentModeExact currentModeExactDesign(const CurrentModeInputs& in, const CurrentModeResults& r);

// The type II network solved from the complete stage: zero at fc/k and pole at k·fc with k from
// the stage's exact phase at fc, so that the loop has the wanted phase margin there, and R2 so
// that it crosses exactly at fc. The DCM flyback takes the wanted margin from the same field
// as the forward type.
struct TypeIIExact {
  double k = 0;            // fp1/fc = fc/fz1
  double boost = 0;        // phase the network must add to an integrator at fc, degrees
  double stagePhase = 0;   // exact stage phase at fc, degrees
  bool reachable = false;  // the wanted margin lies within what a type II network can give
  float R2 = 0;            // Ω
  float C1 = 0;            // pF
  float C2 = 0;            // pF
  float fz1 = 0;           // kHz
  float fp1 = 0;           // kHz
  bool ok = false;
};
TypeIIExact typeIIExactDesign(const TypeIIInputs& in);

// The type III network with its poles and zeros where the page places them and the gain at fc
// exactly the one typed: the page sets C1 from an asymptote; the exact network's gain at fc
// goes as 1/C1 when the poles and zeros stay, so C1 is scaled by the gain it lacks.
struct TypeIIIExact {
  TypeIIIResults network;
  double pageGainDb = 0;  // the page's network's gain at fc, dB
  bool ok = false;
};
TypeIIIExact typeIIIExactDesign(const TypeIIIInputs& in);

}  // namespace tarnex
