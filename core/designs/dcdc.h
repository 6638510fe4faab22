#pragma once
// The DC-DC window: buck, boost and buck-boost stages in continuous or discontinuous
// conduction, chosen by two lists; six built-in procedures and six formula files.

#include "designs/dcdc_procedures.h"
#include "forms/core_pick.h"
#include "forms/design_dialog.h"
#include "tables/dcdc_table.h"

namespace tarnex {

class CDcDcDlg : public DesignDialog {
 public:
  CDcDcDlg(Host& host, const Folder& folder);

  void command(int id) override;
  void select(int listId, int index) override;

  DcDcTopology topology() const;
  DcDcMode mode() const;

  CorePick* corePick() override { return &pick_; }
  CoreNeed coreNeed() const override;

 protected:
  void prepare() override;
  std::optional<magnetics::WindowKind> coreKind() const override;

 private:
  bool builtIn();
  void enableForMode();

  CorePick pick_;
};

}  // namespace tarnex
