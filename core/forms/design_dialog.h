#pragma once
// The design windows: a field form whose one-time set-up decides the interface and formula
// modes from the working folder and shows them in the title, and whose calculate commands
// compute with the window's built-in procedure or with its formula file, chosen afresh by the
// file's first byte. Everything a window has (its fields, lists, buttons, notes, pictures,
// files, title and markers) comes from its table; its class adds the handlers.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "base/user_file.h"
#include "forms/field_form.h"
#include "formula/formula.h"
#include "magnetics/window_windings.h"

namespace tarnex {

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
  // the write-back). Empty: every result row of the table.
  std::vector<int> results;
  // False: the results are blanked again when the command ends (a core estimate).
  bool keepResults = true;
  // The command's own estimate, read as it stands (CalculateFrame::estimates).
  std::vector<int> estimates;
  // Fields that, where blank, read as 0 and stay blank (CalculateFrame::blankAsZero).
  std::vector<int> blankAsZero;
  // A failed formula run still shows the progress window and writes every number back.
  bool writeBackAfterFailedRun = false;
  // The built-in procedure runs after the progress window, with the results and estimates
  // blank, so that its hints follow it; a formula file's run then shows no progress window.
  bool progressBeforeBuiltIn = false;
  // The design check of the numbers written back (the built-in procedure's or the formula
  // file's alike); none when empty.
  std::function<std::vector<Finding>()> check;
};

class DesignDialog : public FieldForm {
 public:
  DesignDialog(Host& host, const Folder& folder, const DialogTable& table);

  const Folder& folder() const { return folder_; }
  // The formula file of the list entries now selected (the first file when none matches).
  std::string_view formulaFile() const;

 protected:
  // Title: name + interface marker + formula marker.
  void setInterfaceMarker(bool custom) { customCaptions_ = custom; }
  void setFormulaMarker(bool custom) { customFormulas_ = custom; }
  void updateTitle();

  // The set-up: empties the results, refills the lists, runs prepare(), resets the markers,
  // applies the interface file, decides the formula marker from the table's first formula
  // file, sets the title and marks the set-up done. A file that cannot be opened is reported
  // and ends the set-up early (the title stays as it was; the next data exchange tries
  // again). Override to change the order.
  void runSetUp() override;
  // Topology-specific preparation inside the set-up (enabling).
  virtual void prepare() {}

  // Applies the interface file to the labels of the relabel list: nullopt when a file could
  // not be opened (reported), else whether the captions were applied. A file whose first
  // byte is '#' is not read and gives false.
  std::optional<bool> applyInterface();
  // Sets the formula marker from `fileName` (in use for the title) and enables or disables
  // the notes of the table's formula mode; false when the file could not be opened.
  bool refreshFormulaMode(std::string_view fileName);

  // File helpers (a missing or empty file gets the folder's initial content, an existing one is
  // never truncated; failures reported through the host).
  std::optional<int> firstByte(std::string_view fileName);
  // First byte not '#', longer than 2 bytes, and a statement in the text.
  std::optional<bool> inUseForTitle(std::string_view fileName);
  // First byte not '#'.
  std::optional<bool> inUseForCalculation(std::string_view fileName);
  // Runs the formula file on the window's numbers with `pinned` fields set to 1 during the
  // run; the runner shows its own messages. A file without statements computes nothing and
  // says so (the command then uses the built-in procedure).
  FormulaOutcome runFormula(std::string_view fileName, std::span<const int> pinned);

  // The calculate frame.
  CalcEnd calculate(const Calculation& calc);
  // The frame of a window's one calculate command: every result, the formula file of the
  // lists now selected, no pinned fields.
  CalcEnd calculate(std::string_view incompleteMessage, std::function<bool()> builtIn,
                    std::function<std::vector<Finding>()> check = {});

  // Every design window checks what it designed.
  bool checksDesign() const override { return true; }

  // The transformer a window that asks for a core describes now (its mode decides): the loss
  // sheet of a catalogue core is worked out as that after every checked calculation.
  virtual std::optional<magnetics::WindowKind> coreKind() const { return std::nullopt; }

 private:
  Folder folder_;
  bool customCaptions_ = false;
  bool customFormulas_ = false;
};

}  // namespace tarnex
