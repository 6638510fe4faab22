#include "progress_dialog.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QPainter>
#include <QTimerEvent>

#include "startup_windows.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr int kFontPoints = 10;  // dialog font of the window
constexpr int kTextPoints = 11;  // the painted counter text
constexpr int kTextX = 90;

}  // namespace

ProgressDialog::ProgressDialog(QWidget* over, int tickMs)
    : QDialog(over, Qt::Dialog | Qt::FramelessWindowHint), tickMs_(tickMs) {
  const DialogUnits du = unitsForDialogFont(kFontPoints);
  setFont(dialogFont(kFontPoints));
  setFixedSize(du.size(179, 19));
  setModal(true);
}

void ProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QWidget* owner = parentWidget(); owner && owner->isVisible()) {
    const QRect area = owner->window()->frameGeometry();
    move(area.center() - rect().center());
  } else {
    centreOnScreen(this);
  }
  if (!timer_.isActive() && !animation_.finished()) timer_.start(tickMs_, Qt::PreciseTimer, this);
}

void ProgressDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QDialog::timerEvent(event);
    return;
  }
  const bool done = animation_.tick();
  update();
  if (done) {
    timer_.stop();
    accept();
  }
}

void ProgressDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.setPen(QColor(64, 64, 64));  // thin border of a captionless popup
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const Rgb color = progressColor(QDateTime::currentSecsSinceEpoch());
  QPen pen(toQColor(color), ProgressAnimation::kLineWidth, Qt::SolidLine, Qt::RoundCap);
  painter.setPen(pen);
  painter.drawLine(ProgressAnimation::kLineStartX, ProgressAnimation::kLineY, animation_.lineEndX(),
                   ProgressAnimation::kLineY);
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  drawTextAt(painter, unitsForDialogFont(kFontPoints).point(1, 0), QStringLiteral("Resulting..."));
  painter.setFont(kaiFont(kTextPoints));
  painter.setPen(QColor(0, 0, 255));
  drawTextAt(painter, QPoint(kTextX, 0), toQString(animation_.text()));
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
  // The animation is not tied to any work: it cannot be cut short, and Escape must not
  // close it half-way.
  event->accept();
}

}  // namespace tarnex::qt
