#pragma once
// The built-in procedures of the three loop-compensation calculators: a peak-current-mode loop
// with slope compensation (transconductance or op-amp error amplifier), a voltage-mode type II
// network for a DCM flyback or a forward-type converter, and a voltage-mode type III network.
//
// Every procedure takes the page's numbers (single precision, units as on the page) and returns
// its results (single precision, stored through toSingle) together with the intermediate
// quantities in double for listings and tests. Arithmetic is done in double; a result that a
// later step uses is used as stored. Numeric faults (a zero capacitance, frequency or resistor)
// are not checked: they give infinite or undefined values, which are results like any other.

namespace tarnex {

// ---------------------------------------------------------------------------------------------
// Current-mode control loop.

// The error amplifier of the current-mode page, in the order of its list.
enum class CurrentModeAmplifier {
  Transconductance,  // entry 0: transconductance amplifier driving R2–C1 ∥ C2 to ground
  OpAmp,             // entry 1: op-amp with R1 in and R2–C1 ∥ C2 in its feedback path
  None,              // no entry selected: C1, R2 and C2 are not computed
};

struct CurrentModeInputs {
  CurrentModeAmplifier type = CurrentModeAmplifier::Transconductance;
  float Vo = 0;    // output voltage, V
  float Io = 0;    // load current, A
  float Co = 0;    // output capacitor, µF
  float ESR = 0;   // its series resistance, Ω
  float D = 0;     // largest duty cycle
  float Vin = 0;   // lowest input voltage, V
  float L = 0;     // inductance, µH
  float Vse = 0;   // slope-compensation ramp per period, V peak-to-peak
  float Ri = 0;    // current-sense transfer resistance, Ω
  float fsw = 0;   // switching frequency, kHz
  float fc = 0;    // wanted loop crossover, kHz
  float R1 = 0;    // upper resistor of the output divider, Ω
  float gm = 0;    // amplifier transconductance, A/V
  float Vref = 0;  // amplifier reference voltage, V
};

struct CurrentModeResults {
  float GdB = 0;  // DC gain of the control-to-output transfer, dB
  float C1 = 0;   // integrator capacitor, µF
  float R2 = 0;   // zero resistor, Ω
  float C2 = 0;   // high-frequency pole capacitor, µF
  float fp = 0;   // output pole, Hz
  float fz = 0;   // ESR zero, Hz
  float fEA = 0;  // crossover the amplifier must provide, Hz
  // How the numbers came about.
  double Q = 0;    // slope ratio: compensation slope over the sensed on-slope, plus one half
  double G = 0;    // DC gain of the control-to-output transfer
  double Rx = 0;   // resistance that sets the output pole with Co, Ω
  double C1F = 0;  // integrator capacitor, F
};

CurrentModeResults currentModeCompensation(const CurrentModeInputs& in);

// ---------------------------------------------------------------------------------------------
// Voltage-mode type II network.

// The converter of the type II page, in the order of its list.
enum class TypeIIKind {
  DcmFlyback,  // entry 0: single output pole of the load and the output capacitor
  Forward,     // entry 1: forward type, LC double pole of the output filter
  None,        // no entry selected: nothing is computed
};

// Every number of the page. The step-2 results fpo, fesr, Gesr and the pole and zero fp1, fz1
// are read by step 4 as the fields hold them.
struct TypeIIInputs {
  TypeIIKind kind = TypeIIKind::Forward;
  float Vo = 0;      // output voltage, V
  float Iomax = 0;   // rated load current, A
  float Iomin = 0;   // smallest load current, A
  float Vinmax = 0;  // highest DC input, V
  float Vinmin = 0;  // lowest DC input, V (used by no formula)
  float fsw = 0;     // switching frequency, kHz
  float Co = 0;      // output capacitor, µF
  float ESR = 0;     // its series resistance, Ω
  float Vramp = 0;   // peak of the PWM ramp, V
  float Vref = 0;    // amplifier reference voltage, V
  float L = 0;       // output inductor (forward) or primary inductance (flyback), µH
  float Dmax = 0;    // largest duty cycle
  float fpo = 0;     // step 2: LC double pole or output pole, kHz
  float fesr = 0;    // step 2: ESR zero, kHz
  float Gesr = 0;    // step 2: control-to-output gain at the ESR zero, dB
  float fp1 = 0;     // compensator pole, kHz (flyback input, forward result)
  float fz1 = 0;     // compensator zero, kHz (flyback input, forward result)
  float fc = 0;      // loop crossover, kHz
  float PMwant = 0;  // wanted phase margin, degrees (forward)
  float R1 = 0;      // input resistor of the network, Ω
};

// Step 2: the control-to-output characteristic.
struct TypeIIStage {
  float fpo = 0;   // LC double pole (forward) or output pole (flyback), kHz
  float fesr = 0;  // ESR zero, kHz
  float Gesr = 0;  // gain at the ESR zero, dB
  // How the numbers came about.
  double A = 0;    // forward: modulator and power-stage gain, (Vo / Dmax) / Vramp
  double RL = 0;   // flyback: load at the smallest current, Ω
  double Po = 0;   // flyback: rated output power, W
  double eta = 0;  // flyback: efficiency estimate, fraction of one
  double G0 = 0;   // flyback: DC gain of the control-to-output transfer
};

TypeIIStage typeIIControlToOutput(const TypeIIInputs& in);

// Efficiency the DCM flyback's gain assumes for a rated output power Po in W.
double typeIIFlybackEfficiency(double Po);

// Step 4: the network components and the phase margin they give.
struct TypeIINetwork {
  float R2 = 0;  // Ω
  float C1 = 0;  // zero capacitor, pF
  float C2 = 0;  // pole capacitor, pF
  float PM = 0;  // phase margin, degrees
  // The pole and zero the page shows afterwards, kHz: computed for the forward type,
  // the inputs unchanged for the flyback.
  float fp1 = 0;
  float fz1 = 0;
  // How the numbers came about.
  double gainNeeded = 0;  // gain the network must give at fc with R2 = R1, dB (before the trunc)
  double Gfc = 0;         // forward: control-to-output gain at the crossover, dB
  double k = 0;           // forward: fp1/fc = fc/fz1; 0 when no ratio up to 10000 will do
};

TypeIINetwork typeIINetwork(const TypeIIInputs& in);

// ---------------------------------------------------------------------------------------------
// Voltage-mode type III network.

struct TypeIIIInputs {
  float fp1 = 0;  // pole at the ESR zero, kHz
  float fp2 = 0;  // pole at or above the switching frequency, kHz
  float fz1 = 0;  // zero, kHz
  float fz2 = 0;  // zero, kHz
  float fc = 0;   // open-loop crossover, kHz
  float GdB = 0;  // gain the regulator must provide at the crossover, dB
  float R1 = 0;   // input resistor, kΩ
};

struct TypeIIIResults {
  float C1 = 0;   // nF
  float C2 = 0;   // nF
  float C3 = 0;   // pF
  float R2 = 0;   // kΩ
  float R3 = 0;   // kΩ
  float fEA = 0;  // crossover of the integrator, kHz
  double k = 0;   // gain ratio of GdB
};

TypeIIIResults typeIIINetwork(const TypeIIIInputs& in);

}  // namespace tarnex
