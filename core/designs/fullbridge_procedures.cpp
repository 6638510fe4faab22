#include "designs/fullbridge_procedures.h"

#include <cmath>

#include "base/number_text.h"
#include "designs/magnetics.h"

namespace tarnex {

namespace {

// Ripple of the output inductor current, as a share of Io.
constexpr double kRipple = 0.4;

}  // namespace

TransformerTurns fullBridgeTurns(double Np0, double n) {
  return windTurns(Np0, n, roundTurnsUp, roundTurnsHalfUp);
}

FullBridgeDesign designFullBridge(const FullBridgeInputs& in) {
  FullBridgeDesign d;
  const double Dmax = in.Dmax;
  const double VacMin = in.VacMin;
  const double Vo = in.Vo;
  const double Io = in.Io;
  const double f = in.f;
  const double DB = in.DB;
  const double Ae = in.Ae;

  // Each diagonal conducts half of Dmax with the whole rectified input across the primary;
  // those volt-seconds drive the flux through the whole swing, twice the entered half swing.
  d.Ton = Dmax * 0.5 * 1000 / f;
  d.Vdc = VacMin * kSqrt2;
  d.Np0 = d.Ton * d.Vdc * 100 / ((DB * Ae + DB * Ae) * 0.01);
  // Each secondary half must give Vo / Dmax during the on-times plus the diode drop.
  d.n = d.Vdc / (Vo / Dmax + in.Vdf);
  d.turns = fullBridgeTurns(d.Np0, d.n);
  d.Ns = toSingle(d.turns.Ns);
  d.Np = toSingle(d.turns.Np);

  // The primary carries the input power from Vdc during Dmax.
  d.Irmsp = toSingle(std::sqrt(Dmax) * Vo * Io * 100 / in.Eff / (VacMin * Dmax * kSqrt2));
  d.Dp = toSingle(wireDiameter(d.Irmsp, in.Cmil));
  // Each secondary half conducts during half of Dmax.
  d.Irmss = toSingle(std::sqrt(Dmax * 0.5) * Io);
  d.Ds = toSingle(wireDiameter(d.Irmss, in.Cmil));

  // The inductor falls by Vo during the off-share of the full period with a ripple of 0.4·Io.
  d.Lo = toSingle((Vo - Vo * Dmax) * (0.001 / f) * 1000000 / (Io * kRipple));
  return d;
}

}  // namespace tarnex
