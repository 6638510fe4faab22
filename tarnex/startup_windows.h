#pragma once
// The two windows of the start-up: the loading window (CLoadingDlg) and the welcome window
// (CWelcomeDlg). Both are captionless popups with a thin border, centred on the screen.

#include <QBasicTimer>
#include <QDialog>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/animations.h"

class QProgressBar;

namespace tarnex::qt {

class LoadingDialog : public QDialog {
  Q_OBJECT

 public:
  // `tickMs`: the timer interval (10 ms in the program).
  explicit LoadingDialog(int tickMs = LoadingAnimation::kTickMs, QWidget* parent = nullptr);

  const LoadingAnimation& animation() const { return animation_; }
  QProgressBar* bar() const { return bar_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  LoadingAnimation animation_;
  QBasicTimer timer_;
  QProgressBar* bar_;
  int tickMs_;
};

class WelcomeDialog : public QDialog {
  Q_OBJECT

 public:
  // Counts down on the files of `folder`; `tickMs` is 1000 in the program.
  WelcomeDialog(const Folder& folder, Host& host, int tickMs = WelcomeCountdown::kTickMs,
                QWidget* parent = nullptr);

  const WelcomeCountdown& countdown() const { return countdown_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Folder folder_;
  Host& host_;
  WelcomeCountdown countdown_;
  QBasicTimer timer_;
  int tickMs_;
};

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

}  // namespace tarnex::qt
