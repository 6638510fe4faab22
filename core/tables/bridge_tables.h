#pragma once
// The push-pull, half-bridge and full-bridge windows: one form shared by the three (the same
// 18 fields in the same order, four groups, a note, one calculate command and a drawing), so
// their tables are made in one place.

#include "tables/field_table.h"

namespace tarnex {

const DialogTable& pushPullTable();
const DialogTable& halfBridgeTable();
const DialogTable& fullBridgeTable();

}  // namespace tarnex
