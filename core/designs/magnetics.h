#pragma once
// Rules and constants shared by the built-in design procedures: the peak of an AC input, the
// switching period, the wire diameter for a current density, and the three ways the windows
// round a raw turns count to whole turns (they differ at an exact half, and the secondary of
// most transformers is rounded up). The constants are the engineering values the procedures
// compute with, not the exact mathematical ones, so that results match to the last digit.

namespace tarnex {

// √2 and 1/√2 as the procedures use them: the peak of an AC voltage given in volts rms.
inline constexpr double kSqrt2 = 1.414;
inline constexpr double kInvSqrt2 = 0.707;
// 2π as the procedures and the compensation pages compute with it (6.2831852, not the exact
// kTwoPi of the Bode plots), its unit-scaled forms (kHz × kΩ, nF, µF and the like), and the
// degrees per radian of the pages' phase.
inline constexpr double kTwoPiPage = 6.2831852;
inline constexpr double kTwoPiPageKilo = 6283.1852;
inline constexpr double kTwoPiPageMega = 6283185.2;
inline constexpr double kTwoPiPageMicro = 0.0000062831852;
inline constexpr double kDegreesPerRadianPage = 57.295780490442965;
// Millimetres per mil (1/39.37).
inline constexpr double kMmPerMil = 0.025400050800101603;

// Peak of an AC input given in volts rms: 1.414 × Vac.
double acPeak(double vacRms);

// Switching period in µs for a frequency in kHz.
double switchingPeriod(double fKHz);

// Wire diameter in mm that carries `irms` amperes at `cmil` circular mils per ampere: the
// diameter in mils of a round conductor of Irms × Cmil circular mils, converted to mm.
double wireDiameter(double irms, double cmil);

// Whether a raw count can be rounded to whole turns: finite and inside the 32-bit integer
// range. A count that cannot (a zero core area or frequency gives an infinite one) is kept
// as computed by every rule below. A positive count that can never rounds below one turn.
bool turnsRoundable(double raw);

// Whole turns, rounded up whenever there is a fraction (a whole count stays): the secondary
// of a transformer, so that the flux does not rise above the design value.
double roundTurnsUp(double raw);

// Whole turns to nearest, an exact half going down: truncated towards zero, then one more
// only when the fraction exceeds 0.5.
double roundTurnsHalfDown(double raw);

// Whole turns to nearest, an exact half going up: truncated towards zero, then one more when
// the fraction is 0.5 or more.
double roundTurnsHalfUp(double raw);

}  // namespace tarnex
