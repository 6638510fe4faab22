// On a screen of 1366×768, the smallest the program is made for: every design window the
// launcher opens, in every entry of its lists (another mode, another topology), with the
// captions of its table and with the longest caption an interface file may give, and every
// page of the loop sheet, stay on the screen with nothing cut off or overlapping; Enter on
// each page of the loop sheet presses that page's own default button.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <string>

#include "designs/registry.h"
#include "form_view.h"
#include "sheet_view.h"
#include "support/fresh_folder_main.h"
#include "support/launcher_fixture.h"
#include "ui_metrics.h"

using namespace tarnex;
using namespace tarnex::qt;

namespace {

// The longest caption an interface file may give (49 bytes), in the widest letters.
const std::string kLongCaption(49, 'W');

// What is wrong with the window `window` showing `body`: off its screen, a widget of the form
// outside it or over another (group boxes aside, which hold them), a caption cut short without
// showing itself whole in its tooltip.
QStringList faults(QWidget* window, FormWidget* body, const QString& name) {
  QStringList found;
  if (const QString off = testing::offScreen(*window); !off.isEmpty()) found << name + ": " + off;
  const QRect shown(body->mapTo(window, QPoint(0, 0)), body->size());
  if (!window->rect().contains(shown)) found << name + QStringLiteral(": form cut off");
  std::vector<QWidget*> leaves;
  for (QWidget* w : body->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    // The group boxes of the rows stand behind them; the design check is a widget of its own.
    const bool rowsBox = qobject_cast<QGroupBox*>(w) && w->findChild<QLabel*>() == nullptr;
    if (!w->isVisibleTo(body) || rowsBox) continue;
    leaves.push_back(w);
    const QString what = name + QStringLiteral(": ") + w->metaObject()->className();
    if (!body->rect().contains(w->geometry())) found << what + QStringLiteral(" outside");
    auto* label = qobject_cast<QLabel*>(w);
    if (label && !label->wordWrap() && label->width() < label->sizeHint().width() &&
        label->toolTip() != label->text()) {
      found << what + QStringLiteral(" cut: ") + label->text();
    }
  }
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    for (std::size_t j = i + 1; j < leaves.size(); ++j) {
      if (leaves[i]->geometry().intersects(leaves[j]->geometry())) {
        found << name + QStringLiteral(": %1 over %2")
                            .arg(leaves[i]->metaObject()->className(),
                                 leaves[j]->metaObject()->className());
      }
    }
  }
  return found;
}

// Runs `check` on every combination of the entries of the form's lists.
void everyEntry(FormWidget* body, const QString& name, const std::function<void(QString)>& check,
                std::size_t from = 0) {
  const std::vector<Control>& controls = body->form().controls();
  for (std::size_t i = from; i < controls.size(); ++i) {
    if (controls[i].kind != ControlKind::DropList || controls[i].entries.size() < 2) continue;
    auto* list = qobject_cast<QComboBox*>(body->widgetFor(controls[i].id));
    for (int entry = 0; list != nullptr && entry < list->count(); ++entry) {
      list->setCurrentIndex(entry);
      emit list->activated(entry);
      everyEntry(body, name + QStringLiteral(" ") + list->itemText(entry), check, i + 1);
    }
    return;
  }
  check(name);
}

}  // namespace

class ScreenFitQtTest : public testing::LauncherTest {
  Q_OBJECT

 private slots:
  void everyWindowStaysOnTheScreen_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("longCaption");
    for (std::size_t i = 0; i < designs().size(); ++i) {
      if (!designs()[i].make) continue;
      const QString key = toQString(designs()[i].key());
      QTest::newRow(qPrintable(key + QStringLiteral(" own captions"))) << int(i) << false;
      QTest::newRow(qPrintable(key + QStringLiteral(" long caption"))) << int(i) << true;
    }
  }

  void everyWindowStaysOnTheScreen() {
    QFETCH(int, index);
    QFETCH(bool, longCaption);
    const DesignInfo* design = &designs()[static_cast<std::size_t>(index)];
    if (longCaption) {  // read by a new launcher
      testing::writeUserFile(folder(), design->table->interfaceFile,
                             "1=" + kLongCaption + ";\r\n#\r\n");
      QVERIFY(fixture_.start(folder()));
    }
    FormView* view = fixture_.openWindow(design->launcherButton());
    QVERIFY(view);
    auto* body = view->findChild<FormWidget*>();
    everyEntry(body, toQString(design->key()), [&](const QString& name) {
      // The window follows its form's size when the events of the resize have run.
      QTRY_VERIFY2_WITH_TIMEOUT(faults(view, body, name).isEmpty(),
                                qPrintable(faults(view, body, name).join(QStringLiteral("; "))),
                                2000);
    });
  }

  void loopSheetStaysOnTheScreen() {
    QStringList found;
    fixture_.runSheet(launcher::kLoopButton, [&found](SheetView& sheet) {
      for (int page = 0; page < sheet.tabs()->count(); ++page) {
        sheet.tabs()->setCurrentIndex(page);
        FormWidget* body = sheet.page(static_cast<std::size_t>(page));
        everyEntry(body, sheet.tabs()->tabText(page),
                   [&](const QString& name) { found << faults(&sheet, body, name); });
      }
    });
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
  }

  // Each page claims the sheet's default button for its own when it comes to the front, also
  // when it comes back; without the claim Enter would press another page's button, or none.
  void enterPressesTheDefaultButtonOfEachPage() {
    QStringList found;
    fixture_.runSheet(launcher::kLoopButton, [&found](SheetView& sheet) {
      for (int page : {0, 1, 2, 0}) {
        sheet.tabs()->setCurrentIndex(page);
        FormWidget* body = sheet.page(static_cast<std::size_t>(page));
        QPushButton* wanted = nullptr;
        QLineEdit* field = nullptr;
        for (const Control& c : body->form().controls()) {
          if (c.kind == ControlKind::Button && c.isDefault) {
            wanted = qobject_cast<QPushButton*>(body->widgetFor(c.id));
          }
          if (c.kind == ControlKind::Edit && c.enabled && field == nullptr) {
            field = qobject_cast<QLineEdit*>(body->widgetFor(c.id));
          }
        }
        const QString name = sheet.tabs()->tabText(page);
        if (wanted == nullptr || field == nullptr) {
          found << name + QStringLiteral(": no default button or no field");
          continue;
        }
        QSignalSpy pressed(wanted, &QPushButton::clicked);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        if (pressed.count() != 1 || !sheet.isVisible()) {
          found << name + QStringLiteral(": Enter pressed its button %1 times, sheet %2")
                              .arg(pressed.count())
                              .arg(sheet.isVisible() ? "open" : "closed");
        }
      }
    });
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
  }
};

TARNEX_FRESH_FOLDER_MAIN(ScreenFitQtTest)

#include "screen_fit_qt_test.moc"
