#include "designs/bridge_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// Highest push-pull duty cycle of both switches that still leaves dead time (a little above
// 0.8, so that 0.8 itself passes).
constexpr double kDutyLimit = 0.8001;
// Ripple of the output inductor current, as a share of Io.
constexpr double kRipple = 0.4;

// Each switch (or diagonal) conducts half of Dmax; its volt-seconds drive the flux through
// the whole swing, twice the entered half swing DB.
double onTime(const BridgeInputs& in) {
  return double{in.Dmax} * 0.5 * 1000 / in.f;
}

// Conditions none of the three can meet: an input range upside down, or a duty cycle that
// leaves no off-time between the two halves of the period.
bool possible(const BridgeInputs& in) {
  return in.VacMin <= in.VacMax && in.Dmax < 1;
}

// What the three share once the primary voltage Vp (at VacMin), the raw turns Np0 and the
// primary RMS current are known: the ratio, whole turns, wire and the output inductor.
// `share` is the primary voltage per volt rms of the input.
void finish(const BridgeInputs& in, BridgeDesign& d, double Irmsp, double share) {
  const double Dmax = in.Dmax;
  const double Vo = in.Vo;
  const double Vdf = in.Vdf;
  const double Io = in.Io;
  // While both rectifier diodes freewheel the inductor sees −Vdf, so the output is
  // Vs·D − Vdf: at low line and Dmax each secondary half must give (Vo + Vdf) / Dmax.
  d.n = d.Vp * Dmax / (Vo + Vdf);
  d.turns = bridgeTurns(d.Np0, d.n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);

  d.Irmsp = toSingle(Irmsp);
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  // Each secondary half carries Io while it delivers (half of Dmax) and Io/2 while both
  // freewheel (1 − Dmax): Io²·(Dmax/2 + (1 − Dmax)/4) = Io²·(1 + Dmax)/4.
  d.Irmss = toSingle(Io * std::sqrt((1 + Dmax) / 4));
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));

  // The output inductor sees twice the switching frequency, and its ripple is largest at the
  // highest input, where each pulse is shortest: one pulse of Dmin of the half period rises
  // by Vs − Vdf − Vo with a ripple of 0.4·Io.
  d.Vs = in.VacMax * share / d.n;
  d.Dmin = (Vo + Vdf) / d.Vs;
  const double Tmin = d.Dmin * 0.5 * 1000 / in.f;  // µs
  d.Lo = toSingle((d.Vs - Vdf - Vo) * Tmin / (kRipple * Io));
}

// The half- and full-bridge primaries see `share` of the rectified input's peak across the
// whole primary: the capacitors of the half-bridge split it (0.707 of Vac), the diagonals of
// the full-bridge put all of it there (1.414 of Vac).
BridgeDesign bridgeDesign(const BridgeInputs& in, double share) {
  BridgeDesign d;
  if (!possible(in)) {
    d.ending = BridgeEnding::Impossible;
    return d;
  }
  const double Dmax = in.Dmax;
  const double VacMin = in.VacMin;
  const double DB = in.DB;
  const double Ae = in.Ae;
  d.Ton = onTime(in);
  d.Vp = VacMin * share;
  d.Np0 = d.Vp * d.Ton * 100 / ((DB * Ae + DB * Ae) * 0.01);
  // The primary carries the input power from Vp during Dmax.
  finish(in, d, std::sqrt(Dmax) * in.Vo * in.Io * 100 / in.Eff / (VacMin * Dmax * share), share);
  return d;
}

}  // namespace

TransformerTurns bridgeTurns(double Np0, double n) {
  return windTurns(Np0, n, roundTurnsUp, roundTurnsHalfUp);
}

BridgeDesign designPushPull(const BridgeInputs& in) {
  BridgeDesign d;
  if (!possible(in)) {
    d.ending = BridgeEnding::Impossible;
    return d;
  }
  if (in.Dmax > kDutyLimit) d.notices.push_back(BridgeNotice::DutyAboveLimit);
  const double Dmax = in.Dmax;
  const double VacMin = in.VacMin;
  // Each primary half sees the whole rectified input.
  d.Ton = onTime(in);
  d.Vp = acPeak(VacMin);
  d.Np0 = d.Ton * VacMin * 100 * kSqrt2 / (2 * double{in.Ae} * in.DB * 0.01);
  // Each half carries the input-power pulse at low line for half of Dmax.
  d.Ipk = (double{in.Vo} * in.Io * 100 / in.Eff) / (Dmax * VacMin * kSqrt2);
  finish(in, d, d.Ipk * std::sqrt(Dmax * 0.5), kSqrt2);
  return d;
}

BridgeDesign designHalfBridge(const BridgeInputs& in) {
  return bridgeDesign(in, kInvSqrt2);
}

BridgeDesign designFullBridge(const BridgeInputs& in) {
  return bridgeDesign(in, kSqrt2);
}

}  // namespace tarnex
