#pragma once
// What a ferrite does in a core set: the inductance factor with an air gap, the gap for a
// wanted inductance factor, and the core loss by its Steinmetz fit.

#include <optional>

#include "magnetics/core_data.h"

namespace tarnex::magnetics {

// AL of the set, H per turn², with an air gap g (m) in the centre leg: the reluctance of the
// ferrite path le/(μ0·μi·Ae) in series with the gap's g/(μ0·Ae), the gap's area widened by
// the fringing factor F = 1 + g/√Ae · ln(2·b/g) (b the window's breadth along the leg;
// McLyman, Transformer and Inductor Design Handbook, 3rd ed., eq. 8-6). g = 0: the ungapped
// AL μ0·μi·Ae/le.
double alWithGap(const CoreGeometry& core, double mu, double g);

// The centre-leg gap that gives the wanted AL (the design's L/N²), m: 0 when the ungapped set
// already has an AL no larger; nothing when AL is not a positive finite number.
std::optional<double> gapForAl(const CoreGeometry& core, double mu, double al);

// Core loss density by the Steinmetz fit for frequency f (Hz), peak flux density B (T) and
// temperature T (°C), W/m³: Pv = k·f^α·B^β·(ct0 − ct1·T + ct2·T²), from the fitted range
// holding f (the first below them all, the last above). NaN for a material without a fit or an
// input that is not a finite positive number.
double steinmetzLoss(const Material& material, double f, double B, double T);

}  // namespace tarnex::magnetics
