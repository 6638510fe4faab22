#pragma once
// The design windows, each from its table, and how to build one. Everything that lists the
// windows (the launcher's buttons, the start-up file list, the binding table of each formula
// file, the toolbox's lists, tarnex-calc's dialogs) reads this one list.

#include <memory>
#include <span>
#include <string_view>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/form.h"
#include "tables/field_table.h"

namespace tarnex {

using DesignFactory = std::unique_ptr<Form> (*)(Host&, const Folder&);

struct DesignInfo {
  const DialogTable* table;
  DesignFactory make;  // nullptr while the window's class is not built yet

  std::string_view key() const { return table->key; }
  int launcherButton() const { return table->launcherButton; }
};

// Every design window, in the order of the launcher's buttons.
std::span<const DesignInfo> designs();

// A new, independent window of the given key working on the files of `folder`; nullptr for
// an unknown key or a window not built yet. The caller runs open() when it shows the window.
std::unique_ptr<Form> makeDesign(std::string_view key, Host& host, const Folder& folder);

// The table whose names a formula file may use, chosen by the file's bare name; nullptr for
// a name that is no window's formula file.
const DialogTable* bindingTableFor(std::string_view formulaFileName);

}  // namespace tarnex
