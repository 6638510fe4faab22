#pragma once
// The procedures' inputs and results by the formula names of their windows' fields, as the
// windows bind them: for tests that compare a window's or a formula file's numbers with a
// procedure's. The program's own list (the simulation reads the windows by it).

#include "sim/window_binds.h"

namespace tarnex::testing::binds {

using namespace sim::binds;

}  // namespace tarnex::testing::binds
