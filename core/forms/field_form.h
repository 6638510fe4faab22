#pragma once
// A window of numeric fields: one single-precision number per edit field of its table, the
// data exchange between fields and numbers, the set-up that runs in the first exchange, and
// the calculate frame every command runs (results set to "0" for the read, the window's
// incomplete-input message, the progress window, the write-back). The design windows add
// their files on top; a compensation page uses it as it stands, with its exchange flag.

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/field_values.h"
#include "forms/table_form.h"

namespace tarnex {

// The framework's message for a field that does not read as a number.
inline constexpr const char* kNotANumber = "请键入一个数。";

// A field of a window bound to a member of a procedure's inputs or results, by the field's
// formula name. TARNEX_BIND(DcDcInputs, VinMin) binds the field "VinMin" to
// DcDcInputs::VinMin, so that the name and the member cannot differ.
template <class S>
struct Bound {
  std::string_view name;
  float S::*member;
};
#define TARNEX_BIND(S, m) \
  ::tarnex::Bound<S> {    \
#m, &S::m             \
  }

// One binding per member named: TARNEX_BINDS(DcDcInputs, VinMin, Vo) is
// TARNEX_BIND(DcDcInputs, VinMin), TARNEX_BIND(DcDcInputs, Vo). Each rescan of the expansion
// binds one more member; three levels of four rescans allow 64.
#define TARNEX_BINDS(S, ...) __VA_OPT__(TARNEX_RESCAN_(TARNEX_BINDS_NEXT_(S, __VA_ARGS__)))
#define TARNEX_BINDS_NEXT_(S, m, ...) \
  TARNEX_BIND(S, m) __VA_OPT__(, TARNEX_BINDS_AGAIN_ TARNEX_PARENS_(S, __VA_ARGS__))
#define TARNEX_BINDS_AGAIN_() TARNEX_BINDS_NEXT_
#define TARNEX_PARENS_ ()
#define TARNEX_RESCAN_(...) \
  TARNEX_RESCAN1_(TARNEX_RESCAN1_(TARNEX_RESCAN1_(TARNEX_RESCAN1_(__VA_ARGS__))))
#define TARNEX_RESCAN1_(...) \
  TARNEX_RESCAN2_(TARNEX_RESCAN2_(TARNEX_RESCAN2_(TARNEX_RESCAN2_(__VA_ARGS__))))
#define TARNEX_RESCAN2_(...) \
  TARNEX_RESCAN3_(TARNEX_RESCAN3_(TARNEX_RESCAN3_(TARNEX_RESCAN3_(__VA_ARGS__))))
#define TARNEX_RESCAN3_(...) __VA_ARGS__

// What a calculate command does with the fields around its computation.
struct CalculateFrame {
  // The command's results: "0" for the read, blanked when it fails and before the write-back.
  std::span<const int> results = {};
  // False: the results are blanked again when the command ends. A core estimate reads the
  // verification's results as 0 and computes none of them.
  bool keepResults = true;
  // The command's estimate: read as it stands (a blank one as 0), blanked when the read fails.
  std::span<const int> estimates = {};
  // Fields that, where blank, read as 0 and stay blank: blanked again right after the read
  // and when the command ends (the data of a core not chosen yet).
  std::span<const int> blankAsZero = {};
  // Shown when a field does not read as a number.
  std::string_view incomplete = {};
  // The progress window runs before the write-back.
  bool progress = true;
};

// How the calculate frame ended.
enum class FrameEnd {
  Incomplete,  // a field did not read: the incomplete-input message shown
  Stopped,     // the computation wrote nothing back
  Written,     // every number written into its field
};

class FieldForm : public TableForm, public FieldValues {
 public:
  FieldForm(Host& host, const DialogTable& table);

  // FieldValues: ids outside the table read as 0 and are not stored.
  float value(int controlId) const override;
  void setValue(int controlId, float value) override;

  // The first data exchange: writes every value into its field, then the set-up.
  void open() override;
  // With a default button Enter presses it; without one Enter checks every field (with the
  // framework's message on a bad one) and the window stays open, so no input is lost.
  void enterKey() override;
  // Leaving a page of a sheet is a data exchange (a read).
  bool leavePage() override { return readFields(); }

  // Drops the design check and the loss sheet of the last calculation.
  void dropCalculation() override;

  bool setUpDone() const { return setUp_; }
  // Whether the last calculate command wrote its results into the fields, and how many
  // commands have written theirs so far (also those that show no progress window).
  bool lastCalculationWritten() const { return lastWritten_; }
  std::span<const Finding> findings() const override { return findings_; }
  int calculationsWritten() const override { return writtenCount_; }

  // The numbers of `binds` read into a procedure's inputs, and a procedure's results stored.
  template <class S, std::size_t N>
  S bound(const Bound<S> (&binds)[N]) const {
    S s{};
    for (const Bound<S>& b : binds) s.*b.member = value(idOf(b.name));
    return s;
  }
  template <class S, std::size_t N>
  void store(const S& s, const Bound<S> (&binds)[N]) {
    for (const Bound<S>& b : binds) setValue(idOf(b.name), s.*b.member);
  }

 protected:
  // Data exchange in table order. Both count as a data exchange: while the set-up has not
  // completed, it runs after them (after a successful read only). A typed "inf" or "nan" is
  // not a number, but a field that still shows the infinite or undefined result the window
  // wrote there ("inf", "nan") reads back as that result, so that it blocks no later command.
  void writeFields();
  bool readFields();
  // Whether an exchange moves values (a compensation page moves them only during its own
  // commands), and what ends every completed exchange.
  virtual bool exchangeMovesValues() const { return true; }
  virtual void exchangeDone() {}

  // The calculate frame: the results zeroed (and the blank fields of `frame` read as 0), every
  // field read; when a field does not read, the results blanked and the incomplete-input
  // message shown. Then `compute` runs on the numbers read; when it returns true, the
  // results are blanked, the progress window runs and every number is written back.
  FrameEnd calculateFrame(const CalculateFrame& frame, const std::function<bool()>& compute);
  // The exchanges of a command move values (a compensation page sets its exchange flag).
  virtual void commandExchange() {}
  // A command's read failed, before its message (a compensation page drops its plot).
  virtual void readRefused() {}

  // The set-up of the first data exchange. The default empties the results, refills the
  // lists and marks the set-up done.
  virtual void runSetUp();
  void markSetUp() { setUp_ = true; }

  // Blanking or zeroing every result also drops the design check's findings on them.
  void setOutputsText(std::string_view text);
  void setFieldsText(std::span<const int> ids, std::string_view text);
  // A window's own message: no icon, the program's name as caption, owned by the window.
  void showOwned(std::string text);

  void setWritten(bool written) {
    lastWritten_ = written;
    if (written) ++writtenCount_;
  }

  // The design check of the results just written, or none.
  void setFindings(std::vector<Finding> findings) { findings_ = std::move(findings); }
  void clearFindings() { findings_.clear(); }

  // Every result row's control id, in table order.
  const std::vector<int>& outputIds() const { return outputIds_; }
  // The control id of a formula name of the table; a name the table lacks is a fault of the
  // window's code.
  int idOf(std::string_view name) const;

 private:
  int indexOf(int controlId) const;
  // Whether field i holds a non-finite value and still shows the text written for it.
  bool showsOwnNonFinite(std::size_t i) const;

  std::vector<float> values_;
  std::vector<int> outputIds_;
  std::vector<Finding> findings_;
  bool setUp_ = false;
  bool lastWritten_ = false;
  int writtenCount_ = 0;
};

}  // namespace tarnex
