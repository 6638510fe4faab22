#pragma once
// The flyback window: a single-ended flyback converter from rectified AC mains, in continuous
// or discontinuous conduction. Three commands in the order of the design: estimate the core,
// verify the chosen core (transformer, stresses, capacitors), size the RCD clamp. Each runs
// the built-in procedure or the mode's formula file.

#include <vector>

#include "designs/flyback_procedures.h"
#include "forms/core_pick.h"
#include "forms/design_dialog.h"
#include "tables/flyback_table.h"

namespace tarnex {

enum class FlybackMode { Ccm, Dcm };

class CFlybackDlg : public DesignDialog {
 public:
  CFlybackDlg(Host& host, const Folder& folder);

  void command(int id) override;
  void select(int listId, int index) override;

  FlybackMode mode() const;

  CorePick* corePick() override { return &pick_; }
  CoreNeed coreNeed() const override;

 protected:
  void runSetUp() override;
  std::optional<magnetics::WindowKind> coreKind() const override;

 private:
  void computeCore();
  void verify();
  void computeSnubber();
  void onModeChanged();

  void showNotices(const std::vector<FlybackNotice>& notices);
  void setModeCaptions();

  CorePick pick_;
};

}  // namespace tarnex
