#pragma once
// The short modal progress window shown after every successful calculation
// (CCalcProgressDlg): a growing coloured line and the counter text, 34 ticks of 10 ms.

#include "forms/animations.h"
#include "timed_popup.h"

namespace tarnex::qt {

class ProgressDialog : public TimedPopup {
  Q_OBJECT

 public:
  // `tickMs` is the timer interval (10 ms in the program).
  explicit ProgressDialog(QWidget* over, int tickMs = ProgressAnimation::kTickMs);

  const ProgressAnimation& animation() const { return animation_; }

 protected:
  bool finished() const override { return animation_.finished(); }
  bool tick() override;
  void paintContent(QPainter& painter) override;
  // Over the window that calculated, or in the middle of the screen.
  void place() override;

 private:
  ProgressAnimation animation_;
};

}  // namespace tarnex::qt
