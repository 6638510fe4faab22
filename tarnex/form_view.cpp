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
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>

#include "bode_plot.h"
#include "column_split.h"
#include "drawings.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr int kEditWidth = 80;
constexpr int kRowHeight = 22;  // height of one row of a group (input and spacing)
constexpr int kInputHeight = 20;
constexpr int kListWidth = 100;     // room for "连续(CCM)" beside the arrow
constexpr int kGroupChrome = 30;    // caption and margins of a group box
constexpr int kPictureWidth = 250;  // width of a circuit picture's frame
// Drawings wider than this (diagrams with their formulas) take the room the window has for
// them, up to kLargePictureWidth.
constexpr int kLargeDrawing = 400;
constexpr int kLargePictureWidth = 420;
constexpr int kPictureGroupChrome = 42;  // caption and margins of a group box holding a picture
// Width of a Bode plot beside the pictures, from what it needs to what it can use.
constexpr int kMinPlotWidth = 340;
constexpr int kMaxPlotWidth = 640;
// A column of groups grows up to this height (less on a lower screen): windows stay wide
// and low, so that they open below the launcher's top on a 768-pixel screen.
constexpr int kMaxColumnHeight = 480;
// Room the window system adds around a window: title bar above, border elsewhere.
constexpr int kTitleBar = 32;
constexpr int kBorder = 6;
constexpr const char* kControlId = "tarnexControlId";
// The design check: below the columns of a design window, under the Bode plot of a page
// that plots its loop. Its caption, the line it shows before a calculation (a design
// window's, a loop page's), the height it keeps (about nine lines), and its colours (a
// failure red, a warning in the windows' hint violet).
constexpr const char* kCheckCaption = "设计检查";
constexpr const char* kCheckPlaceholder =
    "计算后在此列出按电路算出的检查结果：磁密、输入电容谷值、电流、线径等。";
constexpr const char* kLoopCheckPlaceholder =
    "计算后在此列出按精确传递函数算出的检查结果：穿越频率、相位裕量、增益裕量、元件能否实现等。";
constexpr int kCheckHeight = 176;
constexpr Rgb kCheckCaptionColor{0, 0, 255};
constexpr Rgb kFailureColor{255, 0, 0};
constexpr Rgb kWarningColor{200, 0, 255};

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

// A frame that holds pictures: the model says which drawings, which part of each (the
// source rectangle) and the frame they fill; each is stretched onto the frame.
class PictureWidget : public QFrame {
 public:
  // Paints the pictures of frame `frameId`, or only the drawing `only` among them.
  PictureWidget(Form& form, int frameId, bool framed, QWidget* parent, std::string only = {})
      : QFrame(parent), form_(form), frameId_(frameId), only_(std::move(only)) {
    if (framed) setFrameStyle(QFrame::Box | QFrame::Sunken);
  }

  int frameId() const { return frameId_; }

  // The pixel width of the widest drawing this frame shows.
  int drawingWidth() const {
    int width = 0;
    for (const Picture& p : form_.pictures()) {
      if (shows(p)) width = std::max(width, p.sourceWidth);
    }
    return width;
  }

  // Width over height of the first picture this frame shows, or 16/9.
  double aspect() const {
    for (const Picture& p : form_.pictures()) {
      if (shows(p) && p.sourceWidth > 0 && p.sourceHeight > 0) {
        return static_cast<double>(p.sourceWidth) / p.sourceHeight;
      }
    }
    return 16.0 / 9.0;
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    // The drawings of a frame have a black ground of their own, which the part of the
    // source rectangle beyond them continues; a single small drawing on the page itself (a
    // pointing hand) stands on the page's colour.
    const QColor outside = only_.empty() ? QColor(Qt::black) : palette().color(QPalette::Window);
    for (const Picture& p : form_.pictures()) {
      if (!shows(p)) continue;
      drawing(p.resource)
          ->paintStretched(painter, contentsRect(), QSize(p.sourceWidth, p.sourceHeight), outside);
    }
    QFrame::paintEvent(event);
  }

 private:
  bool shows(const Picture& p) const {
    return p.frameId == frameId_ && (only_.empty() || p.resource == only_);
  }

  // The drawings this window has shown stay loaded while it is open.
  const Drawing* drawing(const std::string& name) {
    auto it = drawings_.find(name);
    if (it == drawings_.end()) it = drawings_.emplace(name, sharedDrawing(name)).first;
    return it->second.get();
  }

  Form& form_;
  int frameId_;
  std::string only_;
  std::map<std::string, std::shared_ptr<const Drawing>> drawings_;
};

// A text of several lines placed in its rectangle (a hint dialog's): wrapped within the width
// with lines as high as the font's pixel size, as the Song face sets them, so that as many
// lines fit into the rectangle as it was made for; the CJK faces that stand in for it would
// otherwise add half a line of leading to each. Blanks are kept: a run of them pushes the
// following words to the next line.
class PlacedNote : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    const int lineHeight = QFontInfo(font()).pixelSize() + 1;
    const qreal ascent = QFontMetricsF(font()).ascent();
    layout.beginLayout();
    for (int y = 0;; y += lineHeight) {
      QTextLine line = layout.createLine();
      if (!line.isValid()) break;
      line.setLineWidth(width());
      // The baseline 7/8 of the line down, where the Song face puts it.
      line.setPosition(QPointF(0, y + lineHeight * 7.0 / 8 - ascent));
    }
    layout.endLayout();
    layout.draw(&painter, QPointF(0, 0));
  }
};

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
    layOutByTable();
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
      auto* label = c.kind == ControlKind::Note && placedByTable(form_)
                        ? new PlacedNote(toQString(c.text), parent)
                        : new QLabel(toQString(c.text), parent);
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

void FormWidget::layOutByTable() {
  const std::vector<Control>& controls = form_.controls();
  std::set<int> groupIds;
  // Frames the pictures fill, and pictures of a size of their own (the hands that lead from
  // one group to the next), which stand above the group they lead to.
  std::set<int> pictureFrames;
  std::map<int, std::vector<const PictureRow*>> leadsTo;
  for (const Control& c : controls) {
    if (c.kind == ControlKind::Group) groupIds.insert(c.id);
  }
  if (const DialogTable* table = form_.table()) {
    for (const PictureRow& p : table->pictures) {
      if (p.frameRect.empty()) {
        pictureFrames.insert(p.frameId);
      } else {
        leadsTo[p.frameId].push_back(&p);
      }
    }
  }
  // The caption and the unit beside each input.
  std::map<int, const Control*> captionOf, unitOf;
  for (const Control& c : controls) {
    if (c.buddy == 0) continue;
    (c.trailing ? unitOf : captionOf)[c.buddy] = &c;
  }

  // The members of a group (0: the controls outside every group), in form order.
  auto membersOf = [&](int groupId) {
    std::vector<const Control*> members;
    for (const Control& c : controls) {
      if (c.kind == ControlKind::Group || c.buddy != 0) continue;
      const int g = groupIds.count(c.groupId) ? c.groupId : 0;
      if (g == groupId) members.push_back(&c);
    }
    return members;
  };

  // Fills a grid of rows "caption | input | unit"; notes and buttons span the row.
  auto fillRows = [&](QWidget* parent, QGridLayout* grid,
                      const std::vector<const Control*>& members, bool skipButtons) {
    int row = 0;
    for (const Control* m : members) {
      if (skipButtons && m->kind == ControlKind::Button) continue;
      if (m->kind == ControlKind::Frame) continue;  // placed beside the groups
      if (isInput(m->kind)) {
        QWidget* input = makeWidget(*m, parent);
        if (const auto it = captionOf.find(m->id); it != captionOf.end()) {
          QWidget* caption = makeWidget(*it->second, parent);
          grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
          if (m->kind == ControlKind::DropList)
            listCaptions_[m->id] = static_cast<QLabel*>(caption);
        }
        grid->addWidget(input, row, 1, Qt::AlignRight | Qt::AlignVCenter);
        if (const auto it = unitOf.find(m->id); it != unitOf.end()) {
          grid->addWidget(makeWidget(*it->second, parent), row, 2,
                          Qt::AlignLeft | Qt::AlignVCenter);
        }
      } else if (m->kind == ControlKind::Button) {
        grid->addWidget(makeWidget(*m, parent), row, 0, 1, 3, Qt::AlignRight);
      } else {
        grid->addWidget(makeWidget(*m, parent), row, 0, 1, 3);
      }
      ++row;
    }
    return row;
  };

  // The columns side by side, and below them, across the window, the design check; a form
  // that plots its loop keeps its check under the plot, so that the page stays as low as the
  // plot column.
  auto* whole = new QVBoxLayout(this);
  whole->setContentsMargins(0, 0, 0, 0);
  whole->setSpacing(0);
  auto* outer = new QHBoxLayout;
  whole->addLayout(outer);
  outer->setSpacing(8);
  outer->setContentsMargins(8, 8, 8, 8);
  const bool plots = form_.plotsBode();
  const int checkHeight = form_.checksDesign() ? kCheckHeight : 0;
  const int checkBelowHeight = plots ? 0 : checkHeight;
  const DialogUnits du = unitsForDialogFont(form_.table() ? form_.table()->fontPoints : 9);

  // Groups that hold fields or lists make the columns of numbers, each with the pictures
  // that lead to it above it; the others (notes, pictures) go into the side column.
  struct Block {
    QWidget* widget;
    int height;
  };
  std::vector<Block> fieldBlocks;
  std::vector<QGroupBox*> sideBlocks;
  std::vector<PictureWidget*> filling;  // pictures that fill the width of their group
  for (const Control& g : controls) {
    if (g.kind != ControlKind::Group) continue;
    const std::vector<const Control*> members = membersOf(g.id);
    auto* box = static_cast<QGroupBox*>(makeWidget(g, this));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setColumnStretch(0, 1);
    int rows = 0;
    if (pictureFrames.count(g.id)) {
      // A group box that holds a picture.
      auto* picture = new PictureWidget(form_, g.id, false, box);
      pictures_.push_back(picture);
      filling.push_back(picture);
      grid->addWidget(picture, rows++, 0, 1, 3);
    }
    rows += fillRows(box, grid, members, false);
    const bool holdsFields = std::any_of(members.begin(), members.end(),
                                         [](const Control* m) { return isInput(m->kind); });
    if (!holdsFields) {
      sideBlocks.push_back(box);
      continue;
    }
    const auto leads = leadsTo.find(g.id);
    if (leads == leadsTo.end()) {
      fieldBlocks.push_back({box, rows * kRowHeight + kGroupChrome});
      continue;
    }
    // The leading pictures at their places (dialog units) in a strip above the group.
    auto* block = new QWidget(this);
    auto* strip = new QWidget(block);
    int stripHeight = 0;
    for (const PictureRow* p : leads->second) {
      auto* picture = new PictureWidget(form_, g.id, false, strip, std::string(p->drawing));
      picture->setGeometry(du.rect(p->frameRect));
      pictures_.push_back(picture);
      stripHeight = std::max(stripHeight, picture->geometry().bottom() + 1);
    }
    strip->setFixedHeight(stripHeight);
    auto* stack = new QVBoxLayout(block);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(strip);
    stack->addWidget(box);
    fieldBlocks.push_back({block, rows * kRowHeight + kGroupChrome + stripHeight});
  }

  // A window of its own stays low (kMaxColumnHeight); a page of a sheet uses its room.
  std::vector<int> heights;
  for (const Block& b : fieldBlocks) heights.push_back(b.height);
  std::size_t next = 0;
  const int columnHeight =
      room_.height() > 0
          ? room_.height() - kGroupChrome
          : std::min(kMaxColumnHeight, usableHeight(this) - 2 * kGroupChrome - checkBelowHeight);
  for (int count : splitIntoColumns(heights, columnHeight)) {
    auto* column = new QVBoxLayout;
    outer->addLayout(column);
    for (int i = 0; i < count; ++i) column->addWidget(fieldBlocks[next++].widget);
    column->addStretch(1);
  }
  const int fieldsWidth = outer->sizeHint().width();

  // The side column: pictures, note groups, loose controls and the buttons at the bottom.
  const int sideWidth = pictureColumnWidth(
      filling, sideBlocks.size(),
      plots ? room_.width() - fieldsWidth - kMinPlotWidth - outer->spacing() : 0);
  auto* side = new QVBoxLayout;
  outer->addLayout(side);
  const std::vector<const Control*> loose = membersOf(0);
  for (const Control& c : controls) {
    if (c.kind != ControlKind::Frame) continue;
    auto* picture = static_cast<PictureWidget*>(makeWidget(c, this));
    picture->setFixedSize(kPictureWidth,
                          static_cast<int>(kPictureWidth / std::max(picture->aspect(), 0.2)));
    side->addWidget(picture, 0, Qt::AlignTop | Qt::AlignHCenter);
  }
  for (QGroupBox* box : sideBlocks) {
    box->setFixedWidth(sideWidth);
    side->addWidget(box);
  }
  for (PictureWidget* p : filling) {
    const int width = sideWidth - 16;
    p->setFixedSize(width, static_cast<int>(width / std::max(p->aspect(), 0.2)));
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

  if (plots) {
    // The Bode plot takes the rest of the width the window has, and its height less the
    // design check under it.
    plot_ = new BodePlotWidget(form_, this);
    const QMargins margins = outer->contentsMargins();
    const int rest = room_.width() - fieldsWidth - sideWidth - outer->spacing() - margins.left() -
                     margins.right();
    const int width = std::clamp(rest, kMinPlotWidth, kMaxPlotWidth);
    const int height =
        room_.height() > 0 ? room_.height() - margins.top() - margins.bottom() : kMaxColumnHeight;
    auto* column = new QVBoxLayout;
    column->setSpacing(outer->spacing());
    column->addWidget(plot_);
    if (checkHeight > 0) {
      QGroupBox* check = makeCheckBox();
      check->setFixedSize(width, checkHeight);
      column->addWidget(check);
    }
    plot_->setFixedSize(width, height - (checkHeight > 0 ? checkHeight + column->spacing() : 0));
    column->addStretch(1);
    outer->addLayout(column);
  } else if (checkHeight > 0) {
    QGroupBox* check = makeCheckBox();
    check->setFixedHeight(checkHeight);
    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(8, 0, 8, 8);
    strip->addWidget(check);
    whole->addLayout(strip);
  }
  whole->setSizeConstraint(QLayout::SetFixedSize);
}

QGroupBox* FormWidget::makeCheckBox() {
  // A fixed size, so that the window keeps its size whatever a calculation finds; a longer
  // list scrolls.
  auto* box = new CaptionBox(toQString(kCheckCaption), this);
  box->setCaptionColor(toQColor(kCheckCaptionColor));
  auto* inside = new QVBoxLayout(box);
  inside->setContentsMargins(8, 4, 4, 4);
  auto* scroll = new QScrollArea(box);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  checkText_ = new QLabel(scroll);
  checkText_->setTextFormat(Qt::RichText);
  checkText_->setWordWrap(true);
  checkText_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  checkText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  scroll->setWidget(checkText_);
  inside->addWidget(scroll);
  return box;
}

int FormWidget::pictureColumnWidth(const std::vector<PictureWidget*>& filling, std::size_t groups,
                                   int widthLeft) const {
  // Circuit pictures take kPictureWidth. Larger drawings take the width at which their
  // groups, stacked, fill the height of the window's room, within the width left for them.
  double inverseAspects = 0;
  bool large = false;
  for (const PictureWidget* p : filling) {
    inverseAspects += 1 / std::max(p->aspect(), 0.2);
    large = large || p->drawingWidth() > kLargeDrawing;
  }
  if (!large || room_.height() <= 0) return kPictureWidth;
  // Each group adds its caption and margins; the window its own margins.
  const int chrome = static_cast<int>(groups) * kPictureGroupChrome + 16;
  int width = static_cast<int>((room_.height() - chrome) / inverseAspects) + 16;
  if (widthLeft > 0) width = std::min(width, widthLeft);
  return std::clamp(width, kPictureWidth, kLargePictureWidth);
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
  for (const Control& c : form_.controls()) syncControl(c);
  if (checkText_ != nullptr) syncFindings();
  repaintPictures();
  emit synced();
}

void FormWidget::syncFindings() {
  QString html;
  for (const Finding& f : form_.findings()) {
    // A failure in red; the rest in the window's own colours, a warning in its hint violet.
    const char* mark = "○";
    QString color = palette().color(QPalette::WindowText).name();
    if (f.severity == Severity::Failure) {
      mark = "●";
      color = toQColor(kFailureColor).name();
    } else if (f.severity == Severity::Warning) {
      mark = "▲";
      color = toQColor(kWarningColor).name();
    }
    html += QStringLiteral("<div style=\"color:%1\">%2 %3</div>")
                .arg(color, QString::fromUtf8(mark), toQString(f.text).toHtmlEscaped());
  }
  if (html.isEmpty()) {
    html = QStringLiteral("<div style=\"color:%1\">%2</div>")
               .arg(palette().color(QPalette::Disabled, QPalette::WindowText).name(),
                    toQString(form_.plotsBode() ? kLoopCheckPlaceholder : kCheckPlaceholder)
                        .toHtmlEscaped());
  }
  if (checkText_->text() != html) checkText_->setText(html);
}

void FormWidget::repaintPictures() {
  for (PictureWidget* p : pictures_) p->update();
  if (plot_ != nullptr) plot_->update();
}

void FormWidget::syncControl(const Control& c) {
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
    const QString title = toQString(this->form().title());
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
