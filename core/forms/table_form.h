#pragma once
// A form built from its window's table: group boxes with their caption colours, the caption
// and edit field of every numeric field, drop-down lists, push buttons, static texts and the
// frames the pictures fill. Hint dialogs are table forms as they stand; the field forms and
// the design windows build on it.

#include <string_view>
#include <vector>

#include "forms/form.h"
#include "tables/field_table.h"

namespace tarnex {

class TableForm : public Form {
 public:
  TableForm(Host& host, const DialogTable& table);

  std::string_view key() const override { return table_.key; }
  const DialogTable* table() const override { return &table_; }

  // The first data exchange; a table form without fields has nothing to exchange.
  void open() override {}
  // "确定" (1) and "返回(&B)" (2) close the window.
  void command(int id) override;
  // Selects entry `index` of a list; windows with handlers run them after setSelection.
  void select(int listId, int index) override;
  // The pictures of the table whose list entry is selected.
  std::vector<Picture> pictures() const override;

  const DialogTable& form() const { return table_; }

 protected:
  // Selects an entry of a drop-down list; false when the list or the entry does not exist or
  // the entry is already selected (no handler runs then: picking the entry already shown
  // must not throw away what the user typed).
  bool setSelection(int listId, int index);
  // The selected entry of a list (-1: none).
  int selectedEntry(int listId) const;
  // Fills every list with its entries again and selects its opening entry.
  void resetLists();
  void setEnabled(int id, bool enabled);
  // Whether every list entry of `when` is selected (an empty condition always holds).
  bool selected(const Selection& when) const;

 private:
  const DialogTable& table_;
};

}  // namespace tarnex
