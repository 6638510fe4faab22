#include "designs/pushpull_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// Highest duty cycle of both switches that still leaves dead time (a little above 0.8, so
// that 0.8 itself passes).
constexpr double kDutyLimit = 0.8001;
// Ripple of the output inductor current, as a share of Io.
constexpr double kRipple = 0.4;

}  // namespace

TransformerTurns pushPullTurns(double Np0, double n) {
  return windTurns(Np0, n, roundTurnsUp, roundTurnsHalfUp);
}

PushPullDesign designPushPull(const PushPullInputs& in) {
  PushPullDesign d;
  if (in.Dmax > kDutyLimit) d.notices.push_back(PushPullNotice::DutyAboveLimit);
  const double Dmax = in.Dmax;
  const double VacMin = in.VacMin;
  const double Vo = in.Vo;
  const double Io = in.Io;
  const double f = in.f;
  d.Vmin = acPeak(VacMin);

  // Each switch conducts half of Dmax. Its volt-seconds at low line drive the flux through
  // the whole swing, twice the entered half swing DB.
  d.Ton = (Dmax * 0.5) * 1000 / f;
  d.Np0 = d.Ton * VacMin * 100 * kSqrt2 / (2 * double{in.Ae} * in.DB * 0.01);
  // The secondary half must give Vo / Dmax during the on-times plus the diode drop.
  d.n = d.Vmin / (Vo / Dmax + in.Vdf);
  d.turns = pushPullTurns(d.Np0, d.n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);

  // Each half carries the input-power pulse at low line for half of Dmax.
  d.Ipk = (Vo * Io * 100 / in.Eff) / (Dmax * VacMin * kSqrt2);
  d.Irmsp = toSingle(d.Ipk * std::sqrt(Dmax * 0.5));
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  d.Irmss = toSingle(Io * std::sqrt(Dmax * 0.5));
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));

  // The inductor falls by Vo during the off-share of the full period with a ripple of 0.4·Io.
  d.Lo = toSingle((Vo - Vo * Dmax) * (0.001 / f) * 1000000 / (Io * kRipple));
  return d;
}

}  // namespace tarnex
