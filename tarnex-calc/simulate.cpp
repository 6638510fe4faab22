#include "simulate.h"

#include <string>

#include "base/finding.h"
#include "base/user_file.h"
#include "forms/design_dialog.h"
#include "sim/window_sim.h"

namespace tarnex::calc {

std::optional<UsageError> checkSimulate(const Options& o, const Form& form) {
  if ((o.simulate || o.netlist) && dynamic_cast<const DesignDialog*>(&form) == nullptr) {
    return UsageError{"dialog '" + o.dialog +
                      "' is no design window: --simulate and --netlist "
                      "do not apply"};
  }
  return std::nullopt;
}

std::optional<Record> simulationRecord(const Options& o, const Form& form, Host& host, bool& ok) {
  ok = true;
  if (!o.simulate) return std::nullopt;
  const sim::WindowSimulation s = sim::simulateWindow(form, host);
  std::vector<Record> rows, checks;
  for (const sim::ComparedRow& r : s.table) {
    rows.push_back(Record{"sim"}
                       .add("label", r.label)
                       .add("simulated", Value::number(r.simulated))
                       .add("shown", Value::number(r.shown))
                       .add("unit", r.unit)
                       .add("basis", r.basis)
                       .add("differs", Value::truth(r.differs, "differs", "")));
  }
  for (const Finding& f : s.findings) {
    checks.push_back(
        Record{"sim-check"}.add("severity", severityKey(f.severity)).add("text", f.text));
  }
  ok = s.ok();
  return Record{"simulation"}
      .add("error", s.error)
      .records("rows", std::move(rows))
      .records("checks", std::move(checks));
}

bool writeNetlist(const Options& o, const Form& form, std::ostream& err) {
  if (!o.netlist) return true;
  std::string error;
  const std::string deck = sim::windowNetlist(form, error);
  if (deck.empty()) {
    err << "tarnex-calc: no netlist: " << error << '\n';
    return false;
  }
  if (!replaceFile(*o.netlist, deck, error)) {
    err << "tarnex-calc: " << error << '\n';
    return false;
  }
  return true;
}

}  // namespace tarnex::calc
