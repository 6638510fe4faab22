#pragma once
// The menu bar of a design window and of the compensation sheet: one menu "设计(&D)" whose
// items stand in sections (the design's files; its report and sweep; its simulation; the load
// step of a compensation page), a separator between sections that hold items. Each part adds
// its actions into its section; the order of the sections is fixed here, whatever the order
// of the calls. The bar takes the top of the window's layout, above the controls.

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace tarnex::qt {

class DesignMenu : public QObject {
  Q_OBJECT

 public:
  enum class Section { Files, Output, Simulation, Step, Count };

  // Puts a menu bar with the menu "设计(&D)" on top of `window`'s layout (which must exist).
  explicit DesignMenu(QWidget* window);

  // Adds an item at the end of `section`; `shortcut` works anywhere in the window.
  QAction* add(Section section, const QString& text, std::function<void()> triggered,
               const QKeySequence& shortcut = {});

  QMenuBar* bar() const { return bar_; }
  QMenu* menu() const { return menu_; }

  // The design menu of `window`, or nullptr when it has none.
  static DesignMenu* of(const QWidget* window);

 private:
  void rebuild();

  QMenuBar* bar_;
  QMenu* menu_;
  std::array<std::vector<QAction*>, static_cast<std::size_t>(Section::Count)> sections_;
};

}  // namespace tarnex::qt
