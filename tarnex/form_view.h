#pragma once
// A window that renders any form model of the core as Qt widgets and forwards the user's
// actions to it. After every action the widgets are brought in line with the model.
//
// Forms with a field table (the design windows) get a layout of aligned rows grouped in
// their group boxes, in columns, with the circuit picture and the notes beside them; other
// forms place each control at its rectangle in dialog units of the 9-point dialog font.

#include <QDialog>
#include <QLabel>
#include <functional>
#include <map>
#include <memory>

#include "forms/form.h"
#include "qt_host.h"

namespace tarnex::qt {

class PictureWidget;

class FormView : public QDialog {
  Q_OBJECT

 public:
  using FormFactory = std::function<std::unique_ptr<Form>(Host&)>;

  // Builds the form through `makeForm` with this window's host and creates its widgets.
  // `owner` owns the window (it closes with it); the window is not shown yet.
  FormView(const FormFactory& makeForm, QWidget* owner);
  ~FormView() override;

  // Runs the form's first data exchange, shows the window and applies what the model says.
  void start();

  Form& form() { return *form_; }
  QtHost& host() { return host_; }
  // The widget of a control id, or nullptr.
  QWidget* widgetFor(int id) const;

  // Brings every widget in line with the model (texts only where they differ).
  void sync();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createWidgets();
  void layOutByTable();
  void layOutByRect();
  QWidget* makeWidget(const Control& c, QWidget* parent);
  void afterAction();
  // Moves the window so that `frame` (its outer rectangle) lies on its screen.
  void keepOnScreen(const QRect& frame);
  void syncControl(const Control& c);

  QtHost host_;
  std::unique_ptr<Form> form_;
  std::map<int, QWidget*> widgets_;
  std::map<int, QLabel*> listCaptions_;  // captions of lists that carry their own
  PictureWidget* picture_ = nullptr;
  bool closing_ = false;
};

}  // namespace tarnex::qt
