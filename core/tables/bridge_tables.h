#pragma once
// The push-pull, half-bridge and full-bridge windows: the same 18 fields in the same order,
// four groups, a note, one calculate command and a drawing each, so their tables are made in
// one place.

#include "tables/field_table.h"

namespace tarnex {

// The push-pull window's hint at a duty cycle that leaves the two switches too little dead time.
inline constexpr const char* kPushPullDutyHint = " 建议留最大占空比设置为小于0.8，留0.2的余量！";

const DialogTable& pushPullTable();
const DialogTable& halfBridgeTable();
const DialogTable& fullBridgeTable();

}  // namespace tarnex
