#include "progress_dialog.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimerEvent>

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
  // A thin border drawn by the frame of the window itself.
  setAttribute(Qt::WA_StyledBackground);
  setStyleSheet(QStringLiteral("tarnex--qt--ProgressDialog { border: 1px solid #404040; }"));
  auto* resulting = new QLabel(QStringLiteral("Resulting..."), this);
  resulting->move(du.point(1, 0));
  resulting->adjustSize();
}

void ProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QWidget* owner = parentWidget()) {
    const QRect area = owner->window()->frameGeometry();
    move(area.center() - rect().center());
  }
  if (!timer_.isActive() && !animation_.finished()) timer_.start(tickMs_, this);
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
  const Rgb color = progressColor(QDateTime::currentSecsSinceEpoch());
  QPen pen(toQColor(color), ProgressAnimation::kLineWidth, Qt::SolidLine, Qt::RoundCap);
  painter.setPen(pen);
  painter.drawLine(ProgressAnimation::kLineStartX, ProgressAnimation::kLineY, animation_.lineEndX(),
                   ProgressAnimation::kLineY);
  painter.setFont(kaiFont(kTextPoints));
  painter.setPen(QColor(0, 0, 255));
  painter.drawText(QRect(kTextX, 0, width() - kTextX, height()), Qt::AlignLeft | Qt::AlignTop,
                   toQString(animation_.text()));
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
  // The animation is not tied to any work: it cannot be cut short, and Escape must not
  // close it half-way.
  event->accept();
}

}  // namespace tarnex::qt
