#pragma once
// Design files in the desktop program: the design menu's "打开设计…" and "保存设计…" of a design
// window and of the compensation sheet, the file dialogs they show, the file's name in the
// window's title, and the designs opened or saved last, which the launcher offers again.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "base/user_file.h"

class QWidget;

namespace tarnex::qt {

class DesignMenu;
class FormView;
class SheetView;

class DesignFiles : public QObject {
  Q_OBJECT

 public:
  static DesignFiles& instance();

  // The folder that keeps the list of recent designs (the working folder); none keeps none.
  void setFolder(std::optional<Folder> folder) { folder_ = std::move(folder); }
  // Newest first.
  QStringList recent() const;
  void remember(const QString& path);
  void forget(const QString& path);

  // How a file name is asked for (`save`: a name to save under, `suggested` to begin with);
  // empty when the user cancelled. The file dialog unless a test answers instead.
  using Chooser = std::function<QString(QWidget* parent, bool save, const QString& suggested)>;
  void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }
  QString choose(QWidget* parent, bool save, const QString& suggested) const;

 signals:
  void recentChanged();

 private:
  std::optional<Folder> folder_;
  Chooser chooser_;
};

// The design menu's file items of a design window and of the compensation sheet.
void addFileActions(DesignMenu& menu, FormView& view);
void addFileActions(DesignMenu& menu, SheetView& view);

// A window's title while it shows a design file: "name.tarnex - title".
QString titleWithFile(const QString& title, const QString& file);

}  // namespace tarnex::qt
