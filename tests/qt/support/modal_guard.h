#pragma once
// A guard for the Qt tests: a modal window (a message box, a dialog) that no test code closes
// within a grace time is noted and closed, so that a fault fails the test that met it
// instead of blocking the test program until its time runs out.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace tarnex::testing {

class ModalGuard : public QObject {
  Q_OBJECT

 public:
  // `graceMs`: how long a modal window may stay open before it counts as unexpected; the
  // program's own timed windows close themselves well within it.
  explicit ModalGuard(int graceMs = 3000);

  // The modal windows closed by the guard since the last call ("title: text"), for a check
  // in the test's cleanup.
  QStringList takeUnexpected();

 private:
  void poll();

  QTimer timer_;
  int graceMs_;
  QPointer<QWidget> watched_;
  qint64 since_ = 0;
  QStringList unexpected_;
};

}  // namespace tarnex::testing
