#include "designs/power_stage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarnex {

namespace {

// The voltage across the inductor while the switch conducts, and (as a magnitude) while the
// diode does: the volt-seconds of the two must cancel over a period.
struct InductorVoltages {
  double on = 0;
  double off = 0;
};

InductorVoltages voltagesOf(const Stage& s) {
  switch (s.kind) {
    case StageKind::Buck:
      return {s.Vin - s.Vsw - s.Vo, s.Vo + s.Vdf};
    case StageKind::Boost:
      return {s.Vin - s.Vsw, s.Vo + s.Vdf - s.Vin};
    case StageKind::BuckBoost:
      return {s.Vin - s.Vsw, s.Vo + s.Vdf};
  }
  return {};
}

bool positive(double v) {
  return std::isfinite(v) && v > 0;
}

// RMS over the period T of a current that ramps from a to b during t.
double rampRmsSquared(double a, double b, double t, double T) {
  return (a * a + a * b + b * b) / 3 * (t / T);
}

// Everything that follows once the times and the corner currents are known.
void finish(const Stage& s, StagePoint& p) {
  const double iEnd = p.conduction == Conduction::Continuous ? p.iStart : 0.0;
  const double sw2 = rampRmsSquared(p.iStart, p.iPeak, p.Ton, p.T);
  const double d2 = rampRmsSquared(p.iPeak, iEnd, p.Toff, p.T);
  p.iMean = ((p.iStart + p.iPeak) * p.Ton + (p.iPeak + iEnd) * p.Toff) / (2 * p.T);
  p.switchRms = std::sqrt(sw2);
  p.diodeRms = std::sqrt(d2);
  p.inductorRms = std::sqrt(sw2 + d2);
  p.outputRms = s.kind == StageKind::Buck ? p.inductorRms : p.diodeRms;
  p.capacitorRms = std::sqrt(std::max(0.0, p.outputRms * p.outputRms - p.Io * p.Io));
  p.valid = true;
}

StagePoint pointOf(const Stage& s) {
  StagePoint p;
  p.Vin = s.Vin;
  p.Vo = s.Vo;
  p.Io = s.Io;
  return p;
}

}  // namespace

StagePoint regulate(const Stage& s) {
  StagePoint p = pointOf(s);
  const InductorVoltages v = voltagesOf(s);
  p.T = 1000 / s.f;
  if (!positive(v.on) || !positive(v.off) || !positive(s.L) || !positive(p.T) ||
      !std::isfinite(s.Io) || s.Io < 0) {
    return p;
  }
  // Continuous: the volt-seconds balance fixes the duty cycle whatever the load.
  const double D = v.off / (v.on + v.off);
  const double mean = s.kind == StageKind::Buck ? s.Io : s.Io / (1 - D);
  const double ripple = v.on * D * p.T / s.L;
  if (mean - ripple / 2 >= 0) {
    p.conduction = Conduction::Continuous;
    p.Ton = D * p.T;
    p.Toff = p.T - p.Ton;
    p.iStart = mean - ripple / 2;
    p.iPeak = mean + ripple / 2;
    finish(s, p);
    return p;
  }
  // Discontinuous: each period starts from zero, and the on-time is what carries the load.
  // A buck delivers the whole triangle, Ipk·(Ton + Toff)/2T = Io; the others only the diode's
  // part, Ipk·Toff/2T = Io.
  p.conduction = Conduction::Discontinuous;
  if (s.kind == StageKind::Buck) {
    p.Ton = std::sqrt(2 * p.T * s.L * s.Io * v.off / (v.on * (v.on + v.off)));
  } else {
    p.Ton = std::sqrt(2 * p.T * s.L * s.Io * v.off) / v.on;
  }
  p.iPeak = v.on * p.Ton / s.L;
  p.Toff = p.iPeak * s.L / v.off;
  p.Tdead = std::max(0.0, p.T - p.Ton - p.Toff);
  finish(s, p);
  return p;
}

StagePoint driveAt(const Stage& s, double Ton, double R) {
  StagePoint none = pointOf(s);
  if (!positive(Ton) || !positive(R) || !positive(s.f) || Ton >= 1000 / s.f) return none;
  // The on-time the regulated stage needs grows with its output (and with the load current
  // Vo / R that comes with it): bisect the output between what the stage can give.
  auto onTimeFor = [&](double Vo) {
    Stage t = s;
    t.Vo = Vo;
    t.Io = Vo / R;
    return regulate(t);
  };
  double lo = 0;
  if (s.kind == StageKind::Boost) lo = std::max(0.0, s.Vin - s.Vdf);
  double hi;
  if (s.kind == StageKind::Buck) {
    hi = s.Vin - s.Vsw;
    if (!positive(hi)) return none;
  } else {
    hi = std::max(1.0, 2 * lo);
    for (int i = 0; i < 200; ++i) {
      const StagePoint p = onTimeFor(hi);
      if (p.valid && p.Ton > Ton) break;
      hi *= 2;
    }
  }
  for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    const StagePoint p = onTimeFor(mid);
    if (p.valid && p.Ton > Ton) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  StagePoint p = onTimeFor((lo + hi) / 2);
  if (!p.valid || std::fabs(p.Ton - Ton) > 1e-6 * Ton + 1e-9) return none;
  return p;
}

StagePoint boundary(const Stage& s) {
  StagePoint p = pointOf(s);
  const InductorVoltages v = voltagesOf(s);
  if (!positive(v.on) || !positive(v.off) || !positive(s.L) || !positive(s.Io)) return p;
  // The current returns to zero just as the next period begins: the on- and off-times share
  // the period by the volt-seconds, and the peak carries the load.
  p.iPeak = s.kind == StageKind::Buck ? 2 * s.Io : 2 * s.Io * (v.on + v.off) / v.on;
  p.Ton = p.iPeak * s.L / v.on;
  p.Toff = p.iPeak * s.L / v.off;
  p.T = p.Ton + p.Toff;
  p.conduction = Conduction::Discontinuous;
  finish(s, p);
  return p;
}

double outputRipple(const Stage& s, const StagePoint& p, double C) {
  if (!p.valid || !positive(C)) return 0;
  const double iEnd = p.conduction == Conduction::Continuous ? p.iStart : 0.0;
  // The capacitor current over one period, as straight pieces (duration, start, end), the
  // load taken away.
  struct Piece {
    double t, a, b;
  };
  std::vector<Piece> pieces;
  const double onCurrent0 = s.kind == StageKind::Buck ? p.iStart : 0.0;
  const double onCurrent1 = s.kind == StageKind::Buck ? p.iPeak : 0.0;
  pieces.push_back({p.Ton, onCurrent0 - p.Io, onCurrent1 - p.Io});
  pieces.push_back({p.Toff, p.iPeak - p.Io, iEnd - p.Io});
  pieces.push_back({p.Tdead, -p.Io, -p.Io});
  // Its charge is a parabola on each piece: the extremes lie at the ends of the pieces or
  // where the current crosses zero.
  double q = 0, qMin = 0, qMax = 0;
  for (const Piece& piece : pieces) {
    if (piece.t <= 0) continue;
    if ((piece.a > 0) != (piece.b > 0) && piece.a != piece.b) {
      const double tz = piece.t * piece.a / (piece.a - piece.b);
      const double qz = q + piece.a * tz / 2;
      qMin = std::min(qMin, qz);
      qMax = std::max(qMax, qz);
    }
    q += (piece.a + piece.b) / 2 * piece.t;
    qMin = std::min(qMin, q);
    qMax = std::max(qMax, q);
  }
  return (qMax - qMin) / C;  // µC over µF
}

}  // namespace tarnex
