#include "ui_metrics.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "base/finding_text.h"

namespace tarnex::qt {

namespace {

QFont faceOf(const QStringList& families, int points) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pointsToPixels(points));
  font.setStyleHint(QFont::AnyStyle, QFont::PreferAntialias);
  return font;
}

}  // namespace

int pointsToPixels(int points) {
  return (points * 96 + 36) / 72;
}

QFont dialogFont(int points) {
  return faceOf({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                 QStringLiteral("Noto Serif CJK SC")},
                points);
}

QFont kaiFont(int points) {
  return faceOf({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UKai CN"),
                 QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")},
                points);
}

void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text) {
  const QFont& font = painter.font();
  const int size = font.pixelSize() > 0 ? font.pixelSize() : painter.fontMetrics().height();
  painter.drawText(QPoint(topLeft.x(), topLeft.y() + (size * 7 + 4) / 8), text);
}

int DialogUnits::px(int units) const {
  return static_cast<int>(std::lround(units * x));
}
int DialogUnits::py(int units) const {
  return static_cast<int>(std::lround(units * y));
}

DialogUnits unitsForDialogFont(int points) {
  // Average character width / 4 and character height / 8 of the Song face at that size.
  switch (points) {
    case 10:
      return {1.75, 1.625};
    case 11:
      return {2.0, 1.875};
    default:
      return {1.5, 1.5};
  }
}

QString readableNumber(double value) {
  return toQString(check::readable(value));
}

}  // namespace tarnex::qt
