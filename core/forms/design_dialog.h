#pragma once
// The common behaviour of the seven design windows: one single-precision number per edit
// field of the window's table, data exchange between fields and numbers, the one-time set-up
// that decides the interface and formula modes from the working folder, the title markers,
// and the calculate frame that every calculate command runs.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/field_values.h"
#include "base/host.h"
#include "base/user_file.h"
#include "forms/form.h"
#include "tables/field_table.h"

namespace tarnex {

// Control ids shared by every design window.
inline constexpr int kCloseButton = 2;      // "返回(&B)"
inline constexpr int kCalculateButton = 3;  // "计算(&C)" where a window has one

// The framework's message for a field that does not read as a number.
inline constexpr const char* kNotANumber = "请键入一个数。";

// The title markers; the ringing-choke window spaces them differently.
struct TitleMarkers {
  std::string_view systemCaptions;
  std::string_view customCaptions;
  std::string_view builtInFormulas;
  std::string_view customFormulas;
};
const TitleMarkers& titleMarkersFor(std::string_view tableKey);

// How a calculate command ended.
enum class CalcEnd {
  Incomplete,  // a field did not read as a number: incomplete-input message shown
  FileError,   // a file of the set-up or the formula file could not be opened (reported)
  Stopped,     // the built-in computation stopped with a message of its own
  RunFailed,   // the formula file's run failed (the runner showed why); nothing written
  Written,     // results written into the fields (after the progress window)
};

// What a calculate command supplies to the frame.
struct Calculation {
  std::string_view formulaFile;        // decides built-in or formula file by its first byte
  std::string_view incompleteMessage;  // shown when the read fails
  // Fields set to 1 during the formula run and put back after it.
  std::vector<int> pinned;
  // The built-in procedure: computes into the values; returns false when it stopped the
  // command with its own message (after blanking what it blanks).
  std::function<bool()> builtIn;
  // The command's result fields (set to "0" before the read, blanked on failure and before
  // the write-back). Empty: every output row of the table.
  std::vector<int> results;
  // Called right after the read of all fields, with its outcome (before the
  // incomplete-input message on failure).
  std::function<void(bool read)> afterRead;
  // A failed formula run still shows the progress window and writes every number back.
  bool writeBackAfterFailedRun = false;
};

// Options of a design window that its table does not hold.
struct DesignOptions {
  // The formula file whose state the title shows after the set-up.
  std::string_view titleFormulaFile;
  // Controls shown disabled while the title shows the custom formula marker (hint notes).
  std::vector<int> disabledInFormulaMode;
};

class DesignDialog : public Form, public FieldValues {
 public:
  DesignDialog(Host& host, const Folder& folder, const DialogTable& table, DesignOptions options);

  std::string_view key() const override { return table_.key; }
  const DialogTable* table() const override { return &table_; }

  // FieldValues: ids outside the table read as 0 and are not stored.
  float value(int controlId) const override;
  void setValue(int controlId, float value) override;

  // The first data exchange: writes every value into its field, then the set-up.
  void open() override;
  // "返回(&B)" closes; subclasses handle their own commands and pass the rest here.
  void command(int id) override;
  // Selects entry `index` of a list; subclasses run their handler after calling this
  // when the selection was accepted (see setSelection).
  void select(int listId, int index) override;
  // With a default button Enter presses it; without one Enter checks every field (with the
  // framework's message on a bad one) and the window stays open, so no input is lost.
  void enterKey() override;

  bool setUpDone() const { return setUp_; }
  // Whether the last calculate command wrote its results into the fields.
  bool lastCalculationWritten() const { return lastWritten_; }
  const Folder& folder() const { return folder_; }

 protected:
  // Data exchange in table order. Both count as a data exchange: while the set-up has not
  // completed, it runs after them (after a successful read only).
  void writeFields();
  bool readFields();
  // Writes `text` into every output row of the table.
  void setOutputsText(std::string_view text);
  void setFieldsText(std::span<const int> ids, std::string_view text);
  // A window's own message: no icon, the program's name as caption, owned by the window.
  void showOwned(std::string text);

  // Title: name + interface marker + formula marker.
  void setInterfaceMarker(bool custom);
  void setFormulaMarker(bool custom);
  bool customCaptions() const { return customCaptions_; }
  bool customFormulas() const { return customFormulas_; }
  void updateTitle();

  // The set-up: steps after the first write of the fields. The default empties the
  // results, runs prepare(), resets the markers, applies the interface file, decides the
  // formula marker from options().titleFormulaFile, sets the title and marks the set-up
  // done. A file that cannot be opened is reported and ends the set-up early (the title
  // stays as it was; the next data exchange tries again). Override to change the order.
  virtual void runSetUp();
  // Topology-specific preparation inside the set-up (lists, enabling).
  virtual void prepare() {}
  void markSetUp() { setUp_ = true; }

  // Selects an entry of a drop-down list; false when the list or the entry does not exist
  // or the entry is already selected (no handler runs then).
  bool setSelection(int listId, int index);
  void setEnabled(int id, bool enabled);

  // Applies the interface file to the labels of the relabel list: nullopt when a file could
  // not be opened (reported), else whether the captions were applied. A file whose first
  // byte is '#' is not read and gives false.
  std::optional<bool> applyInterface();
  // Sets the formula marker from `fileName` (in use for the title) and enables or disables
  // the controls of options().disabledInFormulaMode; false when the file could not be opened.
  bool refreshFormulaMode(std::string_view fileName);

  // File helpers (create when missing, never truncate; failures reported through the host).
  std::optional<int> firstByte(std::string_view fileName);
  // First byte not '#', longer than 2 bytes, and a statement in the text.
  std::optional<bool> inUseForTitle(std::string_view fileName);
  // First byte not '#'.
  std::optional<bool> inUseForCalculation(std::string_view fileName);

  // The calculate frame.
  CalcEnd calculate(const Calculation& calc);
  // The frame's last steps: blank the results, the progress window, write every value.
  void showResults(std::span<const int> results);

  const DesignOptions& options() const { return options_; }
  // Every output row's control id, in table order.
  const std::vector<int>& outputIds() const { return outputIds_; }
  // Label control id of each relabel number (index 0 = number 1).
  std::vector<int> relabelList() const;

 private:
  int indexOf(int controlId) const;

  const DialogTable& table_;
  Folder folder_;
  DesignOptions options_;
  const TitleMarkers& markers_;
  std::vector<float> values_;
  std::vector<int> outputIds_;
  bool setUp_ = false;
  bool customCaptions_ = false;
  bool customFormulas_ = false;
  bool lastWritten_ = false;
};

}  // namespace tarnex
