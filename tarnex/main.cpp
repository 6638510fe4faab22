// Tarnex: the desktop calculator for switch-mode power-supply design.
#include "application.h"

int main(int argc, char** argv) {
  return tarnex::qt::runProgram(argc, argv);
}
