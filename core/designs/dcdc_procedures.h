#pragma once
// The built-in design procedures of the non-isolated stages: buck, boost and buck-boost, each
// in continuous (CCM) and discontinuous (DCM) conduction. Pure functions of the design
// conditions; units as on the form (V, A, kHz, µs, µH, gauss, mm², circular mils per ampere,
// mV, percent of the period).

namespace tarnex {

enum class DcDcTopology { Buck, Boost, BuckBoost };
enum class DcDcMode { Ccm, Dcm };

struct DcDcInputs {
  float VinMin = 18, VinMax = 24, Vo = 12, IoMax = 1;
  float Vsw = 1.5f;  // on-state drop of the switch
  float Vdf = 0.5f;  // forward drop of the diode
  float f = 150;     // switching frequency, kHz
  float Ptd = 20;    // dead time, percent of the period (DCM)
  float r = 0.4f;    // ripple ratio dI / IL (CCM)
  float Bpk = 2500, Bsat = 3000;
  float Cmil = 400;  // current density, circular mils per ampere
  float Vopp = 50;   // output ripple, mV
  float Ae = 23;     // core area, mm²
};

struct DcDcOutputs {
  float L = 0, Ipk = 0, Irms = 0, DL = 0, NL = 0;
  float Ton = 0, Duty = 0, Iswrms = 0, Vswm = 0, Idrms = 0, Vdm = 0, Co = 0, Vc = 0;
  // How the numbers came about (no field): the turns before rounding.
  float NLraw = 0;
};

enum class DcDcEnding {
  Ok,
  // Nothing computed, the outputs are all 0: an input range upside down (VinMin > VinMax), a
  // buck whose inductor sees no positive voltage while the switch is on (VinMin − Vsw ≤ Vo),
  // a boost or buck-boost whose input does not exceed the switch drop (VinMin ≤ Vsw), a boost
  // that does not lift (Vo ≤ VinMax), a duty cycle of 1 or more, or a DCM dead time that
  // leaves no time for the on- and off-time (Ptd ≥ 100).
  Impossible,
  // The peak flux with the rounded turns, Bpk × NLraw / NL, exceeds Bsat (the outputs were
  // computed all the same).
  Saturation,
};

struct DcDcResult {
  DcDcEnding ending = DcDcEnding::Ok;
  DcDcOutputs out;
  // The peak flux density the rounded turns give, gauss: Bpk × NLraw / NL (Bpk itself when
  // NL is 0 or not finite).
  double Bpeak = 0;
};

DcDcResult designDcDc(DcDcTopology topology, DcDcMode mode, const DcDcInputs& in);

}  // namespace tarnex
