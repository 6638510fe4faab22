#include "form_view_widgets.h"

#include <QPainter>
#include <QScrollArea>
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "drawings.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr const char* kCheckCaption = "设计检查";
constexpr const char* kCheckPlaceholder =
    "计算后在此列出按电路算出的检查结果：磁密、输入电容谷值、电流、线径等。";
constexpr const char* kLoopCheckPlaceholder =
    "计算后在此列出按精确传递函数算出的检查结果：穿越频率、相位裕量、增益裕量、元件能否实现等。";
constexpr Rgb kCheckCaptionColor{0, 0, 255};
constexpr Rgb kFailureColor{255, 0, 0};
constexpr Rgb kWarningColor{200, 0, 255};

}  // namespace

void CaptionBox::setCaptionColor(const QColor& color) {
  captionColor_ = color;
  update();
}

void CaptionBox::initStyleOption(QStyleOptionGroupBox* option) const {
  QGroupBox::initStyleOption(option);
  if (!captionColor_.isValid()) return;
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    option->palette.setColor(group, QPalette::WindowText, captionColor_);
  }
  option->textColor = captionColor_;
}

FindingsList::FindingsList(QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text_ = new QLabel(this);
  text_->setTextFormat(Qt::RichText);
  text_->setWordWrap(true);
  text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  setWidget(text_);
}

void FindingsList::showFindings(std::span<const Finding> findings, const QString& placeholder) {
  QString html;
  for (const Finding& f : findings) {
    // A failure in red; the rest in the window's own colours, a warning in its hint violet.
    const char* mark = "○";
    QString color = palette().color(QPalette::WindowText).name();
    if (f.severity == Severity::Failure) {
      mark = "●";
      color = toQColor(kFailureColor).name();
    } else if (f.severity == Severity::Warning) {
      mark = "▲";
      color = toQColor(kWarningColor).name();
    }
    html += QStringLiteral("<div style=\"color:%1\">%2 %3</div>")
                .arg(color, QString::fromUtf8(mark), toQString(f.text).toHtmlEscaped());
  }
  if (html.isEmpty()) {
    html = QStringLiteral("<div style=\"color:%1\">%2</div>")
               .arg(palette().color(QPalette::Disabled, QPalette::WindowText).name(),
                    placeholder.toHtmlEscaped());
  }
  if (text_->text() != html) text_->setText(html);
}

QString checkPlaceholder(bool loop) {
  return toQString(loop ? kLoopCheckPlaceholder : kCheckPlaceholder);
}

DesignCheckBox::DesignCheckBox(bool loop, QWidget* parent)
    : CaptionBox(toQString(kCheckCaption), parent), loop_(loop) {
  setCaptionColor(toQColor(kCheckCaptionColor));
  auto* inside = new QVBoxLayout(this);
  inside->setContentsMargins(8, 4, 4, 4);
  list_ = new FindingsList(this);
  inside->addWidget(list_);
}

void DesignCheckBox::showFindings(std::span<const Finding> findings) {
  list_->showFindings(findings, checkPlaceholder(loop_));
}

PictureWidget::PictureWidget(Form& form, int frameId, bool framed, QWidget* parent,
                             std::string only)
    : QFrame(parent), form_(form), frameId_(frameId), only_(std::move(only)) {
  if (framed) setFrameStyle(QFrame::Box | QFrame::Sunken);
}

int PictureWidget::drawingWidth() const {
  int width = 0;
  for (const Picture& p : form_.pictures()) {
    if (shows(p)) width = std::max(width, p.sourceWidth);
  }
  return width;
}

double PictureWidget::aspect() const {
  for (const Picture& p : form_.pictures()) {
    if (shows(p) && p.sourceWidth > 0 && p.sourceHeight > 0) {
      return static_cast<double>(p.sourceWidth) / p.sourceHeight;
    }
  }
  return 16.0 / 9.0;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The drawings of a frame have a black ground of their own, which the part of the source
  // rectangle beyond them continues; a single small drawing on the page itself (a pointing
  // hand) stands on the page's colour.
  const QColor outside = only_.empty() ? QColor(Qt::black) : palette().color(QPalette::Window);
  for (const Picture& p : form_.pictures()) {
    if (!shows(p)) continue;
    drawing(p.resource)
        ->paintStretched(painter, contentsRect(), QSize(p.sourceWidth, p.sourceHeight), outside);
  }
  QFrame::paintEvent(event);
}

bool PictureWidget::shows(const Picture& p) const {
  return p.frameId == frameId_ && (only_.empty() || p.resource == only_);
}

const Drawing* PictureWidget::drawing(const std::string& name) {
  auto it = drawings_.find(name);
  if (it == drawings_.end()) it = drawings_.emplace(name, sharedDrawing(name)).first;
  return it->second.get();
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
  if (width() >= sizeHint().width()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(text(), Qt::ElideRight, width()));
}

void PlacedNote::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  QTextLayout layout(text(), font());
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  const int lineHeight = QFontInfo(font()).pixelSize() + 1;
  const qreal ascent = QFontMetricsF(font()).ascent();
  layout.beginLayout();
  for (int y = 0;; y += lineHeight) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(width());
    // The baseline 7/8 of the line down, where the Song face puts it.
    line.setPosition(QPointF(0, y + lineHeight * 7.0 / 8 - ascent));
  }
  layout.endLayout();
  layout.draw(&painter, QPointF(0, 0));
}

}  // namespace tarnex::qt
