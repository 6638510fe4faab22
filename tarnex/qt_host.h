#pragma once
// The desktop program's side of the core's host interface: message boxes, the progress
// window, modal dialogs and sheets of the core's own, handing files to the desktop, and
// repainting the window of a form.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "base/host.h"

namespace tarnex::qt {

class QtHost : public Host {
 public:
  // What the host serves: the window of a form (may be null, e.g. during start-up), what
  // brings the window in line with its form before a modal box opens (so that it shows, for
  // example, the "0" of the result fields while it is blocked), and what repaints it.
  struct Surface {
    QPointer<QWidget> window;
    std::function<void()> sync;
    std::function<void()> repaint;
  };

  explicit QtHost(QWidget* window = nullptr) { surfaces_.push_back({window, {}, {}}); }

  void setWindow(QWidget* window) { surfaces_.front().window = window; }
  // The window now in front: a modal dialog or sheet run through this host while it runs.
  QWidget* window() const { return surfaces_.back().window.data(); }
  void setBeforeModal(std::function<void()> hook) { surfaces_.front().sync = std::move(hook); }
  void setOnRepaint(std::function<void()> hook) { surfaces_.front().repaint = std::move(hook); }

  void showMessage(const Message& message) override;
  void runProgress() override;
  void runDialog(Form& dialog) override;
  void runSheet(Sheet& sheet) override { runSheet(sheet, {}); }
  // The same for a sheet that shows the design file `designFile` (named in its title).
  void runSheet(Sheet& sheet, const QString& designFile);
  bool openInDesktop(const std::string& path, bool minimized) override;
  // The program (with its first arguments) that hands a file to the desktop, and whose exit
  // status tells whether an application took it; empty: QDesktopServices, whose answer is not
  // known. Unless set: xdg-open under X11, nothing elsewhere.
  void setOpener(QStringList command) { opener_ = std::move(command); }
  void repaint() override;

  // While a modal dialog or sheet runs, the host serves it: its messages and progress
  // windows open over it.
  class Front {
   public:
    Front(QtHost& host, Surface surface) : host_(host) {
      host_.surfaces_.push_back(std::move(surface));
    }
    ~Front() { host_.surfaces_.pop_back(); }
    Front(const Front&) = delete;
    Front& operator=(const Front&) = delete;

   private:
    QtHost& host_;
  };

 private:
  void beforeModal() const;

  std::vector<Surface> surfaces_;
  std::optional<QStringList> opener_;
};

}  // namespace tarnex::qt
