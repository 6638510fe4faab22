// The loop-compensation sheet on the offscreen platform: opened modally from the launcher,
// a calculation on each page with its results in the fields and its Bode plot, and a hint
// dialog opened from its clickable line and closed by its button.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "application.h"
#include "form_view.h"
#include "launcher.h"
#include "loop/loop_tables.h"
#include "sheet_view.h"
#include "support/fresh_folder_main.h"
#include "support/modal_guard.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

using namespace tarnex;
using namespace tarnex::qt;

namespace {

QString fieldText(SheetView* view, std::size_t page, int id) {
  auto* edit = qobject_cast<QLineEdit*>(view->page(page)->widgetFor(id));
  return edit ? edit->text() : QStringLiteral("(no field)");
}

void press(SheetView* view, std::size_t page, int id) {
  QTest::mouseClick(view->page(page)->widgetFor(id), Qt::LeftButton);
}

}  // namespace

class LoopSheetQtTest : public QObject {
  Q_OBJECT

 private:
  testing::RecordingHost desktop_;
  std::unique_ptr<Launcher> launcher_;
  testing::ModalGuard guard_;

  // What the sheet showed, checked after it closed (a failed check inside the modal run
  // would leave the sheet open).
  QStringList seen_;

  void driveSheet() {
    auto* view = qobject_cast<SheetView*>(QApplication::activeModalWidget());
    if (view == nullptr) return;
    seen_ << view->windowTitle() << QString::number(view->tabs()->count())
          << QString::number(view->tabs()->currentIndex());

    // Values at opening, current-mode page with the transconductance amplifier.
    press(view, 0, icctrl::kCalculate);
    seen_ << fieldText(view, 0, 1044) << fieldText(view, 0, 1046);
    seen_ << (view->page(0)->plotWidget() ? QStringLiteral("plot") : QStringLiteral("no plot"));

    // Forward type, step 2 then step 4.
    view->tabs()->setCurrentIndex(1);
    press(view, 1, vctrl::kStep2);
    press(view, 1, vctrl::kStep4);
    seen_ << fieldText(view, 1, vctrl::kFpo) << fieldText(view, 1, 1223);

    view->tabs()->setCurrentIndex(2);
    press(view, 2, type3::kCalculate);
    seen_ << fieldText(view, 2, 1201);

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
    view->reject();
  }

 private slots:
  void init() {
    launcher_ = std::make_unique<Launcher>(Folder(std::filesystem::current_path()), desktop_);
    launcher_->show();
    QVERIFY(QTest::qWaitForWindowExposed(launcher_.get()));
  }

  void cleanup() {
    launcher_.reset();
    const QStringList unexpected = guard_.takeUnexpected();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral("; "))));
  }

  void sheetFromTheLauncherCalculatesOnEachPage() {
    QPushButton* button = launcher_->button(launcher::kLoopButton);
    QVERIFY(button->isEnabled());
    seen_.clear();
    QTimer::singleShot(0, this, [this] { driveSheet(); });
    QTest::mouseClick(button, Qt::LeftButton);  // returns when the sheet has closed
    // Values at opening: GdB 7.39823 and R2 472.496 (current mode); fpo 1.03821 and
    // R2 39810.7 (type II, forward); C1 11.1383 (type III).
    const QStringList expected = {
        QStringLiteral("环路补偿 Feedback Loop   <内置算法>"),
        QStringLiteral("3"),
        QStringLiteral("0"),
        QStringLiteral("7.39823"),
        QStringLiteral("472.496"),
        QStringLiteral("plot"),
        QStringLiteral("1.03821"),
        QStringLiteral("39810.7"),
        QStringLiteral("11.1383"),
        QStringLiteral("underlined"),
        QStringLiteral("提示："),
        QStringLiteral("back"),
    };
    QCOMPARE(seen_, expected);
    QVERIFY(desktop_.messages.empty());
  }
};

int main(int argc, char** argv) {
  return tarnex::testing::runInFreshFolder<LoopSheetQtTest>(argc, argv);
}

#include "loop_sheet_qt_test.moc"
