#pragma once
// The full-bridge window: its table (a form shared with the half-bridge and the push-pull).

#include "tables/field_table.h"

namespace tarnex {

namespace fullbridge {
inline constexpr int kDrawingFrame = 1184;
}  // namespace fullbridge

const DialogTable& fullBridgeTable();

}  // namespace tarnex
