#pragma once
// The flyback window opened in a test folder with built-in formulas and system captions, driven
// by field ids, and the fields the window tests name.

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "designs/flyback.h"
#include "support/field_ids.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"
#include "tables/flyback_table.h"

namespace tarnex {
namespace flyback_window {

using namespace flyback;
using testing::RecordingHost;
using testing::TempFolder;

// Fields of the flyback table used below (the others have named ids of the window).
const int kBsat = testing::fieldId(flybackTable(), "Bsat");
const int kCin = testing::fieldId(flybackTable(), "Cin");
const int kCo = testing::fieldId(flybackTable(), "Co");
const int kDp = testing::fieldId(flybackTable(), "Dp");
const int kDs = testing::fieldId(flybackTable(), "Ds");
const int kIdm = testing::fieldId(flybackTable(), "Idm");
const int kIin = testing::fieldId(flybackTable(), "Iin");
const int kIpks = testing::fieldId(flybackTable(), "Ipks");
const int kIrmsp = testing::fieldId(flybackTable(), "Irmsp");
const int kIrmss = testing::fieldId(flybackTable(), "Irmss");
const int kIswe = testing::fieldId(flybackTable(), "Iswe");
const int kLs = testing::fieldId(flybackTable(), "Ls");
const int kNp = testing::fieldId(flybackTable(), "Np");
const int kNs = testing::fieldId(flybackTable(), "Ns");
const int kPer = testing::fieldId(flybackTable(), "Per");
const int kPo = testing::fieldId(flybackTable(), "Po");
const int kTon = testing::fieldId(flybackTable(), "Ton");
const int kVcm = testing::fieldId(flybackTable(), "Vcm");
const int kVdf = testing::fieldId(flybackTable(), "Vdf");
const int kVdm = testing::fieldId(flybackTable(), "Vdm");
const int kVo = testing::fieldId(flybackTable(), "Vo");
const int kVswm = testing::fieldId(flybackTable(), "Vswm");
const int kVacMin = testing::fieldId(flybackTable(), "VacMin");
const int kZc = testing::fieldId(flybackTable(), "Zc");
const int kF = testing::fieldId(flybackTable(), "f");

constexpr const char* kCcmFile = "CCM反激变换器 cfg.txt";
constexpr const char* kDcmFile = "DCM反激变换器 cfg.txt";
constexpr const char* kInterfaceFile = "Flyback Interface.txt";

const int kOutputs[] = {kLp,  kLs,  kNp,    kNs,   kDp,  kDs,  kZc, kIin, kIpkp, kIrmsp, kIswe,
                        kTon, kCin, kIrmss, kIpks, kVdm, kIdm, kCo, kVcm, kClk,  kRlk};

inline std::string box(const std::string& text) {
  return std::string(kProgramName) + "|" + text;
}

class FlybackDialog : public ::testing::Test {
 protected:
  // Built-in formulas and system captions unless a test writes the files first.
  void SetUp() override {
    tmp.write(kCcmFile, "#");
    tmp.write(kDcmFile, "#");
    tmp.write(kInterfaceFile, "#");
  }

  CFlybackDlg& open() {
    dlg = std::make_unique<CFlybackDlg>(host, tmp.folder());
    dlg->open();
    return *dlg;
  }

  void type(int id, std::string text) { dlg->setText(id, std::move(text)); }
  const std::string& text(int id) const { return dlg->text(id); }
  void typeCore() {
    type(kAe, "100");
    type(kLe, "60");
  }
  void expectOutputsBlank() {
    for (int id : kOutputs) EXPECT_EQ(text(id), "") << "field " << id;
  }

  TempFolder tmp;
  RecordingHost host;
  std::unique_ptr<CFlybackDlg> dlg;
};

}  // namespace flyback_window
}  // namespace tarnex
