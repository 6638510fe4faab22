#pragma once
// The ringing choke converter window: the control ids its table and its window class share,
// and its table.

#include "tables/field_table.h"

namespace tarnex {

namespace rcc {
inline constexpr int kDrawingFrame = 1093;
}  // namespace rcc

// The ringing choke converter window spaces its title markers in its own way.
inline constexpr TitleMarkers kRccTitleMarkers{"  <界面:系统", "  <界面:自定义", "   公式:内置>",
                                               "    公式:自定义>"};

const DialogTable& rccTable();

}  // namespace tarnex
