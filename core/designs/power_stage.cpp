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

StagePoint regulateWithoutLeakage(const Stage& s) {
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

// A buck-boost whose switch reaches the inductor through a leakage inductance Llk (the
// flyback referred to its secondary: the inductor is the magnetising inductance). A period
// has four intervals:
//   A  the switch turns on while the diode still carries i0: the leakage current rises at
//      (Vin + Vr)/Llk until it carries the inductor current, which meanwhile falls at Vr/L
//      (the diode still holds the inductor at −Vr, Vr = Vo + Vdf);
//   B  the rest of the on-time: inductor and leakage in series across the input;
//   C  the switch turns off: the clamp resets the leakage current from the peak at
//      (Vclamp − Vr)/Llk while the diode current rises from zero and the inductor falls;
//   D  the diode alone carries the falling inductor current, to i0 (continuous) or to zero
//      and a rest (discontinuous).
// Only B moves the inductor current up: in continuous conduction the volt-seconds balance
// gives its length, and the load the current level.
struct LeakyPeriod {
  double tA = 0, tB = 0, tC = 0, tD = 0;
  double i0 = 0;      // inductor (and diode) current at switch-on
  double i1 = 0;      // inductor current when the switch has taken it over
  double iPk = 0;     // at switch-off
  double i2 = 0;      // when the leakage has been reset
  double Vcl = 0;     // clamp voltage
  double charge = 0;  // the diode's charge over the period, µC
};

// The period that starts from i0 with B lasting tB; false when it is no period (the clamp
// not above Vr, or the intervals longer than the period).
bool leakyPeriod(const Stage& s, double T, double i0, double tB, LeakyPeriod& q) {
  const double Vr = s.Vo + s.Vdf;
  const double Von = s.Vin - s.Vsw;
  q.i0 = i0;
  q.tB = tB;
  q.tA = i0 / ((Von + Vr) / s.Llk + Vr / s.L);
  q.i1 = i0 - Vr * q.tA / s.L;
  q.iPk = q.i1 + Von * tB / (s.L + s.Llk);
  q.Vcl = s.Vclamp;
  if (s.Rclamp > 0) {
    // Vcl²/R = ½·Llk·Ipk²·Vcl/((Vcl − Vr)·T): the resistor burns the energy the leakage brings
    // to the clamp while the clamp resets it against Vr.
    const double energyTimesR = 0.5 * s.Llk * q.iPk * q.iPk / T * s.Rclamp;  // W·Ω
    q.Vcl = (Vr + std::sqrt(Vr * Vr + 4 * energyTimesR)) / 2;
  }
  if (!(q.Vcl > Vr)) return false;
  q.tC = s.Llk * q.iPk / (q.Vcl - Vr);
  q.i2 = q.iPk - Vr * q.tC / s.L;
  // Continuous: the diode carries on until the next switch-on; discontinuous: until zero.
  q.tD = i0 > 0 ? T - q.tA - q.tB - q.tC : q.i2 * s.L / Vr;
  if (!(q.tD >= 0) || !(q.i2 >= 0) || q.tA + q.tB + q.tC + q.tD > T * (1 + 1e-9)) return false;
  q.charge = i0 * q.tA / 2 + q.i2 * q.tC / 2 + (q.i2 + i0) * q.tD / 2;
  return true;
}

StagePoint regulateWithLeakage(const Stage& s) {
  StagePoint p = pointOf(s);
  const double Vr = s.Vo + s.Vdf;
  const double Von = s.Vin - s.Vsw;
  p.T = 1000 / s.f;
  const double T = p.T;
  if (!positive(Von) || !positive(Vr) || !positive(s.L) || !positive(T) || !std::isfinite(s.Io) ||
      s.Io < 0) {
    return p;
  }
  const double need = s.Io * T;
  // Continuous: the inductor's volt-seconds balance, Von·L/(L + Llk)·tB = Vr·(T − tB), fixes
  // tB; the current level is what carries the load. Below the level at which the current
  // just reaches zero, the stage runs discontinuous.
  const double tBalanced = Vr * T / (Von * s.L / (s.L + s.Llk) + Vr);
  LeakyPeriod q;
  const bool continuous = leakyPeriod(s, T, 0, tBalanced, q) && q.charge < need;
  double lo = 0, hi = tBalanced;
  if (continuous) {
    // The diode's charge grows with the current level, until the commutations fill the
    // period: beyond that the stage cannot hold the load at this output.
    hi = std::max(1.0, 2 * need / T);
    for (int i = 0; i < 200; ++i) {
      if (!leakyPeriod(s, T, hi, tBalanced, q) || q.charge >= need) break;
      hi *= 2;
    }
  }
  // Bisect the current level (continuous) or the on-time (discontinuous) for the load.
  auto periodAt = [&](double x) {
    return continuous ? leakyPeriod(s, T, x, tBalanced, q) : leakyPeriod(s, T, 0, x, q);
  };
  for (int i = 0; i < 200 && hi - lo > 1e-13 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    (periodAt(mid) && q.charge < need ? lo : hi) = mid;
  }
  if (!periodAt(lo) || q.charge < need * (1 - 1e-9)) return p;

  p.conduction = continuous ? Conduction::Continuous : Conduction::Discontinuous;
  p.Ton = q.tA + q.tB;
  p.Ttake = q.tA;
  p.Tleak = q.tC;
  p.Toff = q.tC + q.tD;
  p.Tdead = std::max(0.0, T - p.Ton - p.Toff);
  p.iOff = q.i0;
  p.iStart = q.i1;
  p.iPeak = q.iPk;
  p.iHanded = q.i2;
  p.Vclamp = q.Vcl;
  // The inductor's current over the four intervals, the switch's (A, B) and the diode's
  // (A, C, D).
  const double m2 = rampRmsSquared(q.i0, q.i1, q.tA, T) + rampRmsSquared(q.i1, q.iPk, q.tB, T) +
                    rampRmsSquared(q.iPk, q.i2, q.tC, T) + rampRmsSquared(q.i2, q.i0, q.tD, T);
  const double sw2 = rampRmsSquared(0, q.i1, q.tA, T) + rampRmsSquared(q.i1, q.iPk, q.tB, T);
  const double d2 = rampRmsSquared(q.i0, 0, q.tA, T) + rampRmsSquared(0, q.i2, q.tC, T) +
                    rampRmsSquared(q.i2, q.i0, q.tD, T);
  p.iMean = ((q.i0 + q.i1) * q.tA + (q.i1 + q.iPk) * q.tB + (q.iPk + q.i2) * q.tC +
             (q.i2 + q.i0) * q.tD) /
            (2 * T);
  p.inductorRms = std::sqrt(m2);
  p.switchRms = std::sqrt(sw2);
  p.diodeRms = std::sqrt(d2);
  p.outputRms = p.diodeRms;
  p.capacitorRms = std::sqrt(std::max(0.0, d2 - s.Io * s.Io));
  p.valid = true;
  return p;
}

}  // namespace

StagePoint regulate(const Stage& s) {
  if (s.Llk > 0 && s.kind == StageKind::BuckBoost) return regulateWithLeakage(s);
  return regulateWithoutLeakage(s);
}

StagePoint driveAt(const Stage& s, double Ton, double R) {
  StagePoint none = pointOf(s);
  if (!positive(Ton) || !positive(R) || !positive(s.f) || Ton >= 1000 / s.f) return none;
  // The on-time the regulated stage needs grows with its output (and with the load current
  // Vo / R that comes with it): bisect the output between what the stage can give. An output
  // the stage cannot hold at all lies beyond the one sought.
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
      if (!p.valid || p.Ton > Ton) break;
      hi *= 2;
    }
  }
  for (int i = 0; i < 200 && hi - lo > 1e-12 * hi; ++i) {
    const double mid = (lo + hi) / 2;
    const StagePoint p = onTimeFor(mid);
    if (!p.valid || p.Ton > Ton) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  StagePoint p = onTimeFor(lo);
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
  if (p.Tleak > 0) {
    // Through a leakage inductance the diode gives its current up only as the switch takes it
    // (Ttake), and takes it again only as the clamp resets the leakage (Tleak).
    pieces.push_back({p.Ttake, p.iOff - p.Io, -p.Io});
    pieces.push_back({p.Ton - p.Ttake, -p.Io, -p.Io});
    pieces.push_back({p.Tleak, -p.Io, p.iHanded - p.Io});
    pieces.push_back({p.Toff - p.Tleak, p.iHanded - p.Io, p.iOff - p.Io});
  } else {
    const double onCurrent0 = s.kind == StageKind::Buck ? p.iStart : 0.0;
    const double onCurrent1 = s.kind == StageKind::Buck ? p.iPeak : 0.0;
    pieces.push_back({p.Ton, onCurrent0 - p.Io, onCurrent1 - p.Io});
    pieces.push_back({p.Toff, p.iPeak - p.Io, iEnd - p.Io});
  }
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
