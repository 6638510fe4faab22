#pragma once
// Copper loss of a winding: the DC resistance at temperature, Dowell's AC factor for layers of
// round wire, and the loss of a non-sinusoidal current summed over its harmonics. SI units:
// m, m², Ω, A, Hz, °C.

#include <complex>
#include <span>
#include <vector>

#include "magnetics/core_data.h"
#include "magnetics/core_loss.h"

namespace tarnex::magnetics {

// Resistivity of annealed copper: 1.724e-8 Ω·m at 20 °C, rising by 0.00393 per kelvin.
double copperResistivity(double T);

// Skin depth of copper at frequency f and temperature T (a winding at work: 100 °C), m:
// δ = √(ρ / (π·f·µ0)).
double skinDepth(double f, double T = 100);

// Rdc = ρ(T)·N·MLT / A: N turns of mean length MLT on a conductor of area A.
double dcResistance(double turns, double meanTurn, double area, double T);

// How a winding of round wire lies in the window.
struct Layering {
  int perLayer = 0;     // conductors side by side in one layer: floor(breadth / outer diameter)
  int layers = 0;       // layers the turns (× strands in parallel) need
  double porosity = 0;  // share of the layer's breadth the equivalent square conductors fill
};
// Turns per layer = floor(breadth / outer diameter), each turn of `strands` round conductors
// side by side. Nothing when the window or the wire is not a usable size.
Layering layering(double turns, int strands, double conductorDiameter, double outerDiameter,
                  double breadth);

// Dowell's AC resistance factor (P. L. Dowell, "Effects of eddy currents in transformer
// windings", Proc. IEE 113(8), 1966) of m layers at penetration Δ = (h/δ)·√η:
//   Fr = Δ·[ (sinh 2Δ + sin 2Δ)/(cosh 2Δ − cos 2Δ) + (2(m²−1)/3)·(sinh Δ − sin Δ)/(cosh Δ + cos Δ)
//   ],
// where a round wire of diameter d is the square conductor of equal area, h = d·√(π/4), and η
// the porosity of its layer.
double dowellFactor(double delta, double layers);

// Penetration Δ of a round conductor of diameter d at skin depth δ in a layer of porosity η.
double penetration(double d, double skin, double porosity);

// The complex Fourier coefficients c0 … c_count of one period of a piecewise-linear waveform
// (closed form per segment): i(t) = c0 + Σ 2·Re(cn·e^{jnωt}). Harmonic n carries the RMS
// current √2·|cn|.
std::vector<std::complex<double>> fourierCoefficients(std::span<const WavePoint> wave, int count);

// RMS of a piecewise-linear waveform, exactly: each segment adds Δx·(a² + a·b + b²)/3.
double waveformRms(std::span<const WavePoint> wave);

// The waveform scaled so that its RMS is `rms`.
Waveform scaledToRms(Waveform wave, double rms);

// Effective AC factor Pac / Pdc of a current of this shape at fundamental f in a winding of
// `layers` layers whose fundamental penetration is Δ1 (harmonic n sees Δ1·√n): the DC part
// at Fr = 1 and each harmonic at Dowell's factor, summed until the harmonics hold all but
// 1e-6 of the AC power (at most 4000 of them, the rest taken at the last factor).
double effectiveAcFactor(std::span<const WavePoint> wave, double delta1, double layers);

}  // namespace tarnex::magnetics
