// The loop-compensation sheet on the offscreen platform: opened modally from the launcher, a
// calculation on each page with its results in the fields, the exact design of each page in
// its Bode plot and in the design check under it, the load step from the design menu, and a
// hint dialog opened from its clickable line and closed by its button.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <vector>

#include "bode_plot.h"
#include "design_menu.h"
#include "form_view.h"
#include "loop/loop_tables.h"
#include "plot_widget.h"
#include "sheet_view.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "ui_metrics.h"

using namespace tarnex;
using namespace tarnex::qt;

namespace {

// What a result field shows: "number" when it shows the number its form computed, else what
// it shows.
QString fieldShows(SheetView* view, std::size_t page, int id) {
  auto* edit = qobject_cast<QLineEdit*>(view->page(page)->widgetFor(id));
  if (edit == nullptr) return QStringLiteral("(no field)");
  bool number = false;
  edit->text().toDouble(&number);
  const bool computed = toQString(view->page(page)->form().text(id)) == edit->text();
  return number && computed ? QStringLiteral("number") : edit->text();
}

void press(SheetView* view, std::size_t page, int id) {
  QTest::mouseClick(view->page(page)->widgetFor(id), Qt::LeftButton);
}

int checkLines(FormWidget* page) {
  QWidget* check = testing::designCheck(*page);
  auto* list = check ? check->findChild<QLabel*>() : nullptr;
  if (list == nullptr) return -1;
  int lines = 0;
  for (const char* mark : {"○ ", "▲ ", "● "}) lines += list->text().count(QString::fromUtf8(mark));
  return lines;
}

// A page of the sheet and what makes its loop: the kind of converter (an entry of the type II
// page's list, or -1), the commands that calculate it, fields that then show the number their
// form computed, and whether it models the stage.
struct PageCase {
  const char* name;
  std::size_t page;
  int kind;
  std::vector<int> steps;
  std::vector<int> results;
  bool loop;
  int stepTraces;
};

// The results: GdB and R2 (current mode, with the transconductance amplifier); fpo and R2
// (type II); C1 (type III).
namespace v = vctrl;
const PageCase kPageCases[] = {
    {"current mode", 0, -1, {icctrl::kCalculate}, {1044, 1046}, true, 1},
    {"type II forward", 1, v::kForward, {v::kStep2, v::kStep4}, {v::kFpo, 1223}, true, 2},
    {"type II DCM flyback", 1, v::kDcmFlyback, {v::kStep2, v::kStep4}, {v::kFpo, 1223}, true, 2},
    {"type III", 2, -1, {type3::kCalculate}, {1201}, false, 0},
};

}  // namespace

class LoopSheetQtTest : public testing::LauncherTest {
  Q_OBJECT

  // What the sheet showed, checked after it closed (a failed check inside the modal run
  // would leave the sheet open).
  QStringList seen_;

  // "负载阶跃" of the design menu: enabled on the pages that know their stage, where it opens
  // the plot of the page's loops with a reading per network in the legend.
  void checkLoadStep(SheetView* view, const PageCase& c, const QString& name) {
    QAction* item = nullptr;
    for (QAction* a : view->designMenu()->menu()->actions()) {
      if (a->text() == QStringLiteral("负载阶跃")) item = a;
    }
    if (item == nullptr || item->isEnabled() != c.loop) {
      seen_ << name + QStringLiteral("load step item missing or wrongly enabled");
      return;
    }
    if (!c.loop) return;
    QStringList legend;
    QTimer::singleShot(100, this, [&legend] {
      QWidget* dialog = QApplication::activeModalWidget();
      auto* plot = dialog ? dialog->findChild<PlotWidget*>() : nullptr;
      if (plot) legend = plot->legend();
      if (dialog) dialog->close();
    });
    item->trigger();
    if (legend.filter(QStringLiteral("峰值")).size() != c.stepTraces) {
      seen_ << name + QStringLiteral("load step legend: ") + legend.join(QStringLiteral(", "));
    }
  }

  // The hint of the type III page, underlined, opens over the sheet; its button closes it.
  void checkHint(SheetView* view) {
    QString title;
    QTimer::singleShot(100, this, [&title] {
      auto* hint = qobject_cast<FormView*>(QApplication::activeModalWidget());
      if (hint == nullptr) return;
      title = hint->windowTitle();
      QTest::mouseClick(hint->widgetFor(kOkButton), Qt::LeftButton);
    });
    auto* line = qobject_cast<QLabel*>(view->page(2)->widgetFor(type3::kHint));
    if (line == nullptr || !line->font().underline())
      seen_ << QStringLiteral("hint not underlined");
    QTest::mouseClick(line, Qt::LeftButton);
    if (title != QStringLiteral("提示：") || QApplication::activeModalWidget() != view) {
      seen_ << QStringLiteral("hint: ") + title;
    }
  }

 private slots:
  // Opened from the launcher on its first page, the sheet calculates on each page; the exact
  // design adds its network and loop to the plot and its lines to the design check, which
  // stands under the plot; the sheet keeps its size (its fit on the screen:
  // screen_fit_qt_test); the type III page's hint opens from its line and its button closes it.
  void eachPageCalculatesAndDesignsExactly() {
    QVERIFY(fixture_.launcher().button(launcher::kLoopButton)->isEnabled());
    seen_.clear();
    fixture_.runSheet(launcher::kLoopButton, [this](SheetView& sheet) {
      SheetView* view = &sheet;
      if (view->windowTitle() != QStringLiteral("环路补偿 Feedback Loop   <内置算法>") ||
          view->tabs()->count() != 3 || view->tabs()->currentIndex() != 0) {
        seen_ << QStringLiteral("opened as ") + view->windowTitle();
      }
      const QSize opened = view->size();
      for (const PageCase& c : kPageCases) {
        const QString name = QString::fromUtf8(c.name) + QStringLiteral(": ");
        FormWidget* page = view->page(c.page);
        view->tabs()->setCurrentIndex(static_cast<int>(c.page));
        if (c.kind >= 0) {
          auto* kinds = qobject_cast<QComboBox*>(page->widgetFor(vctrl::kKindList));
          kinds->setCurrentIndex(c.kind);
          emit kinds->activated(c.kind);
        }
        for (int id : c.steps) press(view, c.page, id);
        for (int id : c.results) {
          if (fieldShows(view, c.page, id) != QStringLiteral("number")) {
            seen_ << name + QString::number(id) + QStringLiteral(" shows ") +
                         fieldShows(view, c.page, id);
          }
        }
        auto* plot = qobject_cast<BodePlotWidget*>(page->plotWidget());
        QWidget* check = testing::designCheck(*page);
        if (plot == nullptr || check == nullptr) {
          seen_ << name + QStringLiteral("no plot or no check");
          continue;
        }
        if (check->geometry().top() <= plot->geometry().bottom() ||
            check->geometry().left() != plot->geometry().left() ||
            check->width() != plot->width()) {
          seen_ << name + QStringLiteral("check not under the plot");
        }
        const int before = checkLines(page);
        auto* exact = qobject_cast<QPushButton*>(page->widgetFor(icctrl::kExact));
        if (exact == nullptr || !exact->isEnabled()) {
          seen_ << name + QStringLiteral("no exact button");
          continue;
        }
        if (plot->legend().join(' ').contains(QStringLiteral("精确设计"))) {
          seen_ << name + QStringLiteral("exact curves before the exact design");
        }
        QTest::mouseClick(exact, Qt::LeftButton);
        const QStringList legend = plot->legend();
        if (!legend.contains(QStringLiteral("精确设计 补偿网络")) ||
            legend.contains(QStringLiteral("精确设计 环路增益")) != c.loop) {
          seen_ << name + legend.join(QStringLiteral(", "));
        }
        if (before < 1 || checkLines(page) <= before) {
          seen_ << name +
                       QStringLiteral("check lines %1 then %2").arg(before).arg(checkLines(page));
        }
        checkLoadStep(view, c, name);
      }
      if (view->size() != opened) seen_ << QStringLiteral("sheet resized");
      checkHint(view);
    });
    QVERIFY2(seen_.isEmpty(), qPrintable(seen_.join(QStringLiteral("; "))));
    QVERIFY(fixture_.desktop().messages.empty());
  }
};

TARNEX_FRESH_FOLDER_MAIN(LoopSheetQtTest)

#include "loop_sheet_qt_test.moc"
