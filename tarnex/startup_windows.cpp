#include "startup_windows.h"

#include <QKeyEvent>
#include <QPainter>
#include <QProgressBar>
#include <QTimer>
#include <utility>

#include "startup/startup.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

const QColor kBlue(0, 0, 255);

// The loading window's text strip above the bar, its counter text and the rectangle
// repainted when the counter changes.
constexpr int kLoadingPoints = 11;
constexpr int kLoadingStrip = 15;
constexpr QPoint kLoadingTextAt(143, 0);
const QRect kLoadingTextRect(QPoint(143, 0), QPoint(169, 14));
// The welcome window's seconds and their rectangle.
constexpr QPoint kSecondsAt(47, 112);
const QRect kSecondsRect(QPoint(47, 112), QPoint(79, 149));

// Draws a line of text so that its glyphs, ascent and descent included, lie inside the strip
// from the top of the window to `height`: the face that stands in for the original one is
// taller for its size, so the size is reduced until the line fits.
void drawInStrip(QPainter& painter, QFont font, QPoint at, int height, const QString& text) {
  while (font.pixelSize() > 6 && QFontMetrics(font).height() > height) {
    font.setPixelSize(font.pixelSize() - 1);
  }
  painter.setFont(font);
  painter.drawText(at + QPoint(0, QFontMetrics(font).ascent()), text);
}

}  // namespace

LoadingDialog::LoadingDialog(int tickMs, QWidget* parent)
    : TimedPopup(parent, kLoadingPoints, 177, 19, tickMs) {
  setFont(kaiFont(kLoadingPoints));
  bar_ = new QProgressBar(this);
  bar_->setGeometry(QRect(QPoint(2, kLoadingStrip), QPoint(351, 33)));
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  bar_->setValue(animation_.counter());
}

void LoadingDialog::started() {
  if (whileLoading_) QTimer::singleShot(0, this, std::exchange(whileLoading_, {}));
}

bool LoadingDialog::tick() {
  const LoadingAnimation::Step step = animation_.tick();
  bar_->setValue(animation_.counter());
  if (step.repaintText) update(kLoadingTextRect);
  return step.finished;
}

void LoadingDialog::paintContent(QPainter& painter) {
  painter.setPen(kBlue);
  drawInStrip(painter, font(), QPoint(1, 0), kLoadingStrip, QStringLiteral("读取公式与界面配置"));
  drawInStrip(painter, kaiFont(12), kLoadingTextAt, kLoadingStrip, toQString(animation_.text()));
}

WelcomeDialog::WelcomeDialog(const Folder& folder, Host& host, int tickMs, QWidget* parent)
    : TimedPopup(parent, 10, 168, 82, tickMs, Qt::CoarseTimer),
      folder_(folder),
      host_(host),
      countdown_([this] { markWelcomeSeen(folder_, host_); }) {}

bool WelcomeDialog::tick() {
  const bool done = countdown_.tick();
  update(kSecondsRect);
  return done;
}

void WelcomeDialog::started() {
  update(kSecondsRect);
}

void WelcomeDialog::paintContent(QPainter& painter) {
  struct Line {
    const char* text;
    int x, y;
  };
  static constexpr Line kLines[] = {
      {"欢迎使用Tarnex V3.2 :", 3, 3},
      {"1 包含大多数拓扑的计算", 26, 15},
      {"2 直观的界面与实用的参数设置", 26, 25},
      {"3 简洁灵活的公式和界面编辑功能", 26, 36},
      {"4 类似C语言风格的公式编辑规则", 26, 47},
      {"5 准确的提示语法错误类型和位置", 26, 58},
      {"秒后进入系统！将不再提示本信息!", 35, 71},
  };
  const DialogUnits du = unitsForDialogFont(10);
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  for (const Line& line : kLines) {
    drawTextAt(painter, du.point(line.x, line.y), QString::fromUtf8(line.text));
  }
  painter.setFont(kaiFont(13));
  painter.setPen(kBlue);
  drawTextAt(painter, kSecondsAt, toQString(countdown_.text()));
}

void WelcomeDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      stopTimer();
      reject();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      stopTimer();
      accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

}  // namespace tarnex::qt
