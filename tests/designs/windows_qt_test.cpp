// Every design window in the desktop program: opened from its launcher button, a list entry
// picked with the keyboard, fields typed, its first command pressed by Enter on the focused
// button. The numbers are those of the golden runs (tests/golden/calc).
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "designs/registry.h"
#include "form_view.h"
#include "support/field_ids.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "tables/dcdc_table.h"
#include "tables/flyback_table.h"
#include "tables/forward_table.h"

namespace tarnex {

class DesignWindowsTest : public testing::LauncherTest {
  Q_OBJECT

 private slots:
  void firstCommandFromTheLauncher_data();
  void firstCommandFromTheLauncher();
};

void DesignWindowsTest::firstCommandFromTheLauncher_data() {
  QTest::addColumn<QString>("key");
  QTest::addColumn<int>("launcherButton");
  QTest::addColumn<int>("list");  // a list whose next entry is picked (0: none)
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("shown");
  using namespace launcher;
  const auto row = [](const char* key, int button, int list, const char* typed, int command,
                      const char* title, const char* field, const char* shown) {
    QTest::newRow(key) << QString::fromUtf8(key) << button << list << QString::fromUtf8(typed)
                       << command << QString::fromUtf8(title) << QString::fromUtf8(field)
                       << QString::fromUtf8(shown);
  };
  // The DC-DC window and the flyback switched to discontinuous conduction.
  row("dcdc", kDcDcButton, dcdc::kModeList, "", kCalculateButton,
      "DC-DC变换器   <界面:系统   公式:内置>", "L", "7.05882");
  row("flyback", kFlybackButton, flyback::kModeList, "Ae=100 Le=60", flyback::kVerifyButton,
      "反激变换器 Flyback   <界面:系统   公式:内置>", "Lp", "51.9974");
  row("forward", kForwardButton, 0, "", forward::kCoreButton,
      "正激变换器 Forward   <界面:系统   公式:内置>", "Ap", "1.01747");
  row("rcc", kRccButton, 0, "", kCalculateButton, "Ringing Choke Coverter  <界面:系统   公式:内置>",
      "fMax", "1041.93");
  row("pushpull", kPushPullButton, 0, "", kCalculateButton,
      "推挽变换器 Push Pull   <界面:系统   公式:内置>", "Irmsp", "1.86367");
  row("halfbridge", kHalfBridgeButton, 0, "", kCalculateButton,
      "半桥变换器 Half Bridge   <界面:系统   公式:内置>", "Irmsp", "11.7139");
  row("fullbridge", kFullBridgeButton, 0, "", kCalculateButton,
      "全桥变换器 Full Bridge   <界面:系统   公式:内置>", "Irmsp", "5.85695");
}

void DesignWindowsTest::firstCommandFromTheLauncher() {
  QFETCH(QString, key);
  QFETCH(int, launcherButton);
  QFETCH(int, list);
  QFETCH(QString, typed);
  QFETCH(int, command);
  QFETCH(QString, title);
  QFETCH(QString, field);
  QFETCH(QString, shown);
  const DialogTable* table = nullptr;
  for (const DesignInfo& d : designs()) {
    if (d.key() == key.toStdString()) table = d.table;
  }
  QVERIFY(table != nullptr);
  qt::Launcher& launcher = fixture_.launcher();
  const auto edit = [&](qt::FormView* v, const QString& name) {
    return qobject_cast<QLineEdit*>(v->widgetFor(testing::fieldId(*table, name.toStdString())));
  };

  // Each press opens another window of its own.
  qt::FormView* view = fixture_.openWindow(launcherButton);
  QVERIFY(view != nullptr && fixture_.openWindow(launcherButton) != nullptr);
  QCOMPARE(view->windowTitle(), title);
  QVERIFY(edit(view, field) != nullptr);
  QCOMPARE(edit(view, field)->text(), QString());

  // Discontinuous conduction: the dead time takes over from the ripple ratio, and the
  // flyback's estimate becomes an area product.
  if (list != 0) {
    auto* choice = qobject_cast<QComboBox*>(view->widgetFor(list));
    QTest::keyClick(choice, Qt::Key_Down);
    QCOMPARE(choice->currentIndex(), 1);
    QVERIFY(edit(view, QStringLiteral("Ptd"))->isEnabled());
    QVERIFY(!edit(view, QStringLiteral("r"))->isEnabled());
    if (key == QStringLiteral("flyback")) {
      auto* estimate = qobject_cast<QGroupBox*>(view->widgetFor(flyback::kEstimateGroup));
      QCOMPARE(estimate->title(), QString::fromUtf8("估算所需磁芯面积乘积Ae*Aw"));
    }
  }
  for (const QString& word : typed.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QStringList nameText = word.split(QLatin1Char('='));
    QTest::keyClicks(edit(view, nameText[0]), nameText[1]);
  }

  // Enter presses the focused button; the progress window runs modally and closes itself.
  auto* press = qobject_cast<QPushButton*>(view->widgetFor(command));
  press->setFocus();
  QTest::keyClick(press, Qt::Key_Return);
  QCOMPARE(edit(view, field)->text(), shown);
  QVERIFY(fixture_.desktop().messages.empty());
  // Only a calculate button is the default; the others have none, focused or not.
  for (QPushButton* b : view->findChildren<QPushButton*>()) {
    QCOMPARE(b->isDefault(), b == press && command == kCalculateButton);
  }
  // Below the results the design check lists what the circuit will do: the findings of the
  // design, a failure in red (an estimate has none to list): a group box of its own, or the
  // first tab beside the loss sheet of a window that asks for a core.
  QWidget* check = testing::designCheck(*view);
  QVERIFY(check != nullptr);
  const QList<QLabel*> lines = check->findChildren<QLabel*>();
  QCOMPARE(lines.size(), 1);
  const QString html = lines.front()->text();
  const std::span<const Finding> findings = view->form().findings();
  QCOMPARE(findings.empty(), command == forward::kCoreButton);
  bool failure = false;
  for (const Finding& f : findings) {
    QVERIFY2(html.contains(QString::fromStdString(f.text).toHtmlEscaped()), f.text.c_str());
    failure = failure || f.severity == Severity::Failure;
  }
  QCOMPARE(html.contains(QStringLiteral("color:#ff0000")), failure);

  QCOMPARE(edit(launcher.designWindows().back(), field)->text(), QString());
}

}  // namespace tarnex

TARNEX_FRESH_FOLDER_MAIN(tarnex::DesignWindowsTest)
#include "windows_qt_test.moc"
