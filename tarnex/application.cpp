#include "application.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>
#include <filesystem>
#include <optional>
#include <string>

#include "drawings.h"
#include "launcher.h"
#include "qt_host.h"
#include "startup/startup.h"
#include "startup/working_folder.h"
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

void runStartup(const Folder& folder, Host& host, const std::function<void()>& whileLoading) {
  const std::filesystem::path programDir(QCoreApplication::applicationDirPath().toStdString());
  if (!prepareWorkingFolder(folder, host, programDir)) return;
  {
    LoadingDialog loading;
    loading.setWhileLoading(whileLoading);
    loading.exec();
  }
  if (needsWelcome(folder, host)) {
    WelcomeDialog welcome(folder, host);
    welcome.exec();
  }
}

namespace {

// Makes the working folder the process's working directory; false after a message box when
// it cannot be created or entered.
bool enterWorkingFolder(const QStringList& arguments) {
  std::optional<std::string> dirOption;
  const qsizetype dir = arguments.indexOf(QStringLiteral("--dir"));
  if (dir > 0 && dir + 1 < arguments.size()) dirOption = arguments[dir + 1].toStdString();
  const std::filesystem::path folder = workingFolderPath(dirOption);
  std::optional<std::string> error = makeWorkingFolder(folder);
  std::error_code ec;
  if (!error) std::filesystem::current_path(folder, ec);
  if (ec) error = folderErrorText(folder.string(), ec.value());
  if (!error) return true;
  QMessageBox::critical(nullptr, QString::fromUtf8(kProgramName), QString::fromStdString(*error));
  return false;
}

// The design files named on the command line (every argument but the options), as absolute
// paths: the program changes into its working folder before it opens them.
QStringList designFilesOf(const QStringList& arguments) {
  QStringList files;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("--dir")) {
      ++i;
    } else if (!arguments[i].startsWith(QStringLiteral("--"))) {
      files << QFileInfo(arguments[i]).absoluteFilePath();
    }
  }
  return files;
}

}  // namespace

int runProgram(int argc, char** argv, const std::function<void(QWidget& launcher)>& launcherReady) {
  QApplication app(argc, argv);
  setUpApplication(app);
  const QStringList designFiles = designFilesOf(QApplication::arguments());
  if (!enterWorkingFolder(QApplication::arguments())) return 1;
  QtHost host;
  // A working folder deleted under the program's feet: say so and end.
  const std::optional<Folder> current = currentFolder(host);
  if (!current) return 1;
  // A user file the windows find missing or empty gets its initial content, as at start-up.
  const Folder folder(current->dir(), initialContent);
  Launcher launcher(folder, host);
  runStartup(folder, host, [&launcher] { launcher.prepareToShow(); });
  // From here the sheets and boxes of the launcher open over it.
  host.setWindow(&launcher);
  QObject::connect(&launcher, &QDialog::finished, &app, &QApplication::quit);
  centreOnScreen(&launcher);
  if (launcherReady) launcherReady(launcher);
  launcher.show();
  // Files passed by the file manager (a double-click, "open with") open once the launcher runs.
  if (!designFiles.isEmpty()) {
    QTimer::singleShot(0, &launcher, [&launcher, designFiles] {
      for (const QString& file : designFiles) launcher.openDesignFile(file);
    });
  }
  return QApplication::exec();
}

}  // namespace tarnex::qt
