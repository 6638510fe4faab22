#pragma once
// Runs a program of the build as a user would, in a test's working folder, and keeps what
// it printed and how it ended.

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace tarnex::testing {

struct ProgramRun {
  int status = -1;                 // exit status; -1 when it did not exit normally
  std::vector<std::string> lines;  // stdout, line by line
  std::string err;                 // stderr
  bool has(const std::string& line) const;
};

// Runs `program` with `args` (each passed as one argument, shell-quoted); stderr is
// collected through a file in `dir`; standard input is the file `input` when one is named.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const TempFolder& dir, const std::string& input = {});

}  // namespace tarnex::testing
