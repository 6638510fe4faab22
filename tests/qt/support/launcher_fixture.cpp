#include "support/launcher_fixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "form_view.h"
#include "sheet_view.h"
#include "startup/startup.h"

namespace tarnex::testing {

void writeUserFile(const Folder& folder, std::string_view name, const std::string& bytes) {
  std::ofstream(folder.path(name), std::ios::binary) << bytes;
}

void switchOffUserFiles(const Folder& folder) {
  for (std::string_view name : startupFiles()) writeUserFile(folder, name, "#");
  writeUserFile(folder, kSystemFile, std::string(1, kWelcomeMark));
}

bool pressKey(qt::FormWidget& body, std::string_view key) {
  for (const Control& c : body.form().controls()) {
    if (c.kind == ControlKind::Button && c.key == key) {
      QTest::mouseClick(body.widgetFor(c.id), Qt::LeftButton);
      return true;
    }
  }
  return false;
}

QWidget* designCheck(const QWidget& window) {
  for (QGroupBox* g : window.findChildren<QGroupBox*>()) {
    if (g->title() == QStringLiteral("设计检查")) return g;
  }
  for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
    if (tabs->tabText(0) == QStringLiteral("设计检查")) return tabs->widget(0);
  }
  return nullptr;
}

QString offScreen(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  if (window.screen()->availableGeometry().contains(frame)) return {};
  return QStringLiteral("frame %1,%2 %3x%4 off the screen")
      .arg(frame.x())
      .arg(frame.y())
      .arg(frame.width())
      .arg(frame.height());
}

bool LauncherFixture::start(const Folder& folder) {
  desktop_.clear();
  launcher_ = std::make_unique<qt::Launcher>(folder, desktop_);
  launcher_->show();
  return QTest::qWaitForWindowExposed(launcher_.get());
}

QStringList LauncherFixture::finish() {
  launcher_.reset();
  return guard_.takeUnexpected();
}

qt::FormView* LauncherFixture::openWindow(int button) {
  const std::size_t before = launcher_->designWindows().size();
  QTest::mouseClick(launcher_->button(button), Qt::LeftButton);
  const std::vector<qt::FormView*> views = launcher_->designWindows();
  return views.size() == before + 1 ? views.back() : nullptr;
}

void LauncherFixture::runSheet(int button, const std::function<void(qt::SheetView&)>& drive) {
  QTimer::singleShot(0, launcher_.get(), [&drive] {
    auto* view = qobject_cast<qt::SheetView*>(QApplication::activeModalWidget());
    if (view == nullptr) return;
    drive(*view);
    view->reject();
  });
  QTest::mouseClick(launcher_->button(button), Qt::LeftButton);
}

void LauncherTest::init() {
  switchOffUserFiles(folder());
  QVERIFY(fixture_.start(folder()));
}

void LauncherTest::cleanup() {
  const QStringList unexpected = fixture_.finish();
  QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral("; "))));
}

}  // namespace tarnex::testing
