#pragma once
// The rows of the simulation suite (rows.txt), and the design window or compensation page of a
// row driven through its form model (the window driver) with the numbers it shows read back
// into the procedures' structs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <ostream>
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
#include "designs/window_driver.h"
#include "loop/bode.h"
#include "loop/load_step.h"
#include "support/procedure_binds.h"

namespace tarnex::simtest {

using namespace testing::binds;

// A window's command as tarnex-calc takes it, and the message it must refuse it with ("" for
// a design it must show).
struct Row {
  std::string command, message;
};

inline void PrintTo(const Row& row, std::ostream* os) {
  *os << row.command;
}

// The rows of rows.txt for the compensation pages (`loops`) or for the design windows.
inline std::vector<Row> rowsOf(bool loops) {
  std::ifstream in(TARNEX_SIM_ROWS);
  if (!in) throw std::runtime_error("cannot read " + std::string(TARNEX_SIM_ROWS));
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line.starts_with("#") || line.starts_with("loop-") != loops) continue;
    const std::size_t bang = line.find(" ! ");
    if (bang == std::string::npos) {
      rows.push_back({line, ""});
    } else {
      rows.push_back({line.substr(0, bang), line.substr(bang + 3)});
    }
  }
  return rows;
}

// A window or page after the row's command (its default button when the row names none): the
// numbers it shows, by formula name.
class Shown : public testing::WindowDriver {
 public:
  explicit Shown(const std::string& command) {
    std::istringstream words(command);
    words >> key;
    if (!key.starts_with("loop-")) switchFilesOff(key);
    open(key);
    bool pressed = false;
    for (std::string word; words >> word;) {
      act(word);
      pressed |= word.find('=') == std::string::npos;
    }
    for (const Control& c : form->controls()) {
      if (!pressed && c.kind == ControlKind::Button && c.isDefault) form->command(c.id);
    }
  }

  void press(std::string_view button) { act(std::string(button)); }
  // Whether the last command wrote its results.
  bool written() const {
    const auto* fields = dynamic_cast<const FieldForm*>(form.get());
    return fields != nullptr && fields->lastCalculationWritten();
  }
  const BodePlot* bode() const { return form->bode(); }
  const Form& window() const { return *form; }
  const LoadStep* loadStep() { return form->loadStep(); }
  std::string messages() const {
    std::string s;
    for (const Message& m : host.messages) s += " [" + m.text + "]";
    return s;
  }

  // The number a field shows (NaN when it shows none).
  float operator[](std::string_view name) const {
    const std::string& shown = text(std::string(name));
    char* end = nullptr;
    const float v = std::strtof(shown.c_str(), &end);
    return end == shown.c_str() ? NAN : v;
  }
  int selection(std::string_view listKey) const {
    for (const Control& c : form->controls()) {
      if (c.kind == ControlKind::DropList && c.key == listKey) return c.selection;
    }
    throw std::invalid_argument("no list " + std::string(listKey));
  }
  template <class S, std::size_t N>
  S read(const Bound<S> (&binds)[N]) const {
    S s{};
    for (const Bound<S>& b : binds) s.*b.member = (*this)[b.name];
    return s;
  }

  std::string key;
};

// |a − b| within `share` of b.
inline ::testing::AssertionResult near(double a, double b, double share) {
  if (std::fabs(a - b) <= share * std::fabs(b)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " against " << b << " (" << (a / b - 1) * 100
                                       << " %, allowed " << share * 100 << " %)";
}

constexpr Bound<CurrentModeInputs> kCurrentModeInputs[] = {
    TARNEX_BINDS(CurrentModeInputs, Vo, Io, Co, ESR, D, Vin, L, Vse, Ri, fsw, fc, R1, gm, Vref)};
constexpr Bound<TypeIIInputs> kTypeIIInputs[] = {
    TARNEX_BINDS(TypeIIInputs, Vo, Iomax, Iomin, Vinmax, Vinmin, fsw, Co, ESR, Vramp, Vref, L, Dmax,
                 fpo, fesr, Gesr, fp1, fz1, fc, PMwant, R1)};
constexpr Bound<TypeIIIInputs> kTypeIIIInputs[] = {
    TARNEX_BINDS(TypeIIIInputs, fp1, fp2, fz1, fz2, fc, GdB, R1)};
constexpr Bound<TypeIIIResults> kTypeIIIResults[] = {
    TARNEX_BINDS(TypeIIIResults, C1, C2, C3, R2, R3)};

}  // namespace tarnex::simtest
