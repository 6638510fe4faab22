#include "forms/core_pick.h"

#include <cmath>

#include "base/number_text.h"
#include "forms/field_form.h"
#include "magnetics/ferrite.h"

namespace tarnex {

namespace {

bool usable(double v) {
  return std::isfinite(v) && v > 0;
}

// The wires a finer winding is suggested from: the litz bundles first, then the round wires
// of grade 1 to lay in parallel.
const std::vector<magnetics::Wire>& suggestionWires() {
  static const std::vector<magnetics::Wire> all = [] {
    std::vector<magnetics::Wire> out = magnetics::litzWires();
    const auto& round = magnetics::wires(magnetics::RoundWires::Iec60317Grade1);
    out.insert(out.end(), round.begin(), round.end());
    return out;
  }();
  return all;
}

bool meets(const magnetics::CatalogueCore& core, const CoreNeed& need) {
  switch (need.kind) {
    case CoreNeed::Kind::AreaProduct:
      return core.areaProduct() >= need.value;
    case CoreNeed::Kind::Volume:
      return core.geometry.Ve >= need.value;
    case CoreNeed::Kind::None:
      break;
  }
  return true;
}

// A field's number as shown, 0 when blank or not a positive finite number.
double shown(const FieldForm& form, int id) {
  if (id == 0 || form.text(id).empty()) return 0;
  const double v = form.value(id);
  return usable(v) ? v : 0;
}

}  // namespace

CoreNeed shownNeed(const FieldForm& form, const CoreNeedFields& fields) {
  CoreNeed need;
  need.value = shown(form, fields.estimate) * fields.estimateUnit;
  if (need.value > 0) need.kind = fields.kind;
  need.inductance = shown(form, fields.inductance) * 1e-6;
  need.turns = shown(form, fields.turns);
  if (need.inductance == 0 || need.turns == 0) need.inductance = need.turns = 0;
  return need;
}

std::vector<CorePickRow> CorePick::rows(const CorePickFilter& filter,
                                        const magnetics::Material& material,
                                        const CoreNeed& need) const {
  // AL = L/N² is what the winding of the need's turns must see; without an inductance the
  // transformer is ungapped and the row shows the ungapped AL.
  const bool gapped = usable(need.inductance) && usable(need.turns);
  const double wantedAl = gapped ? need.inductance / (need.turns * need.turns) : 0;
  std::vector<CorePickRow> out;
  for (const magnetics::CatalogueCore* c : magnetics::findCores({filter.family, 0})) {
    const bool enough = meets(*c, need);
    if (filter.onlyMeetingNeed && !enough) continue;
    const magnetics::CoreGeometry& g = c->geometry;
    double gap = 0;
    if (gapped) gap = magnetics::gapForAl(g, material.mu25, wantedAl).value_or(0.0);
    const double al = magnetics::alWithGap(g, material.mu25, gap);
    CorePickRow row;
    row.core = c;
    row.name = std::string(c->shape.name);
    row.family = std::string(c->shape.family);
    row.Ae = g.Ae * 1e6;
    row.le = g.le * 1e3;
    row.Ve = g.Ve * 1e9;
    row.Aw = g.Aw * 1e6;
    row.areaProduct = c->areaProduct() * 1e12;
    row.AL = std::isfinite(al) ? al * 1e9 : 0;
    row.gap = gap * 1e3;
    row.meetsNeed = enough;
    out.push_back(std::move(row));
  }
  return out;
}

void CorePick::choose(const magnetics::CatalogueCore& core, const magnetics::Material& material) {
  // The fields hold single-precision numbers and show them as the window writes them, so
  // that a read gives back what was written and the choice holds until the user edits it.
  auto write = [&](int id, double value) {
    const float v = toSingle(value);
    form_.setValue(id, v);
    std::string text = formatFieldValue(v);
    form_.setText(id, text);
    return text;
  };
  aeText_ = write(fields_.Ae, core.geometry.Ae * 1e6);
  leText_ = fields_.Le != 0 ? write(fields_.Le, core.geometry.le * 1e3) : std::string();
  core_ = &core;
  material_ = &material;
  // A sheet of the former choice no longer describes the fields.
  sheet_.reset();
  kind_.reset();
}

std::string catalogueNameError(std::string_view core, std::string_view material) {
  if (magnetics::findCore(core) == nullptr) {
    return "unknown core '" + std::string(core) + "' (tarnex-calc cores lists the catalogue)";
  }
  if (magnetics::findMaterial(material) == nullptr) {
    std::string names;
    for (const magnetics::Material& known : magnetics::materials())
      names += (names.empty() ? "" : ", ") + known.name;
    return "unknown material '" + std::string(material) + "' (materials: " + names + ")";
  }
  return {};
}

bool CorePick::choose(std::string_view core, std::string_view material, std::string& error) {
  error = catalogueNameError(core, material);
  if (!error.empty()) return false;
  choose(*magnetics::findCore(core), *magnetics::findMaterial(material));
  return true;
}

void CorePick::forget() {
  core_ = nullptr;
  material_ = nullptr;
  sheet_.reset();
  kind_.reset();
}

const magnetics::CatalogueCore* CorePick::core() const {
  if (core_ == nullptr) return nullptr;
  if (form_.text(fields_.Ae) != aeText_) return nullptr;
  if (fields_.Le != 0 && form_.text(fields_.Le) != leText_) return nullptr;
  return core_;
}

const magnetics::Material* CorePick::material() const {
  return core() != nullptr ? material_ : nullptr;
}

std::string CorePick::text() const {
  const magnetics::CatalogueCore* c = core();
  if (c == nullptr) return {};
  return std::string(c->shape.name) + " · " + material_->name;
}

const magnetics::LossSheet* CorePick::sheet() const {
  return sheet_ && core() != nullptr ? &*sheet_ : nullptr;
}

void CorePick::setSettings(const magnetics::SheetSettings& settings) {
  settings_ = settings;
  if (sheet_) resultsChanged(kind_);
}

void CorePick::resultsChanged(std::optional<magnetics::WindowKind> kind) {
  kind_ = kind;
  sheet_.reset();
  // Blanked results take the circuit solved from them along.
  if (!kind) circuit_.reset();
  const magnetics::CatalogueCore* c = core();
  if (!kind || c == nullptr) return;
  magnetics::TransformerSpec spec = magnetics::windowTransformer(
      *kind, form_, c->geometry, *material_,
      magnetics::wires(magnetics::RoundWires::Iec60317Grade1), settings_);
  if (circuit_) magnetics::applyCircuit(spec, *circuit_);
  sheet_ = magnetics::lossSheet(spec, suggestionWires());
  if (circuit_ && sheet_->complete) {
    // The engineer reads the check's currents and flux in the sheet, not the window's.
    const char* text = circuit_->highestInput ? "电流与峰值磁密按设计检查的电路（最高输入、满载）"
                                              : "电流与峰值磁密按设计检查的电路（最低输入、满载）";
    sheet_->findings.insert(sheet_->findings.begin(), {Severity::Info, text});
  }
}

}  // namespace tarnex
