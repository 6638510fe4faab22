#include "design_files.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>
#include <string>

#include "design_menu.h"
#include "form_view.h"
#include "forms/design_file.h"
#include "forms/sheet.h"
#include "qt_host.h"
#include "sheet_view.h"
#include "startup/recent_designs.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

std::filesystem::path toPath(const QString& path) {
  return std::filesystem::path(path.toStdString());
}

void warn(QWidget* window, const std::string& text) {
  QtHost(window).showMessage(Message{kProgramName, text, Icon::Warning, true});
}

// Where a save dialog begins: the window's own file, else beside the design used last, else
// the home folder, under the window's key.
QString suggestion(const QString& current, std::string_view key) {
  if (!current.isEmpty()) return current;
  const QStringList recent = DesignFiles::instance().recent();
  const QString dir = recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).path();
  return QDir(dir).filePath(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())) +
                            QString::fromUtf8(kDesignSuffix));
}

// Opens a file chosen by the user into the window's model (a form or a sheet).
template <class View, class Model>
void openInto(View& view, Model& model) {
  const QString chosen = DesignFiles::instance().choose(&view, false, view.designFile());
  if (chosen.isEmpty()) return;
  if (const std::optional<std::string> refused = openDesignFile(toPath(chosen), model)) {
    warn(&view, *refused);
    return;
  }
  view.setDesignFile(QFileInfo(chosen).absoluteFilePath());
  view.sync();
  DesignFiles::instance().remember(view.designFile());
}

template <class View, class Model>
void saveFrom(View& view, Model& model, std::string_view key) {
  QString chosen = DesignFiles::instance().choose(&view, true, suggestion(view.designFile(), key));
  if (chosen.isEmpty()) return;
  const std::filesystem::path path = withDesignSuffix(toPath(chosen));
  std::string error;
  if (!saveDesignFile(path, designText(model), error)) {
    warn(&view, error);
    return;
  }
  view.setDesignFile(QFileInfo(QString::fromStdString(path.string())).absoluteFilePath());
  // A sheet opened its pages not shown yet to save them.
  view.sync();
  DesignFiles::instance().remember(view.designFile());
}

template <class View, class Model>
void addActions(DesignMenu& menu, View& view, Model& model, std::string_view key) {
  menu.add(
      DesignMenu::Item::Open, QStringLiteral("打开设计…"),
      [&view, &model] { openInto(view, model); }, QKeySequence(Qt::CTRL | Qt::Key_O));
  menu.add(
      DesignMenu::Item::Save, QStringLiteral("保存设计…"),
      [&view, &model, key] { saveFrom(view, model, key); }, QKeySequence(Qt::CTRL | Qt::Key_S));
}

}  // namespace

DesignFiles& DesignFiles::instance() {
  static DesignFiles files;
  return files;
}

QStringList DesignFiles::recent() const {
  QStringList paths;
  if (!folder_) return paths;
  for (const std::string& p : recentDesigns(*folder_)) paths << QString::fromStdString(p);
  return paths;
}

void DesignFiles::remember(const QString& path) {
  if (folder_ && rememberDesign(*folder_, path.toStdString())) emit recentChanged();
}

void DesignFiles::forget(const QString& path) {
  if (folder_ && forgetDesign(*folder_, path.toStdString())) emit recentChanged();
}

QString DesignFiles::choose(QWidget* parent, bool save, const QString& suggested) const {
  if (chooser_) return chooser_(parent, save, suggested);
  const QString filter =
      QStringLiteral("Tarnex 设计 (*%1);;所有文件 (*)").arg(QString::fromUtf8(kDesignSuffix));
  if (save) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("保存设计"), suggested, filter);
  }
  // The dialog begins in the folder of the window's file, else of the design used last.
  const QString near = suggested.isEmpty() ? recent().value(0) : suggested;
  const QString dir = near.isEmpty() ? QDir::homePath() : QFileInfo(near).path();
  return QFileDialog::getOpenFileName(parent, QStringLiteral("打开设计"), dir, filter);
}

void addFileActions(DesignMenu& menu, FormView& view) {
  addActions(menu, view, view.form(), view.form().key());
}

void addFileActions(DesignMenu& menu, SheetView& view) {
  addActions(menu, view, view.sheet(), view.sheet().key());
}

QString titleWithFile(const QString& title, const QString& file) {
  if (file.isEmpty()) return title;
  return QFileInfo(file).fileName() + QStringLiteral(" - ") + title;
}

}  // namespace tarnex::qt
