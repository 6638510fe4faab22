#include "qt_host.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "form_view.h"
#include "progress_dialog.h"
#include "sheet_view.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

QMessageBox::Icon boxIcon(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Error:
      return QMessageBox::Critical;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Under X11 xdg-open hands the file on and exits, non-zero when no application is registered
// for its type or the file is missing. QDesktopServices::openUrl cannot tell: it reports
// success under X11 even for a missing file, and failure on the offscreen platform, which
// opens nothing.
QStringList defaultOpener() {
  if (QGuiApplication::platformName() == QStringLiteral("xcb")) return {QStringLiteral("xdg-open")};
  return {};
}

// An opener that runs the application itself in the foreground (xdg-open without a desktop
// environment does) has started it when it still runs after this long.
constexpr int kOpenerWaitMs = 3000;

}  // namespace

void QtHost::beforeModal() const {
  if (const auto& sync = surfaces_.back().sync) sync();
}

void QtHost::showMessage(const Message& message) {
  beforeModal();
  QWidget* owner = message.owned ? window() : nullptr;
  QMessageBox box(boxIcon(message.icon), toQString(message.caption), toQString(message.text),
                  QMessageBox::NoButton, owner);
  box.setTextFormat(Qt::PlainText);
  // A button of our own: the box's text for it, and no desktop-theme icon on it.
  QPushButton* ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  if (owner == nullptr) {
    // A box without an owner still opens where the user is looking: over the window that
    // raised it (or its owner while it is not shown yet), else in the middle of the screen.
    box.adjustSize();
    QWidget* near = window();
    while (near != nullptr && !near->isVisible()) near = near->parentWidget();
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area;
    if (near != nullptr) {
      area = near->window()->frameGeometry();
    } else if (screen != nullptr) {
      area = screen->availableGeometry();
    }
    if (area.isValid()) box.move(area.center() - box.rect().center());
  }
  box.exec();
}

void QtHost::runProgress() {
  beforeModal();
  ProgressDialog dialog(window());
  dialog.exec();
}

void QtHost::runDialog(Form& dialog) {
  beforeModal();
  FormView view(dialog, window());
  const Front front(*this, {&view, [&view] { view.sync(); }, [&view] { view.sync(); }});
  view.runModal();
}

void QtHost::runSheet(Sheet& sheet, const QString& designFile) {
  beforeModal();
  SheetView view(sheet, window());
  if (!designFile.isEmpty()) view.setDesignFile(designFile);
  const Front front(*this, {&view, [&view] { view.sync(); }, [&view] { view.sync(); }});
  view.runModal();
}

bool QtHost::openInDesktop(const std::string& path, bool minimized) {
  // The desktop decides how the application shows; the minimised wish cannot be passed on.
  (void)minimized;
  const QString file = toQString(path);
  const QStringList command = opener_ ? *opener_ : defaultOpener();
  if (command.isEmpty()) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    return true;
  }
  // The process outlives this call when it keeps running; it is deleted once it ends.
  auto* opener = new QProcess(QCoreApplication::instance());
  QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
  opener->start(command.first(), command.mid(1) << file);
  if (!opener->waitForStarted()) {
    delete opener;
    return false;
  }
  if (!opener->waitForFinished(kOpenerWaitMs)) return true;
  return opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
}

void QtHost::repaint() {
  const Surface& front = surfaces_.back();
  if (front.repaint) {
    front.repaint();
  } else if (front.window) {
    front.window->update();
  }
}

}  // namespace tarnex::qt
