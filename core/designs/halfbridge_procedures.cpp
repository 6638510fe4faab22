#include "designs/halfbridge_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// Ripple of the output inductor current, as a share of Io.
constexpr double kRipple = 0.4;

}  // namespace

TransformerTurns halfBridgeTurns(double Np0, double n) {
  return windTurns(Np0, n, roundTurnsUp, roundTurnsHalfUp);
}

HalfBridgeDesign designHalfBridge(const HalfBridgeInputs& in) {
  HalfBridgeDesign d;
  const double Dmax = in.Dmax;
  const double VacMin = in.VacMin;
  const double Vo = in.Vo;
  const double Io = in.Io;
  const double f = in.f;
  const double DB = in.DB;
  const double Ae = in.Ae;

  // Each switch conducts half of Dmax and puts half the rectified input (1.414 / 2 = 0.707
  // of Vac) across the primary; those volt-seconds drive the flux through the whole swing,
  // twice the entered half swing DB.
  d.Ton = Dmax * 0.5 * 1000 / f;
  d.Vh = VacMin * kInvSqrt2;
  d.Np0 = d.Vh * d.Ton * 100 / ((DB * Ae + DB * Ae) * 0.01);
  // The ratio is set by what the primary sees, Vh: each secondary half must give Vo / Dmax
  // during the on-times plus the diode drop.
  d.n = d.Vh / (Vo / Dmax + in.Vdf);
  d.turns = halfBridgeTurns(d.Np0, d.n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);

  // The primary carries the input power from Vh during Dmax.
  d.Irmsp = toSingle(std::sqrt(Dmax) * Io * Vo * 100 / in.Eff / (VacMin * Dmax * kInvSqrt2));
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  // Each secondary half conducts during half of Dmax.
  d.Irmss = toSingle(std::sqrt(Dmax * 0.5) * Io);
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));

  // The inductor falls by Vo during the off-share of the full period with a ripple of 0.4·Io.
  d.Lo = toSingle((Vo - Dmax * Vo) * (0.001 / f) * 1000000 / (Io * kRipple));
  return d;
}

}  // namespace tarnex
