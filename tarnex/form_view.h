#pragma once
// Forms of the core shown as Qt widgets. A FormWidget renders any form model and forwards the
// user's actions to it; after every action the widgets are brought in line with the model.
// A FormView is a window of one form: a design window (non-modal, owning its form) or a modal
// dialog of the core (a hint dialog, borrowing its form).
//
// Forms whose table gives no placement (the design windows, the compensation pages) are laid
// out by forms/form_layout.h: aligned rows grouped in their group boxes, in columns that fit
// the screen, with the pictures and notes beside them; forms placed by their table (hint
// dialogs, the toolbox page) put each control at its rectangle in dialog units of the form's
// dialog font.

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "forms/form.h"
#include "qt_host.h"

namespace tarnex::qt {

class PictureWidget;
class DesignCheckBox;
class BodePlotWidget;
class CoreViews;
class DesignMenu;

class FormWidget : public QWidget {
  Q_OBJECT

 public:
  // Renders `form`. `room`: the size a form laid out by its groups may take (a page of a
  // sheet); empty for a window of its own, which stays low and keeps its pictures small.
  FormWidget(Form& form, QWidget* parent, QSize room = {});
  ~FormWidget() override;

  Form& form() { return form_; }
  // The widget of a control id, or nullptr.
  QWidget* widgetFor(int id) const;

  // Brings every widget in line with the model (texts only where they differ).
  void sync();
  // After every action of the user: sync, the focus the form asked for, and a close request.
  void afterAction();
  // Repaints the pictures (another topology, another kind) and the Bode plot.
  void repaintPictures();
  // The Bode plot of a form that designs a loop, or nullptr.
  QWidget* plotWidget() const;
  // The picture frames it paints (the circuit drawings and the pictures that lead to groups).
  const std::vector<PictureWidget*>& pictureWidgets() const { return pictures_; }
  // The catalogue core's button, choice and loss sheet of a form that asks for a core, or
  // nullptr.
  CoreViews* coreViews() const { return core_; }
  // Makes the form's default button the default of the window it is shown in (a page of a
  // sheet, when it comes to the front), so that Enter presses it.
  void claimDefaultButton();

 signals:
  void closeRequested();
  // The widgets were brought in line with the model (the title may have changed too).
  void synced();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A form laid out by its groups: its widgets, then their places from the layout plan
  // (again whenever a caption changes its text).
  void buildRows();
  void layOutRows();
  void layOutByRect();
  QWidget* makeWidget(const Control& c, QWidget* parent);
  // Whether a text that takes room in the layout changed.
  bool syncControl(const Control& c);

  Form& form_;
  QSize room_;
  std::map<int, QWidget*> widgets_;
  std::map<int, QLabel*> listCaptions_;  // captions of lists that carry their own
  std::vector<PictureWidget*> pictures_;
  // The pictures a form laid out by its groups places itself: by frame, and drawing when
  // the frame's drawings stand apart.
  std::map<std::pair<int, std::string>, PictureWidget*> placedPictures_;
  DesignCheckBox* check_ = nullptr;  // when the form checks its design
  // Width over height and width of the drawings of each picture frame when the form opened.
  std::map<int, std::pair<double, int>> pictureShapes_;
  BodePlotWidget* plot_ = nullptr;
  CoreViews* core_ = nullptr;  // in place of check_ when the form asks for a core
};

class FormView : public QDialog {
  Q_OBJECT

 public:
  using FormFactory = std::function<std::unique_ptr<Form>(Host&)>;

  // A window that owns its form: builds it through `makeForm` with this window's host and
  // creates its widgets. `owner` owns the window (it closes with it); not shown yet.
  FormView(const FormFactory& makeForm, QWidget* owner);
  // A modal dialog showing a form that lives elsewhere.
  FormView(Form& form, QWidget* owner);
  ~FormView() override;

  // Runs the form's first data exchange, shows the window and applies what the model says.
  void start();
  // As start(), modal: returns when the window has closed.
  int runModal();

  Form& form() { return body_->form(); }
  QtHost& host() { return host_; }
  // The design file the window shows (opened or saved last), named in its title; empty: none.
  const QString& designFile() const { return designFile_; }
  void setDesignFile(const QString& path);
  QWidget* widgetFor(int id) const { return body_->widgetFor(id); }
  void sync() { body_->sync(); }
  // The menu bar of a design window (nullptr in a modal dialog of the core).
  DesignMenu* designMenu() const { return menu_; }
  FormWidget* body() const { return body_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void build(Form& form);
  void place();

  QtHost host_;
  std::unique_ptr<Form> owned_;
  FormWidget* body_ = nullptr;
  DesignMenu* menu_ = nullptr;
  bool closing_ = false;
  QString designFile_;
};

// The largest height a window's layout may take on the screen of `widget` (the screen's
// available height less the window frame), for laying out columns of groups.
int usableHeight(const QWidget* widget);
// The room a window may take on the screen of `widget`, less its frame and title bar.
QSize usableSize(const QWidget* widget);
// Moves `window` left or up just enough that `frame`, its outer rectangle, lies on its screen.
void keepOnScreen(QWidget* window, const QRect& frame);
// The outer rectangle of a window not framed yet: its geometry with the title bar and border
// the window system will add.
QRect framedGeometry(const QWidget* window);

}  // namespace tarnex::qt
