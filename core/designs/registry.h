#pragma once
// The design windows that exist, by their command-line key, and how to build one.

#include <memory>
#include <span>
#include <string_view>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/form.h"

namespace tarnex {

struct DesignInfo {
  std::string_view key;  // "dcdc", "flyback", ...
  int launcherButton;    // the launcher button that opens it (1016 for DC-DC)
};

// Every design window built so far, in launcher order.
std::span<const DesignInfo> designs();

// A new, independent window of the given key working on the files of `folder`;
// nullptr for an unknown key. The caller runs open() when it shows the window.
std::unique_ptr<Form> makeDesign(std::string_view key, Host& host, const Folder& folder);

}  // namespace tarnex
