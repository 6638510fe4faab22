#pragma once
// The pieces the windows' design checks share: numbers written for a finding, and the
// findings several windows make alike (peak flux, wire against skin depth, bulk capacitor
// valley, currents the window states against the circuit's).

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/finding_text.h"
#include "designs/design_check.h"

namespace tarnex::check {

// The peak flux density B against the density asked for (`asked`, labelled as the window
// labels it) and, where the window has one, the saturation density (bsat 0: none).
void fluxFinding(std::vector<Finding>& findings, double B, double asked, double bsat,
                 std::string_view askedLabel = "设定");

// A wire of the window against the skin depth at fKHz: fine when its diameter is at most
// twice the depth, else the strands that carry the same current density. `acShare` is the
// RMS of the winding current's alternating part over its whole RMS: a current that is mostly
// direct (an inductor with a small ripple) hardly crowds to the surface.
void wireFinding(std::vector<Finding>& findings, std::string_view label, double diameter,
                 double fKHz, double acShare = 1);

// The bulk capacitor's valley at the lowest input against the peak the window designs with:
// the duty cycle the converter needs there (`there`, regulated at the valley) against the
// largest it may take (`dutyLimit`, 0 for none), and the output it then reaches at that limit.
void valleyFinding(std::vector<Finding>& findings, double C, bool assumed, double valley,
                   double designPeak, const StagePoint& there, double dutyLimit,
                   double reachedAtLimit);

// A current the window states (an RMS current it sizes parts by) against the circuit's: a
// warning when the window's is more than 10 % below.
void currentFinding(std::vector<Finding>& findings, std::string_view label, double stated,
                    double circuit);

// The output capacitor's RMS ripple current, and (when the window sizes the capacitor) the
// ripple voltage an ideal capacitor of its size gives against the asked ripple Vopp (mV).
void capacitorFinding(std::vector<Finding>& findings, double rippleCurrent, double rippleVolts,
                      double Vopp);

// The output an open-loop run at the window's largest duty cycle reaches at the lowest input.
void reachFinding(std::vector<Finding>& findings, double reached, double Vo,
                  std::string_view condition);

}  // namespace tarnex::check
