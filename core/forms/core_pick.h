#pragma once
// A design window's core from the magnetics catalogue. The window names the fields a core
// fills (Ae in mm², and Le in mm where it asks for one) and tells what it needs of a core from
// its fields as shown (its estimate: an area product or a volume; the inductance and turns a
// gap must give). Choosing a catalogue core and ferrite fills those fields as the window shows
// numbers and is remembered while they hold the catalogue's values. After every calculation
// written with a catalogue core, the loss and fit sheet of the design on that core is worked
// out from the window's fields; it is dropped with the results.
//
// The picker lists the cores as rows in the window's units, filtered by family and by the
// window's need, smallest first; the ferrites by maker.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "magnetics/catalogue.h"
#include "magnetics/loss_sheet.h"
#include "magnetics/window_windings.h"

namespace tarnex {

class FieldForm;

// The fields a catalogue core fills, by control id.
struct CoreFieldIds {
  int Ae = 0;  // mm²
  int Le = 0;  // mm; 0: the window asks for no path length
};

// What the window's fields ask of a core (SI units).
struct CoreNeed {
  enum class Kind { None, AreaProduct, Volume };
  Kind kind = Kind::None;
  double value = 0;       // m⁴ (area product Ae·Aw) or m³ (volume Ae·le)
  double inductance = 0;  // H the winding of `turns` turns must have; 0: an ungapped transformer
  double turns = 0;
  // The window's own air gap, m, by its formula without fringing (for the core in its fields
  // when it calculated); 0: the window shows none.
  double windowGap = 0;
};

// Where a window shows its need, by control id (0: the window has no such field): the
// estimate (in SI units times `estimateUnit`: 1e-12 for mm⁴, 1e-9 for mm³, 1e-8 for cm⁴), the
// inductance in µH and the turns it is wound with, and its own air gap in mm.
struct CoreNeedFields {
  CoreNeed::Kind kind = CoreNeed::Kind::None;
  int estimate = 0;
  double estimateUnit = 1;
  int inductance = 0;
  int turns = 0;
  int gap = 0;
};
// The need as the fields show it: a blank field, or one that holds no positive finite
// number, asks nothing.
CoreNeed shownNeed(const FieldForm& form, const CoreNeedFields& fields);

// The centre-leg gap to grind on a core in a ferrite for the need's inductance, SI units:
// the AL the winding must see (L/N²), the gap that gives it with the fringing flux counted
// (magnetics::gapForAl), and the AL the set then has. Without a gap to find (a transformer
// with no inductance asked), the ungapped AL.
struct CoreGap {
  bool gapped = false;     // the need asks for an inductance
  double wantedAl = 0;     // H/turn²
  double al = 0;           // H/turn² with `gap`
  double gap = 0;          // m, fringing counted
  bool reached = true;     // false: even ungapped the set's AL is below the wanted one
  double windowGapAl = 0;  // H/turn² with the window's own gap (0: it shows none)
};
CoreGap coreGap(const magnetics::CoreGeometry& core, const magnetics::Material& material,
                const CoreNeed& need);

// What is wrong with a core and a ferrite named for the catalogue (tarnex-calc's words), or
// empty when both are in it.
std::string catalogueNameError(std::string_view core, std::string_view material);

// One row of the picker, in the units the windows show.
struct CorePickRow {
  const magnetics::CatalogueCore* core = nullptr;
  std::string name, family;
  double Ae = 0, le = 0, Ve = 0, Aw = 0;  // mm², mm, mm³, mm²
  double areaProduct = 0;                 // mm⁴
  double AL = 0;                          // nH per turn², with the gap below (ungapped: 0 mm)
  double gap = 0;                         // mm: the centre-leg gap that gives the need's L,
                                          // fringing counted
  bool alReached = true;                  // the ungapped AL is not short of the need's
  bool meetsNeed = true;                  // the core reaches the window's estimate
};

struct CorePickFilter {
  std::string family;  // family key; empty: every family
  bool onlyMeetingNeed = false;
};

class CorePick {
 public:
  CorePick(FieldForm& form, CoreFieldIds fields) : form_(form), fields_(fields) {}

  const CoreFieldIds& fields() const { return fields_; }

  // The picker's rows for `material` (its μi gives AL and gap), sorted by Ve; of every
  // family, the toroids after the other shapes.
  std::vector<CorePickRow> rows(const CorePickFilter& filter, const magnetics::Material& material,
                                const CoreNeed& need) const;

  // Fills the core's fields as the window shows numbers and remembers the choice.
  void choose(const magnetics::CatalogueCore& core, const magnetics::Material& material);
  // By name (tarnex-calc): false with `error` set when either name is not in the catalogue.
  bool choose(std::string_view core, std::string_view material, std::string& error);

  // Forgets the choice (the fields keep their texts) and its sheet.
  void forget();

  // The choice while the fields still show the catalogue's values; nullptr otherwise.
  const magnetics::CatalogueCore* core() const;
  const magnetics::Material* material() const;
  // "ETD 34/17/11 · N87", empty without a choice.
  std::string text() const;

  const magnetics::SheetSettings& settings() const { return settings_; }
  // Changes the temperature or fill factor and works the sheet out again.
  void setSettings(const magnetics::SheetSettings& settings);

  // What the window's design check solved of the circuit, set while it checks a calculation
  // (nullopt: it solved nothing); the next sheet takes its currents and flux from it.
  void setCircuit(std::optional<magnetics::CircuitValues> circuit) {
    circuit_ = std::move(circuit);
  }

  // A window's design check: takes its circuit and hands its findings on.
  template <class Check>
  std::vector<Finding> checked(Check check) {
    setCircuit(std::move(check.circuit));
    return std::move(check.findings);
  }

  // After a calculation wrote its results (kind: the window's transformer now, need: what its
  // fields ask of the core), or when they were blanked (nullopt): the sheet worked out or
  // dropped.
  void resultsChanged(std::optional<magnetics::WindowKind> kind, const CoreNeed& need = {});
  // The sheet of the last calculation while the fields still show the choice; nullptr
  // otherwise.
  const magnetics::LossSheet* sheet() const;

 private:
  FieldForm& form_;
  CoreFieldIds fields_;
  const magnetics::CatalogueCore* core_ = nullptr;
  const magnetics::Material* material_ = nullptr;
  std::string aeText_, leText_;  // the texts the choice wrote
  magnetics::SheetSettings settings_;
  std::optional<magnetics::WindowKind> kind_;
  CoreNeed need_;
  std::optional<magnetics::LossSheet> sheet_;
  std::optional<magnetics::CircuitValues> circuit_;
};

}  // namespace tarnex
