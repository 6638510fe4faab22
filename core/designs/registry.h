#pragma once
// The design windows, each from its table, and how to build one. Everything that lists the
// windows (the launcher's buttons, the start-up file list, the binding table of each formula
// file, the toolbox's lists and pictures, tarnex-calc's dialogs) reads this one list.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/form.h"
#include "tables/field_table.h"

namespace tarnex {

using DesignFactory = std::unique_ptr<Form> (*)(Host&, const Folder&);

// A design window's descriptor.
struct DesignInfo {
  const DialogTable* table;
  DesignFactory make;
  int toolboxPlace;  // where its entries stand in the toolbox's lists, from 0

  std::string_view key() const { return table->key; }
  int launcherButton() const { return table->launcherButton; }
  // The circuit picture the toolbox hands to the desktop with the window's files, named after
  // the window's toolbox entry ("DC-DC变换器.JPG"); the build renders it from the drawing of
  // the same name, resources/code/DC-DC变换器.svg.
  std::string picture() const { return std::string(table->toolboxName) + ".JPG"; }
};

// Every design window, in the order of the launcher's buttons.
std::span<const DesignInfo> designs();
// The same windows in the order of the toolbox's lists.
std::vector<const DesignInfo*> designsInToolboxOrder();

// A new, independent window of the given key working on the files of `folder`; nullptr for
// an unknown key. The caller runs open() when it shows the window.
std::unique_ptr<Form> makeDesign(std::string_view key, Host& host, const Folder& folder);

// The table whose names a formula file may use, chosen by the file's bare name; nullptr for
// a name that is no window's formula file.
const DialogTable* bindingTableFor(std::string_view formulaFileName);

}  // namespace tarnex
