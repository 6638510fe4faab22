// The simulation's items in a design window's menu, on a screen of 1366×768: disabled until a
// calculation has written its results, then "仿真波形" opens the waveforms of both ends beside
// the table of simulated against shown, on the screen.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTableWidget>
#include <QTest>

#include "design_menu.h"
#include "form_view.h"
#include "plot_widget.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "tables/launcher_table.h"
#include "waveform_window.h"

using namespace tarnex;
using namespace tarnex::qt;

class WaveformQtTest : public testing::LauncherTest {
  Q_OBJECT

 private slots:
  void waveformsAfterACalculation() {
    FormView* view = fixture_.openWindow(launcher::kDcDcButton);
    QVERIFY(view && view->designMenu());
    QAction* simulate = view->designMenu()->action(DesignMenu::Item::Waveforms);
    QAction* netlist = view->designMenu()->action(DesignMenu::Item::Netlist);
    QVERIFY(simulate && netlist);
    QCOMPARE(simulate->text(), QStringLiteral("仿真波形"));
    QVERIFY(!simulate->isEnabled() && !netlist->isEnabled());
    QVERIFY(testing::pressKey(*view->body(), "calc"));
    emit view->designMenu()->menu()->aboutToShow();
    QVERIFY(simulate->isEnabled() && netlist->isEnabled());
    simulate->trigger();
    WaveformWindow* waves = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* found = qobject_cast<WaveformWindow*>(w)) waves = found;
    }
    QVERIFY2(waves, "no waveform window (is ngspice installed?)");
    QCOMPARE(waves->ends()->count(), 2);
    QCOMPARE(waves->table()->rowCount(), 8);  // the DC-DC has no clamp
    QCOMPARE(waves->plot()->plot().panels.size(), std::size_t{5});
    QVERIFY(QTest::qWaitForWindowExposed(waves));
    QVERIFY2(testing::offScreen(*waves).isEmpty(), qPrintable(testing::offScreen(*waves)));
    waves->ends()->setCurrentIndex(1);
    QCOMPARE(waves->plot()->plot().panels.size(), std::size_t{5});
    waves->close();
  }
};

TARNEX_FRESH_FOLDER_MAIN(WaveformQtTest)

#include "waveform_qt_test.moc"
