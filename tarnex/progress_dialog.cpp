#include "progress_dialog.h"

#include <QDateTime>
#include <QPainter>

#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr int kFontPoints = 10;  // dialog font of the window
constexpr int kTextPoints = 11;  // the painted counter text
constexpr int kTextX = 90;

}  // namespace

ProgressDialog::ProgressDialog(QWidget* over, int tickMs)
    : TimedPopup(over, kFontPoints, 179, 19, tickMs) {}

void ProgressDialog::place() {
  if (QWidget* owner = parentWidget(); owner && owner->isVisible()) {
    const QRect area = owner->window()->frameGeometry();
    move(area.center() - rect().center());
  } else {
    TimedPopup::place();
  }
}

bool ProgressDialog::tick() {
  const bool done = animation_.tick();
  update();
  return done;
}

void ProgressDialog::paintContent(QPainter& painter) {
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

}  // namespace tarnex::qt
