#pragma once
// The pages of the loop-compensation sheet and the hint dialogs they open: the control ids
// the page classes share with their tables, and the tables. The pages are field forms laid
// out by their groups; the hint dialogs are placed by their rectangles in dialog units.

#include <array>

#include "tables/field_table.h"

namespace tarnex {

// The hint dialogs the pages open, by their dialog ids.
namespace hint {
inline constexpr int kSaberNote = 200;          // type II: which converters it compensates
inline constexpr int kStabilityCriteria = 201;  // type II: the gain criteria of a stable loop
inline constexpr int kEsrEstimate = 202;        // current mode: ESR from the capacitance
inline constexpr int kPolePlacement = 208;      // type III: placing its poles and zeros
}  // namespace hint

// The current-mode page CICtrl (dialog 106).
namespace icctrl {
inline constexpr int kTypeList = 1189;
inline constexpr int kTransconductance = 0, kOpAmp = 1;  // entries of the type list
inline constexpr int kGm = 1050;                         // used by the transconductance amplifier
inline constexpr int kCalculate = 1000;
inline constexpr int kExact = 1310;    // the exact design beside the page's
inline constexpr int kEsrHint = 1229;  // opens hint::kEsrEstimate
inline constexpr int kCompensatorGroup = 1190;
inline constexpr int kSlopeGroup = 1191;
}  // namespace icctrl

// The voltage-mode type II page CVCtrl (dialog 107).
namespace vctrl {
inline constexpr int kKindList = 1194;
inline constexpr int kDcmFlyback = 0, kForward = 1;  // entries of the kind list
inline constexpr int kStep2 = 1000;
inline constexpr int kStep4 = 1001;
inline constexpr int kExact = 1310;         // the exact design beside the page's
inline constexpr int kOtherHint = 1207;     // opens hint::kSaberNote
inline constexpr int kCriteriaHint = 1227;  // opens hint::kStabilityCriteria
inline constexpr int kL = 1205, kLLabel = 1228;
inline constexpr int kFpo = 1208, kFpoLabel = 1230;
inline constexpr int kFesr = 1209, kGesr = 1210;
inline constexpr int kFp1 = 1213, kFp1Label = 1211;
inline constexpr int kFz1 = 1215, kFz1Label = 1214;
inline constexpr int kPmWant = 1219, kPmWantLabel = 1217;
// The results of the two steps.
inline constexpr std::array<int, 3> kStep2Results = {kFpo, kFesr, kGesr};
inline constexpr std::array<int, 4> kStep4Results = {1221, 1222, 1223, 1224};
}  // namespace vctrl

// The voltage-mode type III page CType3 (dialog 205).
namespace type3 {
inline constexpr int kCalculate = 1235;
inline constexpr int kExact = 1310;  // the exact design beside the page's
inline constexpr int kHint = 1236;   // opens hint::kPolePlacement
}  // namespace type3

const DialogTable& currentModeTable();
const DialogTable& typeIITable();
const DialogTable& typeIIITable();

// The hint dialog of one of the ids of `hint`; std::out_of_range for another id.
const DialogTable& hintTable(int dialogId);

}  // namespace tarnex
