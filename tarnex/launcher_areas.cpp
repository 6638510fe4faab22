#include "launcher_areas.h"

namespace tarnex::qt {

LauncherArea launcherAreaAt(int x, int y) {
  if (x <= 10 || x >= 106) return LauncherArea::None;
  if (y > 124 && y < 138) return LauncherArea::About;
  if (y > 141 && y < 157) return LauncherArea::Help;
  return LauncherArea::None;
}

}  // namespace tarnex::qt
