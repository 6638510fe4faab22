#pragma once
// The short modal progress window shown after every successful calculation
// (CCalcProgressDlg): a growing coloured line and the counter text, 34 ticks of 10 ms.

#include <QBasicTimer>
#include <QDialog>

#include "forms/animations.h"

namespace tarnex::qt {

class ProgressDialog : public QDialog {
  Q_OBJECT

 public:
  // `tickMs` is the timer interval (10 ms in the program).
  explicit ProgressDialog(QWidget* over, int tickMs = ProgressAnimation::kTickMs);

  const ProgressAnimation& animation() const { return animation_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ProgressAnimation animation_;
  QBasicTimer timer_;
  int tickMs_;
};

}  // namespace tarnex::qt
