// The drawings compiled into the program: each bitmap of the program's table is present,
// parses, has the pixel size of that bitmap as its own size, and renders without a complaint
// from the SVG renderer (an unsupported element would silently drop part of the picture).
#include "drawings.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace {

int g_complaints = 0;

void countComplaints(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtDebugMsg && type != QtInfoMsg) ++g_complaints;
}

}  // namespace

class DrawingsTest : public QObject {
  Q_OBJECT

 private slots:
  void drawingMatchesItsBitmap_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    // Pixel sizes of the program's bitmaps (the bitmap table of the drawings and hints).
    const struct {
      const char* name;
      int width;
      int height;
    } bitmaps[] = {
        {"bitmap166", 270, 154}, {"bitmap167", 225, 117}, {"bitmap168", 217, 115},
        {"bitmap169", 208, 105}, {"bitmap173", 229, 204}, {"bitmap174", 243, 196},
        {"bitmap175", 221, 180}, {"bitmap176", 218, 196}, {"bitmap209", 234, 129},
        {"bitmap213", 319, 141}, {"bitmap190", 592, 418}, {"bitmap191", 504, 355},
        {"bitmap192", 528, 348}, {"bitmap194", 40, 48},   {"bitmap195", 48, 40},
        {"bitmap196", 40, 48},   {"bitmap197", 740, 504}, {"bitmap203", 643, 451},
        {"bitmap204", 650, 467}, {"bitmap206", 420, 268}, {"bitmap207", 564, 352},
    };
    for (const auto& b : bitmaps) {
      QTest::newRow(b.name) << QString::fromLatin1(b.name) << QSize(b.width, b.height);
    }
  }

  void drawingMatchesItsBitmap() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    const std::string key = name.toStdString();
    QCOMPARE(tarnex::qt::drawingSize(key), std::optional<QSize>(size));

    g_complaints = 0;
    const QtMessageHandler previous = qInstallMessageHandler(countComplaints);
    QSvgRenderer renderer(tarnex::qt::drawingPath(key));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    qInstallMessageHandler(previous);

    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBoxF().size(), QSizeF(size));
    QCOMPARE(g_complaints, 0);
  }
};

QTEST_MAIN(DrawingsTest)
#include "drawings_test.moc"
