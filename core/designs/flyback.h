#pragma once
// The flyback window: a single-ended flyback converter from rectified AC mains, in continuous
// or discontinuous conduction. Three commands in the order of the design: estimate the core,
// verify the chosen core (transformer, stresses, capacitors), size the RCD clamp. Each runs
// the built-in procedure or the mode's formula file.

#include <optional>
#include <string_view>
#include <vector>

#include "designs/flyback_procedures.h"
#include "forms/design_dialog.h"

namespace tarnex {

namespace flyback {
// Commands, the mode list, captions and the drawing frame.
inline constexpr int kCoreButton = 3;        // "计算磁芯(&C)"
inline constexpr int kVerifyButton = 4;      // "验证(&R)"
inline constexpr int kSnubberButton = 1047;  // "计算(&K)"
inline constexpr int kModeList = 1035;
inline constexpr int kEstimateGroup = 1051;
inline constexpr int kEstimateLabel = 1052;
inline constexpr int kEmpiricalNote = 1086;
inline constexpr int kDrawingFrame = 1078;
// Input fields.
inline constexpr int kPo = 1016, kVo = 1017, kEff = 1019, kVacMin = 1020, kVacMax = 1021,
                     kVswm = 1023, kVswr = 1055, kF = 1024, kVdf = 1030, kR = 1025, kPtd = 1026,
                     kCmil = 1027, kVopp = 1060, kAe = 1029, kLe = 1031, kBpk = 1033, kBsat = 1032,
                     kPer = 1048;
// The core estimate: volume in CCM, area product in DCM.
inline constexpr int kVe = 1049;
// Output fields.
inline constexpr int kLp = 1022, kLs = 1028, kNp = 1034, kNs = 1036, kDp = 1037, kDs = 1038,
                     kZc = 1039, kIin = 1040, kIpkp = 1041, kIrmsp = 1042, kIswe = 1061,
                     kTon = 1058, kCin = 1059, kIrmss = 1062, kIpks = 1063, kVdm = 1064,
                     kIdm = 1065, kCo = 1067, kVcm = 1068, kClk = 1056, kRlk = 1057;
}  // namespace flyback

enum class FlybackMode { Ccm, Dcm };

class CFlybackDlg : public DesignDialog {
 public:
  CFlybackDlg(Host& host, const Folder& folder);

  void command(int id) override;
  void select(int listId, int index) override;
  std::optional<Picture> picture() const override;

  FlybackMode mode() const;
  // The formula file of the selected mode: "CCM反激变换器 cfg.txt" or "DCM反激变换器 cfg.txt".
  std::string_view formulaFile() const;

 protected:
  void runSetUp() override;

 private:
  void computeCore();
  void verify();
  void computeSnubber();
  void onModeChanged();

  FlybackInputs inputs() const;
  void showNotices(const std::vector<FlybackNotice>& notices);
  void setModeCaptions();
};

}  // namespace tarnex
