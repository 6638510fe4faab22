#include "timed_popup.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "ui_metrics.h"

namespace tarnex::qt {

void centreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window->move(area.center() - window->rect().center());
}

TimedPopup::TimedPopup(QWidget* parent, int points, int w, int h, int tickMs,
                       Qt::TimerType timerType)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      tickMs_(tickMs),
      timerType_(timerType) {
  setFont(dialogFont(points));
  setFixedSize(unitsForDialogFont(points).size(w, h));
  setModal(true);
}

void TimedPopup::place() {
  centreOnScreen(this);
}

void TimedPopup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  place();
  if (!timer_.isActive() && !finished()) {
    timer_.start(tickMs_, timerType_, this);
    started();
  }
}

void TimedPopup::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QDialog::timerEvent(event);
    return;
  }
  if (tick()) {
    timer_.stop();
    accept();
  }
}

void TimedPopup::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  painter.setPen(QColor(64, 64, 64));  // thin border of a captionless popup
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  paintContent(painter);
}

void TimedPopup::keyPressEvent(QKeyEvent* event) {
  event->accept();
}

}  // namespace tarnex::qt
