// The catalogue core of every design window that asks for one, as the user takes it: the
// core estimate, "选择磁芯…" beside the Ae field, the smallest core that reaches the estimate
// in the picker, its values in the fields and its name beside them, and after the
// calculation the loss and fit sheet in the tab beside the design check.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "core_picker_dialog.h"
#include "core_views.h"
#include "form_view.h"
#include "forms/core_pick.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"
#include "tables/launcher_table.h"
#include "ui_metrics.h"

using namespace tarnex;
using namespace tarnex::qt;

namespace {

struct CoreWindow {
  const char* name;
  int launcherButton;
  int estimate;    // the command that estimates the core (or designs on the core shown)
  int verify;      // the command that works the design out on the chosen core
  bool estimated;  // the window shows an estimate the picker filters by
};

const CoreWindow kCoreWindows[] = {
    {"flyback", launcher::kFlybackButton, flyback::kCoreButton, flyback::kVerifyButton, true},
    {"forward", launcher::kForwardButton, forward::kCoreButton, forward::kVerifyButton, true},
    {"ringing choke", launcher::kRccButton, kCalculateButton, kCalculateButton, false},
    {"push-pull", launcher::kPushPullButton, kCalculateButton, kCalculateButton, false},
    {"half bridge", launcher::kHalfBridgeButton, kCalculateButton, kCalculateButton, false},
    {"full bridge", launcher::kFullBridgeButton, kCalculateButton, kCalculateButton, false},
    {"dc-dc", launcher::kDcDcButton, kCalculateButton, kCalculateButton, false},
};

void press(FormView* view, int id) {
  QTest::mouseClick(view->widgetFor(id), Qt::LeftButton);
}

}  // namespace

class CorePickerQtTest : public testing::LauncherTest {
  Q_OBJECT

 private slots:
  void estimatePickCalculateShowsTheSheet_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < std::size(kCoreWindows); ++i) {
      QTest::newRow(kCoreWindows[i].name) << static_cast<int>(i);
    }
  }

  void estimatePickCalculateShowsTheSheet() {
    QFETCH(int, index);
    const CoreWindow& w = kCoreWindows[index];
    FormView* view = fixture_.openWindow(w.launcherButton);
    QVERIFY(view);
    CorePick* pick = view->form().corePick();
    QVERIFY(pick);
    CoreViews* core = view->findChild<FormWidget*>()->coreViews();
    QVERIFY(core);
    QVERIFY(core->button()->isVisible());
    QVERIFY(core->choice()->text().isEmpty());
    QCOMPARE(core->tabs()->tabText(1), QStringLiteral("损耗与窗口"));

    press(view, w.estimate);
    QCOMPARE(view->form().coreNeed().kind != CoreNeed::Kind::None, w.estimated);

    // With an estimate the picker lists only the cores that reach it, the smallest selected;
    // without one every core, none selected until the user clicks one.
    CorePickRow first;
    bool filtered = false, selected = false;
    QTimer::singleShot(0, view, [&] {
      auto* dialog = qobject_cast<CorePickerDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || dialog->rows().empty()) return;
      filtered = dialog->onlyMeetingNeed()->isEnabled() && dialog->onlyMeetingNeed()->isChecked();
      selected = dialog->okButton()->isEnabled() && dialog->table()->currentRow() == 0;
      if (!selected) dialog->table()->selectRow(0);
      first = dialog->rows().front();
      QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(core->button(), Qt::LeftButton);
    QCOMPARE(filtered, w.estimated);
    QCOMPARE(selected, w.estimated);
    QVERIFY(first.core != nullptr);
    QVERIFY(first.meetsNeed);
    QCOMPARE(pick->core(), first.core);
    const double ae = toQString(view->form().text(pick->fields().Ae)).toDouble();
    QVERIFY2(std::abs(ae - first.Ae) <= 1e-5 * first.Ae, qPrintable(QString::number(ae)));
    QCOMPARE(core->choice()->text(), toQString(pick->text()));
    QVERIFY(core->choice()->text().startsWith(toQString(first.name)));

    press(view, w.verify);
    QVERIFY(pick->sheet() != nullptr);
    QVERIFY(!core->sheet()->rowTexts().isEmpty());
    QCOMPARE(core->sheet()->rowTexts().size(), static_cast<qsizetype>(pick->sheet()->rows.size()));
  }
};

TARNEX_FRESH_FOLDER_MAIN(CorePickerQtTest)

#include "core_picker_qt_test.moc"
