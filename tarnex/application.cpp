#include "application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <filesystem>

#include "drawings.h"
#include "launcher.h"
#include "qt_host.h"
#include "startup/startup.h"
#include "startup_windows.h"
#include "ui_metrics.h"

namespace tarnex::qt {

void setUpApplication(QApplication& app) {
  // Qt's own texts (buttons of standard boxes, context menus of edits) in Simplified Chinese.
  auto* translator = new QTranslator(&app);
  if (translator->load(QStringLiteral("qtbase_zh_CN"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  QApplication::setFont(dialogFont(9));
  QApplication::setWindowIcon(programIcon());
  QApplication::setApplicationName(QStringLiteral("Tarnex"));
}

void runStartup(const Folder& folder, Host& host) {
  if (!prepareWorkingFolder(folder, host)) return;
  {
    LoadingDialog loading;
    loading.exec();
  }
  if (needsWelcome(folder, host)) {
    WelcomeDialog welcome(folder, host);
    welcome.exec();
  }
}

int runProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  setUpApplication(app);
  const Folder folder(std::filesystem::current_path());
  QtHost host;
  Launcher launcher(folder, host);
  runStartup(folder, host);
  // From here the sheets and boxes of the launcher open over it.
  host.setWindow(&launcher);
  QObject::connect(&launcher, &QDialog::finished, &app, &QApplication::quit);
  centreOnScreen(&launcher);
  launcher.show();
  return QApplication::exec();
}

}  // namespace tarnex::qt
