#include "form_view.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

#include "bode_plot.h"
#include "core_views.h"
#include "design_files.h"
#include "design_menu.h"
#include "form_view_widgets.h"
#include "forms/form_layout.h"
#include "report_writer.h"
#include "sweep_dialog.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr int kEditWidth = 80;
constexpr int kInputHeight = 20;
constexpr int kListWidth = 100;  // room for "连续(CCM)" beside the arrow
// Room the window system adds around a window: title bar above, border elsewhere.
constexpr int kTitleBar = 32;
constexpr int kBorder = 6;
constexpr const char* kControlId = "tarnexControlId";

void setTextColor(QWidget* widget, Rgb color) {
  QPalette p = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::WindowText, toQColor(color));
    p.setColor(group, QPalette::Text, toQColor(color));
  }
  widget->setPalette(p);
}

bool isInput(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::DropList;
}

bool hasDefaultButton(const Form& form) {
  return std::any_of(form.controls().begin(), form.controls().end(),
                     [](const Control& c) { return c.kind == ControlKind::Button && c.isDefault; });
}

bool placedByTable(const Form& form) {
  const DialogTable* table = form.table();
  return table != nullptr && !table->size.empty();
}

}  // namespace

int usableHeight(const QWidget* widget) {
  return usableSize(widget).height();
}

QSize usableSize(const QWidget* widget) {
  QScreen* screen =
      widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return {1000, 700};
  const QSize available = screen->availableGeometry().size();
  return {available.width() - 2 * kBorder, available.height() - kTitleBar - 2 * kBorder};
}

FormWidget::FormWidget(Form& form, QWidget* parent, QSize room)
    : QWidget(parent), form_(form), room_(room) {
  if (placedByTable(form_)) {
    layOutByRect();
  } else {
    buildRows();
    layOutRows();
  }
}

FormWidget::~FormWidget() = default;

QWidget* FormWidget::plotWidget() const {
  return plot_;
}

void FormWidget::claimDefaultButton() {
  for (const Control& c : form_.controls()) {
    if (c.kind != ControlKind::Button || !c.isDefault) continue;
    if (auto* button = qobject_cast<QPushButton*>(widgetFor(c.id))) button->setDefault(true);
  }
}

QWidget* FormWidget::widgetFor(int id) const {
  const auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

QWidget* FormWidget::makeWidget(const Control& c, QWidget* parent) {
  const int id = c.id;
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(parent);
      if (c.rect.empty()) edit->setFixedSize(kEditWidth, kInputHeight);
      connect(edit, &QLineEdit::textEdited, this,
              [this, id](const QString& text) { form_.setText(id, toUtf8(text)); });
      w = edit;
      break;
    }
    case ControlKind::Label:
    case ControlKind::Note:
    case ControlKind::ClickStatic: {
      QLabel* label = nullptr;
      if (placedByTable(form_)) {
        label = c.kind == ControlKind::Note ? new PlacedNote(toQString(c.text), parent)
                                            : new QLabel(toQString(c.text), parent);
      } else {
        label = c.kind == ControlKind::Label ? new CaptionLabel(toQString(c.text), parent)
                                             : new QLabel(toQString(c.text), parent);
      }
      label->setTextFormat(Qt::PlainText);
      if (c.kind != ControlKind::Label) label->setWordWrap(true);
      if (c.kind == ControlKind::ClickStatic) {
        // A line to click, underlined as a link.
        QFont font = label->font();
        font.setUnderline(true);
        label->setFont(font);
        label->setCursor(Qt::PointingHandCursor);
        label->setProperty(kControlId, id);
        label->installEventFilter(this);
      }
      w = label;
      break;
    }
    case ControlKind::Group: {
      auto* box = new CaptionBox(toQString(c.text), parent);
      if (c.color) box->setCaptionColor(toQColor(*c.color));
      w = box;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(toQString(c.text), parent);
      // Enter presses the focused button; the form's default button is the dialog's. In a
      // window without one no button is auto-default: a dialog would make the first one
      // it shows or focuses its default for good, and show it as one. FormView presses a
      // focused button there itself.
      button->setAutoDefault(hasDefaultButton(form_));
      button->setDefault(c.isDefault);
      button->setMinimumWidth(kEditWidth - 16);
      connect(button, &QPushButton::clicked, this, [this, id] {
        form_.command(id);
        afterAction();
      });
      w = button;
      break;
    }
    case ControlKind::DropList: {
      auto* list = new QComboBox(parent);
      if (c.rect.empty()) list->setFixedSize(kListWidth, kInputHeight);
      connect(list, &QComboBox::activated, this, [this, id](int index) {
        form_.select(id, index);
        afterAction();
      });
      w = list;
      break;
    }
    case ControlKind::Frame: {
      auto* picture = new PictureWidget(form_, id, true, parent);
      pictures_.push_back(picture);
      w = picture;
      break;
    }
  }
  if (c.color && c.kind != ControlKind::Group) setTextColor(w, *c.color);
  widgets_[id] = w;
  return w;
}

void FormWidget::buildRows() {
  // The widgets in the order the focus goes through them: each group with its picture, its
  // rows (input, caption, unit) and the pictures that lead to it; the circuit pictures, the
  // controls outside every group, the buttons; the Bode plot and the design check.
  const std::vector<Control>& controls = form_.controls();
  std::set<int> groupIds, filled;
  std::map<int, std::vector<const PictureRow*>> leadsTo;
  for (const Control& c : controls) {
    if (c.kind == ControlKind::Group) groupIds.insert(c.id);
  }
  if (const DialogTable* table = form_.table()) {
    for (const PictureRow& p : table->pictures) {
      if (p.frameRect.empty()) {
        filled.insert(p.frameId);
      } else {
        leadsTo[p.frameId].push_back(&p);
      }
    }
  }
  std::map<int, const Control*> captionOf, unitOf;
  for (const Control& c : controls) {
    if (c.buddy != 0) (c.trailing ? unitOf : captionOf)[c.buddy] = &c;
  }
  // The members of a group (0: the controls outside every group); whether one is an input.
  const auto makeRows = [&](int groupId, bool skipButtons) {
    bool inputs = false;
    for (const Control& m : controls) {
      if (m.kind == ControlKind::Group || m.buddy != 0 || m.kind == ControlKind::Frame) continue;
      if ((groupIds.count(m.groupId) ? m.groupId : 0) != groupId) continue;
      if (skipButtons && m.kind == ControlKind::Button) continue;
      makeWidget(m, this);
      if (!isInput(m.kind)) continue;
      inputs = true;
      if (const auto it = captionOf.find(m.id); it != captionOf.end()) {
        QWidget* caption = makeWidget(*it->second, this);
        if (m.kind == ControlKind::DropList) listCaptions_[m.id] = static_cast<QLabel*>(caption);
      }
      if (const auto it = unitOf.find(m.id); it != unitOf.end()) makeWidget(*it->second, this);
    }
    return inputs;
  };
  const auto addPicture = [this](int frameId, std::string drawing) {
    auto* picture = new PictureWidget(form_, frameId, false, this, drawing);
    pictures_.push_back(picture);
    placedPictures_[{frameId, std::move(drawing)}] = picture;
  };
  for (const Control& g : controls) {
    if (g.kind != ControlKind::Group) continue;
    makeWidget(g, this);
    if (filled.count(g.id)) addPicture(g.id, {});
    if (!makeRows(g.id, false)) continue;
    if (const auto leads = leadsTo.find(g.id); leads != leadsTo.end()) {
      for (const PictureRow* p : leads->second) addPicture(g.id, std::string(p->drawing));
    }
  }
  for (const Control& c : controls) {
    if (c.kind == ControlKind::Frame) makeWidget(c, this);
  }
  makeRows(0, true);
  for (const Control& c : controls) {
    if (c.kind == ControlKind::Button && c.buddy == 0 &&
        (groupIds.count(c.groupId) ? c.groupId : 0) == 0) {
      makeWidget(c, this);
    }
  }
  if (form_.plotsBode()) plot_ = new BodePlotWidget(form_, this);
  if (CorePick* pick = form_.corePick()) {
    core_ = new CoreViews(form_, *pick, form_.plotsBode(), this, [this] { afterAction(); });
  } else if (form_.checksDesign()) {
    check_ = new DesignCheckBox(form_.plotsBode(), this);
  }
}

namespace {

// The size a layout would give a widget: its hint within its minimum and maximum sizes.
QSize hintOf(const QWidget* w) {
  return w->sizeHint()
      .expandedTo(w->minimumSizeHint())
      .boundedTo(w->maximumSize())
      .expandedTo(w->minimumSize());
}

QRect toQRect(const PixelRect& r) {
  return {r.x, r.y, r.w, r.h};
}

}  // namespace

void FormWidget::layOutRows() {
  // What the layout needs to know of the widgets, measured in their font and style.
  LayoutMetrics m;
  for (const Control& c : form_.controls()) {
    QWidget* w = widgetFor(c.id);
    if (w == nullptr) continue;
    w->ensurePolished();
    ControlMetrics& cm = m.controls[c.id];
    const QSize hint = hintOf(w);
    cm.hint = {hint.width(), hint.height()};
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
      const QMargins in = box->contentsMargins();
      cm.insetLeft = in.left();
      cm.insetTop = in.top();
      cm.insetRight = in.right();
      cm.insetBottom = in.bottom();
      cm.captionWidth = box->minimumSizeHint().width();
    }
  }
  // The pictures keep the shapes of the drawings the form opened with: another topology's
  // drawing is stretched onto them rather than moving the columns.
  if (pictureShapes_.empty()) {
    for (PictureWidget* p : pictures_) {
      if (p->onlyDrawing()) continue;
      pictureShapes_[p->frameId()] = {p->aspect(), p->drawingWidth()};
    }
  }
  for (const auto& [id, shape] : pictureShapes_) {
    m.controls[id].aspect = shape.first;
    m.controls[id].drawingWidth = shape.second;
  }
  m.wrappedHeight = [this](int id, int width) {
    const QWidget* w = widgetFor(id);
    if (w == nullptr) return 0;
    return w->hasHeightForWidth() ? w->heightForWidth(width) : hintOf(w).height();
  };
  const DialogUnits du = unitsForDialogFont(form_.table() ? form_.table()->fontPoints : 9);
  m.unitX = du.x;
  m.unitY = du.y;
  m.room = {room_.width(), room_.height()};
  const QSize screen = usableSize(this);
  m.screen = {screen.width(), screen.height()};
  if (core_ != nullptr) core_->addTo(m);

  const std::span<const PictureRow> pictures =
      form_.table() ? form_.table()->pictures : std::span<const PictureRow>{};
  const FormLayout plan =
      layOutForm(form_.controls(), pictures, form_.plotsBode(), form_.checksDesign(), m);
  for (const auto& [id, rect] : plan.controls) {
    if (QWidget* w = widgetFor(id)) w->setGeometry(toQRect(rect));
  }
  for (const PlacedPicture& p : plan.pictures) {
    const auto it = placedPictures_.find({p.frameId, std::string(p.drawing)});
    if (it != placedPictures_.end()) it->second->setGeometry(toQRect(p.rect));
  }
  if (plot_ != nullptr && plan.plot) plot_->setGeometry(toQRect(*plan.plot));
  if (check_ != nullptr && plan.check) check_->setGeometry(toQRect(*plan.check));
  if (core_ != nullptr) core_->place(plan);
  // A shortened caption shows itself whole where the pointer rests on it.
  for (const Control& c : form_.controls()) {
    if (c.kind != ControlKind::Label) continue;
    const bool shortened =
        std::find(plan.shortened.begin(), plan.shortened.end(), c.id) != plan.shortened.end();
    if (QWidget* w = widgetFor(c.id)) w->setToolTip(shortened ? toQString(c.text) : QString());
  }
  setFixedSize(plan.size.w, plan.size.h);
}

void FormWidget::layOutByRect() {
  const DialogTable& table = *form_.table();
  const DialogUnits du = unitsForDialogFont(table.fontPoints);
  setFont(dialogFont(table.fontPoints));
  for (const Control& c : form_.controls()) {
    QWidget* w = makeWidget(c, this);
    w->setGeometry(du.rect(c.rect));
    if (c.kind == ControlKind::Group) w->lower();
  }
  setFixedSize(du.size(table.size.w, table.size.h));
}

void FormWidget::sync() {
  bool captions = false;
  for (const Control& c : form_.controls()) captions = syncControl(c) || captions;
  // Another caption (a mode's, an interface file's) may need another width.
  if (captions && !placedByTable(form_)) layOutRows();
  if (check_ != nullptr) check_->showFindings(form_.findings());
  if (core_ != nullptr) core_->sync();
  repaintPictures();
  emit synced();
}

void FormWidget::repaintPictures() {
  for (PictureWidget* p : pictures_) p->update();
  if (plot_ != nullptr) plot_->update();
}

bool FormWidget::syncControl(const Control& c) {
  QWidget* w = widgetFor(c.id);
  if (w == nullptr) return false;
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  const QString text = toQString(c.text);
  switch (c.kind) {
    case ControlKind::Edit:
      if (auto* edit = static_cast<QLineEdit*>(w); edit->text() != text) edit->setText(text);
      return false;
    case ControlKind::Label:
    case ControlKind::Note:
    case ControlKind::ClickStatic:
      if (auto* label = static_cast<QLabel*>(w); label->text() != text) {
        label->setText(text);
        return true;
      }
      return false;
    case ControlKind::Group:
      if (auto* box = static_cast<QGroupBox*>(w); box->title() != text) {
        box->setTitle(text);
        return true;
      }
      return false;
    case ControlKind::Button:
      if (auto* button = static_cast<QPushButton*>(w); button->text() != text) {
        button->setText(text);
        return true;
      }
      return false;
    case ControlKind::DropList: {
      if (const auto it = listCaptions_.find(c.id); it != listCaptions_.end()) {
        it->second->setEnabled(c.enabled);
      }
      auto* list = static_cast<QComboBox*>(w);
      const QSignalBlocker blocker(list);
      QStringList entries;
      for (const std::string& e : c.entries) entries << toQString(e);
      QStringList shown;
      for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
      if (shown != entries) {
        list->clear();
        list->addItems(entries);
      }
      const int selection = c.selection < list->count() ? c.selection : -1;
      if (list->currentIndex() != selection) list->setCurrentIndex(selection);
      return false;
    }
    case ControlKind::Frame:
      break;
  }
  return false;
}

void FormWidget::afterAction() {
  sync();
  if (const std::optional<Form::FocusRequest> focus = form_.takeFocusRequest()) {
    if (QWidget* w = widgetFor(focus->id)) {
      w->setFocus(Qt::OtherFocusReason);
      if (auto* edit = qobject_cast<QLineEdit*>(w); edit && focus->selectAll) edit->selectAll();
    }
  }
  if (form_.closeRequested()) emit closeRequested();
}

bool FormWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->pos()) &&
        label->isEnabled()) {
      form_.command(label->property(kControlId).toInt());
      afterAction();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// --- the window of one form --------------------------------------------------------------

FormView::FormView(const FormFactory& makeForm, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      host_(this) {
  setAttribute(Qt::WA_DeleteOnClose);
  owned_ = makeForm(host_);
  if (!owned_) throw std::invalid_argument("FormView: no form to show");
  build(*owned_);
  menu_ = new DesignMenu(this, layout());
  addFileActions(*menu_, *this);
  addReportItem(*menu_, this, [this] { return body_; });
  addSweepItem(*menu_, this, [this] { return body_; });
}

void FormView::setDesignFile(const QString& path) {
  designFile_ = path;
  setWindowTitle(titleWithFile(toQString(form().title()), designFile_));
}

FormView::FormView(Form& form, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      host_(this) {
  build(form);
}

FormView::~FormView() = default;

void FormView::build(Form& form) {
  setFont(dialogFont(form.table() ? form.table()->fontPoints : 9));
  body_ = new FormWidget(form, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(body_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  host_.setBeforeModal([this] { sync(); });
  host_.setOnRepaint([this] {
    body_->repaintPictures();
    update();
  });
  connect(body_, &FormWidget::synced, this, [this] {
    const QString title = titleWithFile(toQString(this->form().title()), designFile_);
    if (windowTitle() != title) setWindowTitle(title);
  });
  connect(body_, &FormWidget::closeRequested, this, [this] {
    if (closing_) return;
    closing_ = true;
    close();
  });
}

void FormView::place() {
  ensurePolished();
  if (layout()) layout()->activate();
  adjustSize();
}

void FormView::start() {
  form().open();
  sync();
  place();
  // The window opens where its owner put it, moved left or up just enough to stay on the
  // screen, title bar and border included, when it is wider or taller than the room left
  // there; once more when the window system has framed it (some frame it a little later).
  keepOnScreen(this, framedGeometry(this));
  show();
  keepOnScreen(this, frameGeometry());
  QTimer::singleShot(100, this, [this] { keepOnScreen(this, frameGeometry()); });
  body_->afterAction();
}

int FormView::runModal() {
  form().open();
  sync();
  place();
  if (QWidget* owner = parentWidget(); owner && owner->isVisible()) {
    move(owner->window()->frameGeometry().center() - rect().center());
  }
  return exec();
}

void keepOnScreen(QWidget* window, const QRect& frame) {
  QScreen* screen = window->screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  QPoint at = frame.topLeft();
  at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - frame.width())));
  at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - frame.height())));
  if (at != frame.topLeft()) window->move(window->pos() + (at - frame.topLeft()));
}

QRect framedGeometry(const QWidget* window) {
  return QRect(window->pos(), window->size()).adjusted(-kBorder, -kTitleBar, kBorder, kBorder);
}

void FormView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // A window that grows (another mode shows longer captions) stays on its screen.
  if (isVisible()) keepOnScreen(this, frameGeometry());
}

void FormView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Enter never closes a design window by itself: it presses the focused button, or
      // goes to the form (its default button, or the check of every field).
      event->accept();
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
        return;
      }
      form().enterKey();
      body_->afterAction();
      return;
    case Qt::Key_Escape:
      event->accept();
      close();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

}  // namespace tarnex::qt