#include "waveform_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/finding_text.h"
#include "base/user_file.h"
#include "design_menu.h"
#include "form_view.h"
#include "forms/design_dialog.h"
#include "plot_widget.h"
#include "sim/wave_plot.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

QString number(double v) {
  return std::isfinite(v) ? toQString(check::num(v)) : QStringLiteral("—");
}

QTableWidgetItem* cell(const QString& text, bool alert = false) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (alert) item->setForeground(QColor(200, 0, 0));
  return item;
}

}  // namespace

WaveformWindow::WaveformWindow(sim::WindowSimulation simulation, const QString& title,
                               QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      sim_(std::move(simulation)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("仿真波形 — ") + title);
  setFont(dialogFont(9));

  plot_ = new PlotWidget(this);
  plot_->setMinimumSize(640, 480);
  ends_ = new QComboBox(this);
  for (const sim::WindowWaves& e : sim_.ends) {
    ends_->addItem(toQString(e.end) + QStringLiteral("  Vin = ") + number(e.Vin) +
                   QStringLiteral(" V"));
  }
  auto* left = new QVBoxLayout;
  auto* choice = new QHBoxLayout;
  choice->addWidget(new QLabel(QStringLiteral("波形："), this));
  choice->addWidget(ends_);
  choice->addStretch(1);
  left->addLayout(choice);
  left->addWidget(plot_, 1);

  table_ = new QTableWidget(static_cast<int>(sim_.table.size()), 4, this);
  table_->setHorizontalHeaderLabels({QStringLiteral("项目"), QStringLiteral("仿真"),
                                     QStringLiteral("窗口"), QStringLiteral("依据")});
  table_->verticalHeader()->hide();
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  for (int i = 0; i < static_cast<int>(sim_.table.size()); ++i) {
    const sim::ComparedRow& r = sim_.table[static_cast<std::size_t>(i)];
    const QString unit = QStringLiteral(" ") + toQString(r.unit);
    table_->setItem(i, 0, cell(toQString(r.label)));
    table_->setItem(i, 1, cell(number(r.simulated) + unit, r.differs));
    table_->setItem(i, 2, cell(std::isfinite(r.shown) ? number(r.shown) + unit : number(r.shown)));
    table_->setItem(i, 3, cell(toQString(r.basis)));
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  int width = table_->verticalHeader()->width() + 4;
  for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
  table_->setMinimumWidth(std::min(width, 520));

  QString findings;
  for (const Finding& f : sim_.findings)
    findings += QStringLiteral("• ") + toQString(f.text) + '\n';
  if (findings.isEmpty()) {
    findings = QStringLiteral("仿真与窗口的数值在设计检查的容差之内。");
  }
  auto* notes = new QLabel(findings.trimmed(), this);
  notes->setWordWrap(true);
  notes->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("仿真与窗口对照（两端中较差者）"), this));
  right->addWidget(table_, 1);
  right->addWidget(notes);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 3);
  layout->addLayout(right, 2);
  connect(ends_, &QComboBox::currentIndexChanged, this, &WaveformWindow::showEnd);
  showEnd(0);
  resize(1240, 660);
}

void WaveformWindow::showEnd(int index) {
  if (index < 0 || index >= static_cast<int>(sim_.ends.size())) return;
  plot_->setPlot(sim::wavePlot(sim_, sim_.ends[static_cast<std::size_t>(index)]));
}

void simulateAndShow(const Form& form, Host& host, QWidget* owner) {
  sim::WindowSimulation s = sim::simulateWindow(form, host);
  if (s.cancelled) return;
  if (!s.ok()) {
    host.showMessage({kProgramName, s.error, Icon::Warning, true});
    return;
  }
  auto* window = new WaveformWindow(std::move(s), toQString(form.title()), owner);
  // Where the window system puts it, moved left or up just enough to stay on the screen.
  keepOnScreen(window, framedGeometry(window));
  window->show();
  keepOnScreen(window, window->frameGeometry());
}

void exportNetlist(const Form& form, Host& host, QWidget* owner) {
  std::string error;
  const std::string deck = sim::windowNetlist(form, error);
  if (deck.empty()) {
    host.showMessage({kProgramName, error, Icon::Warning, true});
    return;
  }
  const QString path = QFileDialog::getSaveFileName(owner, QStringLiteral("导出网表"),
                                                    toQString(std::string(form.key()) + ".cir"),
                                                    QStringLiteral("ngspice 网表 (*.cir)"));
  if (path.isEmpty()) return;
  if (!replaceFile(std::filesystem::path(path.toStdString()), deck, error)) {
    host.showMessage({kProgramName, error, Icon::Warning, true});
  }
}

void addSimulationItems(DesignMenu& menu, const Form& form, Host& host, QWidget* window) {
  const auto* design = dynamic_cast<const DesignDialog*>(&form);
  if (design == nullptr) return;
  QAction* simulate = menu.add(DesignMenu::Item::Waveforms, QStringLiteral("仿真波形"),
                               [&form, &host, window] { simulateAndShow(form, host, window); });
  QAction* netlist = menu.add(DesignMenu::Item::Netlist, QStringLiteral("导出网表…"),
                              [&form, &host, window] { exportNetlist(form, host, window); });
  auto enable = [design, simulate, netlist] {
    const bool calculated = design->lastCalculationWritten();
    simulate->setEnabled(calculated);
    netlist->setEnabled(calculated);
  };
  enable();
  QObject::connect(menu.menu(), &QMenu::aboutToShow, simulate, enable);
}

}  // namespace tarnex::qt
