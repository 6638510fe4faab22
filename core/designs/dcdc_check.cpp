// The design check of the DC-DC window: the inductor stage as built, regulated at both ends
// of the input range at full load.
#include <algorithm>
#include <cmath>

#include "designs/check_text.h"
#include "designs/design_check.h"

namespace tarnex {

namespace {

using namespace check;

StageKind kindOf(DcDcTopology topology) {
  switch (topology) {
    case DcDcTopology::Buck:
      return StageKind::Buck;
    case DcDcTopology::Boost:
      return StageKind::Boost;
    case DcDcTopology::BuckBoost:
      return StageKind::BuckBoost;
  }
  return StageKind::Buck;
}

Stage stageAt(DcDcTopology topology, const DcDcInputs& in, const DcDcOutputs& out, double Vin) {
  return Stage{kindOf(topology), Vin, in.Vsw, in.Vdf, in.Vo, in.IoMax, out.L, in.f};
}

std::string inputLabel(double Vin) {
  return fill("输入 {} V", {num(Vin)});
}

// Continuous conduction: the ripple ratio where the window did not design it.
void continuousFindings(std::vector<Finding>& findings, const StagePoint& designed,
                        const StagePoint& other, double r) {
  if (other.conduction == Conduction::Discontinuous) {
    add(findings, Severity::Warning,
        fill("{}、满载时电感电流断续（电流回到零），不再是连续模式", {inputLabel(other.Vin)}));
    return;
  }
  add(findings, Severity::Info,
      fill("电感纹波率在{} 时为 {}，在{} 时为 {}（设定 {}）",
           {inputLabel(designed.Vin), num(designed.rippleRatio()), inputLabel(other.Vin),
            num(other.rippleRatio()), num(r)}));
}

// Discontinuous conduction: the inductor must empty in every period at both ends.
void discontinuousFindings(std::vector<Finding>& findings, const StagePoint& low,
                           const StagePoint& high) {
  for (const StagePoint* p : {&low, &high}) {
    if (p->conduction == Conduction::Continuous) {
      add(findings, p == &low ? Severity::Failure : Severity::Warning,
          fill("{}、满载时电感电流连续，不再是断续模式", {inputLabel(p->Vin)}));
    } else {
      add(findings, Severity::Info,
          fill("{}、满载时电流为零的时间占周期的 {}",
               {inputLabel(p->Vin), percent(p->Tdead / p->T)}));
    }
  }
}

// The inductor's circuit at p for the loss sheet, its flux peaking at `Bpeak` gauss: one
// winding carries the inductor current, which the flux follows.
magnetics::CircuitValues inductorCircuit(const StagePoint& p, double Bpeak) {
  magnetics::CircuitValues v;
  v.Bpeak = Bpeak * 1e-4;
  v.primaryRms = p.inductorRms;
  if (!usable(p.T, p.iPeak)) return v;
  const double on = p.Ton / p.T, end = std::min(1.0, (p.Ton + p.Toff) / p.T);
  const double a = p.iStart, b = p.iPeak;
  v.primary = {{0, a}, {on, b}, {end, a}, {1, a}};
  v.flux = v.primary;
  v.swing = v.Bpeak * (b - a) / b;
  return v;
}

}  // namespace

DcDcCheck checkDcDc(DcDcTopology topology, DcDcMode mode, const DcDcInputs& in,
                    const DcDcOutputs& out) {
  DcDcCheck c;
  c.lowStage = stageAt(topology, in, out, in.VinMin);
  c.highStage = stageAt(topology, in, out, in.VinMax);
  c.low = regulate(c.lowStage);
  c.high = regulate(c.highStage);
  std::vector<Finding>& f = c.findings;
  if (!c.low.valid || !c.high.valid || !usable(in.Vo, in.IoMax)) return c;

  // A gapped or powder core: the flux follows the inductor current, B = L·I / (N·Ae).
  const double iPeak = std::max(c.low.iPeak, c.high.iPeak);
  if (usable(out.NL, in.Ae)) c.Bpeak = out.L * iPeak * 1e4 / (out.NL * in.Ae);
  fluxFinding(f, c.Bpeak, in.Bpk, in.Bsat);
  c.circuit = inductorCircuit(c.low.iPeak >= c.high.iPeak ? c.low : c.high, c.Bpeak);
  c.circuit->highestInput = c.low.iPeak < c.high.iPeak;

  if (mode == DcDcMode::Ccm) {
    // The buck's ripple is largest at the highest input, where the window designs it; the
    // boost and buck-boost are designed at the lowest.
    const bool atHigh = topology == DcDcTopology::Buck;
    continuousFindings(f, atHigh ? c.high : c.low, atHigh ? c.low : c.high, in.r);
  } else {
    discontinuousFindings(f, c.low, c.high);
  }

  const double ripple =
      std::max(outputRipple(c.lowStage, c.low, out.Co), outputRipple(c.highStage, c.high, out.Co));
  if (usable(out.Co)) c.outputRipple = ripple;
  capacitorFinding(f, std::max(c.low.capacitorRms, c.high.capacitorRms), c.outputRipple, in.Vopp);

  currentFinding(f, "开关管有效电流", out.Iswrms, std::max(c.low.switchRms, c.high.switchRms));
  currentFinding(f, "二极管有效电流", out.Idrms, std::max(c.low.diodeRms, c.high.diodeRms));
  // The inductor's current is its mean plus the ripple: the alternating part is what the
  // skin effect acts on.
  double acShare = 0;
  for (const StagePoint* p : {&c.low, &c.high}) {
    if (p->inductorRms > 0) {
      const double ac =
          std::sqrt(std::max(0.0, p->inductorRms * p->inductorRms - p->iMean * p->iMean));
      acShare = std::max(acShare, ac / p->inductorRms);
    }
  }
  wireFinding(f, "绕线线径", out.DL, in.f, acShare);
  return c;
}

}  // namespace tarnex
