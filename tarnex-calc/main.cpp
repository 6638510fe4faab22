// tarnex-calc: the design windows without the desktop. See calc.h for the command line.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "calc.h"

int main(int argc, char** argv) {
  // Past a file-size limit the append of an end marker must fail with EFBIG and be reported
  // as a message, not end the program with SIGXFSZ.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  return tarnex::calc::run(args, std::cin, std::cout, std::cerr);
}
