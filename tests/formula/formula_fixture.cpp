#include "formula_fixture.h"

#include "designs/registry.h"
#include "formula/formula.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex::testing {

RunOutcome runFormulaBytes(std::string_view bytes, TableFields& fields, std::string_view fileName) {
  TempFolder temp;
  temp.write(fileName, bytes);
  RecordingHost host;
  RunOutcome outcome;
  outcome.ok = runFormulaFile(temp.folder(), fileName, bindingTableFor(fileName), fields, host);
  outcome.messages = host.summary();
  outcome.fileAfter = temp.read(fileName);
  return outcome;
}

}  // namespace tarnex::testing
