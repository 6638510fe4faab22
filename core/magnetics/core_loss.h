#pragma once
// Core loss of a ferrite under a piecewise-linear flux, by the improved generalised Steinmetz
// equation, and the flux swing that a winding's volt-seconds drive. SI units throughout:
// T, Hz, s, m², W/m³, °C.

#include <span>
#include <vector>

#include "magnetics/core_data.h"

namespace tarnex::magnetics {

// A point of one period of a waveform: the time as a fraction of the period (0 to 1,
// non-decreasing) and the value there. Consecutive points are joined by straight lines; two
// points at the same time make a step. The first and the last value should be equal.
struct WavePoint {
  double x = 0;
  double y = 0;
};
using Waveform = std::vector<WavePoint>;

// A flux that rises for the fraction `on` of the period and falls back for the rest (a
// flyback in continuous conduction, an inductor, a ringing choke), or falls in `fall` and
// then stays (discontinuous conduction); peak-to-peak 1.
Waveform triangularFlux(double on, double fall = -1);
// Rise, flat top, fall, flat bottom, as fractions of the period (the remainder is the last
// flat part); peak-to-peak 1. A forward transformer resets in `fall` and then rests at zero;
// a bridge or push-pull transformer rises in one half-cycle's on-time and falls in the other's.
Waveform trapezoidalFlux(double rise, double top, double fall);

// The fitted range that applies at frequency f: the one holding f, else the nearest on a
// logarithmic scale, with `outside` set. None when the material has no fit.
struct RangeChoice {
  const SteinmetzRange* range = nullptr;
  bool outside = false;
};
RangeChoice steinmetzRangeAt(const Material& material, double f);

// The fit's temperature factor ct0 − ct1·T + ct2·T², never below zero.
double temperatureFactor(const SteinmetzRange& range, double T);

// Loss density by the original Steinmetz equation for a sinusoidal flux of peak bPeak:
// Pv = k·f^α·B̂^β·(ct0 − ct1·T + ct2·T²).
double steinmetzLoss(const SteinmetzRange& range, double f, double bPeak, double T);

// Loss density by the improved generalised Steinmetz equation (K. Venkatachalam, C. R.
// Sullivan, T. Abdallah, H. Tacca, "Accurate prediction of ferrite core loss with nonsinusoidal
// waveforms using only Steinmetz parameters", IEEE COMPEL 2002):
//   Pv = ki·ΔB^(β−α)·(1/T)·∫|dB/dt|^α dt,   ki = k / ((2π)^(α−1)·∫₀^2π |cos θ|^α·2^(β−α) dθ),
// which for a piecewise-linear flux of segments ΔBj over Δtj is ki·ΔB^(β−α)·f·Σ|ΔBj|^α·Δtj^(1−α).
// `shape` is one period, scaled so that its peak-to-peak is `swing` (T); times the temperature
// factor. A sinusoid gives back the original equation.
double igseLoss(const SteinmetzRange& range, std::span<const WavePoint> shape, double swing,
                double f, double T);

// Peak-to-peak flux that a voltage V across N turns for Ton seconds drives in a core of
// effective area Ae: ΔB = V·Ton / (N·Ae) (Faraday's law).
double fluxSwing(double V, double Ton, double N, double Ae);

}  // namespace tarnex::magnetics
