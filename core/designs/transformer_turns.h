#pragma once
// Whole turns of a two-winding transformer from the raw primary count that the flux swing
// asks for. The secondary is rounded first, because a fraction of a turn cannot be wound on
// the winding with the fewest turns; the primary then follows the turns ratio and is rounded
// in its turn. The windows differ only in the rounding rule of each step (magnetics.h).

namespace tarnex {

// The turns of one design, raw and rounded.
struct TransformerTurns {
  double Ns0 = 0;  // raw secondary turns, Np0 / n
  double Ns = 0;   // Ns0 rounded by the secondary's rule
  double Np1 = 0;  // primary turns for the whole secondary count, n × Ns
  double Np = 0;   // Np1 rounded by the primary's rule
};

// One of the rounding rules of magnetics.h (roundTurnsUp, roundTurnsHalfDown, ...).
using TurnsRounding = double (*)(double raw);

// Ns = secondary(Np0 / n), then Np = primary(n × Ns), n being the turns ratio Np/Ns. Counts
// that cannot be rounded (infinite, undefined, beyond the 32-bit range) stay as computed.
TransformerTurns windTurns(double Np0, double n, TurnsRounding secondary, TurnsRounding primary);

}  // namespace tarnex
