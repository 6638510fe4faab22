#pragma once
// The main() of a Qt test whose windows work on the process's working folder: the program's
// look, then the test in a fresh folder of its own.

#include <QApplication>
#include <QTest>
#include <filesystem>

#include "application.h"
#include "support/temp_folder.h"

namespace tarnex::testing {

template <typename Test>
int runInFreshFolder(int argc, char** argv) {
  QApplication app(argc, argv);
  qt::setUpApplication(app);
  TempFolder temp;
  std::filesystem::current_path(temp.folder().dir());
  Test test;
  const int failures = QTest::qExec(&test, argc, argv);
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  return failures;
}

}  // namespace tarnex::testing

#define TARNEX_FRESH_FOLDER_MAIN(Test)                          \
  int main(int argc, char** argv) {                             \
    return tarnex::testing::runInFreshFolder<Test>(argc, argv); \
  }
