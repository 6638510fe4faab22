#include "loss.h"

#include <string>

#include "base/finding.h"
#include "forms/core_pick.h"

namespace tarnex::calc {

std::optional<UsageError> checkCore(const Options& o, Form& form) {
  if (!o.core) return std::nullopt;
  if (form.corePick() == nullptr) {
    return UsageError{"dialog '" + o.dialog + "' asks for no core: --core does not apply"};
  }
  const std::string error = catalogueNameError(*o.core, *o.material);
  if (!error.empty()) return UsageError{error};
  return std::nullopt;
}

void chooseCore(const Options& o, Form& form) {
  CorePick* pick = form.corePick();
  if (!o.core || pick == nullptr) return;
  std::string error;
  pick->choose(*o.core, *o.material, error);
  pick->setSettings({.temperature = o.temperature, .fillFactor = o.fill});
}

std::optional<Record> lossRecord(const Options& o, Form& form) {
  CorePick* pick = form.corePick();
  if (!o.core || pick == nullptr) return std::nullopt;
  // The choice as the fields still show it: a core typed over afterwards is no longer it.
  const magnetics::CatalogueCore* core = pick->core();
  const magnetics::Material* material = pick->material();
  std::vector<Record> rows, checks;
  if (const magnetics::LossSheet* sheet = pick->sheet()) {
    for (const magnetics::SheetRow& r : sheet->rows) {
      rows.push_back(Record{"loss"}
                         .add("label", r.label)
                         .add("value", Value::number(r.value))
                         .add("unit", r.unit));
    }
    for (const Finding& f : sheet->findings) {
      checks.push_back(
          Record{"loss-check"}.add("severity", severityKey(f.severity)).add("text", f.text));
    }
  }
  // The AL the design needs and the gap to grind for it, fringing counted, beside the window's
  // own gap (its formula counts none); blank where the design asks for no inductance.
  const CoreNeed need = form.coreNeed();
  const bool chosen = core != nullptr && material != nullptr;
  const CoreGap gap = chosen ? coreGap(core->geometry, *material, need) : CoreGap{};
  const auto mm = [](bool shown, double metres) {
    return shown ? Value::number(metres * 1e3) : Value::none();
  };
  return Record{"core"}
      .add("core", core ? Value::text(std::string(core->shape.name)) : Value::text(""))
      .add("material", material ? Value::text(material->name) : Value::text(""))
      .add("AL", chosen ? Value::number(gap.al * 1e9) : Value::none())
      .add("gap", mm(chosen && gap.gapped && gap.reached, gap.gap))
      .add("windowGap", mm(chosen && gap.gapped && need.windowGap > 0, need.windowGap))
      .records("rows", std::move(rows))
      .records("checks", std::move(checks));
}

}  // namespace tarnex::calc
