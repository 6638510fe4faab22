#include "designs/transformer_turns.h"

namespace tarnex {

TransformerTurns windTurns(double Np0, double n, TurnsRounding secondary, TurnsRounding primary) {
  TransformerTurns t;
  t.Ns0 = Np0 / n;
  t.Ns = secondary(t.Ns0);
  t.Np1 = n * t.Ns;
  t.Np = primary(t.Np1);
  return t;
}

}  // namespace tarnex
