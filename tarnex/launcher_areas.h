#pragma once
// The places of the launcher's client area that react to a release of the left button.

namespace tarnex::qt {

enum class LauncherArea { None, About, Help };

// The area at client pixel (x, y); all bounds are exclusive.
LauncherArea launcherAreaAt(int x, int y);

// The help document, handed to the desktop from the working folder.
inline constexpr const char* kHelpDocument = "Tarnex V3.2帮助.chm";

}  // namespace tarnex::qt
