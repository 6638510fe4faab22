#pragma once
// Fonts, colours and dialog units of the desktop program. The windows are laid out in dialog
// units of their dialog font and painted at client pixels of a 96-dpi screen; fonts are set
// by pixel size so that texts keep their place whatever the screen reports.

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>

#include "forms/form.h"
#include "tables/field_table.h"

namespace tarnex::qt {

// Pixel height of a font of `points` points on the 96-dpi layout.
int pointsToPixels(int points);

// The dialog face (a Song-style CJK face) and the brush-style face used for painted texts.
// Both name a Simplified Chinese face explicitly, so that shared CJK characters never come
// from a Japanese face.
QFont dialogFont(int points);
QFont kaiFont(int points);

// Draws `text` with its character cell's top-left corner at `topLeft`, as the dialog
// framework's text output does: the baseline sits 7/8 of the font's pixel size below the top,
// whatever the ascent of the face that stands in for the original one.
void drawTextAt(QPainter& painter, QPoint topLeft, const QString& text);

// Dialog units of a dialog font: pixels per horizontal and vertical unit.
struct DialogUnits {
  double x = 1.5;
  double y = 1.5;

  int px(int units) const;
  int py(int units) const;
  QPoint point(int xUnits, int yUnits) const { return {px(xUnits), py(yUnits)}; }
  QSize size(int wUnits, int hUnits) const { return {px(wUnits), py(hUnits)}; }
  QRect rect(int xUnits, int yUnits, int wUnits, int hUnits) const {
    return {point(xUnits, yUnits), size(wUnits, hUnits)};
  }
  QRect rect(const Rect& r) const { return rect(r.x, r.y, r.w, r.h); }
};

// The units of the 9-, 10- and 11-point dialog fonts of the program's windows.
DialogUnits unitsForDialogFont(int points);

// A computed value for reading rather than editing: four significant digits, no exponent
// below 10⁶ ("0.0123", "12.35", "12346"), "—" when it is not finite.
QString readableNumber(double value);

inline QColor toQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}
inline QString toQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string toUtf8(const QString& s) {
  return s.toUtf8().toStdString();
}

}  // namespace tarnex::qt
