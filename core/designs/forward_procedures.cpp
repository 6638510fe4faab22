#include "designs/forward_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// A circular mil is 5.067e-6 cm²; with the flux in maxwell (gauss × cm²) against volt-seconds
// the factor 1e8 joins it: the area product comes out in cm⁴.
constexpr double kAreaProductFactor = 506.7;
// Ripple of the output inductor current, as a share of Io.
constexpr double kRipple = 0.4;

// With the reset winding as long as the primary, the core resets in as long as it was set:
// beyond half the period it cannot.
std::vector<ForwardNotice> dutyNotices(const ForwardInputs& in) {
  if (in.Dmax >= 0.5) return {ForwardNotice::DutyAtHalf};
  return {};
}

}  // namespace

TransformerTurns forwardTurns(double Np0, double n) {
  return windTurns(Np0, n, roundTurnsHalfDown, roundTurnsHalfDown);
}

ForwardCoreEstimate forwardAreaProduct(const ForwardInputs& in) {
  ForwardCoreEstimate est;
  est.notices = dutyNotices(in);
  const double Pin = double{in.Vo} * in.Io * 100 / in.Eff;  // input power, W
  est.Ap = toSingle(Pin * in.Cmil * kAreaProductFactor / (double{in.Kw} * in.f * in.Bpk * 1000));
  return est;
}

ForwardDesign forwardVerify(const ForwardInputs& in) {
  ForwardDesign d;
  // An input range upside down, or a switch that never turns off (no time to reset the core
  // or to freewheel), leave no design.
  if (in.VacMin > in.VacMax || in.Dmax >= 1) {
    d.ending = ForwardEnding::Impossible;
    return d;
  }
  d.notices = dutyNotices(in);
  const double Dmax = in.Dmax;
  const double f = in.f;
  const double Vo = in.Vo;
  const double Io = in.Io;
  const double Vdf = in.Vdf;
  d.Vmin = acPeak(in.VacMin);

  // Volt-seconds of the longest on-time at low line over the flux swing Bpk·Ae (gauss, mm²).
  d.Ton = Dmax * 1000 / f;
  d.Np0 = (d.Vmin * Dmax * 1000000 / (f * 1000)) * 100 / (double{in.Ae} * in.Bpk * 0.01);
  // The secondary, switched with the primary, must give Vo + Vdf on average at Dmax.
  d.n = d.Vmin / ((Vdf + Vo) / Dmax);
  d.turns = forwardTurns(d.Np0, d.n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);

  // Primary pulses carry the input power at low line during Dmax: RMS is the pulse times √D.
  d.Irmsp = toSingle((Vo * Io) / (double{in.Eff} * Dmax * d.Vmin * 0.01) * std::sqrt(Dmax));
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  d.Irmss = toSingle(std::sqrt(Dmax) * Io);
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));

  // The inductor ripple is largest at the highest input, where the on-time is shortest and
  // the inductor sees Vs − Vdf − Vo.
  d.Vs = acPeak(in.VacMax) / d.n;
  d.Dmin = (Vdf + Vo) / d.Vs;
  const double Tmin = d.Dmin * 1000 / f;  // µs
  d.Lo = toSingle((d.Vs - Vdf - Vo) * Tmin / (kRipple * Io));
  return d;
}

}  // namespace tarnex
