#include "drawings.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <string>

#include "ui_metrics.h"

namespace tarnex::qt {

std::optional<QSize> drawingSize(std::string_view name) {
  const Drawing drawing(name);
  if (!drawing.valid()) return std::nullopt;
  return drawing.size();
}

QString drawingPath(std::string_view name) {
  return QStringLiteral(":/drawings/") + toQString(name) + QStringLiteral(".svg");
}

// Each drawing's view box is the pixel size of the bitmap it stands for. A name the program
// lacks is not handed to the renderer, which would complain about the missing file.
Drawing::Drawing(std::string_view name) {
  const QString path = drawingPath(name);
  if (!QFile::exists(path) || !renderer_.load(path)) return;
  size_ = renderer_.viewBox().size();
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
