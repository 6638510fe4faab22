#pragma once
// The push-pull, half-bridge and full-bridge windows: one form of the same fields, one
// calculate command, and a built-in procedure each (bridge_procedures.h). Each class is the
// shared window on its own table and procedure.

#include "designs/bridge_procedures.h"
#include "designs/design_check.h"
#include "forms/core_pick.h"
#include "forms/design_dialog.h"
#include "tables/bridge_tables.h"

namespace tarnex {

class BridgeDialog : public DesignDialog {
 public:
  void command(int id) override;
  CorePick* corePick() override { return &pick_; }

 protected:
  BridgeDialog(Host& host, const Folder& folder, const DialogTable& table, BridgeKind kind,
               BridgeProcedure procedure);
  std::optional<magnetics::WindowKind> coreKind() const override;

 private:
  bool builtIn();

  BridgeKind kind_;
  BridgeProcedure procedure_;
  CorePick pick_;
};

class CPushPullDlg : public BridgeDialog {
 public:
  CPushPullDlg(Host& host, const Folder& folder);
};

class CHalfBridgeDlg : public BridgeDialog {
 public:
  CHalfBridgeDlg(Host& host, const Folder& folder);
};

class CFullBridgeDlg : public BridgeDialog {
 public:
  CFullBridgeDlg(Host& host, const Folder& folder);
};

}  // namespace tarnex
