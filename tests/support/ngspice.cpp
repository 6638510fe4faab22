#include "support/ngspice.h"

#include "base/child_process.h"
#include "support/recording_host.h"

namespace tarnex::testing {

bool ngspiceInstalled() {
  return !findProgram("ngspice").empty();
}

NgspiceRun runNgspice(const std::string& deck, double seconds) {
  RecordingHost host;
  return sim::runNgspice(host, "", {deck}, seconds, false).front();
}

}  // namespace tarnex::testing
