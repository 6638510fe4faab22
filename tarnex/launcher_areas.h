#pragma once
// The places of the launcher's client area that react to a release of the left button.

namespace tarnex::qt {

enum class LauncherArea { None, About, Help };

// The area at client pixel (x, y); all bounds are exclusive.
LauncherArea launcherAreaAt(int x, int y);

}  // namespace tarnex::qt
