#include "report_writer.h"

#include <QAction>
#include <QBuffer>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>
#include <utility>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "base/version.h"
#include "bode_plot.h"
#include "design_menu.h"
#include "form_view.h"
#include "form_view_widgets.h"
#include "report/report.h"
#include "tables/field_table.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// The pictures are rendered at three times their size on the screen and stand on the page at
// one and a half times it, so that they print sharp and readable.
constexpr qreal kPictureScale = 3;
constexpr double kCircuitEnlargement = 1.5;
// The widest a picture stands on the page, in CSS pixels (the A4 page's text is 642 wide).
constexpr int kPageWidth = 600;
// The Bode plot as the report draws it.
constexpr QSize kBodeSize(600, 440);
constexpr const char* kReportFace = "Noto Sans CJK SC";

struct Rendered {
  QImage image;
  QSize shown;  // in CSS pixels
};

QImage renderWidget(QWidget& widget, QSize size) {
  QImage image(size * kPictureScale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(kPictureScale);
  image.fill(Qt::white);
  QPainter painter(&image);
  widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

QSize fitted(QSize size) {
  if (size.width() <= kPageWidth) return size;
  return {kPageWidth, size.height() * kPageWidth / size.width()};
}

// The circuit drawing as the window shows it: its picture frames (a compensation page has
// its network and its waveforms) one below the other, each as wide as the widest.
std::optional<Rendered> circuitOf(FormWidget& widget) {
  std::vector<PictureWidget*> frames;
  int width = 0;
  for (PictureWidget* p : widget.pictureWidgets()) {
    if (p->onlyDrawing() || p->width() <= 0 || p->height() <= 0) continue;
    frames.push_back(p);
    width = std::max(width, p->width());
  }
  if (frames.empty()) return std::nullopt;
  constexpr int kGap = 8;
  int height = -kGap;
  for (const PictureWidget* p : frames) height += p->height() * width / p->width() + kGap;
  QImage image(QSize(width, height) * kPictureScale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(kPictureScale);
  image.fill(Qt::white);
  QPainter painter(&image);
  int y = 0;
  for (PictureWidget* p : frames) {
    const int h = p->height() * width / p->width();
    painter.drawImage(QRect(0, y, width, h), renderWidget(*p, p->size()));
    y += h + kGap;
  }
  painter.end();
  return Rendered{image, fitted(QSize(width, height) * kCircuitEnlargement)};
}

// The Bode plot of a compensation page, drawn afresh at the report's size.
std::optional<Rendered> bodeOf(FormWidget& widget) {
  if (!widget.form().plotsBode() || widget.form().bode() == nullptr) return std::nullopt;
  BodePlotWidget plot(widget.form(), nullptr);
  plot.setFont(widget.font());
  plot.resize(kBodeSize);
  plot.ensurePolished();
  return Rendered{renderWidget(plot, kBodeSize), fitted(kBodeSize)};
}

report::Image dataImage(const std::optional<Rendered>& r) {
  if (!r) return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  r->image.save(&buffer, "PNG");
  return {"data:image/png;base64," + png.toBase64().toStdString(), r->shown.width(),
          r->shown.height()};
}

report::Image resourceImage(QTextDocument& doc, const std::optional<Rendered>& r,
                            const QString& name) {
  if (!r) return {};
  doc.addResource(QTextDocument::ImageResource, QUrl(name), r->image);
  return {toUtf8(name), r->shown.width(), r->shown.height()};
}

// The ideographs a radical of the CJK face's character map draws with the same glyph: the
// face maps, say, the Kangxi radical U+2F53 and 气 U+6C14 onto one glyph, and the PDF's text
// layer, which names one character per glyph, would read the radical back.
QHash<char16_t, char16_t> radicalIdeographs(const QFont& face) {
  const QRawFont raw = QRawFont::fromFont(face);
  QString ideographs;
  for (char16_t c = 0x4E00; c <= 0x9FFF; ++c) ideographs += QChar(c);
  const QList<quint32> glyphs = raw.glyphIndexesForString(ideographs);
  QHash<quint32, char16_t> ideographOf;
  for (qsizetype i = 0; i < glyphs.size(); ++i) {
    if (glyphs[i] != 0 && !ideographOf.contains(glyphs[i])) {
      ideographOf.insert(glyphs[i], static_cast<char16_t>(0x4E00 + i));
    }
  }
  QString radicals;
  for (char16_t c = 0x2E80; c <= 0x2FDF; ++c) radicals += QChar(c);
  const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
  QHash<char16_t, char16_t> map;
  for (qsizetype i = 0; i < radicalGlyphs.size(); ++i) {
    const auto it = ideographOf.find(radicalGlyphs[i]);
    if (radicalGlyphs[i] != 0 && it != ideographOf.end()) {
      map.insert(static_cast<char16_t>(0x2E80 + i), *it);
    }
  }
  return map;
}

// Rewrites the characters of the PDF's text layer (its ToUnicode maps, which are not
// compressed) from radicals to the ideographs drawn, in place: every code keeps its four hex
// digits, so that no offset of the file moves.
void readBackIdeographs(QByteArray& pdf, const QFont& face) {
  const QHash<char16_t, char16_t> map = radicalIdeographs(face);
  static const QRegularExpression ref(QStringLiteral("/ToUnicode (\\d+) 0 R"));
  QSet<QByteArray> objects;
  for (auto it = ref.globalMatch(QString::fromLatin1(pdf)); it.hasNext();) {
    objects.insert(it.next().captured(1).toLatin1());
  }
  for (const QByteArray& number : objects) {
    const qsizetype object = pdf.indexOf("\n" + number + " 0 obj");
    const qsizetype begin = object < 0 ? -1 : pdf.indexOf("stream\n", object);
    const qsizetype end = begin < 0 ? -1 : pdf.indexOf("endstream", begin);
    if (end < 0) continue;
    for (qsizetype i = begin; i + 5 < end; ++i) {
      if (pdf[i] != '<' || pdf[i + 5] != '>') continue;
      bool ok = false;
      const auto code = static_cast<char16_t>(pdf.mid(i + 1, 4).toUInt(&ok, 16));
      const auto it = ok ? map.find(code) : map.end();
      if (it == map.end()) continue;
      const QByteArray digits = QByteArray::number(*it, 16).toUpper().rightJustified(4, '0');
      pdf.replace(i + 1, 4, digits);
    }
  }
}

// The PDF: A4, the report's face, written into a temporary file that replaces the target only
// once it is complete.
QString writePdf(const report::Report& model, const std::optional<Rendered>& circuit,
                 const std::optional<Rendered>& bode, const QString& path) {
  QTextDocument doc;
  QFont face(QString::fromLatin1(kReportFace));
  face.setPointSize(10);
  // Shaped, the face's Latin runs take digits of its own that the PDF's text layer cannot name.
  face.setStyleStrategy(QFont::PreferNoShaping);
  doc.setDefaultFont(face);
  const report::Images images{resourceImage(doc, circuit, QStringLiteral("report:circuit")),
                              resourceImage(doc, bode, QStringLiteral("report:bode"))};
  doc.setHtml(toQString(report::html(model, images)));

  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(300);
    writer.setTitle(toQString(model.title));
    writer.setCreator(toQString(model.program));
    doc.print(&writer);
  }
  readBackIdeographs(bytes, face);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return file.errorString();
  }
  return {};
}

}  // namespace

QString writeReport(FormWidget& widget, const std::string& sheetTitle, const ReportFiles& files,
                    const QString& date) {
  const report::Report model =
      report::build(widget.form(), {.date = toUtf8(date), .sheetTitle = sheetTitle});
  const std::optional<Rendered> circuit = circuitOf(widget);
  const std::optional<Rendered> bode = bodeOf(widget);
  const QString kept = QStringLiteral("原有的文件未被改动。");
  if (!files.pdf.isEmpty()) {
    const QString error = writePdf(model, circuit, bode, files.pdf);
    if (!error.isEmpty()) {
      return QStringLiteral("无法写入文件“%1”：%2\n").arg(QFileInfo(files.pdf).fileName(), error) +
             kept;
    }
  }
  if (!files.html.isEmpty()) {
    std::string error;
    const std::string text = report::html(model, {dataImage(circuit), dataImage(bode)});
    if (!replaceFile(std::filesystem::path(toUtf8(files.html)), text, error)) {
      QString said = toQString(error) + QStringLiteral("\n") + kept;
      if (!files.pdf.isEmpty()) said += QStringLiteral("\nPDF 已写入：") + files.pdf;
      return said;
    }
  }
  return {};
}

void addReportItem(DesignMenu& menu, QWidget* window, std::function<FormWidget*()> shown,
                   std::string sheetTitle) {
  menu.add(DesignMenu::Item::Report, QStringLiteral("生成报告…"),
           [window, shown = std::move(shown), sheetTitle = std::move(sheetTitle)] {
             FormWidget* widget = shown();
             if (widget == nullptr) return;
             const QString both = QStringLiteral("PDF 与同名 HTML (*.pdf)");
             const QString pdf = QStringLiteral("仅 PDF (*.pdf)");
             const QString html = QStringLiteral("仅 HTML (*.html)");
             // The window's or the page's name, without the title's markers.
             const DialogTable* table = widget->form().table();
             const std::string title =
                 table != nullptr ? std::string(table->titleName) : widget->form().title();
             QString filter = both;
             QString path = QFileDialog::getSaveFileName(
                 window, QStringLiteral("生成报告"),
                 toQString(report::suggestedName(title, ".pdf")),
                 both + QStringLiteral(";;") + pdf + QStringLiteral(";;") + html, &filter);
             if (path.isEmpty()) return;
             const QString ext = filter == html ? QStringLiteral(".html") : QStringLiteral(".pdf");
             if (!path.endsWith(ext, Qt::CaseInsensitive)) path += ext;
             ReportFiles files;
             if (filter == html) {
               files.html = path;
             } else {
               files.pdf = path;
               if (filter == both)
                 files.html = path.left(path.size() - 4) + QStringLiteral(".html");
             }
             const QString date =
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
             const QString error = writeReport(*widget, sheetTitle, files, date);
             QString written = files.pdf;
             if (!files.html.isEmpty()) written += (written.isEmpty() ? "" : "\n") + files.html;
             if (error.isEmpty()) {
               QMessageBox::information(window, QString::fromUtf8(kProgramName),
                                        QStringLiteral("报告已写入：\n") + written);
             } else {
               QMessageBox::warning(window, QString::fromUtf8(kProgramName),
                                    QStringLiteral("无法生成报告：\n") + error);
             }
           });
}

}  // namespace tarnex::qt
