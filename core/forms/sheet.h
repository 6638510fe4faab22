#pragma once
// A property sheet: a modal window of pages, one shown at a time, with the standard OK and
// Cancel that apply nothing. A page is opened (its first data exchange) when it is first
// shown; leaving a page runs its data exchange, which a compensation page's exchange flag
// turns into a no-op, so switching pages moves no values and shows no message.

#include <memory>
#include <string>
#include <vector>

#include "forms/form.h"

namespace tarnex {

class Sheet {
 public:
  // `key` names a sheet that keeps a design (the compensation sheet: "loop"); empty for the
  // others.
  Sheet(std::string title, std::vector<std::unique_ptr<Form>> pages, std::string key = {});

  const std::string& title() const { return title_; }
  const std::string& key() const { return key_; }
  std::size_t size() const { return pages_.size(); }
  Form& page(std::size_t index) { return *pages_.at(index); }
  const Form& page(std::size_t index) const { return *pages_.at(index); }
  std::size_t current() const { return current_; }

  // Shows the first page (opening it).
  void open();
  // Switches to page `index`: false, and the current page stays, when the page shown now
  // refuses to be left.
  bool show(std::size_t index);
  // OK or Cancel: the current page is left; nothing else is applied.
  void close();
  // Opens every page not opened yet (its first data exchange), without showing it: a design
  // is saved from, and opened into, every page as it shows when shown.
  void openAll();

 private:
  std::string title_;
  std::string key_;
  std::vector<std::unique_ptr<Form>> pages_;
  std::vector<bool> opened_;
  std::size_t current_ = 0;
};

}  // namespace tarnex
