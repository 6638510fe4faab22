#include "drawings.h"

#include <QPainter>
#include <QPixmap>
#include <array>
#include <map>
#include <string>

#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

struct DrawingEntry {
  std::string_view name;
  int width;
  int height;
};

// The bitmaps of the program and their pixel sizes.
constexpr std::array kDrawings = {
    DrawingEntry{"bitmap166", 270, 154}, DrawingEntry{"bitmap167", 225, 117},
    DrawingEntry{"bitmap168", 217, 115}, DrawingEntry{"bitmap169", 208, 105},
    DrawingEntry{"bitmap173", 229, 204}, DrawingEntry{"bitmap174", 243, 196},
    DrawingEntry{"bitmap175", 221, 180}, DrawingEntry{"bitmap176", 218, 196},
    DrawingEntry{"bitmap209", 234, 129}, DrawingEntry{"bitmap213", 319, 141},
    DrawingEntry{"bitmap190", 592, 418}, DrawingEntry{"bitmap191", 504, 355},
    DrawingEntry{"bitmap192", 528, 348}, DrawingEntry{"bitmap194", 40, 48},
    DrawingEntry{"bitmap195", 48, 40},   DrawingEntry{"bitmap196", 40, 48},
    DrawingEntry{"bitmap197", 740, 504}, DrawingEntry{"bitmap203", 643, 451},
    DrawingEntry{"bitmap204", 650, 467}, DrawingEntry{"bitmap206", 420, 268},
    DrawingEntry{"bitmap207", 564, 352}, DrawingEntry{"icon128", 32, 32},
};

}  // namespace

std::optional<QSize> drawingSize(std::string_view name) {
  for (const DrawingEntry& d : kDrawings) {
    if (d.name == name) return QSize(d.width, d.height);
  }
  return std::nullopt;
}

QString drawingPath(std::string_view name) {
  return QStringLiteral(":/drawings/") + toQString(name) + QStringLiteral(".svg");
}

Drawing::Drawing(std::string_view name) : size_(drawingSize(name).value_or(QSize())) {
  if (size_.isEmpty()) return;
  renderer_.load(drawingPath(name));
}

void Drawing::paintStretched(QPainter& painter, const QRect& target, QSize source,
                             const QColor& outside) const {
  if (target.isEmpty()) return;
  painter.fillRect(target, outside);
  if (!valid() || source.isEmpty()) return;
  const double sx = static_cast<double>(target.width()) / source.width();
  const double sy = static_cast<double>(target.height()) / source.height();
  const QRectF bitmap(target.x(), target.y(), size_.width() * sx, size_.height() * sy);
  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_.render(&painter, bitmap);
  painter.restore();
}

std::shared_ptr<const Drawing> sharedDrawing(std::string_view name) {
  // Only the user-interface thread paints, so the cache needs no lock. Entries whose
  // drawing was released are dropped as the cache is used.
  static std::map<std::string, std::weak_ptr<const Drawing>, std::less<>> cache;
  for (auto it = cache.begin(); it != cache.end();) {
    it = it->second.expired() ? cache.erase(it) : std::next(it);
  }
  const auto found = cache.find(name);
  if (found != cache.end()) return found->second.lock();
  auto drawing = std::make_shared<const Drawing>(name);
  cache.emplace(std::string(name), drawing);
  return drawing;
}

QIcon programIcon() {
  QIcon icon;
  QSvgRenderer renderer(drawingPath("icon128"));
  if (!renderer.isValid()) return icon;
  for (int side : {16, 24, 32, 48, 64, 128}) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tarnex::qt
