#pragma once
// The flyback window: the control ids its table and its window class share, and its table.

#include "tables/field_table.h"

namespace tarnex {

namespace flyback {
// Commands in the order of a design: estimate the core, verify the chosen core, clamp.
inline constexpr int kCoreButton = 3;        // "计算磁芯(&C)"
inline constexpr int kVerifyButton = 4;      // "验证(&R)"
inline constexpr int kSnubberButton = 1047;  // "计算(&K)"
inline constexpr int kModeList = 1035;
inline constexpr int kCcm = 0, kDcm = 1;
// The core estimate: its group, the label of its field and the note under it take the
// captions of the mode.
inline constexpr int kEstimateGroup = 1051;
inline constexpr int kEstimateLabel = 1052;
inline constexpr int kEmpiricalNote = 1086;
inline constexpr int kDrawingFrame = 1078;
// Fields a command treats apart: the estimate, the chosen core, the fields that only one
// mode uses, and what the clamp needs from the verification.
inline constexpr int kVe = 1049;
inline constexpr int kAe = 1029, kLe = 1031;
inline constexpr int kR = 1025, kPtd = 1026;
inline constexpr int kLp = 1022, kIpkp = 1041;
inline constexpr int kClk = 1056, kRlk = 1057;
}  // namespace flyback

const DialogTable& flybackTable();

}  // namespace tarnex
