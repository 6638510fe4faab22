#include "form_view.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

#include "column_split.h"
#include "drawings.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr int kFontPoints = 9;
constexpr int kEditWidth = 80;
constexpr int kRowHeight = 22;  // height of one row of a group (input and spacing)
constexpr int kInputHeight = 20;
constexpr int kListWidth = 100;        // room for "连续(CCM)" beside the arrow
constexpr int kGroupChrome = 30;       // caption and margins of a group box
constexpr int kMaxColumnHeight = 440;  // a column of groups grows up to this height
constexpr int kPictureWidth = 250;     // width of the circuit picture's frame
constexpr const char* kControlId = "tarnexControlId";

// A group box whose caption alone takes a colour: the rows inside keep the dialog's own
// colours without each carrying a palette of its own.
class CaptionBox : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;
  void setCaptionColor(const QColor& color) {
    captionColor_ = color;
    update();
  }

 protected:
  void initStyleOption(QStyleOptionGroupBox* option) const override {
    QGroupBox::initStyleOption(option);
    if (!captionColor_.isValid()) return;
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
      option->palette.setColor(group, QPalette::WindowText, captionColor_);
    }
    option->textColor = captionColor_;
  }

 private:
  QColor captionColor_;
};

void setTextColor(QWidget* widget, Rgb color) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Active, QPalette::WindowText, toQColor(color));
  p.setColor(QPalette::Inactive, QPalette::WindowText, toQColor(color));
  p.setColor(QPalette::Active, QPalette::Text, toQColor(color));
  p.setColor(QPalette::Inactive, QPalette::Text, toQColor(color));
  widget->setPalette(p);
}

bool isInput(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::DropList;
}

}  // namespace

// The frame that holds the circuit picture: the model says which drawing, which part of it
// (the source rectangle) and the frame it fills; the drawing is stretched onto the frame.
class PictureWidget : public QFrame {
 public:
  PictureWidget(Form& form, bool framed, QWidget* parent) : QFrame(parent), form_(form) {
    if (framed) setFrameStyle(QFrame::Box | QFrame::Sunken);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (const std::optional<Picture> picture = form_.picture()) {
      QPainter painter(this);
      drawing(picture->resource)
          ->paintStretched(painter, contentsRect(),
                           QSize(picture->sourceWidth, picture->sourceHeight), Qt::black);
    }
    QFrame::paintEvent(event);
  }

 private:
  // The drawings this window has shown stay loaded while it is open.
  const Drawing* drawing(const std::string& name) {
    auto it = drawings_.find(name);
    if (it == drawings_.end()) it = drawings_.emplace(name, sharedDrawing(name)).first;
    return it->second.get();
  }

  Form& form_;
  std::map<std::string, std::shared_ptr<const Drawing>> drawings_;
};

FormView::FormView(const FormFactory& makeForm, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      host_(this) {
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(dialogFont(kFontPoints));
  form_ = makeForm(host_);
  if (!form_) throw std::invalid_argument("FormView: no form to show");
  host_.setBeforeModal([this] { sync(); });
  host_.setOnRepaint([this] {
    if (picture_) picture_->update();
    update();
  });
  createWidgets();
}

FormView::~FormView() = default;

QWidget* FormView::widgetFor(int id) const {
  const auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

void FormView::createWidgets() {
  if (form_->table() != nullptr) {
    layOutByTable();
  } else {
    layOutByRect();
  }
}

QWidget* FormView::makeWidget(const Control& c, QWidget* parent) {
  const int id = c.id;
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(parent);
      edit->setFixedSize(kEditWidth, kInputHeight);
      connect(edit, &QLineEdit::textEdited, this,
              [this, id](const QString& text) { form_->setText(id, toUtf8(text)); });
      w = edit;
      break;
    }
    case ControlKind::Label:
    case ControlKind::Note:
    case ControlKind::ClickStatic: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      if (c.kind != ControlKind::Label) label->setWordWrap(true);
      if (c.kind == ControlKind::ClickStatic) {
        label->setCursor(Qt::PointingHandCursor);
        label->setProperty(kControlId, id);
        label->installEventFilter(this);
      }
      w = label;
      break;
    }
    case ControlKind::Group: {
      auto* box = new CaptionBox(parent);
      if (c.color) box->setCaptionColor(toQColor(*c.color));
      w = box;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(parent);
      // Enter presses the focused button; the form's default button is the dialog's.
      button->setAutoDefault(true);
      button->setDefault(c.isDefault);
      button->setMinimumWidth(kEditWidth - 16);
      connect(button, &QPushButton::clicked, this, [this, id] {
        form_->command(id);
        afterAction();
      });
      w = button;
      break;
    }
    case ControlKind::DropList: {
      auto* list = new QComboBox(parent);
      list->setFixedSize(kListWidth, kInputHeight);
      connect(list, &QComboBox::activated, this, [this, id](int index) {
        form_->select(id, index);
        afterAction();
      });
      w = list;
      break;
    }
    case ControlKind::Frame:
      if (picture_ == nullptr) {
        picture_ = new PictureWidget(*form_, true, parent);
        w = picture_;
      } else {
        auto* frame = new QFrame(parent);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        w = frame;
      }
      break;
  }
  if (c.color && c.kind != ControlKind::Group) setTextColor(w, *c.color);
  widgets_[id] = w;
  return w;
}

void FormView::layOutByTable() {
  const DialogTable& table = *form_->table();
  const std::vector<Control>& controls = form_->controls();

  std::set<int> groupIds;
  for (const Control& c : controls) {
    if (c.kind == ControlKind::Group) groupIds.insert(c.id);
  }
  std::set<int> tableLabels;
  for (const FieldRow& row : table.fields) tableLabels.insert(row.labelId);

  // The members of a group (0: the controls outside every group), in form order.
  auto membersOf = [&](int groupId) {
    std::vector<const Control*> members;
    for (const Control& c : controls) {
      if (c.kind == ControlKind::Group) continue;
      const int g = groupIds.count(c.groupId) ? c.groupId : 0;
      if (g == groupId) members.push_back(&c);
    }
    return members;
  };

  // Pairs each input with its caption: a field with the label of its table row, a list with
  // the nearest free label before it (else after it) in the same group.
  auto pairLabels = [&](const std::vector<const Control*>& members) {
    std::map<int, int> labelOf;  // input id -> label id
    std::set<int> used;
    for (const Control* m : members) {
      if (m->kind != ControlKind::Edit) continue;
      const FieldRow* row = findFieldById(table, m->id);
      if (row == nullptr || row->labelId == 0) continue;
      const bool present = std::any_of(members.begin(), members.end(), [&](const Control* x) {
        return x->id == row->labelId && x->kind == ControlKind::Label;
      });
      if (present) {
        labelOf[m->id] = row->labelId;
        used.insert(row->labelId);
      }
    }
    auto freeLabel = [&](const Control* x) {
      return x->kind == ControlKind::Label && !tableLabels.count(x->id) && !used.count(x->id);
    };
    for (std::size_t i = 0; i < members.size(); ++i) {
      if (members[i]->kind != ControlKind::DropList) continue;
      const Control* found = nullptr;
      for (std::size_t j = i; j-- > 0 && !found;) {
        if (isInput(members[j]->kind)) break;
        if (freeLabel(members[j])) found = members[j];
      }
      for (std::size_t j = i + 1; j < members.size() && !found; ++j) {
        if (isInput(members[j]->kind)) break;
        if (freeLabel(members[j])) found = members[j];
      }
      if (found) {
        labelOf[members[i]->id] = found->id;
        used.insert(found->id);
      }
    }
    return std::make_pair(labelOf, used);
  };

  // Fills a grid of rows "caption | input"; texts, notes and buttons span both columns.
  // Returns the number of rows.
  auto fillRows = [&](QWidget* parent, QGridLayout* grid,
                      const std::vector<const Control*>& members, bool skipButtons) {
    const auto [labelOf, used] = pairLabels(members);
    // The lists choose what the fields mean (topology, mode): they head their group.
    std::vector<const Control*> ordered = members;
    std::stable_partition(ordered.begin(), ordered.end(),
                          [](const Control* m) { return m->kind == ControlKind::DropList; });
    int row = 0;
    for (const Control* m : ordered) {
      if (skipButtons && m->kind == ControlKind::Button) continue;
      if (m->kind == ControlKind::Label && used.count(m->id)) continue;
      if (widgets_.count(m->id)) continue;  // placed apart (the picture's frame)
      if (isInput(m->kind)) {
        QWidget* input = makeWidget(*m, parent);
        if (const auto it = labelOf.find(m->id); it != labelOf.end()) {
          grid->addWidget(makeWidget(*form_->control(it->second), parent), row, 0,
                          Qt::AlignLeft | Qt::AlignVCenter);
        } else if (m->kind == ControlKind::DropList) {
          // A list without a label of its own carries its caption as its text.
          auto* caption = new QLabel(parent);
          caption->setTextFormat(Qt::PlainText);
          listCaptions_[m->id] = caption;
          grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
        }
        grid->addWidget(input, row, 1, Qt::AlignRight | Qt::AlignVCenter);
      } else if (m->kind == ControlKind::Button) {
        grid->addWidget(makeWidget(*m, parent), row, 0, 1, 2, Qt::AlignRight);
      } else {
        grid->addWidget(makeWidget(*m, parent), row, 0, 1, 2);
      }
      ++row;
    }
    return row;
  };

  auto* outer = new QHBoxLayout(this);
  outer->setSpacing(8);
  outer->setContentsMargins(8, 8, 8, 8);

  // Groups that hold fields or lists make the columns of numbers; the others (hints) go
  // beside the picture.
  struct Block {
    QGroupBox* box;
    int height;
  };
  std::vector<Block> fieldBlocks;
  std::vector<QGroupBox*> sideBlocks;
  for (const Control& g : controls) {
    if (g.kind != ControlKind::Group) continue;
    const std::vector<const Control*> members = membersOf(g.id);
    auto* box = static_cast<QGroupBox*>(makeWidget(g, this));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setColumnStretch(0, 1);
    const int rows = fillRows(box, grid, members, false);
    const bool holdsFields = std::any_of(members.begin(), members.end(),
                                         [](const Control* m) { return isInput(m->kind); });
    if (holdsFields) {
      fieldBlocks.push_back({box, rows * kRowHeight + kGroupChrome});
    } else {
      sideBlocks.push_back(box);
    }
  }

  std::vector<int> heights;
  for (const Block& b : fieldBlocks) heights.push_back(b.height);
  std::size_t next = 0;
  for (int count : splitIntoColumns(heights, kMaxColumnHeight)) {
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    for (int i = 0; i < count; ++i) column->addWidget(fieldBlocks[next++].box);
    column->addStretch(1);
  }

  // The side column: picture, hint groups, loose controls and the buttons at the bottom.
  auto* side = new QVBoxLayout;
  outer->addLayout(side);
  const std::vector<const Control*> loose = membersOf(0);
  for (const Control* m : loose) {
    if (m->kind == ControlKind::Frame && picture_ == nullptr) {
      side->addWidget(makeWidget(*m, this), 0, Qt::AlignTop | Qt::AlignHCenter);
      picture_->setFixedSize(kPictureWidth, kPictureWidth * 9 / 16);
    }
  }
  for (QGroupBox* box : sideBlocks) {
    box->setFixedWidth(kPictureWidth);
    side->addWidget(box);
  }
  auto* looseGrid = new QGridLayout;
  fillRows(this, looseGrid, loose, true);
  side->addLayout(looseGrid);
  side->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (const Control* m : loose) {
    if (m->kind == ControlKind::Button) buttons->addWidget(makeWidget(*m, this));
  }
  side->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

void FormView::layOutByRect() {
  const DialogUnits du = unitsForDialogFont(kFontPoints);
  QRect bounds;
  for (const Control& c : form_->controls()) {
    QWidget* w = makeWidget(c, this);
    w->setGeometry(du.rect(c.rect));
    if (c.kind == ControlKind::Group) w->lower();
    bounds |= w->geometry();
  }
  setFixedSize(bounds.right() + du.px(7), bounds.bottom() + du.py(7));
}

void FormView::start() {
  form_->open();
  if (picture_ && form_->table() == nullptr) {
    if (const std::optional<Picture> p = form_->picture()) {
      if (const Control* frame = form_->control(p->frameId)) {
        const DialogUnits du = unitsForDialogFont(kFontPoints);
        picture_->setGeometry(QRect(QPoint(p->x, p->y), du.size(frame->rect.w, frame->rect.h)));
      }
    }
  } else if (picture_) {
    // The frame keeps the shape of the first picture shown in it.
    if (const std::optional<Picture> p = form_->picture(); p && p->sourceWidth > 0) {
      picture_->setFixedSize(kPictureWidth,
                             kPictureWidth * std::max(p->sourceHeight, 1) / p->sourceWidth);
    }
  }
  sync();
  // The window opens where its owner put it, moved left or up just enough to stay on the
  // screen when it is wider or taller than the room left there (once more when shown, with
  // the frame the window system added).
  ensurePolished();
  if (layout()) layout()->activate();
  adjustSize();
  keepOnScreen(QRect(pos(), size()));
  show();
  keepOnScreen(frameGeometry());
  afterAction();
}

void FormView::keepOnScreen(const QRect& frame) {
  QScreen* screen = this->screen();
  if (screen == nullptr) return;
  const QRect room = screen->availableGeometry();
  QPoint at = frame.topLeft();
  at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - frame.width())));
  at.setY(std::max(room.top(), std::min(at.y(), room.bottom() + 1 - frame.height())));
  if (at != frame.topLeft()) move(pos() + (at - frame.topLeft()));
}

void FormView::sync() {
  const QString title = toQString(form_->title());
  if (windowTitle() != title) setWindowTitle(title);
  for (const Control& c : form_->controls()) syncControl(c);
  if (picture_) picture_->update();
}

void FormView::syncControl(const Control& c) {
  QWidget* w = widgetFor(c.id);
  if (w == nullptr) return;
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
  const QString text = toQString(c.text);
  switch (c.kind) {
    case ControlKind::Edit:
      if (auto* edit = static_cast<QLineEdit*>(w); edit->text() != text) edit->setText(text);
      break;
    case ControlKind::Label:
    case ControlKind::Note:
    case ControlKind::ClickStatic:
      if (auto* label = static_cast<QLabel*>(w); label->text() != text) label->setText(text);
      break;
    case ControlKind::Group:
      if (auto* box = static_cast<QGroupBox*>(w); box->title() != text) box->setTitle(text);
      break;
    case ControlKind::Button:
      if (auto* button = static_cast<QPushButton*>(w); button->text() != text) {
        button->setText(text);
      }
      break;
    case ControlKind::DropList: {
      if (const auto it = listCaptions_.find(c.id); it != listCaptions_.end()) {
        if (it->second->text() != text) it->second->setText(text);
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
      break;
    }
    case ControlKind::Frame:
      break;
  }
}

void FormView::afterAction() {
  if (closing_) return;
  sync();
  if (const std::optional<Form::FocusRequest> focus = form_->takeFocusRequest()) {
    if (QWidget* w = widgetFor(focus->id)) {
      w->setFocus(Qt::OtherFocusReason);
      if (auto* edit = qobject_cast<QLineEdit*>(w); edit && focus->selectAll) edit->selectAll();
    }
  }
  if (form_->closeRequested()) {
    closing_ = true;
    close();
  }
}

void FormView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Enter never closes a design window: it goes to the form (its default button).
      event->accept();
      form_->enterKey();
      afterAction();
      return;
    case Qt::Key_Escape:
      event->accept();
      close();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && mouse->button() == Qt::LeftButton && label->rect().contains(mouse->pos()) &&
        label->isEnabled()) {
      form_->command(label->property(kControlId).toInt());
      afterAction();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace tarnex::qt
