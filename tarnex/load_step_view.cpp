#include "load_step_view.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/host.h"
#include "design_menu.h"
#include "form_view.h"
#include "loop/load_step_plot.h"
#include "plot_widget.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// The plot's size: wide enough for the two readings in the legend, and with the window's
// frame within 1366 × 768.
constexpr QSize kPlotSize(900, 520);

void showLoadStep(QWidget* window, Form& form) {
  const LoadStep* step = form.loadStep();
  if (step == nullptr) {
    QMessageBox::information(window, QString::fromUtf8(kProgramName),
                             QString::fromUtf8(kNoLoadStep));
    return;
  }
  QDialog dialog(window, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  dialog.setObjectName(QStringLiteral("loadStep"));
  dialog.setWindowTitle(QStringLiteral("负载阶跃 — ") + toQString(form.title()));
  auto* plot = new PlotWidget(&dialog);
  plot->setMinimumSize(kPlotSize);
  plot->setPlot(loadStepPlot(*step));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(plot);
  layout->addWidget(buttons);
  dialog.adjustSize();
  dialog.move(window->frameGeometry().center() - dialog.rect().center());
  keepOnScreen(&dialog, framedGeometry(&dialog));
  dialog.exec();
}

}  // namespace

QAction* addLoadStepItem(DesignMenu& menu, QWidget* window, std::function<FormWidget*()> shown) {
  return menu.add(DesignMenu::Item::LoadStep, QStringLiteral("负载阶跃"),
                  [window, shown = std::move(shown)] {
                    FormWidget* widget = shown();
                    if (widget != nullptr && widget->form().stepsLoad()) {
                      showLoadStep(window, widget->form());
                    }
                  });
}

}  // namespace tarnex::qt
