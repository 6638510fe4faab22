#pragma once
// The single-switch forward window: the control ids its table and its window class share, and
// its table.

#include "tables/field_table.h"

namespace tarnex {

namespace forward {
inline constexpr int kCoreButton = 1096;    // "计算磁芯(&C)"
inline constexpr int kVerifyButton = 1095;  // "验证(&R)"
inline constexpr int kNote = 1306;
inline constexpr int kDrawingFrame = 1114;
// The area-product estimate and the chosen core's area, which the commands treat apart.
inline constexpr int kAp = 1094;
inline constexpr int kAe = 1046;
}  // namespace forward

// The hint at a duty cycle a reset winding equal to the primary cannot reset the core at.
inline constexpr const char* kForwardDutyHint =
    "提示：如果复位绕组和初级匝数相等，请设置最大占空比小于0.5！";

const DialogTable& forwardTable();

}  // namespace tarnex
