#pragma once
// The launcher: its buttons (one per converter topology, the loop-compensation sheet, the
// toolbox and the exit), their keyboard order, and the ids the design tables name as the
// button that opens them.

#include <span>

#include "tables/field_table.h"

namespace tarnex {

namespace launcher {
inline constexpr int kDcDcButton = 1016;
inline constexpr int kFlybackButton = 1015;
inline constexpr int kForwardButton = 1006;
inline constexpr int kHalfBridgeButton = 1008;
inline constexpr int kResonantButton = 1187;  // "谐振LLC": never available
inline constexpr int kRccButton = 1017;
inline constexpr int kPushPullButton = 1002;
inline constexpr int kFullBridgeButton = 1014;
inline constexpr int kLoopButton = 57671;
inline constexpr int kToolboxButton = 1186;
inline constexpr int kExitButton = kCloseButton;
}  // namespace launcher

const DialogTable& launcherTable();

// Keyboard order of the buttons; the first takes the focus when the launcher opens.
std::span<const int> launcherTabOrder();

}  // namespace tarnex
