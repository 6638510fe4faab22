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
                  QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  if (owner == nullptr) {
    // A box without an owner still opens where the user is looking: over the window that
    // raised it, else in the middle of the screen.
    box.adjustSize();
    const QRect area =
        window_ ? window_->frameGeometry() : QGuiApplication::primaryScreen()->availableGeometry();
    box.move(area.center() - box.rect().center());
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
