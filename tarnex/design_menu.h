#pragma once
// The menu bar of a design window and of the compensation sheet: one menu "设计(&D)" whose
// items keep a fixed order, in sections parted by separators, whichever part of the program
// adds its item first. The bar stands above the window's controls and adds to its height.

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QAction;
class QLayout;
class QMenu;
class QMenuBar;
class QWidget;

namespace tarnex::qt {

class DesignMenu : public QObject {
  Q_OBJECT

 public:
  // The items of the menu, in the order it shows them. Open and Save, Report and Sweep,
  // Waveforms and Netlist, LoadStep each make a section.
  enum class Item { Open, Save, Report, Sweep, Waveforms, Netlist, LoadStep };

  // Sets the bar with its menu on `layout`, the top layout of `window`.
  DesignMenu(QWidget* window, QLayout* layout);

  // Adds `item` with its text, shortcut and action; its place in the menu follows the order
  // of the items. An item added twice replaces the first.
  QAction* add(Item item, const QString& text, std::function<void()> run,
               const QKeySequence& shortcut = {});
  QAction* action(Item item) const;

  QMenuBar* bar() const { return bar_; }
  QMenu* menu() const { return menu_; }

 private:
  void rebuild();

  QMenuBar* bar_;
  QMenu* menu_;
  std::map<Item, QAction*> actions_;
};

}  // namespace tarnex::qt
