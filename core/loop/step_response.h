#pragma once
// Rational transfer functions of s with real coefficients, and the response of one to a step,
// computed exactly rather than by a circuit simulator: the transfer function becomes a
// state-space model (controllable canonical form, in a time scaled so that the coefficients
// lie near one), which is sampled with the exact discrete form of a constant input,
//   x[k+1] = e^(A·h)·x[k] + (∫₀ʰ e^(A·τ) dτ)·B·u,
// so that the samples carry no integration error whatever the step h; h only sets how finely
// the peak is found. Whether the response settles is decided on the denominator by the Routh
// criterion; its roots (Durand–Kerner) set the step, from the fastest, and the length of the
// run, from the slowest.

#include <cstddef>
#include <span>
#include <vector>

namespace tarnex {

// Coefficients of a polynomial in s, lowest power first: {a0, a1, a2} is a0 + a1·s + a2·s².
using Polynomial = std::vector<double>;

Polynomial operator*(const Polynomial& a, const Polynomial& b);
Polynomial operator+(const Polynomial& a, const Polynomial& b);
Polynomial operator*(double k, const Polynomial& a);

// The polynomial without its leading coefficients that are exactly zero.
Polynomial trimmed(Polynomial p);

struct Rational {
  Polynomial num, den;
};

// All roots of the denominator lie in the open left half plane (Routh's criterion; a zero
// in the first column counts as not stable). False for a polynomial of degree 0 or with a
// coefficient that is not finite.
bool hurwitz(const Polynomial& p);

// The roots of a polynomial of degree at least one (Durand–Kerner iteration).
struct Roots {
  std::vector<double> re, im;
};
Roots roots(const Polynomial& p);

// The response to a step of size `amplitude` at t = 0 of a rational function h with
// deg num ≤ deg den: samples at t = 0, dt, 2·dt, …, the value at 0 being the one just after
// the step (h(∞)·amplitude).
std::vector<double> sampledStep(const Rational& h, double amplitude, double dt, std::size_t count);

// How a step response is read.
struct StepReading {
  double peak = 0;       // the deviation farthest from zero, signed
  double peakTime = 0;   // s
  double final = 0;      // h(0)·amplitude
  double settling = -1;  // s; -1 when the run ends outside the band
};

// Reads samples spaced dt apart: the peak at the sample farthest from zero, between it and its
// neighbours where the parabola through the three has its vertex; the settling time is where the
// response enters, for the last time, the band of ±band × (its largest distance from the final
// value) about the final value, interpolated between the two samples around that entry.
StepReading readStep(std::span<const double> v, double dt, double final, double band);

// The step and the length of a run that shows the responses of every one of `systems`: forty
// samples in the period of the fastest root (at least 4000 in the run), and long enough for the
// slowest root to decay to 10⁻⁴ (of a stable system) or to grow 150-fold (of one that is not), at
// most `maxSamples`.
struct StepTiming {
  double dt = 0;
  std::size_t count = 0;
};
StepTiming stepTiming(std::span<const Rational> systems, std::size_t maxSamples);

}  // namespace tarnex
