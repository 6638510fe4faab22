// The desktop layer on the offscreen platform: the launcher and its design windows, widgets
// kept in line with their forms, message boxes, focus after a bad field, the timed windows.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "about_dialog.h"
#include "form_view.h"
#include "forms/table_form.h"
#include "launcher_areas.h"
#include "progress_dialog.h"
#include "qt_host.h"
#include "startup/startup.h"
#include "startup_windows.h"
#include "support/fresh_folder_main.h"
#include "support/golden_file.h"
#include "support/launcher_fixture.h"
#include "toolbox/toolbox.h"

using namespace tarnex;
using namespace tarnex::qt;
using namespace tarnex::launcher;

namespace {

// DC-DC control ids used below.
constexpr int kVinMax = 1040, kVo = 1047, kL = 1031, kNL = 1036;

struct BoxSeen {
  QString title;
  QString text;
  QStringList buttons;
  QWidget* parent = nullptr;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Closes every message box that becomes the modal window, after noting what it showed.
class BoxCloser {
 public:
  BoxCloser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible()) return;
      BoxSeen seen{box->windowTitle(), box->text(), {}, box->parentWidget(), box->icon()};
      for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
      boxes.push_back(seen);
      box->buttons().first()->click();
    });
    timer_.start(5);
  }
  std::vector<BoxSeen> boxes;

 private:
  QTimer timer_;
};

QLineEdit* edit(FormView* view, int id) {
  return qobject_cast<QLineEdit*>(view->widgetFor(id));
}

// Replaces the text of a field the way the user does: select it all and type over it.
void typeInto(QLineEdit* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

// A form without a field table, like a hint dialog: its controls sit at their rectangles in
// dialog units.
constexpr StaticRow kPlacedStatics[] = {
    {1207, StaticKind::Click, "不知道稳定的增益准则？请点击这里", 0, kBlue, {10, 20, 40, 12}},
    {1300, StaticKind::Note, "5 零点。 ", 0, {}, {7, 7, 100, 9}},
};
constexpr ButtonRow kPlacedButtons[] = {{1, "知道了！", "", 0, true, {97, 112, 50, 14}}};
constexpr DialogTable kPlacedTable{.dialogId = 201,
                                   .key = "placed",
                                   .titleName = "提示：",
                                   .buttons = kPlacedButtons,
                                   .statics = kPlacedStatics,
                                   .size = {0, 0, 243, 133}};

class PlacedForm : public TableForm {
 public:
  explicit PlacedForm(Host& host) : TableForm(host, kPlacedTable) {}
  void open() override { ++opened; }
  void command(int id) override {
    commands.push_back(id);
    TableForm::command(id);
  }

  int opened = 0;
  std::vector<int> commands;
};

}  // namespace

class TarnexQtTest : public testing::LauncherTest {
  Q_OBJECT

  FormView* openDcDc() { return fixture_.openWindow(kDcDcButton); }
  Launcher* shown() { return &fixture_.launcher(); }

 private slots:
  void unexpectedModalWindowIsClosedAndReported() {
    testing::ModalGuard quick(100);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("注意"), QStringLiteral("x"));
    box.exec();  // returns only because the guard closes it
    QCOMPARE(quick.takeUnexpected(), QStringList{QStringLiteral("注意: x")});
  }

  // The resonant converter has no window yet (the seven others: designs/windows_qt_test).
  void launcherHasNoResonantWindowAndFocusesExit() {
    QCOMPARE(shown()->windowTitle(), QStringLiteral("Tarnex V3.2 Programmable "));
    QCOMPARE(shown()->size(), QSize(437, 161));
    QVERIFY(!shown()->button(kResonantButton)->isEnabled());
    QVERIFY(shown()->button(kExitButton)->isEnabled());
    QCOMPARE(shown()->button(kExitButton)->text(), QStringLiteral("退出(&Q)"));
    QCOMPARE(shown()->focusWidget(), shown()->button(kExitButton));
    for (int id : {kDcDcButton, kExitButton, kResonantButton}) {
      QVERIFY(!shown()->button(id)->isDefault());
    }
  }

  void enterPressesTheFocusedButtonAndEscapeCloses() {
    shown()->button(kDcDcButton)->setFocus();
    QTest::keyClick(shown()->button(kDcDcButton), Qt::Key_Return);
    QCOMPARE(shown()->designWindows().size(), std::size_t{1});
    QTest::keyClick(shown(), Qt::Key_Escape);
    QVERIFY(!shown()->isVisible());
    QTRY_VERIFY(shown()->designWindows().empty());
  }

  // Two windows of one kind keep their own fields, and the exit button closes both.
  void twoDesignWindowsAreIndependent() {
    QPointer<FormView> first = openDcDc();
    QPointer<FormView> second = openDcDc();
    QVERIFY(first && second && first != second);
    // At the launcher's client origin, unless the screen is too small there: then moved left
    // or up just enough to stay on it with the border the window system adds.
    const QPoint origin = shown()->mapToGlobal(QPoint(0, 0));
    const QRect room = first->screen()->availableGeometry();
    if (room.contains(QRect(origin, first->size()))) {
      QCOMPARE(first->pos(), origin);
    } else {
      QVERIFY(room.contains(first->frameGeometry()));
      QVERIFY(first->x() <= origin.x() && first->y() <= origin.y());
      QVERIFY(first->x() == origin.x() || first->frameGeometry().right() >= room.right() - 8);
    }
    QCOMPARE(second->pos(), first->pos());
    QVERIFY(first->isVisible() && second->isVisible());
    QCOMPARE(first->parentWidget(), static_cast<QWidget*>(shown()));

    typeInto(edit(first, kVinMax), QStringLiteral("30"));
    QCOMPARE(first->form().text(kVinMax), std::string("30"));
    QCOMPARE(second->form().text(kVinMax), std::string("24"));
    QCOMPARE(edit(second, kVinMax)->text(), QStringLiteral("24"));
    QTest::mouseClick(shown()->button(kExitButton), Qt::LeftButton);
    QVERIFY(!shown()->isVisible());
    QTRY_VERIFY(first.isNull() && second.isNull());
  }

  // Enter in a field presses the default button, Calculate, and never closes the window.
  void enterCalculatesAndShowsTheResultsInTheFields() {
    QPointer<FormView> view = openDcDc();
    QVERIFY(view);
    edit(view, kVo)->setFocus();
    QTest::keyClick(edit(view, kVo), Qt::Key_Return);
    // The buck design with the opening conditions: 95.1087 µH and 20 turns.
    QCOMPARE(edit(view, kL)->text(), QStringLiteral("95.1087"));
    QCOMPARE(edit(view, kNL)->text(), QStringLiteral("20"));
    for (const Control& c : view->form().controls()) {
      if (c.kind != ControlKind::Edit) continue;
      QCOMPARE(edit(view, c.id)->text(), QString::fromUtf8(c.text.c_str()));
    }
    QVERIFY(view->isVisible());
    QTest::keyClick(edit(view, kVo), Qt::Key_Escape);
    QTRY_VERIFY(view.isNull());
  }

  void badFieldTakesTheFocusWithItsTextSelected() {
    FormView* view = openDcDc();
    QVERIFY(view);
    typeInto(edit(view, kVo), QStringLiteral("abc"));
    view->widgetFor(kCalculateButton)->setFocus();
    BoxCloser closer;
    QTest::mouseClick(view->widgetFor(kCalculateButton), Qt::LeftButton);
    QCOMPARE(closer.boxes.size(), std::size_t{2});
    QCOMPARE(view->focusWidget(), static_cast<QWidget*>(edit(view, kVo)));
    QCOMPARE(edit(view, kVo)->selectedText(), QStringLiteral("abc"));
  }

  // The areas' bounds (all exclusive) as geometry; a click into each opens what it names.
  void clickAreas() {
    const struct {
      int x, y;
      LauncherArea area;
    } points[] = {{50, 150, LauncherArea::Help},  {11, 142, LauncherArea::Help},
                  {10, 150, LauncherArea::None},  {106, 150, LauncherArea::None},
                  {50, 141, LauncherArea::None},  {50, 157, LauncherArea::None},
                  {50, 130, LauncherArea::About}, {50, 124, LauncherArea::None},
                  {50, 138, LauncherArea::None},  {200, 75, LauncherArea::None}};
    for (const auto& p : points) QCOMPARE(launcherAreaAt(p.x, p.y), p.area);

    QString aboutTitle;
    QTimer::singleShot(50, [&] {
      if (auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget())) {
        aboutTitle = about->windowTitle();
        about->reject();
      }
    });
    QTest::mouseClick(shown(), Qt::LeftButton, {}, QPoint(50, 130));
    QTRY_COMPARE(aboutTitle, QStringLiteral("关于 Tarnex V3.2"));
    QVERIFY(fixture_.desktop().opened.empty());
    QTest::mouseClick(shown(), Qt::LeftButton, {}, QPoint(50, 150));
    QCOMPARE(fixture_.desktop().opened,
             std::vector<std::string>{folder().path(kHelpDocument).string()});
    QCOMPARE(fixture_.desktop().openedMinimized, std::vector<bool>{false});
    QVERIFY(fixture_.desktop().messages.empty());
  }

  void hostBoxesKeepTheirOwnerCaptionAndIcon() {
    FormView* view = openDcDc();
    QVERIFY(view);
    QtHost& host = view->host();
    BoxCloser closer;
    host.showMessage({"公式解析错误", "第1行: 错误", Icon::Error, false});
    host.showMessage({"Tarnex", "请输入完整的设计条件！", Icon::None, true});
    QCOMPARE(closer.boxes.size(), std::size_t{2});
    QCOMPARE(closer.boxes[0].title, QStringLiteral("公式解析错误"));
    QCOMPARE(closer.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(closer.boxes[0].parent, nullptr);
    QCOMPARE(closer.boxes[0].buttons, QStringList{QStringLiteral("确定")});
    QCOMPARE(closer.boxes[1].parent, static_cast<QWidget*>(view));
    QCOMPARE(closer.boxes[1].icon, QMessageBox::NoIcon);
  }

  // The toolbox hands its file and picture to the opener; when the opener fails (exits
  // non-zero: no application for the file's type; cannot be started), a box says so.
  void toolboxNamesAFileTheOpenerCannotOpen_data() {
    QTest::addColumn<QStringList>("opener");
    QTest::addColumn<int>("boxes");
    const QString sh = QStringLiteral("sh"), c = QStringLiteral("-c"), name = QStringLiteral("o");
    QTest::newRow("opened") << QStringList{sh, c, QStringLiteral("exit 0"), name} << 0;
    QTest::newRow("no application") << QStringList{sh, c, QStringLiteral("exit 3"), name} << 2;
    QTest::newRow("no opener") << QStringList{QStringLiteral("/nonexistent/xdg-open")} << 2;
  }

  void toolboxNamesAFileTheOpenerCannotOpen() {
    QFETCH(QStringList, opener);
    QFETCH(int, boxes);
    QtHost host;
    host.setOpener(opener);
    CEditPage page(host, folder(), "/opt/tarnex/bin/Code");
    page.open();
    BoxCloser closer;
    page.command(toolbox::kOpenFormula);
    QCOMPARE(int(closer.boxes.size()), boxes);
    // What the box says is the toolbox page's (toolbox_test); here that the opener's failure
    // reaches it, as a warning.
    if (boxes > 0) QCOMPARE(closer.boxes[0].icon, QMessageBox::Warning);
  }

  void formPlacedByItsTableUsesDialogUnits() {
    PlacedForm* form = nullptr;
    QPointer<FormView> view = new FormView(
        [&form](Host& host) {
          auto made = std::make_unique<PlacedForm>(host);
          form = made.get();
          return made;
        },
        shown());
    view->start();
    QVERIFY(form);
    QCOMPARE(form->opened, 1);
    QCOMPARE(view->windowTitle(), QStringLiteral("提示："));
    // 1.5 pixels per dialog unit of the 9-point dialog font.
    QCOMPARE(view->widgetFor(1207)->geometry(), QRect(15, 30, 60, 18));
    QCOMPARE(view->widgetFor(1)->geometry(), QRect(146, 168, 75, 21));
    QCOMPARE(qobject_cast<QLabel*>(view->widgetFor(1300))->text(), QStringLiteral("5 零点。 "));
    QTest::mouseClick(view->widgetFor(1207), Qt::LeftButton);
    QCOMPARE(form->commands, std::vector<int>{1207});
    QTest::mouseClick(view->widgetFor(1), Qt::LeftButton);  // the form asks to be closed
    QTRY_VERIFY(view.isNull());
  }

  void timedWindowsRunToTheirEnd() {
    LoadingDialog loading(1);
    QCOMPARE(loading.bar()->value(), 1);
    loading.exec();
    QCOMPARE(loading.animation().counter(), 100);
    QCOMPARE(loading.bar()->value(), 100);

    ProgressDialog progress(shown(), 1);
    // Escape does not cut the animation short.
    QTimer::singleShot(0, [&] { QTest::keyClick(&progress, Qt::Key_Escape); });
    QCOMPARE(progress.exec(), int(QDialog::Accepted));
    QCOMPARE(progress.animation().counter(), 102);
  }

  void welcomeWritesItsMarkOnlyWhenCountedDown() {
    const std::filesystem::path system = folder().path(kSystemFile);
    testing::RecordingHost host;

    testing::writeUserFile(folder(), kSystemFile, "xyz");
    {
      WelcomeDialog dismissed(folder(), host, 1000);
      QTimer::singleShot(0, [&] { QTest::keyClick(&dismissed, Qt::Key_Escape); });
      dismissed.exec();
      QCOMPARE(dismissed.countdown().seconds(), 9);
    }
    QCOMPARE(testing::readBytes(system), std::string("xyz"));

    WelcomeDialog welcome(folder(), host, 1);
    QCOMPARE(welcome.exec(), int(QDialog::Accepted));
    QCOMPARE(testing::readBytes(system), std::string("@yz"));
    QVERIFY(host.messages.empty());
  }
};

TARNEX_FRESH_FOLDER_MAIN(TarnexQtTest)

#include "tarnex_qt_test.moc"
