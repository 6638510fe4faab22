#pragma once
// Texts of the windows whose design takes two steps, a core estimate and then the
// verification of the core chosen (flyback, forward), exactly as shown.

namespace tarnex {

inline constexpr const char* kCoreIncomplete = "请输入完整的设计条件！！";
inline constexpr const char* kVerifyIncomplete = "请输入完整的设计条件!";
inline constexpr const char* kNeedCore = "请先输入你选择的磁芯参数！";

}  // namespace tarnex
