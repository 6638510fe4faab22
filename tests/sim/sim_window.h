#pragma once
// A design window after a row's command, driven through its form model as tarnex-calc drives
// it, and the numbers it shows read back into the procedures' structs.

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "designs/bridge_procedures.h"
#include "designs/dcdc_procedures.h"
#include "designs/flyback_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/rcc_procedures.h"
#include "designs/registry.h"
#include "forms/field_form.h"
#include "support/field_ids.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex::simtest {

// The control of a kind with the key tarnex-calc names it by.
inline const Control& controlByKey(const Form& form, ControlKind kind, std::string_view key) {
  for (const Control& c : form.controls()) {
    if (c.kind == kind && c.key == key) return c;
  }
  throw std::invalid_argument("no control " + std::string(key));
}

// A window after the row's command: the numbers it shows, by formula name.
class Shown {
 public:
  explicit Shown(const std::string& command) {
    std::istringstream words(command);
    words >> key;
    for (const DesignInfo& d : designs()) {
      for (const FormulaFileRow& f : d.table->formulaFiles) dir.write(f.fileName, "#");
      dir.write(d.table->interfaceFile, "#");
    }
    form = makeDesign(key, host, dir.folder());
    if (!form) throw std::invalid_argument("no window " + key);
    form->open();
    std::vector<int> buttons;
    for (std::string word; words >> word;) {
      const std::size_t eq = word.find('=');
      if (eq == std::string::npos) {
        buttons.push_back(control(ControlKind::Button, word).id);
        continue;
      }
      const std::string name = word.substr(0, eq), text = word.substr(eq + 1);
      if (const FieldRow* row = findField(*form->table(), name)) {
        form->setText(row->controlId, text);
        continue;
      }
      const Control& list = control(ControlKind::DropList, name);
      int index = -1;
      for (std::size_t i = 0; i < list.entryKeys.size(); ++i) {
        if (list.entryKeys[i] == text) index = static_cast<int>(i);
      }
      if (index < 0) throw std::invalid_argument("no entry " + word);
      form->select(list.id, index);
    }
    if (buttons.empty()) {
      for (const Control& c : form->controls()) {
        if (c.kind == ControlKind::Button && c.isDefault) buttons.push_back(c.id);
      }
    }
    for (int id : buttons) form->command(id);
    const auto* fields = dynamic_cast<const FieldForm*>(form.get());
    written = fields != nullptr && fields->lastCalculationWritten();
  }

  // The number a field shows (NaN when it shows none).
  float operator[](std::string_view name) const {
    const std::string& text = form->text(testing::fieldId(*form->table(), name));
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    return end == text.c_str() ? NAN : v;
  }
  int selection(std::string_view listKey) const {
    return control(ControlKind::DropList, listKey).selection;
  }

  std::string key;
  bool written = false;  // the last command wrote its results
  testing::RecordingHost host;

 private:
  const Control& control(ControlKind kind, std::string_view k) const {
    return controlByKey(*form, kind, k);
  }
  testing::TempFolder dir;
  std::unique_ptr<Form> form;
};

template <class S, std::size_t N>
S read(const Shown& w, const Bound<S> (&binds)[N]) {
  S s{};
  for (const Bound<S>& b : binds) s.*b.member = w[b.name];
  return s;
}

constexpr Bound<DcDcInputs> kDcDcInputs[] = {TARNEX_BINDS(
    DcDcInputs, VinMin, VinMax, Vo, IoMax, Vsw, Vdf, f, Ptd, r, Bpk, Bsat, Cmil, Vopp, Ae)};
constexpr Bound<DcDcOutputs> kDcDcOutputs[] = {
    TARNEX_BINDS(DcDcOutputs, L, Ipk, Irms, DL, NL, Ton, Duty, Iswrms, Vswm, Idrms, Vdm, Co, Vc)};
constexpr Bound<FlybackInputs> kFlybackInputs[] = {
    TARNEX_BINDS(FlybackInputs, Po, Vo, Eff, VacMin, VacMax, Vswm, Vswr, f, Vdf, r, Ptd, Cmil, Vopp,
                 Ae, Le, Bpk, Bsat, Per)};
constexpr Bound<FlybackDesign> kFlybackDesign[] = {
    TARNEX_BINDS(FlybackDesign, Lp, Ls, Np, Ns, Dp, Ds, Zc, Iin, Ipkp, Irmsp, Iswe, Ton, Cin, Irmss,
                 Ipks, Vdm, Idm, Co, Vcm)};
constexpr Bound<ForwardInputs> kForwardInputs[] = {
    TARNEX_BINDS(ForwardInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, Bpk, Cmil, Kw, Ae)};
constexpr Bound<ForwardDesign> kForwardDesign[] = {
    TARNEX_BINDS(ForwardDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};
constexpr Bound<RccInputs> kRccInputs[] = {TARNEX_BINDS(
    RccInputs, VacMin, VacMax, Vo, IoMax, IoMin, fMin, Eff, Vswm, Vswr, Vsw, Vdf, Bpk, Ae, Cmil)};
constexpr Bound<RccDesign> kRccDesign[] = {
    TARNEX_BINDS(RccDesign, Lp, Ls, Ipkp, Ipks, Irmsp, Irmss, Np, Ns, Dp, Ds, fMax)};
constexpr Bound<BridgeInputs> kBridgeInputs[] = {
    TARNEX_BINDS(BridgeInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, DB, Cmil, Ae)};
constexpr Bound<BridgeDesign> kBridgeDesign[] = {
    TARNEX_BINDS(BridgeDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};

}  // namespace tarnex::simtest
