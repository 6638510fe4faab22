#include "core_views.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
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
constexpr int kSheetColumns = 3;
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
  layout->addWidget(empty_, 3);
  layout->addWidget(rowsArea_, 3);
  layout->addLayout(side, 2);
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
      sheet ? std::span<const Finding>(sheet->findings) : std::span<const Finding>{},
      sheet ? QString() : toQString(kNoSheet));
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
  const int perColumn = std::max(1, (count + kSheetColumns - 1) / kSheetColumns);
  for (int i = 0; i < count; ++i) {
    const magnetics::SheetRow& r = rows[static_cast<std::size_t>(i)];
    const int line = i % perColumn, column = 4 * (i / perColumn);
    grid->addWidget(cell(toQString(r.label), Qt::AlignLeft, rows_), line, column);
    grid->addWidget(cell(readableNumber(r.value), Qt::AlignRight, rows_), line, column + 1);
    grid->addWidget(cell(toQString(r.unit), Qt::AlignLeft, rows_), line, column + 2);
    grid->setColumnMinimumWidth(column + 3, 14);
  }
  grid->setRowStretch(perColumn, 1);
  grid->setColumnStretch(4 * kSheetColumns, 1);
  rowsArea_->setWidget(rows_);  // deletes the rows shown before
}

CoreViews::CoreViews(Form& form, CorePick& pick, bool loop, QWidget* body,
                     std::function<void()> afterAction)
    : QObject(body), form_(form), pick_(pick), loop_(loop), afterAction_(std::move(afterAction)) {
  const bool withLe = pick_.fields().Le != 0;
  if (!withLe) row_ = new QWidget(body);
  QWidget* holder = withLe ? body : row_;
  button_ = new QPushButton(QStringLiteral("选择磁芯…"), holder);
  button_->setAutoDefault(false);
  button_->setFixedHeight(kButtonHeight);
  button_->setFixedWidth(button_->sizeHint().width());
  button_->setToolTip(QStringLiteral("从磁芯库选择磁芯与材料，填入 Ae 与 Le"));
  choice_ = new CaptionLabel(holder);
  choice_->setTextFormat(Qt::PlainText);
  choice_->setFixedSize(choice_->fontMetrics().horizontalAdvance(toQString(kWidestChoice)) + 8,
                        kButtonHeight);
  if (row_ != nullptr) {
    auto* line = new QHBoxLayout(row_);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(8);
    line->addWidget(button_);
    line->addWidget(choice_);
    row_->setFixedSize(row_->sizeHint());
  }
  connect(button_, &QPushButton::clicked, this, [this] { openPicker(); });

  tabs_ = new QTabWidget(body);
  check_ = new FindingsList(tabs_);
  sheet_ = new LossSheetPane(pick_, afterAction_, tabs_);
  tabs_->addTab(check_, QStringLiteral("设计检查"));
  tabs_->addTab(sheet_, QStringLiteral("损耗与窗口"));
}

std::map<int, PixelSize> CoreViews::trailers() const {
  const CoreFieldIds& f = pick_.fields();
  const auto size = [](const QWidget* w) { return PixelSize{w->width(), w->height()}; };
  if (row_ != nullptr) return {{f.Ae, size(row_)}};
  return {{f.Ae, size(button_)}, {f.Le, size(choice_)}};
}

void CoreViews::place(const FormLayout& plan) {
  const CoreFieldIds& f = pick_.fields();
  const auto put = [&plan](int id, QWidget* w) {
    const auto it = plan.trailers.find(id);
    w->setVisible(it != plan.trailers.end());
    if (it != plan.trailers.end()) w->move(it->second.x, it->second.y);
  };
  if (row_ != nullptr) {
    put(f.Ae, row_);
  } else {
    put(f.Ae, button_);
    put(f.Le, choice_);
  }
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
