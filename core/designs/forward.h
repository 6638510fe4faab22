#pragma once
// The single-switch forward window: a forward converter with a reset winding from rectified
// AC mains. Two commands in the order of the design: estimate the core's area product, then
// verify the core chosen (turns, currents, wire, output inductor). Each runs the built-in
// procedure or the window's formula file.

#include <vector>

#include "designs/forward_procedures.h"
#include "forms/core_pick.h"
#include "forms/design_dialog.h"
#include "tables/forward_table.h"

namespace tarnex {

class CForwardDlg : public DesignDialog {
 public:
  CForwardDlg(Host& host, const Folder& folder);

  void command(int id) override;
  CorePick* corePick() override { return &pick_; }
  CoreNeed coreNeed() const override;

 protected:
  void prepare() override;
  std::optional<magnetics::WindowKind> coreKind() const override;

 private:
  void computeCore();
  void verify();
  void showNotices(const std::vector<ForwardNotice>& notices);

  CorePick pick_;
};

}  // namespace tarnex
