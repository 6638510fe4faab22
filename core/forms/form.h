#pragma once
// The form model: a window as a set of controls keyed by control id, with the commands that
// act on them. The desktop program renders a Form as widgets and forwards the user's
// actions; the command-line program and the tests drive the same Form directly.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/finding.h"
#include "base/host.h"
#include "tables/field_table.h"

namespace tarnex {

enum class ControlKind {
  Edit,         // a number field
  Label,        // a static caption (relabelled by interface files)
  Group,        // a group box; its text is the caption
  Button,       // a push button
  DropList,     // a drop-down list: entries + selection
  Frame,        // an empty frame that holds a drawing
  Note,         // a static text of several lines (hints)
  ClickStatic,  // a static text that reports clicks
};

struct Control {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  std::string text;  // UTF-8: field text, caption, button text ("计算(&C)")
  bool enabled = true;
  std::vector<std::string> entries;  // DropList
  int selection = -1;                // DropList: -1 none
  std::optional<Rgb> color;          // caption colour (groups) or text colour
  Rect rect;
  int groupId = 0;  // the group box this control sits in (0: none)
  // A caption names the input `buddy` (a field or a list) beside it; `trailing` puts it after
  // the input (a unit) instead of before.
  int buddy = 0;
  bool trailing = false;
  bool isDefault = false;  // the default push button (Enter presses it)
  // Command-line names: a button's command ("calc"), a list's name ("topology") and the
  // names of its entries ("buck", "boost", ...). Empty when not offered on the command line.
  std::string key;
  std::vector<std::string> entryKeys;
};

// A control of the given kind and text, sitting in group `groupId` (0: none).
inline Control makeControl(int id, ControlKind kind, std::string text, int groupId = 0) {
  Control c;
  c.id = id;
  c.kind = kind;
  c.text = std::move(text);
  c.groupId = groupId;
  return c;
}

// A picture painted into a frame of the form (a circuit drawing, a diagram).
struct Picture {
  std::string resource;                   // drawing name, e.g. "bitmap167"
  int frameId = 0;                        // frame control whose width and height the picture fills
  int x = 0, y = 0;                       // client pixel origin
  int sourceWidth = 0, sourceHeight = 0;  // source rectangle from the drawing's (0, 0)
};

class Sheet;
struct BodePlot;  // loop/bode.h
struct LoadStep;  // loop/load_step.h
class CorePick;   // forms/core_pick.h
struct CoreNeed;

class Form {
 public:
  explicit Form(Host& host) : host_(host) {}
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Short name for the command line and tests, e.g. "dcdc".
  virtual std::string_view key() const = 0;
  // The field table behind the form, when it has one.
  virtual const DialogTable* table() const { return nullptr; }

  const std::string& title() const { return title_; }
  const std::vector<Control>& controls() const { return controls_; }
  const Control* control(int id) const;
  Control* control(int id);
  const std::string& text(int id) const;

  // The user typed into a field (the view calls this on every edit).
  void setText(int id, std::string text);

  // The first data exchange, when the window opens (runs the one-time set-up).
  virtual void open() = 0;
  // A push button or clickable static was pressed.
  virtual void command(int id) = 0;
  // The user picked entry `index` of a drop-down list; runs its handler.
  virtual void select(int listId, int index) = 0;
  // The Enter key. Default: press the default button, if any.
  virtual void enterKey();
  // The page is left for another page of its sheet (or the sheet closes): the sheet's data
  // exchange. False keeps the page shown.
  virtual bool leavePage() { return true; }

  // Where the view should put the focus after the last action (the field that failed to
  // read, its text selected); consumed by the caller.
  struct FocusRequest {
    int id = 0;
    bool selectAll = false;
  };
  std::optional<FocusRequest> takeFocusRequest();
  // The form asked to be closed ("返回(&B)" and the like).
  bool closeRequested() const { return closeRequested_; }

  // The pictures to paint now, in painting order.
  virtual std::vector<Picture> pictures() const { return {}; }

  // A form that plots the frequency response of the loop it designed: whether it shows a
  // plot at all, and the plot of its last calculation that wrote its results (nullptr before
  // one, or once those results were blanked).
  virtual bool plotsBode() const { return false; }
  virtual const BodePlot* bode() const { return nullptr; }

  // A form whose loop knows its power stage: whether it offers the load step at all, and the
  // load step of the loop of its last calculation that wrote its results (nullptr before one,
  // once those results were blanked, or when its numbers make no loop).
  virtual bool stepsLoad() const { return false; }
  virtual const LoadStep* loadStep() { return nullptr; }

  // A form that checks its design: whether it shows a design check at all, and the findings
  // of its last calculation that wrote its results (none before one, or once those results
  // were blanked).
  virtual bool checksDesign() const { return false; }
  virtual std::span<const Finding> findings() const { return {}; }

  // How many commands have written their results into the fields so far (with or without a
  // progress window); a command wrote them when this grows. A form without calculations
  // never does.
  virtual int calculationsWritten() const { return 0; }

  // A design was opened into the form: what its last calculation left beside the fields (the
  // design check, the plot, the loss sheet) no longer describes them and is dropped.
  virtual void dropCalculation() {}

  // A form that asks for a magnetic core: its catalogue choice and loss sheet (nullptr: the
  // form asks for none), and what its fields as shown ask of a core.
  virtual CorePick* corePick() { return nullptr; }
  virtual CoreNeed coreNeed() const;

  Host& host() { return host_; }

 protected:
  Control& add(Control c);
  void setTitle(std::string title) { title_ = std::move(title); }
  void requestFocus(int id, bool selectAll) { focus_ = FocusRequest{id, selectAll}; }
  void requestClose() { closeRequested_ = true; }

  std::vector<Control> controls_;

 private:
  Host& host_;
  std::string title_;
  std::optional<FocusRequest> focus_;
  bool closeRequested_ = false;
};

}  // namespace tarnex
