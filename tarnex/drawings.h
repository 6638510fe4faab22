#pragma once
// The program's drawings: circuit pictures, the launcher's background and the icon, kept as
// SVG resources and painted at the pixel sizes of the bitmaps they stand for, which each
// drawing gives as its view box.

#include <QColor>
#include <QIcon>
#include <QRect>
#include <QSize>
#include <QSvgRenderer>
#include <memory>
#include <optional>
#include <string_view>

class QPainter;

namespace tarnex::qt {

// The pixel size of a named drawing ("bitmap167"), its view box, or nullopt for a name the
// program lacks.
std::optional<QSize> drawingSize(std::string_view name);

// The resource path of a named drawing.
QString drawingPath(std::string_view name);

class Drawing {
 public:
  explicit Drawing(std::string_view name);

  // False when the drawing is not compiled into the program.
  bool valid() const { return renderer_.isValid(); }
  // The pixel size of the bitmap the drawing stands for.
  QSize size() const { return size_; }

  // Stretches the source rectangle (0, 0, source) of the bitmap onto `target`, as a stretch
  // copy does: the bitmap is scaled by target / source on each axis. Where the source
  // rectangle reaches beyond the bitmap, or when the drawing is missing, `outside` shows.
  void paintStretched(QPainter& painter, const QRect& target, QSize source,
                      const QColor& outside) const;

 private:
  QSize size_;
  mutable QSvgRenderer renderer_;
};

// The drawing of that name, shared by every window that shows it at the same time: a parsed
// circuit drawing takes some 100–200 KiB, and ten windows of one topology need it once. It is
// released when the last window holding it closes.
std::shared_ptr<const Drawing> sharedDrawing(std::string_view name);

// The program icon (large and small), from the icon drawing.
QIcon programIcon();

}  // namespace tarnex::qt
