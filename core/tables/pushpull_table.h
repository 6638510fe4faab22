#pragma once
// The push-pull window: its table (a form shared with the two bridges).

#include "tables/field_table.h"

namespace tarnex {

namespace pushpull {
inline constexpr int kDrawingFrame = 1142;
}  // namespace pushpull

const DialogTable& pushPullTable();

}  // namespace tarnex
