// The launcher: flat buttons of 54 × 18 dialog units, none of them the default button.
#include "tables/launcher_table.h"

namespace tarnex {

using namespace launcher;

namespace {

constexpr ButtonRow kButtons[] = {
    {kDcDcButton, "DC-DC", "", 0, false, {13, 19, 54, 18}},
    {kFlybackButton, "反激", "", 0, false, {83, 19, 54, 18}},
    {kForwardButton, "正激", "", 0, false, {153, 19, 54, 18}},
    {kHalfBridgeButton, "半桥", "", 0, false, {223, 19, 54, 18}},
    {kResonantButton, "谐振LLC", "", 0, false, {13, 51, 54, 18}},
    {kRccButton, "RCC", "", 0, false, {83, 51, 54, 18}},
    {kPushPullButton, "推挽", "", 0, false, {153, 51, 54, 18}},
    {kFullBridgeButton, "全桥", "", 0, false, {223, 51, 54, 18}},
    {kLoopButton, "环路补偿", "", 0, false, {83, 85, 54, 18}},
    {kToolboxButton, "Toolbox", "", 0, false, {153, 85, 54, 18}},
    {kExitButton, "退出(&Q)", "", 0, false, {223, 85, 54, 18}},
};

constexpr int kTabOrder[] = {kExitButton,       kToolboxButton,    kPushPullButton, kForwardButton,
                             kHalfBridgeButton, kFullBridgeButton, kFlybackButton,  kRccButton,
                             kLoopButton,       kDcDcButton,       kResonantButton};

constexpr DialogTable kTable{
    .dialogId = 102,
    .key = "launcher",
    .titleName = "Tarnex V3.2 Programmable ",
    .buttons = kButtons,
    .size = {0, 0, 291, 107},
};

}  // namespace

const DialogTable& launcherTable() {
  return kTable;
}

std::span<const int> launcherTabOrder() {
  return kTabOrder;
}

}  // namespace tarnex
