#include "forms/sheet.h"

#include <utility>

namespace tarnex {

Sheet::Sheet(std::string title, std::vector<std::unique_ptr<Form>> pages, std::string key)
    : title_(std::move(title)),
      key_(std::move(key)),
      pages_(std::move(pages)),
      opened_(pages_.size(), false) {}

void Sheet::open() {
  if (pages_.empty()) return;
  current_ = 0;
  if (!opened_[0]) {
    opened_[0] = true;
    pages_[0]->open();
  }
}

bool Sheet::show(std::size_t index) {
  if (index >= pages_.size() || index == current_) return false;
  if (!pages_[current_]->leavePage()) return false;
  current_ = index;
  if (!opened_[index]) {
    opened_[index] = true;
    pages_[index]->open();
  }
  return true;
}

void Sheet::openAll() {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (opened_[i]) continue;
    opened_[i] = true;
    pages_[i]->open();
  }
}

void Sheet::close() {
  if (!pages_.empty()) pages_[current_]->leavePage();
}

}  // namespace tarnex
