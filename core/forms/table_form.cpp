#include "forms/table_form.h"

#include <string>

namespace tarnex {

namespace {

std::vector<std::string> entryTexts(const ListRow& list, bool keys) {
  std::vector<std::string> texts;
  for (const ListEntry& e : list.entries) texts.emplace_back(keys ? e.key : e.text);
  return texts;
}

}  // namespace

TableForm::TableForm(Host& host, const DialogTable& table) : Form(host), table_(table) {
  // Statics without an id of their own are numbered from -1 downwards, so that the view can
  // still address them.
  int unnamed = 0;
  auto idOr = [&unnamed](int id) { return id != 0 ? id : --unnamed; };
  auto caption = [&](int id, std::string_view text, int groupId, int buddy) {
    Control& c = add(makeControl(idOr(id), ControlKind::Label, std::string(text), groupId));
    c.buddy = buddy;
    return &c;
  };

  for (const GroupRow& g : table.groups) {
    Control& group = add(makeControl(g.id, ControlKind::Group, std::string(g.caption)));
    group.color = g.color;
    group.rect = g.rect;
  }
  for (const ListRow& l : table.lists) {
    if (!l.caption.empty()) caption(l.labelId, l.caption, l.groupId, l.id);
    Control& list = add(makeControl(l.id, ControlKind::DropList, "", l.groupId));
    list.entries = entryTexts(l, false);
    list.entryKeys = entryTexts(l, true);
    list.selection = l.selection;
    list.key = std::string(l.key);
    list.rect = l.rect;
  }
  for (const FieldRow& row : table.fields) {
    caption(row.labelId, row.caption, row.groupId, row.controlId);
    Control& edit = add(makeControl(row.controlId, ControlKind::Edit, "", row.groupId));
    edit.rect = row.rect;
    if (!row.after.empty()) caption(0, row.after, row.groupId, row.controlId)->trailing = true;
  }
  for (const StaticRow& s : table.statics) {
    ControlKind kind = ControlKind::Label;
    if (s.kind == StaticKind::Note) kind = ControlKind::Note;
    if (s.kind == StaticKind::Click) kind = ControlKind::ClickStatic;
    Control& c = add(makeControl(idOr(s.id), kind, std::string(s.text), s.groupId));
    c.color = s.color;
    c.rect = s.rect;
  }
  for (const PictureRow& p : table.pictures) {
    // A picture fills a frame of its own unless it is painted into a group box.
    if (control(p.frameId) != nullptr) continue;
    Control& frame = add(makeControl(p.frameId, ControlKind::Frame, ""));
    frame.rect = p.frameRect;
  }
  for (const ButtonRow& b : table.buttons) {
    Control& button =
        add(makeControl(b.id, ControlKind::Button, std::string(b.caption), b.groupId));
    button.isDefault = b.isDefault;
    button.key = std::string(b.key);
    button.rect = b.rect;
  }
  setTitle(std::string(table.titleName));
}

void TableForm::command(int id) {
  if (id == kOkButton || id == kCloseButton) requestClose();
}

bool TableForm::setSelection(int listId, int index) {
  Control* list = control(listId);
  if (list == nullptr || list->kind != ControlKind::DropList) return false;
  if (index < 0 || index >= static_cast<int>(list->entries.size())) return false;
  if (index == list->selection) return false;
  list->selection = index;
  return true;
}

void TableForm::select(int listId, int index) {
  setSelection(listId, index);
}

int TableForm::selectedEntry(int listId) const {
  const Control* list = control(listId);
  return list == nullptr ? -1 : list->selection;
}

void TableForm::resetLists() {
  for (const ListRow& l : table_.lists) {
    Control* list = control(l.id);
    list->entries = entryTexts(l, false);
    list->selection = l.selection;
  }
}

void TableForm::setEnabled(int id, bool enabled) {
  if (Control* c = control(id)) c->enabled = enabled;
}

bool TableForm::selected(const Selection& when) const {
  return when.listId == 0 || selectedEntry(when.listId) == when.entry;
}

std::vector<Picture> TableForm::pictures() const {
  std::vector<Picture> shown;
  for (const PictureRow& p : table_.pictures) {
    if (!selected(p.when)) continue;
    shown.push_back(
        Picture{std::string(p.drawing), p.frameId, p.x, p.y, p.sourceWidth, p.sourceHeight});
  }
  return shown;
}

}  // namespace tarnex
