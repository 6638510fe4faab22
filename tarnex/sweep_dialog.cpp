#include "sweep_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>

#include "base/number_text.h"
#include "design_menu.h"
#include "designs/registry.h"
#include "form_view.h"
#include "forms/design_dialog.h"
#include "loop/loop_sheet.h"
#include "plot_widget.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// The most results plotted at once (a panel each), and the points of a sweep.
constexpr int kMostOutputs = 4;
constexpr int kMostPoints = 1000;
constexpr int kOpeningPoints = 21;
// Sweeps this long show their progress (milliseconds before the window appears).
constexpr int kProgressAfterMs = 400;

// Trace colours of the panels, in turn.
constexpr Rgb kColors[] = {{0, 0, 255}, {220, 0, 0}, {0, 140, 0}, {150, 0, 170}};

QString fieldLabel(const FieldRow& row) {
  QString label = toQString(std::string(row.caption));
  if (label.isEmpty()) label = toQString(std::string(row.name));
  return label + QStringLiteral("  (") + toQString(std::string(row.name)) + QStringLiteral(")");
}

// A number typed into the dialog's own fields, read as a window's field reads it.
std::optional<double> typedNumber(const QLineEdit* edit) {
  const std::optional<float> v = parseFieldText(edit->text().toStdString());
  if (!v) return std::nullopt;
  return static_cast<double>(*v);
}

// A fresh window of the same kind, on the same working folder.
SweepWindow windowLike(const Form& form) {
  SweepWindow w;
  const std::string key(form.key());
  if (const auto* design = dynamic_cast<const DesignDialog*>(&form)) {
    const Folder folder = design->folder();
    w.make = [key, folder](Host& host) { return makeDesign(key, host, folder); };
  } else {
    w.make = [key](Host& host) { return makeLoopPage(key, host); };
  }
  // The window as it stands: its list entries, then every field as typed.
  for (const Control& c : form.controls()) {
    if (c.kind == ControlKind::DropList && c.selection >= 0) {
      w.selections.emplace_back(c.id, c.selection);
    }
  }
  if (const DialogTable* table = form.table()) {
    for (const FieldRow& row : table->fields)
      w.texts.emplace_back(row.controlId, form.text(row.controlId));
  }
  w.commands = defaultCommands(form);
  return w;
}

}  // namespace

SweepDialog::SweepDialog(const Form& form, QWidget* parent)
    : QDialog(parent), table_(form.table()), window_(windowLike(form)) {
  setWindowTitle(toQString(form.title()) + QStringLiteral(" — 扫描"));
  setFont(dialogFont(9));
  if (table_ != nullptr) {
    for (const FieldRow& row : table_->fields) {
      (row.output() ? outputRows_ : inputRows_).push_back(&row);
    }
  }
  auto* top = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  top->addLayout(grid);
  input_ = new QComboBox(this);
  for (const FieldRow* row : inputRows_) input_->addItem(fieldLabel(*row));
  from_ = new QLineEdit(this);
  to_ = new QLineEdit(this);
  count_ = new QSpinBox(this);
  count_->setRange(2, kMostPoints);
  count_->setValue(kOpeningPoints);
  logX_ = new QCheckBox(QStringLiteral("对数步长"), this);
  logY_ = new QCheckBox(QStringLiteral("对数纵轴"), this);
  grid->addWidget(new QLabel(QStringLiteral("扫描输入"), this), 0, 0);
  grid->addWidget(input_, 0, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("从"), this), 1, 0);
  grid->addWidget(from_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("到"), this), 1, 2);
  grid->addWidget(to_, 1, 3);
  // The window's commands; the one it runs by default (Enter, or the command line's first
  // step) is chosen.
  command_ = new QComboBox(this);
  const std::vector<int> defaults = defaultCommands(form);
  for (const Control& c : form.controls()) {
    if (c.kind != ControlKind::Button || c.key.empty()) continue;
    commandIds_.push_back(c.id);
    command_->addItem(QString::fromStdString(c.text).remove(QLatin1Char('&')));
    if (!defaults.empty() && defaults.front() == c.id)
      command_->setCurrentIndex(command_->count() - 1);
  }
  grid->addWidget(new QLabel(QStringLiteral("计算命令"), this), 3, 0);
  grid->addWidget(command_, 3, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("点数"), this), 2, 0);
  grid->addWidget(count_, 2, 1);
  grid->addWidget(logX_, 2, 2);
  grid->addWidget(logY_, 2, 3);
  outputs_ = new QListWidget(this);
  for (const FieldRow* row : outputRows_) {
    auto* item = new QListWidgetItem(fieldLabel(*row), outputs_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  if (outputs_->count() > 0) outputs_->item(0)->setCheckState(Qt::Checked);
  outputs_->setMaximumHeight(110);
  grid->addWidget(new QLabel(QStringLiteral("输出（最多 %1 个）").arg(kMostOutputs), this), 0, 4);
  grid->addWidget(outputs_, 1, 4, 3, 1);
  grid->setColumnStretch(4, 1);

  auto* buttons = new QHBoxLayout;
  auto* start = new QPushButton(QStringLiteral("扫描(&S)"), this);
  export_ = new QPushButton(QStringLiteral("导出CSV…(&E)"), this);
  auto* close = new QPushButton(QStringLiteral("关闭"), this);
  status_ = new QLabel(this);
  export_->setEnabled(false);
  start->setDefault(true);
  buttons->addWidget(status_, 1);
  buttons->addWidget(start);
  buttons->addWidget(export_);
  buttons->addWidget(close);
  top->addLayout(buttons);
  plot_ = new PlotWidget(this);
  plot_->setMinimumSize(760, 380);
  top->addWidget(plot_, 1);

  connect(input_, &QComboBox::currentIndexChanged, this, &SweepDialog::choose);
  connect(start, &QPushButton::clicked, this, [this] { run(); });
  connect(export_, &QPushButton::clicked, this, &SweepDialog::exportRows);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(logX_, &QCheckBox::toggled, this, &SweepDialog::showRows);
  connect(logY_, &QCheckBox::toggled, this, &SweepDialog::showRows);
  choose(0);
  showRows();
}

// The range around the input's value in the window: from half to one and a half times it.
void SweepDialog::choose(int inputIndex) {
  if (inputIndex < 0 || inputIndex >= static_cast<int>(inputRows_.size())) return;
  const int id = inputRows_[static_cast<std::size_t>(inputIndex)]->controlId;
  double v = 1;
  for (const auto& [field, text] : window_.texts) {
    if (field == id) v = fieldNumber(text);
  }
  if (!std::isfinite(v) || v == 0) v = 1;
  from_->setText(toQString(sweepText(v * 0.5)));
  to_->setText(toQString(sweepText(v * 1.5)));
}

bool SweepDialog::run() {
  const int index = input_->currentIndex();
  const std::optional<double> from = typedNumber(from_), to = typedNumber(to_);
  std::vector<int> read;
  for (int i = 0; i < outputs_->count(); ++i) {
    if (outputs_->item(i)->checkState() == Qt::Checked) {
      read.push_back(outputRows_[static_cast<std::size_t>(i)]->controlId);
    }
  }
  QString problem;
  if (index < 0 || command_->count() == 0) {
    problem = QStringLiteral("这个窗口没有可扫描的输入。");
  } else if (!from || !to || *from == *to) {
    problem = QStringLiteral("请键入两个不同的数作为扫描范围。");
  } else if (logX_->isChecked() && !(*from * *to > 0)) {
    problem = QStringLiteral("对数步长的范围两端须同号且不为 0。");
  } else if (read.empty() || static_cast<int>(read.size()) > kMostOutputs) {
    problem = QStringLiteral("请选择 1 到 %1 个输出。").arg(kMostOutputs);
  }
  if (!problem.isEmpty()) {
    status_->setText(problem);
    return false;
  }
  const std::vector<double> xs =
      spacedValues(*from, *to, static_cast<std::size_t>(count_->value()), logX_->isChecked());
  SweepInput input{inputRows_[static_cast<std::size_t>(index)]->controlId, {}};
  for (const double x : xs) input.texts.push_back(sweepText(x));
  QProgressDialog progress(QStringLiteral("正在扫描…"), QStringLiteral("取消"), 0,
                           static_cast<int>(xs.size()), this);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kProgressAfterMs);
  const std::vector<SweepInput> inputs = {input};
  std::vector<SweepRow> rows =
      sweep(window_, inputs, read, [&progress](std::size_t done, std::size_t) {
        progress.setValue(static_cast<int>(done));
        return !progress.wasCanceled();
      });
  // The values typed are those the window read: the plot stands on them.
  xs_.clear();
  for (const SweepRow& row : rows) xs_.push_back(fieldNumber(row.inputs.front()));
  swept_ = inputs;
  read_ = read;
  rows_ = std::move(rows);
  showRows();
  return true;
}

void SweepDialog::showRows() {
  PlotData d;
  d.title = "扫描";
  d.emptyText = "选择输入、范围和输出后按“扫描”";
  export_->setEnabled(!rows_.empty());
  if (rows_.empty() || table_ == nullptr) {
    plot_->setPlot(d);
    return;
  }
  const FieldRow* in = findFieldById(*table_, swept_.front().fieldId);
  d.xAxis.caption = std::string(in->name);
  d.xAxis.unit = std::string(in->unit);
  d.xAxis.log = logX_->isChecked() && xs_.front() > 0 && xs_.back() > 0;
  d.x = xs_;
  std::size_t refused = 0;
  for (const SweepRow& row : rows_) refused += row.written ? 0 : 1;
  for (std::size_t k = 0; k < read_.size(); ++k) {
    const FieldRow* out = findFieldById(*table_, read_[k]);
    PlotPanel panel;
    panel.axis.unit = std::string(out->unit);
    panel.axis.caption = std::string(out->caption.empty() ? out->name : out->caption);
    panel.axis.log = logY_->isChecked();
    PlotTrace trace;
    trace.name = std::string(out->name);
    trace.color = kColors[k % std::size(kColors)];
    for (const SweepRow& row : rows_) {
      trace.y.push_back(row.outputs[k]);
      trace.gapNotes.push_back(row.refusal);
    }
    panel.traces.push_back(std::move(trace));
    d.panels.push_back(std::move(panel));
  }
  // A swept axis must rise: a range typed downwards is drawn from its low end.
  if (d.x.size() > 1 && d.x.front() > d.x.back()) {
    std::reverse(d.x.begin(), d.x.end());
    for (PlotPanel& p : d.panels) {
      for (PlotTrace& t : p.traces) {
        std::reverse(t.y.begin(), t.y.end());
        std::reverse(t.gapNotes.begin(), t.gapNotes.end());
      }
    }
  }
  plot_->setPlot(std::move(d));
  status_->setText(QStringLiteral("%1 点，其中 %2 点被拒绝").arg(rows_.size()).arg(refused));
}

std::string SweepDialog::csv() const {
  return table_ ? sweepCsv(*table_, swept_, read_, rows_) : std::string();
}

QString SweepDialog::save(const QString& path) const {
  // Written to a file beside the target and renamed over it: an old file stays whole.
  QSaveFile file(path);
  const std::string text = csv();
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size()) ||
      !file.commit()) {
    return file.errorString();
  }
  return QString();
}

void SweepDialog::exportRows() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出CSV"), QString(),
                                                    QStringLiteral("CSV (*.csv)"));
  if (path.isEmpty()) return;
  const QString error = save(path);
  status_->setText(error.isEmpty() ? QStringLiteral("已导出 ") + path
                                   : QStringLiteral("导出失败：") + error);
}

void runSweepDialog(const Form& form, QWidget* parent) {
  SweepDialog dialog(form, parent);
  dialog.exec();
}

void addSweepItem(DesignMenu& menu, QWidget* window, std::function<FormWidget*()> shown) {
  menu.add(DesignMenu::Item::Sweep, QStringLiteral("扫描…"), [window, shown = std::move(shown)] {
    if (FormWidget* widget = shown()) runSweepDialog(widget->form(), window);
  });
}

}  // namespace tarnex::qt
