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
TransformerSpec windowTransformer(WindowKind kind, const FieldValues& fields,
                                  const CoreGeometry& core, const Material& material,
                                  std::span<const Wire> wires, const SheetSettings& settings = {});

}  // namespace tarnex::magnetics
