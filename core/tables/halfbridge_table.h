#pragma once
// The half-bridge window: its table (a form shared with the full-bridge and the push-pull).

#include "tables/field_table.h"

namespace tarnex {

namespace halfbridge {
inline constexpr int kDrawingFrame = 1185;
}  // namespace halfbridge

const DialogTable& halfBridgeTable();

}  // namespace tarnex
