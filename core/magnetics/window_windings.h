#pragma once
// The transformer (or inductor) of a design window, read from the window's fields as shown
// after its calculation, on the core and ferrite picked from the catalogue: the turns and
// wires of its windings, their currents' waveforms, the switching frequency and the primary's
// volt-seconds, for the loss and fit sheet.

#include <span>

#include "base/field_values.h"
#include "magnetics/loss_sheet.h"

namespace tarnex::magnetics {

enum class WindowKind {
  FlybackCcm,
  FlybackDcm,
  Forward,
  RingingChoke,
  PushPull,
  HalfBridge,
  FullBridge,
  DcDcCcm,
  DcDcDcm,
};

// Conditions of the sheet the user may change.
struct SheetSettings {
  double temperature = 100;  // °C
  double fillFactor = 0.4;
};

// The fields are read by the formula names of the window's table, in the window's units (mm,
// A, kHz, µs, µH, V). The wire diameters are the conducting ones; the enamel comes from
// `wires` (roundWire). The flux swing is taken at the lowest input, where the on-time is
// longest.
// What a window's design check solved of the circuit as built at full load, at the lowest
// input (the highest where the flux of a DC-DC inductor peaks there): the peak flux and the
// RMS current of each primary and each secondary winding (a winding half where the window
// splits one), and where the stage gives them the shapes of the currents and of the flux and
// the frequency it runs at. A zero or empty member keeps what the window's fields give.
struct CircuitValues {
  double Bpeak = 0;                         // T
  double swing = 0;                         // T, peak to peak
  double f = 0;                             // Hz
  double primaryRms = 0, secondaryRms = 0;  // A
  Waveform primary, secondary, flux;        // one period, any scale
  bool highestInput = false;
};

// The current of a switch or rectifier: zero, then from `from` to `to` in a straight line
// while it conducts, from `start` for `width` of the period, then zero again.
Waveform pulse(double start, double width, double from, double to);

TransformerSpec windowTransformer(WindowKind kind, const FieldValues& fields,
                                  const CoreGeometry& core, const Material& material,
                                  std::span<const Wire> wires, const SheetSettings& settings = {});

// The transformer with the circuit's values over the fields' (the secondary windings are the
// ones named 次级…). The flux's volt-seconds are set to give the circuit's swing.
void applyCircuit(TransformerSpec& t, const CircuitValues& circuit);

}  // namespace tarnex::magnetics
