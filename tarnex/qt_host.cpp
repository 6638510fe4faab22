#include "qt_host.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "progress_dialog.h"
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

}  // namespace

void QtHost::showMessage(const Message& message) {
  if (beforeModal_) beforeModal_();
  QWidget* owner = message.owned ? window_.data() : nullptr;
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
    QWidget* near = window_.data();
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
  if (beforeModal_) beforeModal_();
  ProgressDialog dialog(window_.data());
  dialog.exec();
}

void QtHost::openInDesktop(const std::string& path, bool minimized) {
  // The desktop decides how the application shows; the minimised wish cannot be passed on.
  (void)minimized;
  QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(path)));
}

void QtHost::repaint() {
  if (onRepaint_) {
    onRepaint_();
  } else if (window_) {
    window_->update();
  }
}

}  // namespace tarnex::qt
