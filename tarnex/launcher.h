#pragma once
// The launcher (CMainDlg): the program's main window. One button per converter topology
// opens a new, independent design window; the background picture carries the links to the
// About box and the help document.

#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "drawings.h"
#include "qt_host.h"
#include "tables/launcher_table.h"

class QMenu;
class QPushButton;

namespace tarnex::qt {

class FormView;

inline constexpr const char* kAboutItem = "关于Tarnex V3.2 (&A)...";

class Launcher : public QDialog {
  Q_OBJECT

 public:
  // Works on the files of `folder`; `desktop` receives the help document.
  Launcher(const Folder& folder, Host& desktop, QWidget* parent = nullptr);

  QPushButton* button(int id) const;
  // The design windows now open, oldest first.
  std::vector<FormView*> designWindows() const;
  // Opens a new design window of a registered key at the launcher's client origin.
  FormView* openDesign(std::string_view key);
  // Opens a design file in a new window of its kind (the compensation sheet runs modally);
  // a file that is refused is explained in a message box and opens nothing: false.
  bool openDesignFile(const QString& path);
  // Does ahead what the first showing would do (style the buttons, render the painted face),
  // so that it can run while the loading window takes its time.
  void prepareToShow();
  // Runs a new loop-compensation sheet modally over the launcher; returns when it closed.
  void runLoopSheet();
  // The items of the launcher's context menu: the About box, opening a design, and the
  // designs used last.
  void fillContextMenu(QMenu& menu);

 public slots:
  void showAbout();
  // Runs the toolbox sheet modally over the launcher.
  void openToolbox();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // Design files dropped on the launcher open as from the command line.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  FormView* newDesignView(std::string_view key);
  // Runs a new compensation sheet, with the design of `text` from `file` put into it first.
  bool runLoopSheet(const QString& file, const std::string& text);
  void refuseDesign(const QString& path, const std::string& reason);

  Folder folder_;
  Host& desktop_;
  // Serves the modal sheets run over the launcher: their messages, progress windows and
  // hint dialogs open over the sheet.
  QtHost host_;
  // The painted face (background picture, texts, frame lines) never changes: it is rendered
  // once into this pixmap.
  const QPixmap& face();
  void paintFace(QPainter& painter);
  QPixmap face_;
  std::map<int, QPushButton*> buttons_;
  std::vector<QPointer<FormView>> designs_;
};

}  // namespace tarnex::qt
