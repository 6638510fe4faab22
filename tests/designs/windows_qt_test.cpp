// The forward, ringing choke, push-pull, half-bridge and full-bridge windows in the desktop
// program: each opened from its launcher button, its first command pressed by Enter on the
// focused button with the opening values. Reference numbers: isolated_procedures_test.cpp.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "designs/registry.h"
#include "form_view.h"
#include "launcher.h"
#include "support/field_ids.h"
#include "support/modal_guard.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/forward_table.h"

namespace tarnex {

class DesignWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void firstCommandFromTheLauncher_data();
  void firstCommandFromTheLauncher();
  void cleanup() {
    const QStringList unexpected = guard_.takeUnexpected();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral("; "))));
  }

 private:
  testing::ModalGuard guard_;
};

void DesignWindowsTest::firstCommandFromTheLauncher_data() {
  QTest::addColumn<QString>("key");
  QTest::addColumn<int>("launcherButton");
  QTest::addColumn<int>("command");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("shown");
  using namespace launcher;
  const auto row = [](const char* key, int button, int command, const char* title,
                      const char* field, const char* shown) {
    QTest::newRow(key) << QString::fromUtf8(key) << button << command << QString::fromUtf8(title)
                       << QString::fromUtf8(field) << QString::fromUtf8(shown);
  };
  row("forward", kForwardButton, forward::kCoreButton,
      "正激变换器 Forward   <界面:系统   公式:内置>", "Ap", "1.01747");
  row("rcc", kRccButton, kCalculateButton, "Ringing Choke Coverter  <界面:系统   公式:内置>",
      "fMax", "1041.93");
  row("pushpull", kPushPullButton, kCalculateButton,
      "推挽变换器 Push Pull   <界面:系统   公式:内置>", "Irmsp", "1.86367");
  row("halfbridge", kHalfBridgeButton, kCalculateButton,
      "半桥变换器 Half Bridge   <界面:系统   公式:内置>", "Irmsp", "11.7139");
  row("fullbridge", kFullBridgeButton, kCalculateButton,
      "全桥变换器 Full Bridge   <界面:系统   公式:内置>", "Irmsp", "5.85695");
}

void DesignWindowsTest::firstCommandFromTheLauncher() {
  QFETCH(QString, key);
  QFETCH(int, launcherButton);
  QFETCH(int, command);
  QFETCH(QString, title);
  QFETCH(QString, field);
  QFETCH(QString, shown);
  testing::TempFolder tmp;
  // Built-in formulas and system captions, so that no message box waits for the user.
  const DialogTable* table = nullptr;
  for (const DesignInfo& d : designs()) {
    if (d.key() != key.toStdString()) continue;
    table = d.table;
    tmp.write(d.table->interfaceFile, "#");
    for (const FormulaFileRow& f : d.table->formulaFiles) tmp.write(f.fileName, "#");
  }
  QVERIFY(table != nullptr);
  testing::RecordingHost desktop;
  qt::Launcher launcher(tmp.folder(), desktop);

  // Each press opens another window of its own.
  QPushButton* open = launcher.button(launcherButton);
  QVERIFY(open->isEnabled());
  open->click();
  open->click();
  QCOMPARE(launcher.designWindows().size(), std::size_t{2});
  qt::FormView* view = launcher.designWindows().front();
  QCOMPARE(view->windowTitle(), title);
  const int id = testing::fieldId(*table, field.toStdString());
  auto* edit = qobject_cast<QLineEdit*>(view->widgetFor(id));
  QVERIFY(edit != nullptr);
  QCOMPARE(edit->text(), QString());

  // Enter presses the focused button; the progress window runs modally and closes itself.
  auto* press = qobject_cast<QPushButton*>(view->widgetFor(command));
  press->setFocus();
  QTest::keyClick(press, Qt::Key_Return);
  QCOMPARE(edit->text(), shown);
  // Only the calculate button is the default; the forward window has none, focused or not.
  for (QPushButton* b : view->findChildren<QPushButton*>()) {
    QCOMPARE(b->isDefault(), b == press && command == kCalculateButton);
  }
  // Below the results the design check lists what the circuit will do: the findings of the
  // calculation, a failure in red (the estimate of the forward window has none to list).
  QGroupBox* check = nullptr;
  for (QGroupBox* g : view->findChildren<QGroupBox*>()) {
    if (g->title() == QStringLiteral("设计检查")) check = g;
  }
  QVERIFY(check != nullptr);
  const QList<QLabel*> lines = check->findChildren<QLabel*>();
  QCOMPARE(lines.size(), 1);
  const QString html = lines.front()->text();
  const std::span<const Finding> findings = view->form().findings();
  QCOMPARE(findings.empty(), command != kCalculateButton);
  bool failure = false;
  for (const Finding& f : findings) {
    QVERIFY2(html.contains(QString::fromStdString(f.text).toHtmlEscaped()), f.text.c_str());
    failure = failure || f.severity == Severity::Failure;
  }
  QCOMPARE(html.contains(QStringLiteral("color:#ff0000")), failure);

  auto* other = qobject_cast<QLineEdit*>(launcher.designWindows().back()->widgetFor(id));
  QCOMPARE(other->text(), QString());
  for (qt::FormView* w : launcher.designWindows()) w->close();
}

}  // namespace tarnex

QTEST_MAIN(tarnex::DesignWindowsTest)
#include "windows_qt_test.moc"
