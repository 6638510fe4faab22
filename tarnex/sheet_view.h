#pragma once
// A sheet of the core (the loop-compensation sheet, the toolbox) as a modal window: one tab
// per page and the standard OK and Cancel, which close it without applying anything.

#include <QDialog>
#include <QString>
#include <vector>

#include "forms/sheet.h"

class QAction;
class QTabWidget;

namespace tarnex::qt {

class FormWidget;
class DesignMenu;

class SheetView : public QDialog {
  Q_OBJECT

 public:
  SheetView(Sheet& sheet, QWidget* owner);

  // Opens the first page and runs the sheet; returns when it has closed.
  int runModal();

  Sheet& sheet() { return sheet_; }
  QTabWidget* tabs() const { return tabs_; }
  FormWidget* page(std::size_t index) const { return pages_.at(index); }
  // Brings the widgets of every page in line with their forms.
  void sync();
  // The design file the sheet shows (opened or saved last), named in its title; empty: none.
  const QString& designFile() const { return designFile_; }
  void setDesignFile(const QString& path);
  // The menu bar of a sheet of design pages (nullptr for the toolbox), acting on the page
  // shown.
  DesignMenu* designMenu() const { return menu_; }

 private:
  void onTabChanged(int index);
  // "负载阶跃" acts on the pages that know their power stage.
  void enableLoadStep();

  Sheet& sheet_;
  QTabWidget* tabs_;
  std::vector<FormWidget*> pages_;
  QString designFile_;
  DesignMenu* menu_ = nullptr;
  QAction* loadStep_ = nullptr;
};

}  // namespace tarnex::qt
