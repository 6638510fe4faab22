#pragma once
// The design check of the compensation pages: what the loop built from the page's numbers does,
// read off its exact Bode plot (loop/bode.h), beside what the page asked and computed.
//  - the exact crossover against the asked one (a warning beyond ±30 %), none at all, or one
//    beyond half the switching frequency (failures);
//  - the exact phase margin (a failure below 30°, a warning below 45°) and, on the type II page,
//    the page's own asymptotic margin beside it;
//  - the gain margin at half the switching frequency (a failure at 0 dB or less, a warning
//    below 6 dB);
//  - current mode: the crossover against a third of the right-half-plane zero, and the slope
//    compensation against the subharmonic limit mc·D' = 0.5;
//  - a network that cannot be built (a zero, negative, infinite or undefined component);
//  - after the exact design, what its loop does and where it had to give way.

#include <vector>

#include "base/finding.h"
#include "loop/bode.h"
#include "loop/compensation.h"
#include "loop/loop_model.h"

namespace tarnex {

std::vector<Finding> currentModeFindings(const CurrentModeInputs& in, const CurrentModeResults& r,
                                         const BodePlot& plot, const CurrentModeExact* exact);

// After step 4 (`network` set) or the exact design; the step-2 characteristic alone has no loop
// to check.
std::vector<Finding> typeIIFindings(const TypeIIInputs& in, const TypeIINetwork& network,
                                    const BodePlot& plot, const TypeIIExact* exact);

// The type III page has no stage: its network's gain and phase at fc against what was typed.
std::vector<Finding> typeIIIFindings(const TypeIIIInputs& in, const TypeIIIResults& r,
                                     const BodePlot& plot, const TypeIIIExact* exact);

}  // namespace tarnex
