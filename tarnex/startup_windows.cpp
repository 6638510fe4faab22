#include "startup_windows.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimerEvent>

#include "startup/startup.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr Qt::WindowFlags kPopup = Qt::Dialog | Qt::FramelessWindowHint;
const QColor kBlue(0, 0, 255);

// Both popups have a thin dark border and no caption.
void paintThinBorder(QWidget* w) {
  QPainter painter(w);
  painter.setPen(QColor(64, 64, 64));
  painter.drawRect(w->rect().adjusted(0, 0, -1, -1));
}

// The loading window's counter text and the rectangle repainted when it changes.
constexpr QPoint kLoadingTextAt(143, 0);
const QRect kLoadingTextRect(QPoint(143, 0), QPoint(169, 14));
// The welcome window's seconds and their rectangle.
constexpr QPoint kSecondsAt(47, 112);
const QRect kSecondsRect(QPoint(47, 112), QPoint(79, 149));

}  // namespace

void centreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  window->move(area.center() - window->rect().center());
}

LoadingDialog::LoadingDialog(int tickMs, QWidget* parent)
    : QDialog(parent, kPopup), tickMs_(tickMs) {
  constexpr int kPoints = 11;
  const DialogUnits du = unitsForDialogFont(kPoints);
  setFont(kaiFont(kPoints));
  setFixedSize(du.size(177, 19));
  bar_ = new QProgressBar(this);
  bar_->setGeometry(QRect(QPoint(2, 15), QPoint(351, 33)));
  bar_->setRange(0, 100);
  bar_->setTextVisible(false);
  bar_->setValue(animation_.counter());
}

void LoadingDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  centreOnScreen(this);
  if (!timer_.isActive() && !animation_.finished()) timer_.start(tickMs_, Qt::PreciseTimer, this);
}

void LoadingDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QDialog::timerEvent(event);
    return;
  }
  const LoadingAnimation::Step step = animation_.tick();
  bar_->setValue(animation_.counter());
  if (step.repaintText) update(kLoadingTextRect);
  if (step.finished) {
    timer_.stop();
    accept();
  }
}

void LoadingDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  paintThinBorder(this);
  QPainter painter(this);
  painter.setPen(kBlue);
  painter.setFont(font());
  drawTextAt(painter, QPoint(0, 0), QStringLiteral("读取公式与界面配置"));
  painter.setFont(kaiFont(12));
  drawTextAt(painter, kLoadingTextAt, toQString(animation_.text()));
}

void LoadingDialog::keyPressEvent(QKeyEvent* event) {
  // The loading window only takes its time; keys do not end it early.
  event->accept();
}

WelcomeDialog::WelcomeDialog(const Folder& folder, Host& host, int tickMs, QWidget* parent)
    : QDialog(parent, kPopup),
      folder_(folder),
      host_(host),
      countdown_([this] { markWelcomeSeen(folder_, host_); }),
      tickMs_(tickMs) {
  constexpr int kPoints = 10;
  const DialogUnits du = unitsForDialogFont(kPoints);
  setFont(dialogFont(kPoints));
  setFixedSize(du.size(168, 82));
}

void WelcomeDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  paintThinBorder(this);
  QPainter painter(this);
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

void WelcomeDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  centreOnScreen(this);
  if (!timer_.isActive() && !countdown_.finished()) {
    timer_.start(tickMs_, this);
    update(kSecondsRect);
  }
}

void WelcomeDialog::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QDialog::timerEvent(event);
    return;
  }
  const bool done = countdown_.tick();
  update(kSecondsRect);
  if (done) {
    timer_.stop();
    accept();
  }
}

void WelcomeDialog::keyPressEvent(QKeyEvent* event) {
  // Dismissing the window by key writes nothing: it shows again at the next start.
  switch (event->key()) {
    case Qt::Key_Escape:
      timer_.stop();
      reject();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      timer_.stop();
      accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

}  // namespace tarnex::qt
