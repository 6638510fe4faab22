// Design files in the desktop program: the design menu of a design window (the compensation
// sheet's: report_qt_test), a design saved from one window and opened from the launcher in a
// new one (its name in the title, the launcher's recent list), and a file refused in a box.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "design_files.h"
#include "design_menu.h"
#include "form_view.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "tables/flyback_table.h"
#include "tables/launcher_table.h"

using namespace tarnex;
using namespace tarnex::qt;

namespace {

QStringList itemsOf(const FormView* window) {
  const DesignMenu* menu = window->designMenu();
  if (menu == nullptr) return {};
  QStringList items{menu->menu()->title()};
  for (const QAction* a : menu->menu()->actions()) {
    items << (a->isSeparator() ? QStringLiteral("----")
                               : a->text() + QStringLiteral(" ") + a->shortcut().toString());
  }
  return items;
}

int poField() {
  return findField(flybackTable(), "Po")->controlId;
}

QAction* item(const FormView* window, const QString& text) {
  for (QAction* a : window->designMenu()->menu()->actions()) {
    if (a->text() == text) return a;
  }
  return nullptr;
}

}  // namespace

class DesignFilesQtTest : public testing::LauncherTest {
  Q_OBJECT

 public:
  DesignFilesQtTest() {
    DesignFiles::instance().setChooser([this](QWidget*, bool, const QString&) { return answer_; });
  }

 private:
  QString path(const char* name) const {
    return QString::fromStdString((std::filesystem::current_path() / name).string());
  }
  QString answer_;  // what the file dialog answers

 private slots:
  // Saved from one window, the design opens from the launcher in a new window of its kind with
  // the texts as typed, its file's name in both titles, and at the head of the recent list.
  void savedDesignOpensFromTheLauncher() {
    FormView* first = fixture_.openWindow(launcher::kFlybackButton);
    QVERIFY(first);
    QCOMPARE(itemsOf(first).mid(0, 3),
             (QStringList{QStringLiteral("设计(&D)"), QStringLiteral("打开设计… Ctrl+O"),
                          QStringLiteral("保存设计… Ctrl+S")}));
    // The menu bar stands above the controls, not over them.
    QVERIFY(first->designMenu()->bar()->geometry().bottom() <
            first->findChild<FormWidget*>()->geometry().top());
    auto* po = qobject_cast<QLineEdit*>(first->widgetFor(poField()));
    QVERIFY(po);
    po->setFocus();
    po->selectAll();
    QTest::keyClicks(po, QStringLiteral("80.0"));
    answer_ = path("反激");
    item(first, QStringLiteral("保存设计…"))->trigger();
    QVERIFY(std::filesystem::exists(std::filesystem::current_path() / "反激.tarnex"));
    QVERIFY2(first->windowTitle().startsWith(QStringLiteral("反激.tarnex - ")),
             qPrintable(first->windowTitle()));

    QVERIFY(fixture_.launcher().openDesignFile(path("反激.tarnex")));
    FormView* second = fixture_.launcher().designWindows().back();
    QVERIFY(second != first);
    QCOMPARE(qobject_cast<QLineEdit*>(second->widgetFor(poField()))->text(),
             QStringLiteral("80.0"));
    QCOMPARE(second->windowTitle(), first->windowTitle());
    QCOMPARE(DesignFiles::instance().recent().value(0), path("反激.tarnex"));
    QMenu context;
    fixture_.launcher().fillContextMenu(context);
    QStringList recent;
    for (QAction* a : context.actions()) {
      if (a->menu()) {
        for (QAction* r : a->menu()->actions()) recent << r->text();
      }
    }
    QCOMPARE(recent.value(0), QStringLiteral("&1 反激.tarnex"));
  }

  // A file of another window is refused in a message box that names the key; the window keeps
  // what it shows.
  void anotherWindowsDesignIsRefused() {
    testing::writeUserFile(folder(), "other.tarnex",
                           "{\"format\": \"Tarnex design\", \"formatVersion\": 1, "
                           "\"program\": \"Tarnex V3.2\", \"window\": \"forward\"}");
    FormView* view = fixture_.openWindow(launcher::kFlybackButton);
    QVERIFY(view);
    const QString before = view->windowTitle();
    QString shown;
    QTimer::singleShot(0, view, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->accept();
      }
    });
    answer_ = path("other.tarnex");
    item(view, QStringLiteral("打开设计…"))->trigger();
    QVERIFY2(shown.contains(QStringLiteral("“window”是“forward”")), qPrintable(shown));
    QCOMPARE(view->windowTitle(), before);
  }
};

TARNEX_FRESH_FOLDER_MAIN(DesignFilesQtTest)

#include "design_files_qt_test.moc"
