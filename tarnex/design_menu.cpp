#include "design_menu.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace tarnex::qt {

DesignMenu::DesignMenu(QWidget* window)
    : QObject(window),
      bar_(new QMenuBar(window)),
      menu_(bar_->addMenu(QStringLiteral("设计(&D)"))) {
  setObjectName(QStringLiteral("designMenu"));
  // A dialog has no menu bar of its own: the layout puts it above everything it holds, and
  // the window grows by its height instead of covering a control.
  if (QLayout* layout = window->layout()) layout->setMenuBar(bar_);
}

QAction* DesignMenu::add(Section section, const QString& text, std::function<void()> triggered,
                         const QKeySequence& shortcut) {
  // Owned here, not by the menu, so that rebuilding the menu keeps every action.
  auto* action = new QAction(text, this);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
  }
  connect(action, &QAction::triggered, this, [triggered = std::move(triggered)] { triggered(); });
  // The window holds the action too, so that its shortcut works while the menu is closed.
  if (QWidget* window = qobject_cast<QWidget*>(parent())) window->addAction(action);
  sections_.at(static_cast<std::size_t>(section)).push_back(action);
  rebuild();
  return action;
}

DesignMenu* DesignMenu::of(const QWidget* window) {
  return window ? window->findChild<DesignMenu*>(QStringLiteral("designMenu"),
                                                 Qt::FindDirectChildrenOnly)
                : nullptr;
}

void DesignMenu::rebuild() {
  menu_->clear();
  bool first = true;
  for (const std::vector<QAction*>& actions : sections_) {
    if (actions.empty()) continue;
    if (!first) menu_->addSeparator();
    first = false;
    for (QAction* a : actions) menu_->addAction(a);
  }
}

}  // namespace tarnex::qt
