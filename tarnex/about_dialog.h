#pragma once
// The About box: the program's icon, name, date and build.

#include <QDialog>

namespace tarnex::qt {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* over);

 protected:
  void showEvent(QShowEvent* event) override;
};

}  // namespace tarnex::qt
