#pragma once
// Texts several design windows share, exactly as shown.

namespace tarnex {

// Design conditions the circuit cannot meet (every design window).
inline constexpr const char* kImpossibleDesign = "设计条件不正确，请检查！";

// The windows whose design takes two steps, a core estimate and then the verification of the
// core chosen (flyback, forward).

inline constexpr const char* kCoreIncomplete = "请输入完整的设计条件！！";
inline constexpr const char* kVerifyIncomplete = "请输入完整的设计条件!";
inline constexpr const char* kNeedCore = "请先输入你选择的磁芯参数！";

}  // namespace tarnex
