#pragma once
// The push-pull, half-bridge and full-bridge windows share one form: the same 18 fields in the
// same order (the relabel list uses the same label statics), four groups, a note, one
// calculate command and a drawing. Only the control ids, four captions and two opening values
// differ, and this builder keeps those differences in one place per window.

#include <array>
#include <string_view>

#include "tables/field_table.h"

namespace tarnex::bridge {

struct Form {
  // Edit fields in the order VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, DB, Cmil, Ae (the
  // design conditions), then Np, Ns, Dp, Ds, Irmsp, Irmss (the transformer), then Lo.
  std::array<int, 18> fieldIds;
  int conditions, transformer, other, noteGroup;
  std::string_view dmaxCaption;  // what the maximum duty cycle counts
  std::string_view aeCaption;
  std::string_view npCaption;
  std::string_view loCaption;
  std::string_view ioOpening, effOpening;
};

constexpr std::array<FieldRow, 18> fields(const Form& f) {
  const auto& id = f.fieldIds;
  const int c = f.conditions, t = f.transformer;
  return {{
      {id[0], "VacMin", 1248, "最低交流输入(V)", "V", "90", c, kIn, 1},
      {id[1], "VacMax", 1249, "最高交流输入(V)", "V", "260", c, kIn, 2},
      {id[2], "Vo", 1250, "输出电压(V)", "V", "12", c, kIn, 3},
      {id[3], "Io", 1251, "输出电流(A)", "A", f.ioOpening, c, kIn, 4},
      {id[4], "f", 1252, "开关频率(kHz)", "kHz", "100", c, kIn, 5},
      {id[5], "Eff", 1253, "效率(%)", "%", f.effOpening, c, kIn, 6},
      {id[6], "Vdf", 1254, "输出二极管≈(V)", "V", "0.6", c, kIn, 7},
      {id[7], "Dmax", 1255, f.dmaxCaption, "", "0.8", c, kIn, 8},
      {id[8], "DB", 1256, "1/2△B(GS)", "gauss", "1600", c, kIn, 9},
      {id[9], "Cmil", 1257, "电流密度(cmil/A)", "cmil/A", "500", c, kIn, 10},
      {id[10], "Ae", 1258, f.aeCaption, "mm²", "144", c, kIn, 11},
      {id[11], "Np", 1259, f.npCaption, "turns", "", t, kOut, 12},
      {id[12], "Ns", 1247, "次级匝数NS(1/2)", "turns", "", t, kOut, 13},
      {id[13], "Dp", 1260, "初级线径(mm)", "mm", "", t, kOut, 14},
      {id[14], "Ds", 1261, "次级线径(mm)", "mm", "", t, kOut, 15},
      {id[15], "Irmsp", 1262, "初级电流有效值(A)", "A", "", t, kOut, 16},
      {id[16], "Irmss", 1263, "次级电流有效值(A)", "A", "", t, kOut, 17},
      {id[17], "Lo", 1264, f.loCaption, "µH", "", f.other, kOut, 18},
  }};
}

constexpr std::array<GroupRow, 4> groups(const Form& f) {
  return {{
      {f.conditions, "设计条件", kRed},
      {f.transformer, "变压器参数", kBlue},
      {f.other, "Other", kBlue},
      {f.noteGroup, "提示：", kPurple},
  }};
}

inline constexpr ButtonRow kButtons[] = {
    {kCalculateButton, "计算(&C)", "calc", 0, true},
    {kCloseButton, "返回(&B)", ""},
};

// The note that explains the built-in method; greyed while a formula file is in use.
inline constexpr int kNote = 1306;
inline constexpr int kDisabledInFormulaMode[] = {kNote};

// The note of the two bridges (the push-pull has its own wording).
inline constexpr std::string_view kBridgeNote =
    "假定最小负载为额定负载的1/10计算得出的电感，请自行计算电感,可以利用buck模块进行计算。"
    "次级电流有效值是1/2绕组的有效值。";

}  // namespace tarnex::bridge
