// render_picture: renders one SVG drawing to a PNG or JPEG file at build time.
//
//   render_picture SOURCE.svg TARGET.(png|jpg) [--width W | --size N] [--background COLOUR]
//
// Without --width or --size the picture keeps the drawing's own pixel size (its width and
// height, or its viewBox). --width scales it to W pixels wide, keeping the aspect ratio;
// --size renders it into an N x N square (icons). The background is transparent for PNG and
// white for JPEG unless --background names a colour ("#000000", "black", "transparent").
//
// The tool always runs on Qt's offscreen platform: it opens no window and needs no display,
// only the fonts of the build machine. Any warning that Qt reports while loading or
// rendering (an SVG element the renderer does not support, a bad attribute) fails the run, so
// a drawing that would not show as written never reaches the program.
//
// Exit codes: 0 written, 1 bad usage, 2 the drawing did not load or render cleanly,
// 3 the picture could not be written.

#include <QByteArray>
#include <QColor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QRectF>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitDrawing = 2;
constexpr int kExitWrite = 3;

// Largest side accepted for an output picture: a guard against a mistyped size.
constexpr int kMaxSide = 8192;

int g_warnings = 0;
bool g_started = false;

// Counts what Qt reports about the drawing. Start-up notes of the platform (a missing
// runtime folder, say) concern the build machine, not the drawing, and are left out.
void countWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (!g_started && type == QtWarningMsg) return;
  ++g_warnings;
  std::fprintf(stderr, "render_picture: %s\n", qPrintable(text));
}

struct Options {
  QString source;
  QString target;
  std::optional<int> width;
  std::optional<int> side;
  std::optional<QColor> background;
};

void printUsage() {
  std::fputs(
      "usage: render_picture SOURCE.svg TARGET.(png|jpg) [--width W | --size N] "
      "[--background COLOUR]\n",
      stderr);
}

std::optional<int> parseSide(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < 1 || value > kMaxSide) return std::nullopt;
  return value;
}

std::optional<Options> parseOptions(const QStringList& args) {
  Options options;
  QStringList positional;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == QLatin1String("--width") && hasValue) {
      options.width = parseSide(args[++i]);
      if (!options.width) return std::nullopt;
    } else if (arg == QLatin1String("--size") && hasValue) {
      options.side = parseSide(args[++i]);
      if (!options.side) return std::nullopt;
    } else if (arg == QLatin1String("--background") && hasValue) {
      const QColor colour = QColor::fromString(args[++i]);
      if (!colour.isValid()) return std::nullopt;
      options.background = colour;
    } else if (arg.startsWith(QLatin1String("--"))) {
      return std::nullopt;
    } else {
      positional.append(arg);
    }
  }
  if (positional.size() != 2 || (options.width && options.side)) return std::nullopt;
  options.source = positional[0];
  options.target = positional[1];
  return options;
}

// The output format from the target's suffix, in the spelling QImageWriter knows.
QByteArray formatOf(const QString& target) {
  const QString suffix = QFileInfo(target).suffix().toLower();
  if (suffix == QLatin1String("png")) return "png";
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "jpeg";
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  // A build machine may have no display, and the tool never shows a window.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(countWarnings);
  QGuiApplication app(argc, argv);
  g_started = true;

  const std::optional<Options> options = parseOptions(QGuiApplication::arguments());
  if (!options) {
    printUsage();
    return kExitUsage;
  }
  const QByteArray format = formatOf(options->target);
  if (format.isEmpty()) {
    std::fprintf(stderr, "render_picture: %s: write a .png or a .jpg\n",
                 qPrintable(options->target));
    return kExitUsage;
  }
  const bool jpeg = format == "jpeg";
  const QColor background =
      options->background.value_or(jpeg ? QColor(Qt::white) : QColor(Qt::transparent));
  if (jpeg && background.alpha() != 255) {
    std::fputs("render_picture: a JPEG needs an opaque background\n", stderr);
    return kExitUsage;
  }

  QSvgRenderer renderer(options->source);
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_picture: %s: not a drawing\n", qPrintable(options->source));
    return kExitDrawing;
  }
  const QSizeF own = renderer.viewBoxF().size();
  if (own.isEmpty()) {
    std::fprintf(stderr, "render_picture: %s: the drawing has no size\n",
                 qPrintable(options->source));
    return kExitDrawing;
  }
  QSize size = own.toSize();
  if (options->side) {
    size = QSize(*options->side, *options->side);
  } else if (options->width) {
    const double height = std::round(*options->width * own.height() / own.width());
    size = QSize(*options->width, static_cast<int>(std::clamp(height, 1.0, double(kMaxSide))));
  }

  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(background);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  if (g_warnings > 0) {
    std::fprintf(stderr, "render_picture: %s: %d warning(s) while rendering\n",
                 qPrintable(options->source), g_warnings);
    return kExitDrawing;
  }

  // Written through a temporary file that replaces the target only when complete, so a
  // failed run never leaves a truncated picture that a build would take as up to date.
  QSaveFile file(options->target);
  if (!file.open(QIODevice::WriteOnly)) {
    std::fprintf(stderr, "render_picture: %s: %s\n", qPrintable(options->target),
                 qPrintable(file.errorString()));
    return kExitWrite;
  }
  QImageWriter writer(&file, format);
  if (jpeg) writer.setQuality(92);
  const QImage out = jpeg ? image.convertToFormat(QImage::Format_RGB32) : image;
  if (!writer.write(out) || !file.commit()) {
    const QString why =
        writer.error() != QImageWriter::UnknownError ? writer.errorString() : file.errorString();
    std::fprintf(stderr, "render_picture: %s: %s\n", qPrintable(options->target), qPrintable(why));
    return kExitWrite;
  }
  return 0;
}
