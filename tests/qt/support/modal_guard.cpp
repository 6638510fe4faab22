#include "support/modal_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QMessageBox>
#include <utility>

namespace tarnex::testing {

ModalGuard::ModalGuard(int graceMs) : graceMs_(graceMs) {
  connect(&timer_, &QTimer::timeout, this, &ModalGuard::poll);
  timer_.start(50);
}

QStringList ModalGuard::takeUnexpected() {
  return std::exchange(unexpected_, {});
}

void ModalGuard::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  const qint64 now = QDateTime::currentMSecsSinceEpoch();
  if (modal != watched_.data()) {
    watched_ = modal;
    since_ = now;
    return;
  }
  if (modal == nullptr || now - since_ < graceMs_) return;
  QString seen = modal->windowTitle();
  if (auto* box = qobject_cast<QMessageBox*>(modal)) seen += QStringLiteral(": ") + box->text();
  unexpected_ << seen;
  watched_ = nullptr;
  if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

}  // namespace tarnex::testing
