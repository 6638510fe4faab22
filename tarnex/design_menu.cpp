#include "design_menu.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <utility>

namespace tarnex::qt {

namespace {

// The section of an item: a separator stands between items of different sections.
int sectionOf(DesignMenu::Item item) {
  switch (item) {
    case DesignMenu::Item::Open:
    case DesignMenu::Item::Save:
      return 0;
    case DesignMenu::Item::Report:
    case DesignMenu::Item::Sweep:
      return 1;
    case DesignMenu::Item::Waveforms:
    case DesignMenu::Item::Netlist:
      return 2;
    case DesignMenu::Item::LoadStep:
      return 3;
  }
  return 3;
}

}  // namespace

DesignMenu::DesignMenu(QWidget* window, QLayout* layout)
    : QObject(window),
      bar_(new QMenuBar(window)),
      menu_(bar_->addMenu(QStringLiteral("设计(&D)"))) {
  layout->setMenuBar(bar_);
}

QAction* DesignMenu::add(Item item, const QString& text, std::function<void()> run,
                         const QKeySequence& shortcut) {
  if (QAction* old = action(item)) old->deleteLater();
  // The action belongs to this object, so that rebuilding the menu keeps it.
  auto* action = new QAction(text, this);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
  actions_[item] = action;
  // A shortcut works while the menu is closed only when the window holds the action too.
  if (auto* window = qobject_cast<QWidget*>(parent())) window->addAction(action);
  rebuild();
  return action;
}

QAction* DesignMenu::action(Item item) const {
  const auto it = actions_.find(item);
  return it == actions_.end() ? nullptr : it->second;
}

void DesignMenu::rebuild() {
  menu_->clear();
  int section = -1;
  for (const auto& [item, action] : actions_) {
    if (section >= 0 && sectionOf(item) != section) menu_->addSeparator();
    section = sectionOf(item);
    menu_->addAction(action);
  }
}

}  // namespace tarnex::qt
