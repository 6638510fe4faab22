// The loop-compensation sheet on the offscreen platform: opened modally from the launcher,
// a calculation on each page with its results in the fields and its Bode plot, a hint dialog
// opened from its clickable line and closed by its button, and the exact design of each page
// in the plot and in the design check under it, and the load step from the design menu.
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
#include <filesystem>
#include <memory>
#include <vector>

#include "application.h"
#include "bode_plot.h"
#include "design_menu.h"
#include "form_view.h"
#include "launcher.h"
#include "loop/loop_tables.h"
#include "plot_widget.h"
#include "sheet_view.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
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

// The design check of a page: its group box and its list.
QGroupBox* checkBox(FormWidget* page) {
  for (auto* box : page->findChildren<QGroupBox*>()) {
    if (box->title() == QStringLiteral("设计检查")) return box;
  }
  return nullptr;
}

int checkLines(FormWidget* page) {
  QGroupBox* box = checkBox(page);
  auto* list = box ? box->findChild<QLabel*>() : nullptr;
  if (list == nullptr) return -1;
  int lines = 0;
  for (const char* mark : {"○ ", "▲ ", "● "}) lines += list->text().count(QString::fromUtf8(mark));
  return lines;
}

// A page of the sheet and what makes its loop: the kind of converter (an entry of the type II
// page's list, or -1), the commands that calculate it, and whether it models the stage.
struct ExactCase {
  const char* name;
  std::size_t page;
  int kind;
  std::vector<int> steps;
  bool loop;
  int stepTraces;
};

const ExactCase kExactCases[] = {
    {"current mode", 0, -1, {icctrl::kCalculate}, true, 1},
    {"type II forward", 1, vctrl::kForward, {vctrl::kStep2, vctrl::kStep4}, true, 2},
    {"type II DCM flyback", 1, vctrl::kDcmFlyback, {vctrl::kStep2, vctrl::kStep4}, true, 2},
    {"type III", 2, -1, {type3::kCalculate}, false, 0},
};

}  // namespace

class LoopSheetQtTest : public testing::LauncherTest {
  Q_OBJECT

  // What the sheet showed, checked after it closed (a failed check inside the modal run
  // would leave the sheet open).
  QStringList seen_;

  // "负载阶跃" of the design menu: enabled on the pages that know their stage, where it opens
  // the plot of the page's loops with a reading per network in the legend.
  void checkLoadStep(SheetView* view, const ExactCase& c, const QString& name) {
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

  void driveSheet(SheetView* view) {
    seen_ << view->windowTitle() << QString::number(view->tabs()->count())
          << QString::number(view->tabs()->currentIndex());

    // Values at opening, current-mode page with the transconductance amplifier.
    press(view, 0, icctrl::kCalculate);
    seen_ << fieldShows(view, 0, 1044) << fieldShows(view, 0, 1046);
    seen_ << (view->page(0)->plotWidget() ? QStringLiteral("plot") : QStringLiteral("no plot"));

    // Forward type, step 2 then step 4.
    view->tabs()->setCurrentIndex(1);
    press(view, 1, vctrl::kStep2);
    press(view, 1, vctrl::kStep4);
    seen_ << fieldShows(view, 1, vctrl::kFpo) << fieldShows(view, 1, 1223);

    view->tabs()->setCurrentIndex(2);
    press(view, 2, type3::kCalculate);
    seen_ << fieldShows(view, 2, 1201);

    // The hint of the type III page; its button closes it.
    QTimer::singleShot(100, this, [this] {
      auto* hint = qobject_cast<FormView*>(QApplication::activeModalWidget());
      if (hint == nullptr) return;
      seen_ << hint->windowTitle();
      QTest::mouseClick(hint->widgetFor(kOkButton), Qt::LeftButton);
    });
    auto* line = qobject_cast<QLabel*>(view->page(2)->widgetFor(type3::kHint));
    seen_ << (line && line->font().underline() ? QStringLiteral("underlined") : QString());
    QTest::mouseClick(line, Qt::LeftButton);
    seen_ << (QApplication::activeModalWidget() == view ? QStringLiteral("back") : QString());
  }

 private slots:
  void sheetFromTheLauncherCalculatesOnEachPage() {
    QVERIFY(fixture_.launcher().button(launcher::kLoopButton)->isEnabled());
    seen_.clear();
    fixture_.runSheet(launcher::kLoopButton, [this](SheetView& view) { driveSheet(&view); });
    // The fields show what their pages computed: GdB and R2 (current mode); fpo and R2
    // (type II, forward); C1 (type III).
    const QStringList expected =
        QStringLiteral(
            "环路补偿 Feedback Loop   <内置算法>|3|0|number|number|plot|number|number|"
            "number|underlined|提示：|back")
            .split(QLatin1Char('|'));
    QCOMPARE(seen_, expected);
    QVERIFY(fixture_.desktop().messages.empty());
  }

  // On each page the exact design adds its network and loop to the plot and its lines to the
  // design check, which stands under the plot; the sheet keeps its size (its fit on the
  // screen: screen_fit_qt_test).
  void exactDesignInThePlotAndTheCheck() {
    seen_.clear();
    fixture_.runSheet(launcher::kLoopButton, [this](SheetView& sheet) {
      SheetView* view = &sheet;
      const QSize opened = view->size();
      for (const ExactCase& c : kExactCases) {
        const QString name = QString::fromUtf8(c.name) + QStringLiteral(": ");
        FormWidget* page = view->page(c.page);
        view->tabs()->setCurrentIndex(static_cast<int>(c.page));
        if (c.kind >= 0) {
          auto* kinds = qobject_cast<QComboBox*>(page->widgetFor(vctrl::kKindList));
          kinds->setCurrentIndex(c.kind);
          emit kinds->activated(c.kind);
        }
        for (int id : c.steps) press(view, c.page, id);
        auto* plot = qobject_cast<BodePlotWidget*>(page->plotWidget());
        QGroupBox* check = checkBox(page);
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
    });
    QVERIFY2(seen_.isEmpty(), qPrintable(seen_.join(QStringLiteral("; "))));
  }
};

int main(int argc, char** argv) {
  return tarnex::testing::runInFreshFolder<LoopSheetQtTest>(argc, argv);
}

#include "loop_sheet_qt_test.moc"
