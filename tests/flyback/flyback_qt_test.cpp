// The flyback window in the desktop program: opened from the launcher, switched to
// discontinuous conduction and verified with the reference core (Ae 100 mm², Le 60 mm).
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "designs/flyback.h"
#include "form_view.h"
#include "launcher.h"
#include "support/field_ids.h"
#include "support/modal_guard.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {

class FlybackWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void dcmVerificationFromTheLauncher();
  void cleanup() {
    const QStringList unexpected = guard_.takeUnexpected();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral("; "))));
  }

 private:
  testing::ModalGuard guard_;
};

void FlybackWindowTest::dcmVerificationFromTheLauncher() {
  using namespace flyback;
  testing::TempFolder tmp;
  // Built-in formulas and system captions, so that no message box waits for the user.
  tmp.write("Flyback Interface.txt", "#");
  tmp.write("CCM反激变换器 cfg.txt", "#");
  tmp.write("DCM反激变换器 cfg.txt", "#");
  testing::RecordingHost desktop;
  qt::Launcher launcher(tmp.folder(), desktop);

  launcher.button(launcher::kFlybackButton)->click();
  QCOMPARE(launcher.designWindows().size(), std::size_t{1});
  qt::FormView* view = launcher.designWindows().back();
  QCOMPARE(view->windowTitle(), QString::fromUtf8("反激变换器 Flyback   <界面:系统   公式:内置>"));

  auto* list = qobject_cast<QComboBox*>(view->widgetFor(kModeList));
  QVERIFY(list != nullptr);
  QCOMPARE(list->count(), 2);
  QTest::keyClick(list, Qt::Key_Down);  // the user picks "断续(DCM)"
  QCOMPARE(list->currentIndex(), 1);
  auto* estimate = qobject_cast<QGroupBox*>(view->widgetFor(kEstimateGroup));
  QVERIFY(estimate != nullptr);
  QCOMPARE(estimate->title(), QString::fromUtf8("估算所需磁芯面积乘积Ae*Aw"));
  QVERIFY(view->widgetFor(kPtd)->isEnabled());
  QVERIFY(!view->widgetFor(kR)->isEnabled());

  QTest::keyClicks(qobject_cast<QLineEdit*>(view->widgetFor(kAe)), "100");
  QTest::keyClicks(qobject_cast<QLineEdit*>(view->widgetFor(kLe)), "60");
  // The progress window runs modally and closes itself.
  qobject_cast<QPushButton*>(view->widgetFor(kVerifyButton))->click();

  const auto shown = [view](int id) {
    return qobject_cast<QLineEdit*>(view->widgetFor(id))->text();
  };
  QCOMPARE(shown(testing::fieldId(flybackTable(), "Ton")), QStringLiteral("2.12733"));
  QCOMPARE(shown(kLp), QStringLiteral("51.9974"));
  QCOMPARE(shown(kIpkp), QStringLiteral("5.2065"));
  QCOMPARE(shown(testing::fieldId(flybackTable(), "Ns")), QStringLiteral("1"));
  QCOMPARE(shown(testing::fieldId(flybackTable(), "Np")), QStringLiteral("15"));
  QCOMPARE(shown(kVe), QString());
  QCOMPARE(shown(kRlk), QString());
  QVERIFY(desktop.messages.empty());
  view->close();
}

}  // namespace tarnex

QTEST_MAIN(tarnex::FlybackWindowTest)
#include "flyback_qt_test.moc"
