#pragma once
// The DC-DC window: buck, boost and buck-boost stages in continuous or discontinuous
// conduction, chosen by two lists; six built-in procedures and six formula files.

#include <optional>
#include <string>
#include <string_view>

#include "designs/dcdc_procedures.h"
#include "forms/design_dialog.h"

namespace tarnex {

namespace dcdc {
// Lists, notes and the drawing frame.
inline constexpr int kTopologyList = 1083;
inline constexpr int kModeList = 1084;
inline constexpr int kHint = 1306;
inline constexpr int kHelpLine = 1307;
inline constexpr int kDrawingFrame = 1078;
// Input fields.
inline constexpr int kVinMin = 1030, kVinMax = 1040, kVo = 1047, kIoMax = 1041, kVsw = 1042,
                     kVdf = 1064, kF = 1044, kPtd = 1046, kR = 1045, kBpk = 1048, kBsat = 1049,
                     kCmil = 1027, kVopp = 1056, kAe = 1057;
// Output fields.
inline constexpr int kL = 1031, kIpk = 1032, kIrms = 1033, kDL = 1034, kNL = 1036, kTon = 1058,
                     kDuty = 1038, kIswrms = 1061, kVswm = 1051, kIdrms = 1065, kVdm = 1052,
                     kCo = 1067, kVc = 1054;
}  // namespace dcdc

class CDcDcDlg : public DesignDialog {
 public:
  CDcDcDlg(Host& host, const Folder& folder);

  void command(int id) override;
  void select(int listId, int index) override;
  std::optional<Picture> picture() const override;

  DcDcTopology topology() const;
  DcDcMode mode() const;
  // The formula file of the selected topology and mode, e.g. "DCM Boost cfg.txt".
  std::string formulaFile() const;

 protected:
  void prepare() override;

 private:
  void onCalculate();
  bool builtIn();
  void onTopologyChanged();
  void onModeChanged();
  void refreshFormula();
};

}  // namespace tarnex
