#pragma once
// The two windows of the start-up: the loading window (CLoadingDlg) and the welcome window
// (CWelcomeDlg). Both are captionless popups with a thin border, centred on the screen.

#include <functional>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/animations.h"
#include "timed_popup.h"

class QProgressBar;

namespace tarnex::qt {

class LoadingDialog : public TimedPopup {
  Q_OBJECT

 public:
  // `tickMs`: the timer interval (10 ms in the program).
  explicit LoadingDialog(int tickMs = LoadingAnimation::kTickMs, QWidget* parent = nullptr);

  const LoadingAnimation& animation() const { return animation_; }
  QProgressBar* bar() const { return bar_; }
  // Work done once while the window shows (the launcher's preparation), right after it has
  // started ticking.
  void setWhileLoading(std::function<void()> work) { whileLoading_ = std::move(work); }

 protected:
  bool finished() const override { return animation_.finished(); }
  bool tick() override;
  void started() override;
  void paintContent(QPainter& painter) override;

 private:
  LoadingAnimation animation_;
  QProgressBar* bar_;
  std::function<void()> whileLoading_;
};

class WelcomeDialog : public TimedPopup {
  Q_OBJECT

 public:
  // Counts down on the files of `folder`; `tickMs` is 1000 in the program.
  WelcomeDialog(const Folder& folder, Host& host, int tickMs = WelcomeCountdown::kTickMs,
                QWidget* parent = nullptr);

  const WelcomeCountdown& countdown() const { return countdown_; }

 protected:
  bool finished() const override { return countdown_.finished(); }
  bool tick() override;
  void started() override;
  void paintContent(QPainter& painter) override;
  // Enter or Escape dismiss the window and write nothing: it shows again at the next start.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Folder folder_;
  Host& host_;
  WelcomeCountdown countdown_;
};

}  // namespace tarnex::qt
