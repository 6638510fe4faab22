#pragma once
// The captionless popups that a window timer drives (the loading window, the welcome window,
// the progress window): a thin border, a timer started when the popup is first shown, one
// model step per tick, and the popup closing itself as accepted when its model has finished.

#include <QBasicTimer>
#include <QDialog>

class QPainter;

namespace tarnex::qt {

class TimedPopup : public QDialog {
  Q_OBJECT

 public:
  // A popup of `w` × `h` dialog units in the dialog font of `points` points, ticking every
  // `tickMs` milliseconds.
  TimedPopup(QWidget* parent, int points, int w, int h, int tickMs,
             Qt::TimerType timerType = Qt::PreciseTimer);

 protected:
  // Whether the model has finished (the timer is then not started again).
  virtual bool finished() const = 0;
  // One timer tick; true when the popup is to close as accepted.
  virtual bool tick() = 0;
  // The popup's own painting, inside its border.
  virtual void paintContent(QPainter& painter) = 0;
  // Where the popup opens when shown; by default in the middle of its screen.
  virtual void place();
  // Called once the timer has started.
  virtual void started() {}
  void stopTimer() { timer_.stop(); }

  void showEvent(QShowEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // The popups only take their time: keys do not end them early.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QBasicTimer timer_;
  int tickMs_;
  Qt::TimerType timerType_;
};

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

}  // namespace tarnex::qt
