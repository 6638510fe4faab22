#include "core_views.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core_picker_dialog.h"
#include "form_view_widgets.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

constexpr int kButtonHeight = 22;  // as high as the row's field
// The choice keeps the width of a long core name and ferrite; a longer one is elided and
// shown whole in its tooltip.
constexpr const char* kWidestChoice = "ETD 34/17/11 · PC95";
// The rows fill columns of six lines, as many columns as they need, the findings the rest.
constexpr int kLinesPerColumn = 6;
constexpr const char* kNoSheet = "选择磁芯后计算，即得窗口占用率、磁芯损耗、各绕组铜损与温升。";

bool sameRows(const std::vector<magnetics::SheetRow>& a,
              const std::vector<magnetics::SheetRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.label == y.label && x.unit == y.unit && x.value == y.value;
  });
}

QLabel* cell(const QString& text, Qt::Alignment align, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(align | Qt::AlignVCenter);
  return label;
}

}  // namespace

LossSheetPane::LossSheetPane(CorePick& pick, std::function<void()> changed, QWidget* parent)
    : QWidget(parent), pick_(pick), changed_(std::move(changed)) {
  temperature_ = new QDoubleSpinBox(this);
  temperature_->setRange(-40, 200);
  temperature_->setDecimals(0);
  temperature_->setSingleStep(5);
  temperature_->setSuffix(QStringLiteral(" °C"));
  fill_ = new QDoubleSpinBox(this);
  fill_->setRange(0.05, 1);
  fill_->setDecimals(2);
  fill_->setSingleStep(0.05);
  for (QDoubleSpinBox* box : {temperature_, fill_}) {
    box->setKeyboardTracking(false);
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { applySettings(); });
  }
  rowsArea_ = new QScrollArea(this);
  rowsArea_->setFrameShape(QFrame::NoFrame);
  rowsArea_->setWidgetResizable(true);
  rowsArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  empty_ = new QLabel(toQString(kNoSheet), this);
  empty_->setWordWrap(true);
  empty_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  empty_->setEnabled(false);
  findings_ = new FindingsList(this);

  auto* settings = new QHBoxLayout;
  settings->addWidget(new QLabel(QStringLiteral("温度"), this));
  settings->addWidget(temperature_);
  settings->addSpacing(8);
  settings->addWidget(new QLabel(QStringLiteral("填充系数"), this));
  settings->addWidget(fill_);
  settings->addStretch();
  auto* side = new QVBoxLayout;
  side->addLayout(settings);
  side->addWidget(findings_, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 4, 4, 4);
  layout->addWidget(empty_, 1);
  layout->addWidget(rowsArea_);
  layout->addSpacing(8);
  layout->addLayout(side, 1);
  showSheet();
}

void LossSheetPane::applySettings() {
  magnetics::SheetSettings s = pick_.settings();
  s.temperature = temperature_->value();
  s.fillFactor = fill_->value();
  pick_.setSettings(s);
  if (changed_) changed_();
}

QStringList LossSheetPane::rowTexts() const {
  QStringList out;
  for (const magnetics::SheetRow& r : shownRows_) {
    out << (toQString(r.label) + QLatin1Char(' ') + readableNumber(r.value) + QLatin1Char(' ') +
            toQString(r.unit))
               .trimmed();
  }
  return out;
}

void LossSheetPane::showSheet() {
  {
    const QSignalBlocker t(temperature_), f(fill_);
    temperature_->setValue(pick_.settings().temperature);
    fill_->setValue(pick_.settings().fillFactor);
  }
  const magnetics::LossSheet* sheet = pick_.sheet();
  empty_->setVisible(sheet == nullptr);
  rowsArea_->setVisible(sheet != nullptr);
  findings_->showFindings(
      sheet ? std::span<const Finding>(sheet->findings) : std::span<const Finding>{}, QString());
  const std::vector<magnetics::SheetRow> rows =
      sheet ? sheet->rows : std::vector<magnetics::SheetRow>{};
  if (rows_ != nullptr && sameRows(rows, shownRows_)) return;
  shownRows_ = rows;
  // The rows in columns of label, value and unit, down the first column first.
  rows_ = new QWidget;
  auto* grid = new QGridLayout(rows_);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(1);
  grid->setHorizontalSpacing(6);
  const int count = static_cast<int>(rows.size());
  const int perColumn = kLinesPerColumn;
  const int columns = (count + perColumn - 1) / perColumn;
  for (int i = 0; i < count; ++i) {
    const magnetics::SheetRow& r = rows[static_cast<std::size_t>(i)];
    const int line = i % perColumn, column = 4 * (i / perColumn);
    grid->addWidget(cell(toQString(r.label), Qt::AlignLeft, rows_), line, column);
    // Values of any length in one width, so that the settings beside stay where they are
    // while the user steps them.
    QLabel* value = cell(readableNumber(r.value), Qt::AlignRight, rows_);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("-0.0000000")));
    grid->addWidget(value, line, column + 1);
    grid->addWidget(cell(toQString(r.unit), Qt::AlignLeft, rows_), line, column + 2);
    grid->setColumnMinimumWidth(column + 3, 14);
  }
  grid->setRowStretch(perColumn, 1);
  grid->setColumnStretch(4 * columns, 1);
  rowsArea_->setWidget(rows_);  // deletes the rows shown before
  rowsArea_->setFixedWidth(rows_->sizeHint().width() +
                           rowsArea_->verticalScrollBar()->sizeHint().width());
}

CoreViews::CoreViews(Form& form, CorePick& pick, bool loop, QWidget* body,
                     std::function<void()> afterAction)
    : QObject(body), form_(form), pick_(pick), loop_(loop), afterAction_(std::move(afterAction)) {
  button_ = new QPushButton(QStringLiteral("选择磁芯…"), body);
  button_->setAutoDefault(false);
  button_->setFixedHeight(kButtonHeight);
  button_->setFixedWidth(button_->sizeHint().width());
  button_->setToolTip(QStringLiteral("从磁芯库选择磁芯与材料，填入 Ae 与 Le"));
  choice_ = new CaptionLabel(body);
  choice_->setTextFormat(Qt::PlainText);
  choice_->setFixedSize(choice_->fontMetrics().horizontalAdvance(toQString(kWidestChoice)) + 8,
                        kButtonHeight);
  connect(button_, &QPushButton::clicked, this, [this] { openPicker(); });

  tabs_ = new QTabWidget(body);
  auto* checkPage = new QWidget(tabs_);
  auto* inside = new QVBoxLayout(checkPage);
  inside->setContentsMargins(6, 4, 4, 4);
  check_ = new FindingsList(checkPage);
  inside->addWidget(check_);
  sheet_ = new LossSheetPane(pick_, afterAction_, tabs_);
  tabs_->addTab(checkPage, QStringLiteral("设计检查"));
  tabs_->addTab(sheet_, QStringLiteral("损耗与窗口"));
}

void CoreViews::addTo(LayoutMetrics& m) const {
  const CoreFieldIds& f = pick_.fields();
  const PixelSize choice{choice_->width(), choice_->height()};
  m.trailers[f.Ae] = {button_->width(), button_->height()};
  // The choice after the Le field, or on a line of its own under the Ae field.
  (f.Le != 0 ? m.trailers[f.Le] : m.linesUnder[f.Ae]) = choice;
}

void CoreViews::place(const FormLayout& plan) {
  const CoreFieldIds& f = pick_.fields();
  const auto put = [](const std::map<int, PixelRect>& places, int id, QWidget* w) {
    const auto it = places.find(id);
    w->setVisible(it != places.end());
    if (it != places.end()) w->move(it->second.x, it->second.y);
  };
  put(plan.trailers, f.Ae, button_);
  put(f.Le != 0 ? plan.trailers : plan.linesUnder, f.Le != 0 ? f.Le : f.Ae, choice_);
  tabs_->setVisible(plan.check.has_value());
  if (plan.check) tabs_->setGeometry(plan.check->x, plan.check->y, plan.check->w, plan.check->h);
}

void CoreViews::sync() {
  const QString text = toQString(pick_.text());
  if (choice_->text() != text) {
    choice_->setText(text);
    choice_->setToolTip(text);
  }
  const bool enabled =
      form_.control(pick_.fields().Ae) == nullptr || form_.control(pick_.fields().Ae)->enabled;
  if (button_->isEnabled() != enabled) button_->setEnabled(enabled);
  check_->showFindings(form_.findings(), checkPlaceholder(loop_));
  sheet_->showSheet();
}

bool CoreViews::openPicker() {
  CorePickerDialog dialog(pick_, form_.coreNeed(), button_->window());
  const bool chosen = dialog.exec() == QDialog::Accepted;
  if (chosen && afterAction_) afterAction_();
  return chosen;
}

}  // namespace tarnex::qt
