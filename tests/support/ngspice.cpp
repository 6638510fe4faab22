#include "support/ngspice.h"

#include <sstream>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace tarnex::testing {

bool ngspiceInstalled() {
  const TempFolder dir;
  return runProgram("sh", {"-c", "command -v ngspice"}, dir).status == 0;
}

NgspiceRun runNgspice(const std::string& deck, double seconds) {
  NgspiceRun result;
  const TempFolder dir;
  dir.write("deck.cir", deck);
  // In the deck's folder, stdout and stderr together, no stdin; timeout(1) ends a run that
  // hangs (and kills it 5 s after, should it ignore the request).
  const std::string script = "cd \"$1\" && exec ngspice -b deck.cir </dev/null 2>&1";
  const ProgramRun run = runProgram(
      "timeout",
      {"-k", "5", std::to_string(seconds), "sh", "-c", script, "sh", dir.path("").string()}, dir);
  for (const std::string& line : run.lines) result.output += line + "\n";
  if (run.status == 124 || run.status == 137) {
    result.error = "ngspice did not finish within " + std::to_string(seconds) + " s";
    return result;
  }
  if (run.status == 127) {
    result.error = "ngspice could not be run (is it installed?)";
    return result;
  }
  result.run = sim::parseSpiceOutput(result.output);
  result.error = result.run.failure();
  return result;
}

}  // namespace tarnex::testing
