#pragma once
// The DC-DC window (buck, boost, buck-boost in continuous or discontinuous conduction): the
// control ids its table and its window class share, and its table.

#include "tables/field_table.h"

namespace tarnex {

namespace dcdc {
inline constexpr int kTopologyList = 1083;
inline constexpr int kModeList = 1084;
inline constexpr int kHint = 1306;
inline constexpr int kHelpLine = 1307;
inline constexpr int kDrawingFrame = 1078;
// The two fields that only one conduction mode uses.
inline constexpr int kPtd = 1046;  // dead time (DCM)
inline constexpr int kR = 1045;    // ripple ratio (CCM)
// Entries of the two lists.
inline constexpr int kBuck = 0, kBoost = 1, kBuckBoost = 2;
inline constexpr int kCcm = 0, kDcm = 1;
}  // namespace dcdc

const DialogTable& dcdcTable();

}  // namespace tarnex
