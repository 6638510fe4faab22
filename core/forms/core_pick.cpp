#include "forms/core_pick.h"

#include <algorithm>
#include <cmath>

#include "base/finding_text.h"
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

// The gap rows and finding of the sheet, ahead of its own rows: the AL the design needs, the
// gap to grind for it with the fringing flux counted, and the window's own gap beside it (its
// formula counts no fringing, so it comes out shorter; ground to it the inductance is higher).
void addGap(magnetics::LossSheet& sheet, const CoreGap& gap, const CoreNeed& need) {
  using check::fill;
  using check::num;
  std::vector<magnetics::SheetRow> rows;
  if (!gap.gapped) {
    rows.push_back({"AL（不开气隙）", gap.al * 1e9, "nH"});
  } else {
    rows.push_back({"AL（所需）", gap.wantedAl * 1e9, "nH"});
    rows.push_back({"磨气隙（含边缘磁通）", gap.gap * 1e3, "mm"});
    if (need.windowGap > 0)
      rows.push_back({"窗口气隙长度（未计边缘磁通）", need.windowGap * 1e3, "mm"});
  }
  sheet.rows.insert(sheet.rows.begin(), rows.begin(), rows.end());
  if (!gap.gapped) return;
  const std::string al =
      fill("AL {} nH（{} µH / {}²）",
           {num(gap.wantedAl * 1e9), num(need.inductance * 1e6), num(need.turns)});
  std::vector<Finding>& f = sheet.findings;
  if (!gap.reached) {
    f.insert(f.begin(),
             {Severity::Warning,
              fill("此磁芯与材料得不到所需的 {}：磨气隙 {} mm 时为 {} nH，需改匝数或换磁芯",
                   {al, num(gap.gap * 1e3), num(gap.al * 1e9)})});
    return;
  }
  std::string text = fill("磨气隙 {} mm 计入边缘磁通，得所需的 {}", {num(gap.gap * 1e3), al});
  if (need.windowGap > 0 && gap.windowGapAl > 0) {
    text += fill("；窗口的气隙长度 {} mm 未计边缘磁通，照它研磨电感约高 {}",
                 {num(need.windowGap * 1e3), check::percent(gap.windowGapAl / gap.wantedAl - 1)});
  }
  f.insert(f.begin(), {Severity::Info, text});
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
  need.windowGap = shown(form, fields.gap) * 1e-3;
  return need;
}

CoreGap coreGap(const magnetics::CoreGeometry& core, const magnetics::Material& material,
                const CoreNeed& need) {
  // AL = L/N² is what the winding of the need's turns must see; without an inductance the
  // transformer is ungapped and the set's own AL stands.
  CoreGap out;
  out.gapped = usable(need.inductance) && usable(need.turns);
  if (out.gapped) {
    out.wantedAl = need.inductance / (need.turns * need.turns);
    out.gap = magnetics::gapForAl(core, material.mu25, out.wantedAl).value_or(0.0);
  }
  const double al = magnetics::alWithGap(core, material.mu25, out.gap);
  out.al = std::isfinite(al) ? al : 0;
  out.reached = !out.gapped || std::abs(out.al - out.wantedAl) <= 1e-3 * out.wantedAl;
  if (out.gapped && need.windowGap > 0) {
    const double atWindowGap = magnetics::alWithGap(core, material.mu25, need.windowGap);
    out.windowGapAl = std::isfinite(atWindowGap) ? atWindowGap : 0;
  }
  return out;
}

std::vector<CorePickRow> CorePick::rows(const CorePickFilter& filter,
                                        const magnetics::Material& material,
                                        const CoreNeed& need) const {
  std::vector<CorePickRow> out;
  for (const magnetics::CatalogueCore* c : magnetics::findCores({filter.family, 0})) {
    const bool enough = meets(*c, need);
    if (filter.onlyMeetingNeed && !enough) continue;
    const magnetics::CoreGeometry& g = c->geometry;
    const CoreGap gap = coreGap(g, material, need);
    CorePickRow row;
    row.core = c;
    row.name = std::string(c->shape.name);
    row.family = std::string(c->shape.family);
    row.Ae = g.Ae * 1e6;
    row.le = g.le * 1e3;
    row.Ve = g.Ve * 1e9;
    row.Aw = g.Aw * 1e6;
    row.areaProduct = c->areaProduct() * 1e12;
    row.AL = gap.al * 1e9;
    row.gap = gap.gap * 1e3;
    row.alReached = gap.reached;
    row.meetsNeed = enough;
    out.push_back(std::move(row));
  }
  // Of every family, the toroids (hundreds of sizes, and no transformer an off-line window
  // asks for is wound on one by choice) follow the cored shapes, each part smallest first.
  if (filter.family.empty()) {
    std::stable_partition(out.begin(), out.end(),
                          [](const CorePickRow& r) { return r.family != "t"; });
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
  if (sheet_) resultsChanged(kind_, need_);
}

void CorePick::resultsChanged(std::optional<magnetics::WindowKind> kind, const CoreNeed& need) {
  kind_ = kind;
  need_ = need;
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
  if (sheet_->complete) addGap(*sheet_, coreGap(c->geometry, *material_, need_), need_);
  if (circuit_ && sheet_->complete) {
    // The engineer reads the check's currents and flux in the sheet, not the window's.
    const char* text = circuit_->highestInput ? "电流与峰值磁密按设计检查的电路（最高输入、满载）"
                                              : "电流与峰值磁密按设计检查的电路（最低输入、满载）";
    sheet_->findings.insert(sheet_->findings.begin(), {Severity::Info, text});
  }
}

}  // namespace tarnex
