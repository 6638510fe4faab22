#pragma once
// The loop-compensation sheet CLoop: its three pages in order, each from its table, and how
// to build one page on its own (for the command line) or the whole sheet (for the launcher).

#include <memory>
#include <span>
#include <string_view>

#include "base/host.h"
#include "forms/form.h"
#include "forms/sheet.h"
#include "tables/field_table.h"

namespace tarnex {

inline constexpr const char* kLoopSheetTitle = "环路补偿 Feedback Loop   <内置算法>";
// The sheet's key, as its design files name it.
inline constexpr const char* kLoopSheetKey = "loop";

using LoopPageFactory = std::unique_ptr<Form> (*)(Host&);

struct LoopPageInfo {
  const DialogTable* table;
  LoopPageFactory make;

  std::string_view key() const { return table->key; }
};

// The pages in the order of the sheet: current mode, type II, type III.
std::span<const LoopPageInfo> loopPages();

// A new page of the given key (e.g. "loop-type2"), or nullptr. The caller runs open() when it
// shows the page.
std::unique_ptr<Form> makeLoopPage(std::string_view key, Host& host);

// The sheet with new pages; nothing survives from one sheet to the next.
std::unique_ptr<Sheet> makeLoopSheet(Host& host);

}  // namespace tarnex
