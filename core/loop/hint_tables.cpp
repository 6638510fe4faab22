// The four hint dialogs of the compensation pages: fixed texts placed in dialog units of the
// 11-point dialog font, and one button that closes the dialog. Runs of blanks inside the
// texts (and at their ends) are part of them: they push the following words to the next line.
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "loop/loop_tables.h"

namespace tarnex {

namespace {

// The id of a group box that has none of its own.
constexpr int kHintGroup = 0xFFFF;

// A hint dialog: its caption, its size in dialog units of the 11-point font, its texts, its
// one button and the group box around the texts where it has one.
constexpr DialogTable hintDialog(int dialogId, std::string_view key, std::string_view caption,
                                 Rect size, std::span<const StaticRow> statics,
                                 std::span<const ButtonRow> buttons,
                                 std::span<const GroupRow> groups) {
  return DialogTable{.dialogId = dialogId,
                     .key = key,
                     .titleName = caption,
                     .groups = groups,
                     .buttons = buttons,
                     .statics = statics,
                     .fontPoints = 11,
                     .size = size};
}

// Hint dialog 200, hint::kSaberNote.
constexpr std::string_view kText200_1 =
    "仅给出了DCM反激和正激类拓扑的补偿计算，配合用Saber仿真来获得准确的参数，程序中需要自己放置零极"
    "点完成参数的计算!对于CCM反激，最好使用Saber仿真获得其真实特性曲线!"
    "尤其需要注意CCM反激右半平面零点问题！";
constexpr StaticRow kStatics200[] = {
    {0, StaticKind::Note, kText200_1, 0, {}, {7, 13, 207, 43}},
};
constexpr ButtonRow kButtons200[] = {{kOkButton, "了解！", "", 0, true, {81, 55, 50, 14}}};
constexpr DialogTable kHint200 =
    hintDialog(hint::kSaberNote, "hint200", "说明", {0, 0, 218, 76}, kStatics200, kButtons200, {});

// Hint dialog 201, hint::kStabilityCriteria.
constexpr std::string_view kText201_1 = "1 在开环增益为1的频率处，系统总开环相位延迟小于360°";
constexpr std::string_view kText201_2 =
    "2 "
    "低频段高增益减小误差和衰减输入低频纹波，然后确保以-"
    "1的斜率穿过穿越频率处，不至于相角变化太快；高频需要低增益抑制高频噪声";
constexpr std::string_view kText201_3 = "3 在穿越频率处提供所需的相位裕量，推荐45°";
constexpr std::string_view kText201_4 = "4 穿越频率应小于开关频率的一半，实际设置为其六分之一";
constexpr std::string_view kText201_5 =
    "5 使穿越频率小于任何\"有问题\"的极点或者零点——比如RHP零点和次谐波不稳定极点。 ";
constexpr StaticRow kStatics201[] = {
    {0, StaticKind::Note, kText201_1, 0, {}, {17, 21, 212, 9}},
    {0, StaticKind::Note, kText201_2, 0, {}, {17, 34, 207, 25}},
    {0, StaticKind::Note, kText201_3, 0, {}, {17, 62, 207, 9}},
    {0, StaticKind::Note, kText201_4, 0, {}, {17, 75, 219, 9}},
    {0, StaticKind::Note, kText201_5, 0, {}, {17, 89, 219, 16}},
};
constexpr GroupRow kGroups201[] = {
    {kHintGroup, "电路稳定的增益准则:", {}, {7, 7, 229, 103}},
};
constexpr ButtonRow kButtons201[] = {{kOkButton, "知道了！", "", 0, true, {97, 112, 50, 14}}};
constexpr DialogTable kHint201 = hintDialog(hint::kStabilityCriteria, "hint201", "提示：",
                                            {0, 0, 243, 133}, kStatics201, kButtons201, kGroups201);

// Hint dialog 202, hint::kEsrEstimate.
constexpr std::string_view kText202_1 =
    "ESR通过LCR电桥测量Q值即可计算出，按铝电解电容的经验R*C≈ "
    "65*10*e-"
    "6，所以知道了电容量即可估算出ESR；需要注意：本计算要保证RHP零点远大于穿越频率，习惯设置穿越频"
    "率为开关频率的1/3，开关频率的一半也远大于穿越频率，1/"
    "2开关频率处足够的阻尼。对于反激用等效buck-boost "
    "设置参数，按匝比的平方折算到一次或者二次侧即可。";
constexpr StaticRow kStatics202[] = {
    {0, StaticKind::Note, kText202_1, 0, {}, {13, 17, 176, 64}},
};
constexpr GroupRow kGroups202[] = {
    {kHintGroup, "", {}, {7, 7, 182, 76}},
};
constexpr ButtonRow kButtons202[] = {{kOkButton, "知道了！", "", 0, true, {72, 85, 50, 14}}};
constexpr DialogTable kHint202 = hintDialog(hint::kEsrEstimate, "hint202", "提示：",
                                            {0, 0, 196, 106}, kStatics202, kButtons202, kGroups202);

// Hint dialog 208, hint::kPolePlacement.
constexpr std::string_view kText208_1 =
    "对于3型补偿网络，只给出零极点计算，即通过自己指定放置的零极点位置来计算所需元件参数，可以用来"
    "辅助Saber仿真时做计算，对于调节器直流增益（注意程序需要设置用分贝数表示的增益）：             "
    "                               ";
constexpr std::string_view kText208_2 =
    "buck为：Vin/Vramp                                               "
    "boost和buck-boost则为：Vin/(Vramp(1-D)2),(1-D)二次方           "
    "Vin-输入电压；Vramp-PWM锯齿波电压";
constexpr std::string_view kText208_3 =
    "fLc=1/(2*π*sqrt(L*CO));（sqrt-代表开方）   LC双重极点           fesr=1/(2*π*Resr*CO);  "
    "（Resr电容ESR）     ESR零点";
constexpr std::string_view kText208_4 =
    "        "
    "一般放置3型零极点方法：把两个零点放置在LC滤波器双重极点，抵消LC极点，然后放置一个极点在电容ESR"
    "零点，抵消ESR零点，这样整个环路只剩下运算放大器的初始极点fp0，确保了以-"
    "1的斜率穿过穿越频率，然后把另外的一个极点放置在高频段，让高频下降更快，减少高频噪声，同时可以"
    "改善穿越频率处相位裕量，习惯设置在开关频率处，但设置在接近穿越频率处改善相位裕量效果更好！";
constexpr StaticRow kStatics208[] = {
    {0, StaticKind::Note, kText208_1, 0, {}, {7, 7, 254, 25}},
    {0, StaticKind::Note, kText208_2, 0, {}, {7, 35, 254, 24}},
    {0, StaticKind::Note, kText208_3, 0, {}, {7, 59, 254, 21}},
    {0, StaticKind::Note, kText208_4, 0, {}, {7, 80, 254, 56}},
};
constexpr ButtonRow kButtons208[] = {{kOkButton, "知道了！", "", 0, true, {105, 138, 50, 14}}};
constexpr DialogTable kHint208 = hintDialog(hint::kPolePlacement, "hint208", "提示：",
                                            {0, 0, 268, 159}, kStatics208, kButtons208, {});
}  // namespace

const DialogTable& hintTable(int dialogId) {
  switch (dialogId) {
    case hint::kSaberNote:
      return kHint200;
    case hint::kStabilityCriteria:
      return kHint201;
    case hint::kEsrEstimate:
      return kHint202;
    case hint::kPolePlacement:
      return kHint208;
    default:
      throw std::out_of_range("no hint dialog " + std::to_string(dialogId));
  }
}

}  // namespace tarnex
