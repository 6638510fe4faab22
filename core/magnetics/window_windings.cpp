#include "magnetics/window_windings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/finding_text.h"
#include "tables/bridge_tables.h"
#include "tables/dcdc_table.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"
#include "tables/rcc_table.h"

namespace tarnex::magnetics {

using check::usable;

namespace {

constexpr double kSqrt2 = std::numbers::sqrt2;

// A window's field by its formula name; a name the table lacks reads as 0.
struct Fields {
  const DialogTable& table;
  const FieldValues& values;
  double operator()(std::string_view name) const {
    const FieldRow* row = findField(table, name);
    return row ? values.value(row->controlId) : 0;
  }
};

// The low end of a current ramp of `duty` that peaks at `peak` with the RMS `rms`: the RMS of
// a ramp from a to b over duty D is √(D·(a² + a·b + b²)/3), solved for a. A flat pulse (a = b)
// where the peak is unknown.
double rampStart(double peak, double rms, double duty) {
  if (!usable(peak) || !usable(rms) || !usable(duty)) return 1;
  const double disc = 12 * rms * rms / duty - 3 * peak * peak;
  return std::clamp((std::sqrt(std::max(0.0, disc)) - peak) / 2, 0.0, peak);
}

WindingSpec winding(std::string name, double turns, double diameterMm, double Irms, Waveform wave,
                    std::span<const Wire> wires) {
  return {std::move(name), turns, roundWire(diameterMm * 1e-3, wires), Irms, std::move(wave)};
}

// The single-ended windows storing energy: the flyback in either mode and the ringing choke.
// The primary ramps up for D, the secondary hands the current down for D2 after it.
void coupledInductor(TransformerSpec& t, const Fields& in, double D, double D2, bool ccm,
                     std::span<const Wire> wires) {
  const double Ipkp = in("Ipkp"), Ipks = in("Ipks");
  const double Irmsp = in("Irmsp"), Irmss = in("Irmss");
  const double p0 = ccm ? rampStart(Ipkp, Irmsp, D) : 0;
  const double s0 = ccm ? rampStart(Ipks, Irmss, D2) : 0;
  const double pPeak = usable(Ipkp) ? Ipkp : 1, sPeak = usable(Ipks) ? Ipks : 1;
  t.windings.push_back(winding("初级", in("Np"), in("Dp"), Irmsp, pulse(0, D, p0, pPeak), wires));
  t.windings.push_back(winding("次级", in("Ns"), in("Ds"), Irmss, pulse(D, D2, sPeak, s0), wires));
  t.flux = triangularFlux(D, D2);
}

// The bridges and the push-pull: the flux rises in one half-cycle's on-time D/2 and falls in
// the other's. A centre-tapped secondary half carries the whole current while its diode
// conducts and half of it while both freewheel.
void bridge(TransformerSpec& t, WindowKind kind, const Fields& in, double D,
            std::span<const Wire> wires) {
  const double h = D / 2;
  const Waveform half = pulse(0, h, 1, 1);
  const Waveform bipolar = {{0, 0},    {0, 1},        {h, 1},       {h, 0}, {0.5, 0},
                            {0.5, -1}, {0.5 + h, -1}, {0.5 + h, 0}, {1, 0}};
  const Waveform secondary = {{0, 1},   {h, 1},       {h, 0.5},       {0.5, 0.5},
                              {0.5, 0}, {0.5 + h, 0}, {0.5 + h, 0.5}, {1, 0.5}};
  const double Np = in("Np"), Ns = in("Ns"), Dp = in("Dp"), Ds = in("Ds");
  const double Irmsp = in("Irmsp"), Irmss = in("Irmss");
  if (kind == WindowKind::PushPull) {
    t.windings.push_back(winding("初级一半", Np, Dp, Irmsp, half, wires));
    t.windings.push_back(winding("初级另一半", Np, Dp, Irmsp, half, wires));
  } else {
    t.windings.push_back(winding("初级", Np, Dp, Irmsp, bipolar, wires));
  }
  t.windings.push_back(winding("次级一半", Ns, Ds, Irmss, secondary, wires));
  t.windings.push_back(winding("次级另一半", Ns, Ds, Irmss, secondary, wires));
  t.flux = trapezoidalFlux(h, 0.5 - h, h);
}

const DialogTable& tableOf(WindowKind kind) {
  switch (kind) {
    case WindowKind::FlybackCcm:
    case WindowKind::FlybackDcm:
      return flybackTable();
    case WindowKind::Forward:
      return forwardTable();
    case WindowKind::RingingChoke:
      return rccTable();
    case WindowKind::PushPull:
      return pushPullTable();
    case WindowKind::HalfBridge:
      return halfBridgeTable();
    case WindowKind::FullBridge:
      return fullBridgeTable();
    case WindowKind::DcDcCcm:
    case WindowKind::DcDcDcm:
      break;
  }
  return dcdcTable();
}

// The share of the period that a discontinuous stage's second interval takes: what the on-time
// and the designed dead time (Ptd % of the period) leave.
double fallShare(double D, double Ptd) {
  const double rest = 1 - D - Ptd / 100;
  return rest > 0 ? rest : 1 - D;
}

}  // namespace

Waveform pulse(double start, double width, double from, double to) {
  start = std::clamp(start, 0.0, 1.0);
  const double end = std::clamp(start + width, start, 1.0);
  return {{0, 0}, {start, 0}, {start, from}, {end, to}, {end, 0}, {1, 0}};
}

TransformerSpec windowTransformer(WindowKind kind, const FieldValues& fields,
                                  const CoreGeometry& core, const Material& material,
                                  std::span<const Wire> wires, const SheetSettings& settings) {
  TransformerSpec t;
  t.core = core;
  t.material = material;
  t.temperature = settings.temperature;
  t.fillFactor = settings.fillFactor;
  const Fields in{tableOf(kind), fields};
  const double Vin = kSqrt2 * in("VacMin");  // the rectified lowest input
  const double Ae = core.Ae;

  switch (kind) {
    case WindowKind::FlybackCcm:
    case WindowKind::FlybackDcm: {
      const bool ccm = kind == WindowKind::FlybackCcm;
      const double Ton = in("Ton") * 1e-6;
      t.f = in("f") * 1e3;
      const double D = std::clamp(Ton * t.f, 0.0, 1.0);
      coupledInductor(t, in, D, ccm ? 1 - D : fallShare(D, in("Ptd")), ccm, wires);
      t.voltSeconds = Vin * Ton;
      t.primaryTurns = in("Np");
      // A gapped core carries the magnetising current's DC part: B = Lp·Ipk / (Np·Ae).
      if (ccm && usable(t.primaryTurns) && usable(Ae))
        t.Bpeak = in("Lp") * 1e-6 * in("Ipkp") / (t.primaryTurns * Ae);
      break;
    }
    case WindowKind::RingingChoke: {
      // Critical conduction: the on-time is what takes the primary to its peak, Lp·Ipk / Vin.
      const double Ton = usable(Vin) ? in("Lp") * 1e-6 * in("Ipkp") / Vin : 0;
      t.f = in("fMin") * 1e3;
      const double D = std::clamp(Ton * t.f, 0.0, 1.0);
      coupledInductor(t, in, D, 1 - D, false, wires);
      t.voltSeconds = Vin * Ton;
      t.primaryTurns = in("Np");
      break;
    }
    case WindowKind::Forward: {
      // The reset winding, as many turns as the primary, takes the flux back in as long.
      t.f = in("f") * 1e3;
      const double D = std::clamp(in("Dmax"), 0.0, 0.5);
      const Waveform on = pulse(0, D, 1, 1);
      t.windings.push_back(winding("初级", in("Np"), in("Dp"), in("Irmsp"), on, wires));
      t.windings.push_back(winding("次级", in("Ns"), in("Ds"), in("Irmss"), on, wires));
      t.flux = trapezoidalFlux(D, 0, D);
      t.voltSeconds = usable(t.f) ? Vin * D / t.f : 0;
      t.primaryTurns = in("Np");
      break;
    }
    case WindowKind::PushPull:
    case WindowKind::HalfBridge:
    case WindowKind::FullBridge: {
      t.f = in("f") * 1e3;
      const double D = std::clamp(in("Dmax"), 0.0, 1.0);
      bridge(t, kind, in, D, wires);
      // The half-bridge's capacitors hold half the input across the primary.
      const double V = kind == WindowKind::HalfBridge ? Vin / 2 : Vin;
      t.voltSeconds = usable(t.f) ? V * D / (2 * t.f) : 0;
      t.primaryTurns = in("Np");
      // The flux swings symmetrically about zero.
      t.Bpeak =
          usable(t.primaryTurns) && usable(Ae) ? t.voltSeconds / (t.primaryTurns * Ae) / 2 : 0;
      break;
    }
    case WindowKind::DcDcCcm:
    case WindowKind::DcDcDcm: {
      t.f = in("f") * 1e3;
      const double D = std::clamp(in("Duty"), 0.0, 1.0);
      const double L = in("L") * 1e-6, Ipk = in("Ipk"), Irms = in("Irms"), N = in("NL");
      Waveform current;
      double ripple = Ipk;
      if (kind == WindowKind::DcDcCcm) {
        // A ramp of ripple d on the DC: Ipk = Idc + d/2, Irms² = Idc² + d²/12, solved for d.
        const double root = std::sqrt(std::max(0.0, 4 * Irms * Irms / 3 - Ipk * Ipk / 3));
        ripple = std::clamp(1.5 * (Ipk - root), 0.0, Ipk);
        current = {{0, Ipk - ripple}, {D, Ipk}, {1, Ipk - ripple}};
        t.flux = triangularFlux(D);
        if (usable(N) && usable(Ae)) t.Bpeak = L * Ipk / (N * Ae);
      } else {
        const double D2 = fallShare(D, in("Ptd"));
        current = {{0, 0}, {D, Ipk}, {D + D2, 0}, {1, 0}};
        t.flux = triangularFlux(D, D2);
      }
      t.windings.push_back(winding("电感", N, in("DL"), Irms, std::move(current), wires));
      // Faraday over the on-time: V·Ton = L·ΔI.
      t.voltSeconds = L * ripple;
      t.primaryTurns = N;
      break;
    }
  }
  return t;
}

void applyCircuit(TransformerSpec& t, const CircuitValues& circuit) {
  if (usable(circuit.Bpeak)) t.Bpeak = circuit.Bpeak;
  // ΔB = V·Ton / (N·Ae): the volt-seconds that drive the circuit's swing in the window's turns.
  if (usable(circuit.swing)) t.voltSeconds = circuit.swing * t.primaryTurns * t.core.Ae;
  if (usable(circuit.f)) t.f = circuit.f;
  if (!circuit.flux.empty()) t.flux = circuit.flux;
  for (WindingSpec& w : t.windings) {
    const bool secondary = w.name.starts_with("次级");
    const double rms = secondary ? circuit.secondaryRms : circuit.primaryRms;
    const Waveform& shape = secondary ? circuit.secondary : circuit.primary;
    if (usable(rms)) w.Irms = rms;
    if (!shape.empty()) w.current = shape;
  }
}

}  // namespace tarnex::magnetics
