#include "designs/dcdc.h"

#include <string>
#include <vector>

#include "base/number_text.h"

namespace tarnex {

using namespace dcdc;

namespace {

// Texts of the window, exactly as shown.
constexpr const char* kCalculateText = "计算(&C)";
constexpr const char* kCloseText = "返回(&B)";
constexpr const char* kIncomplete = "请输入完整的设计条件！";
constexpr const char* kImpossible = "设计条件不正确，请检查！";
constexpr const char* kSaturation = "磁芯峰值磁通密度超过饱和磁通密度！";
constexpr const char* kTopologyCaption = "DC-DC拓扑";
constexpr const char* kModeCaption = "工作模式";
constexpr const char* kHintText =
    "请先选择拓扑和工作模式然后输入设计条件进行计算，左边的参数纹波率是指  dI/IL，即：  "
    "电流纹波/电感斜坡中值， 定义在连续模式下,只要 r<2 即可以保证连续，推荐0.4,"
    "此时变换器的应力损耗等最小；死区时间是为了保证断续而设置的，推荐导通时间加上关断时间为0.8T，"
    "留0.2的余量。"
    "                    ";
constexpr const char* kHelpText = "    更多详情请阅读帮助文档!    ";
constexpr int kNoteGroup = 1089;
constexpr int kConditionsGroup = 1082;

const std::vector<std::string> kTopologyEntries{"buck", "boost", "buck-boost"};
const std::vector<std::string> kModeEntries{"连续(CCM)", "断续(DCM)"};
const std::vector<std::string> kModeKeys{"ccm", "dcm"};

}  // namespace

CDcDcDlg::CDcDcDlg(Host& host, const Folder& folder)
    : DesignDialog(host, folder, dcdcTable(),
                   DesignOptions{"CCM Buck cfg.txt", {kHint, kHelpLine}}) {
  // A list's text is the caption beside it; its entries are filled again by the set-up.
  Control topo =
      makeControl(kTopologyList, ControlKind::DropList, kTopologyCaption, kConditionsGroup);
  topo.entries = kTopologyEntries;
  topo.key = "topology";
  topo.entryKeys = kTopologyEntries;
  add(std::move(topo));
  Control modeList = makeControl(kModeList, ControlKind::DropList, kModeCaption, kConditionsGroup);
  modeList.entries = kModeEntries;
  modeList.key = "mode";
  modeList.entryKeys = kModeKeys;
  add(std::move(modeList));

  add(makeControl(kDrawingFrame, ControlKind::Frame, ""));
  add(makeControl(kHint, ControlKind::Note, kHintText, kNoteGroup));
  add(makeControl(kHelpLine, ControlKind::Note, kHelpText, kNoteGroup));

  Control calc = makeControl(kCalculateButton, ControlKind::Button, kCalculateText);
  calc.isDefault = true;
  calc.key = "calc";
  add(std::move(calc));
  add(makeControl(kCloseButton, ControlKind::Button, kCloseText));
}

void CDcDcDlg::prepare() {
  Control* topo = control(kTopologyList);
  topo->entries = kTopologyEntries;
  topo->selection = 0;
  Control* modeList = control(kModeList);
  modeList->entries = kModeEntries;
  modeList->selection = 0;
  // CCM: the ripple ratio applies, the dead time does not.
  setEnabled(kPtd, false);
  setEnabled(kR, true);
}

DcDcTopology CDcDcDlg::topology() const {
  switch (control(kTopologyList)->selection) {
    case 1:
      return DcDcTopology::Boost;
    case 2:
      return DcDcTopology::BuckBoost;
    default:
      return DcDcTopology::Buck;
  }
}

DcDcMode CDcDcDlg::mode() const {
  return control(kModeList)->selection == 1 ? DcDcMode::Dcm : DcDcMode::Ccm;
}

std::string CDcDcDlg::formulaFile() const {
  std::string name = mode() == DcDcMode::Dcm ? "DCM " : "CCM ";
  switch (topology()) {
    case DcDcTopology::Buck:
      name += "Buck";
      break;
    case DcDcTopology::Boost:
      name += "Boost";
      break;
    case DcDcTopology::BuckBoost:
      name += "Buck-Boost";
      break;
  }
  return name + " cfg.txt";
}

void CDcDcDlg::command(int id) {
  if (id == kCalculateButton) {
    onCalculate();
    return;
  }
  DesignDialog::command(id);
}

void CDcDcDlg::select(int listId, int index) {
  if (!setSelection(listId, index)) return;
  if (listId == kTopologyList) onTopologyChanged();
  if (listId == kModeList) onModeChanged();
}

void CDcDcDlg::onTopologyChanged() {
  setOutputsText("");
  host().repaint();
  refreshFormula();
}

void CDcDcDlg::onModeChanged() {
  setOutputsText("");
  const bool dcm = mode() == DcDcMode::Dcm;
  setEnabled(kPtd, dcm);
  setEnabled(kR, !dcm);
  refreshFormula();
}

void CDcDcDlg::refreshFormula() {
  if (refreshFormulaMode(formulaFile())) updateTitle();
}

void CDcDcDlg::onCalculate() {
  const std::string file = formulaFile();
  Calculation calc;
  calc.formulaFile = file;
  calc.incompleteMessage = kIncomplete;
  calc.builtIn = [this] { return builtIn(); };
  DesignDialog::calculate(calc);
}

bool CDcDcDlg::builtIn() {
  DcDcInputs in;
  in.VinMin = value(kVinMin);
  in.VinMax = value(kVinMax);
  in.Vo = value(kVo);
  in.IoMax = value(kIoMax);
  in.Vsw = value(kVsw);
  in.Vdf = value(kVdf);
  in.f = value(kF);
  in.Ptd = value(kPtd);
  in.r = value(kR);
  in.Bpk = value(kBpk);
  in.Bsat = value(kBsat);
  in.Cmil = value(kCmil);
  in.Vopp = value(kVopp);
  in.Ae = value(kAe);
  const DcDcResult res = designDcDc(topology(), mode(), in);
  if (res.ending == DcDcEnding::Impossible) {
    setOutputsText("");
    showOwned(kImpossible);
    return false;
  }
  const DcDcOutputs& o = res.out;
  const std::pair<int, float> outputs[] = {
      {kL, o.L},     {kIpk, o.Ipk},   {kIrms, o.Irms},     {kDL, o.DL},     {kNL, o.NL},
      {kTon, o.Ton}, {kDuty, o.Duty}, {kIswrms, o.Iswrms}, {kVswm, o.Vswm}, {kIdrms, o.Idrms},
      {kVdm, o.Vdm}, {kCo, o.Co},     {kVc, o.Vc},
  };
  for (const auto& [id, v] : outputs) setValue(id, v);
  if (res.ending == DcDcEnding::Saturation) {
    // The numbers stay in the window's values but are not shown.
    setOutputsText("");
    showOwned(kSaturation);
    return false;
  }
  return true;
}

std::optional<Picture> CDcDcDlg::picture() const {
  const int selection = control(kTopologyList)->selection;
  // Bitmap sizes: 167 is 225 × 117, 168 is 217 × 115, 169 is 208 × 105 pixels; the source
  // rectangle reaches 10 pixels below each (and 2 beyond boost and buck-boost).
  switch (selection) {
    case 0:
      return Picture{"bitmap167", kDrawingFrame, 369, 19, 225, 127};
    case 1:
      return Picture{"bitmap168", kDrawingFrame, 370, 19, 219, 125};
    case 2:
      return Picture{"bitmap169", kDrawingFrame, 370, 19, 210, 115};
    default:
      return std::nullopt;
  }
}

}  // namespace tarnex
