// tarnex-calc: the design windows without the desktop. See calc.h for the command line.
#include <iostream>
#include <string>
#include <vector>

#include "calc.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return tarnex::calc::run(args, std::cout, std::cerr);
}
