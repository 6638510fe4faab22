#pragma once
// The opening values of the windows and the compensation pages, as the tests start from them:
// the numbers each field holds when the window opens (the DC-DC window's are DcDcInputs{}).

#include "designs/bridge_procedures.h"
#include "designs/flyback_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/rcc_procedures.h"
#include "loop/compensation.h"

namespace tarnex::testing {

// The flyback's, with the reference core Ae 100 mm², Le 60 mm typed in (leakage Per % of Lp).
inline FlybackInputs flybackOpening(float Per = 5) {
  return {74, 5, 70, 90, 270, 600, 100, 150, 0.6f, 0.5f, 20, 500, 50, 100, 60, 2500, 3000, Per};
}

// The forward's, with Ae 100 mm² typed in.
inline ForwardInputs forwardOpening(float Dmax = 0.35f) {
  return {90, 270, 5, 50, 200, 83, 0.6f, Dmax, 1500, 600, 0.3f, 100};
}

inline RccInputs rccOpening() {
  return {90, 260, 5, 1, 0.1f, 60, 75, 600, 150, 1.5f, 0.6f, 2500, 19.2f, 500};
}

// The push-pull's (20 A, 80 %) and the bridges' (50 A, 90 %) differ in load and efficiency.
inline BridgeInputs bridgeOpening(float Io = 20, float Eff = 80) {
  return {90, 260, 12, Io, 100, Eff, 0.6f, 0.8f, 1600, 500, 144};
}

inline CurrentModeInputs currentModeOpening(
    CurrentModeAmplifier type = CurrentModeAmplifier::Transconductance) {
  return {type, 5, 1, 470, 0.13f, 0.5f, 10, 30, 1, 0.6f, 60, 20, 4700, 0.3f, 2.5f};
}

// The type II page's fields before step 2 (its results fpo, fesr and Gesr still 0).
inline TypeIIInputs typeIIOpening(TypeIIKind kind) {
  TypeIIInputs in{kind, 5, 10, 1, 10, 15, 100, 470, 0.13f, 3, 2.5f, 50, 0.5f};
  in.fp1 = 80, in.fz1 = 5, in.fc = 20, in.PMwant = 45, in.R1 = 1000;
  return in;
}

// ... and after it, with its results unrounded in the fields.
inline TypeIIInputs typeIIAfterStep2(TypeIIKind kind) {
  TypeIIInputs in = typeIIOpening(kind);
  const TypeIIStage s = typeIIControlToOutput(in);
  in.fpo = s.fpo, in.fesr = s.fesr, in.Gesr = s.Gesr;
  return in;
}

inline TypeIIIInputs typeIIIOpening() {
  return {10.5f, 500, 3.918f, 3.918f, 50, 16.9f, 2};
}

}  // namespace tarnex::testing
