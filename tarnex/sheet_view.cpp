#include "sheet_view.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "design_files.h"
#include "design_menu.h"
#include "form_view.h"
#include "load_step_view.h"
#include "report_writer.h"
#include "sweep_dialog.h"
#include "ui_metrics.h"

namespace tarnex::qt {

namespace {

// What the sheet adds around a page: its margins, the tab bar and frame, the row of OK and
// Cancel.
constexpr QSize kSheetChrome(30, 110);
// The height of the design menu's bar above the tabs.
constexpr int kMenuBarHeight = 26;

}  // namespace

SheetView::SheetView(Sheet& sheet, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      sheet_(sheet),
      tabs_(new QTabWidget(this)) {
  setWindowTitle(toQString(sheet.title()));
  // The compensation sheet designs and has the design menu; the toolbox's page only edits
  // files.
  bool designs = false;
  for (std::size_t i = 0; i < sheet.size(); ++i) designs = designs || sheet.page(i).plotsBode();
  const QSize room = usableSize(owner) - kSheetChrome - QSize(0, designs ? kMenuBarHeight : 0);
  for (std::size_t i = 0; i < sheet.size(); ++i) {
    Form& form = sheet.page(i);
    auto* page = new FormWidget(form, tabs_, room);
    pages_.push_back(page);
    tabs_->addTab(page, toQString(form.title()));
  }
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(tabs_, &QTabWidget::currentChanged, this, &SheetView::onTabChanged);
  connect(this, &QDialog::finished, this, [this] { sheet_.close(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  if (designs) {
    menu_ = new DesignMenu(this, layout);
    addFileActions(*menu_, *this);
    addReportItem(
        *menu_, this, [this] { return pages_.at(sheet_.current()); }, sheet.title());
    addSweepItem(*menu_, this, [this] { return pages_.at(sheet_.current()); });
    loadStep_ = addLoadStepItem(*menu_, this, [this] { return pages_.at(sheet_.current()); });
  }
}

void SheetView::setDesignFile(const QString& path) {
  designFile_ = path;
  setWindowTitle(titleWithFile(toQString(sheet_.title()), designFile_));
}

int SheetView::runModal() {
  sheet_.open();
  sync();
  enableLoadStep();
  if (!pages_.empty()) pages_[sheet_.current()]->claimDefaultButton();
  ensurePolished();
  layout()->activate();
  adjustSize();
  if (QWidget* owner = parentWidget(); owner && owner->isVisible()) {
    move(owner->window()->frameGeometry().center() - rect().center());
  }
  // Centred on a launcher near the screen's edge, the sheet would reach beyond it.
  keepOnScreen(this, framedGeometry(this));
  return exec();
}

void SheetView::sync() {
  for (FormWidget* page : pages_) page->sync();
}

void SheetView::onTabChanged(int index) {
  if (index < 0) return;
  const auto wanted = static_cast<std::size_t>(index);
  if (!sheet_.show(wanted)) {
    // The page shown refused to be left: it stays in front.
    const QSignalBlocker blocker(tabs_);
    tabs_->setCurrentIndex(static_cast<int>(sheet_.current()));
  }
  pages_[sheet_.current()]->claimDefaultButton();
  pages_[sheet_.current()]->afterAction();
  enableLoadStep();
}

void SheetView::enableLoadStep() {
  if (loadStep_ != nullptr) loadStep_->setEnabled(sheet_.page(sheet_.current()).stepsLoad());
}

}  // namespace tarnex::qt
