#pragma once
// The effective parameters of a core set from its lettered dimensions, by IEC 60205: the
// magnetic circuit is cut into segments of length l_i and area A_i, and with the core
// constants C1 = Σ l_i/A_i and C2 = Σ l_i/A_i²
//   Ae = C1/C2,  le = C1²/C2,  Ve = Ae·le,  Amin = the smallest segment area.
// The window and the mean turn are those of the bare core.

#include <optional>

#include "magnetics/catalogue.h"
#include "magnetics/core_data.h"

namespace tarnex::magnetics {

// Nothing when the family is not one the catalogue computes or the dimensions do not make
// a core (a missing or non-positive letter, a window wider than the core).
std::optional<CoreGeometry> effectiveParameters(const Shape& shape);

}  // namespace tarnex::magnetics
