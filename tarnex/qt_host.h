#pragma once
// The desktop program's side of the core's host interface: message boxes, the progress
// window, handing files to the desktop, and repainting the window of a form.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "base/host.h"

namespace tarnex::qt {

class QtHost : public Host {
 public:
  // `window`: the window of the form this host serves (may be null, e.g. during start-up).
  explicit QtHost(QWidget* window = nullptr) : window_(window) {}

  void setWindow(QWidget* window) { window_ = window; }
  QWidget* window() const { return window_; }
  // Called before a modal box or the progress window opens, so that the window shows the
  // state of its form while it is blocked (for example the "0" of the result fields).
  void setBeforeModal(std::function<void()> hook) { beforeModal_ = std::move(hook); }
  void setOnRepaint(std::function<void()> hook) { onRepaint_ = std::move(hook); }

  void showMessage(const Message& message) override;
  void runProgress() override;
  void openInDesktop(const std::string& path, bool minimized) override;
  void repaint() override;

 private:
  QPointer<QWidget> window_;
  std::function<void()> beforeModal_;
  std::function<void()> onRepaint_;
};

}  // namespace tarnex::qt
