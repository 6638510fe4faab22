// Tarnex: the desktop calculator for switch-mode power-supply design.
#include <csignal>

#include "application.h"

int main(int argc, char** argv) {
  // Past a file-size limit a write to a user file must fail with EFBIG and be reported in a
  // message box, not end the program with SIGXFSZ.
  std::signal(SIGXFSZ, SIG_IGN);
  return tarnex::qt::runProgram(argc, argv);
}
