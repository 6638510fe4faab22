#include "support/run_program.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tarnex::testing {

namespace {

std::string quote(const std::string& arg) {
  std::string q = "'";
  for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

}  // namespace

bool ProgramRun::has(const std::string& line) const {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const TempFolder& dir, const std::string& input) {
  std::string cmd = quote(program);
  for (const std::string& a : args) {
    cmd += ' ';
    cmd += quote(a);
  }
  if (!input.empty()) cmd += " <" + quote(input);
  cmd += " 2>";
  cmd += quote(dir.path("stderr.out").string());
  ProgramRun run;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (pipe == nullptr) return run;
  std::string out;
  char buf[4096];
  while (const std::size_t n = fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  run.err = dir.read("stderr.out");
  return run;
}

}  // namespace tarnex::testing
