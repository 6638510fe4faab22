#pragma once
// The ringing choke converter window: a self-oscillating flyback from rectified AC mains,
// designed at its lowest frequency (full load, low line). One command, built-in or by the
// window's formula file.

#include "designs/rcc_procedures.h"
#include "forms/core_pick.h"
#include "forms/design_dialog.h"
#include "tables/rcc_table.h"

namespace tarnex {

class CRccDlg : public DesignDialog {
 public:
  CRccDlg(Host& host, const Folder& folder);

  void command(int id) override;
  CorePick* corePick() override { return &pick_; }
  CoreNeed coreNeed() const override;

 protected:
  std::optional<magnetics::WindowKind> coreKind() const override;

 private:
  bool builtIn();

  CorePick pick_;
};

}  // namespace tarnex
