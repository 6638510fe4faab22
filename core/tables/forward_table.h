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

const DialogTable& forwardTable();

}  // namespace tarnex
