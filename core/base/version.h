#pragma once
// The program's version, as the project declares it, for what the program writes out (a
// design report names the version that made it).

namespace tarnex {

inline constexpr const char* kProgramVersion = "3.2";

}  // namespace tarnex
