// Every design window's designs built as circuits and simulated in ngspice: the opening values
// of each window, a fixed table of further designs per procedure and the designs engineers
// reported, each run through its window as tarnex-calc runs it. The numbers as the window
// shows them (six digits: what an engineer builds) go into a deck of the power stage, which
// ngspice runs open loop at the lowest input and the window's longest on-time, and regulated
// at both ends of the input range; the assertions compare the circuit with what the window
// promises and with what the design check says of it.
//
// The windows are driven through their form models rather than the procedures: a row is
// written as a tarnex-calc command, the refusals and the rounding of the fields are the
// window's own, and a procedure may change how it computes without the rows changing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "base/number_text.h"
#include "designs/design_check.h"
#include "designs/magnetics.h"
#include "designs/power_stage.h"
#include "designs/registry.h"
#include "forms/field_form.h"
#include "sim/decks.h"
#include "support/field_ids.h"
#include "support/ngspice.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

using sim::Deck;
using sim::Drive;
using testing::NgspiceRun;

// --- tolerances, once for all rows -----------------------------------------------------

// The output open loop at the lowest input and the longest on-time: at least Vo less this,
// or this close to what the design check predicts there.
constexpr double kReachedShare = 0.03;
// Regulated at the check's on-time: the output this close to Vo, the inductor current's peak
// and ripple and the RMS currents this close to the check's steady state. The circuit has
// what the check's model leaves out (the switch's and the diodes' resistance, the
// magnetising current of the forward and the bridges, the flyback's leakage), each below 1 %.
constexpr double kRegulatedShare = 0.02;
constexpr double kPointShare = 0.05;
// The asked inductor ripple and output ripple, and the asked peak flux, at most this much over.
constexpr double kAskedOver = 0.10;
// The ripple at the other end of the input range this close to the check's.
constexpr double kOtherEndShare = 0.10;
// The flux within this share of the check's after the turns are rounded.
constexpr double kFluxShare = 0.05;
// A current the window shows no more than this much below the simulated one.
constexpr double kShownBelow = 0.10;
// The flyback's clamp voltage at the highest input at most this much above the one the
// window designs with, Vc, so that the switch keeps its margin; and at both ends this close
// to the check's.
constexpr double kClampShare = 0.05;
constexpr double kClampStatedShare = 0.05;
// Discontinuous: the inductor current rests at zero for at least this share of the period.
// Critical conduction: for at most this share (the deck counts the time the current lies
// below 2 % of its peak, which a triangle from zero to its peak and back spends 2 % of the
// period in, without any rest), and its least current at most this share of its peak.
constexpr double kLeastRest = 0.01;
constexpr double kCriticalRest = 0.035;
// ngspice's time limit for one deck.
constexpr double kDeckSeconds = 60;

// The messages a refusal shows.
constexpr const char* kImpossible = "设计条件不正确，请检查！";
constexpr const char* kSaturates = "磁芯峰值磁通密度超过饱和磁通密度！";
constexpr const char* kNoNumber = "请键入一个数。";

struct Row {
  const char* command;   // as tarnex-calc takes it: DIALOG [LIST=ENTRY] [NAME=TEXT] [COMMAND]
  bool refused = false;  // the window must refuse the conditions
  const char* message = nullptr;  // with the message it refuses them with
};

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.command;
}

const Row kRows[] = {
    // The opening values of every window (the flyback verified with a core of Ae 100 mm², Le
    // 60 mm and its clamp computed; the forward verified with Ae 100 mm²).
    {"dcdc topology=buck mode=ccm"},
    {"dcdc topology=buck mode=dcm"},
    {"dcdc topology=boost mode=ccm VinMin=30 VinMax=36 Vo=48"},
    {"dcdc topology=boost mode=dcm VinMin=30 VinMax=36 Vo=48"},
    {"dcdc topology=buck-boost mode=ccm"},
    {"dcdc topology=buck-boost mode=dcm"},
    {"flyback mode=ccm Ae=100 Le=60 verify snubber"},
    {"flyback mode=dcm Ae=100 Le=60 verify snubber"},
    {"forward Ae=100 verify"},
    {"rcc"},
    {"pushpull"},
    {"halfbridge"},
    {"fullbridge"},
    // Designs engineers reported.
    {"dcdc topology=buck mode=dcm VinMin=40.6 VinMax=79.7 Vo=15 IoMax=0.4 Vsw=0.3 Vdf=0.5 f=500 "
     "Ptd=25 Vopp=10 Ae=90"},
    {"dcdc topology=boost VinMin=5 VinMax=9"},
    {"fullbridge VacMin=85 VacMax=213 Vo=12 Eff=91 Vdf=0.42 Cmil=400 f=70 Dmax=0.9 DB=1500 "
     "Io=21.8"},
    {"halfbridge VacMin=190 VacMax=239 Vo=5 Eff=82 Vdf=0.47 Cmil=600 f=200 Dmax=0.66 DB=1000 "
     "Io=181.4"},
    {"dcdc topology=buck mode=dcm VinMin=2.8 VinMax=5 Vo=1.8 IoMax=0.84 Vsw=0.5 Vdf=0.8 f=150 "
     "Ptd=30 Ae=60"},
    {"dcdc topology=boost mode=dcm VinMin=9 VinMax=14 Vo=40.3 IoMax=8.51 Vsw=1.5 Vdf=0.4 f=150 "
     "r=0.78 Vopp=100 Ae=90",
     true, kSaturates},
    {"dcdc topology=boost VinMin=1 VinMax=13 Vo=48", true, kImpossible},
    {"dcdc topology=boost VinMin=50 Vo=48", true, kImpossible},
    {"dcdc topology=buck VinMin=30 VinMax=20", true, kImpossible},
    {"dcdc VinMin=nan", true, kNoNumber},
    {"dcdc VinMin=1e39", true, kNoNumber},
    {"dcdc mode=dcm Ptd=100", true, kImpossible},
    {"flyback VacMin=300 Ae=100 Le=60 verify", true, kImpossible},
    {"forward Dmax=1 Ae=100 verify", true, kImpossible},
    {"rcc IoMin=2", true, kImpossible},
    {"pushpull VacMin=300 VacMax=200", true, kImpossible},
    {"halfbridge Dmax=1.2", true, kImpossible},
    // A large core for a low output: the forward's secondary would round to no turn at all.
    {"forward VacMin=200 VacMax=265 Vo=3.3 Io=10 Dmax=0.4 Ae=400 verify"},
    // Further designs, drawn once (draw_designs.py, seed 1515) from the ranges an engineer
    // would use, four per procedure.
    {"dcdc topology=buck mode=ccm VinMin=49.9 VinMax=89 Vo=17.8 IoMax=5.43 Vsw=0.942 Vdf=0.612 "
     "f=211 Bpk=2020 Bsat=3500 Cmil=309 Vopp=85.2 Ae=75 r=0.556"},
    {"dcdc topology=buck mode=ccm VinMin=23.1 VinMax=32.4 Vo=15.2 IoMax=9.82 Vsw=0.195 Vdf=0.765 "
     "f=150 Bpk=2450 Bsat=3500 Cmil=398 Vopp=97.4 Ae=98.7 r=0.491"},
    {"dcdc topology=buck mode=ccm VinMin=51.8 VinMax=96.2 Vo=33.6 IoMax=6 Vsw=0.521 Vdf=0.335 "
     "f=166 Bpk=1510 Bsat=3500 Cmil=422 Vopp=87.1 Ae=54.5 r=0.406"},
    {"dcdc topology=buck mode=ccm VinMin=32.7 VinMax=44.1 Vo=14.9 IoMax=1.53 Vsw=0.155 Vdf=0.712 "
     "f=90.6 Bpk=2130 Bsat=3500 Cmil=593 Vopp=51.9 Ae=150 r=0.401"},
    {"dcdc topology=buck mode=dcm VinMin=38.9 VinMax=62.3 Vo=26.2 IoMax=4.7 Vsw=0.602 Vdf=0.357 "
     "f=216 Bpk=1550 Bsat=3500 Cmil=372 Vopp=79.5 Ae=102 Ptd=21.8"},
    {"dcdc topology=buck mode=dcm VinMin=15.2 VinMax=23.3 Vo=6.65 IoMax=8.38 Vsw=0.237 Vdf=0.62 "
     "f=213 Bpk=1940 Bsat=3500 Cmil=529 Vopp=71.2 Ae=104 Ptd=21.6"},
    {"dcdc topology=buck mode=dcm VinMin=49.8 VinMax=68.7 Vo=13 IoMax=8.21 Vsw=0.83 Vdf=0.468 "
     "f=148 Bpk=1960 Bsat=3500 Cmil=369 Vopp=63.2 Ae=134 Ptd=15.1"},
    {"dcdc topology=buck mode=dcm VinMin=39.8 VinMax=52.2 Vo=16.3 IoMax=9.05 Vsw=0.634 Vdf=0.472 "
     "f=68.1 Bpk=1970 Bsat=3500 Cmil=554 Vopp=64.3 Ae=127 Ptd=17.4"},
    {"dcdc topology=boost mode=ccm VinMin=18.6 VinMax=26 Vo=75.5 IoMax=8.76 Vsw=0.329 Vdf=0.773 "
     "f=456 Bpk=1790 Bsat=3500 Cmil=584 Vopp=40.7 Ae=23.5 r=0.442"},
    {"dcdc topology=boost mode=ccm VinMin=3.59 VinMax=5.2 Vo=9.42 IoMax=0.678 Vsw=0.79 Vdf=0.305 "
     "f=339 Bpk=2440 Bsat=3500 Cmil=582 Vopp=16.6 Ae=69.2 r=0.331"},
    {"dcdc topology=boost mode=ccm VinMin=9.1 VinMax=14.4 Vo=38.1 IoMax=7.22 Vsw=0.538 Vdf=0.592 "
     "f=274 Bpk=2240 Bsat=3500 Cmil=536 Vopp=33.5 Ae=131 r=0.23"},
    {"dcdc topology=boost mode=ccm VinMin=27 VinMax=42.6 Vo=122 IoMax=5.12 Vsw=0.853 Vdf=0.655 "
     "f=89.9 Bpk=2740 Bsat=3500 Cmil=488 Vopp=23.5 Ae=45 r=0.234"},
    {"dcdc topology=boost mode=dcm VinMin=22.9 VinMax=33.1 Vo=82.9 IoMax=9.24 Vsw=0.858 Vdf=0.531 "
     "f=247 Bpk=1640 Bsat=3500 Cmil=452 Vopp=38.4 Ae=114 Ptd=20.1"},
    {"dcdc topology=boost mode=dcm VinMin=4.04 VinMax=5.04 Vo=11.6 IoMax=5.1 Vsw=0.672 Vdf=0.751 "
     "f=285 Bpk=2080 Bsat=3500 Cmil=509 Vopp=53.9 Ae=117 Ptd=22"},
    {"dcdc topology=boost mode=dcm VinMin=3.2 VinMax=4.46 Vo=13 IoMax=7.04 Vsw=0.462 Vdf=0.625 "
     "f=383 Bpk=2330 Bsat=3500 Cmil=386 Vopp=58.8 Ae=71.2 Ptd=21.9"},
    {"dcdc topology=boost mode=dcm VinMin=16.2 VinMax=24.9 Vo=30.6 IoMax=3.38 Vsw=0.167 Vdf=0.404 "
     "f=288 Bpk=1730 Bsat=3500 Cmil=409 Vopp=18.2 Ae=43.6 Ptd=28.4"},
    {"dcdc topology=buck-boost mode=ccm VinMin=15.7 VinMax=19.1 Vo=11.2 IoMax=7.35 Vsw=0.192 "
     "Vdf=0.737 f=279 Bpk=2570 Bsat=3500 Cmil=475 Vopp=93.1 Ae=141 r=0.312"},
    {"dcdc topology=buck-boost mode=ccm VinMin=29.5 VinMax=47.6 Vo=26.3 IoMax=9.98 Vsw=0.146 "
     "Vdf=0.46 f=211 Bpk=2660 Bsat=3500 Cmil=404 Vopp=13.3 Ae=58.5 r=0.266"},
    {"dcdc topology=buck-boost mode=ccm VinMin=22.6 VinMax=35.9 Vo=24.1 IoMax=9.15 Vsw=0.341 "
     "Vdf=0.743 f=271 Bpk=2700 Bsat=3500 Cmil=469 Vopp=21 Ae=117 r=0.58"},
    {"dcdc topology=buck-boost mode=ccm VinMin=7.28 VinMax=13.8 Vo=38.9 IoMax=5.37 Vsw=0.524 "
     "Vdf=0.532 f=452 Bpk=2610 Bsat=3500 Cmil=374 Vopp=12.3 Ae=93.6 r=0.376"},
    {"dcdc topology=buck-boost mode=dcm VinMin=10.3 VinMax=16.9 Vo=26.6 IoMax=6.54 Vsw=0.15 "
     "Vdf=0.562 f=417 Bpk=1650 Bsat=3500 Cmil=436 Vopp=82.9 Ae=27.3 Ptd=24.2"},
    {"dcdc topology=buck-boost mode=dcm VinMin=26.6 VinMax=31.7 Vo=17.4 IoMax=6.93 Vsw=0.27 "
     "Vdf=0.785 f=98.9 Bpk=2480 Bsat=3500 Cmil=413 Vopp=12 Ae=121 Ptd=24.4"},
    {"dcdc topology=buck-boost mode=dcm VinMin=11.2 VinMax=17.3 Vo=45.2 IoMax=0.676 Vsw=0.839 "
     "Vdf=0.508 f=298 Bpk=2170 Bsat=3500 Cmil=507 Vopp=47.4 Ae=106 Ptd=27"},
    {"dcdc topology=buck-boost mode=dcm VinMin=26.5 VinMax=50.5 Vo=45.2 IoMax=2.88 Vsw=0.243 "
     "Vdf=0.536 f=197 Bpk=2240 Bsat=3500 Cmil=544 Vopp=21.7 Ae=71.2 Ptd=21.1"},
    {"flyback mode=ccm Po=113 Vo=23.9 Eff=88.1 VacMin=87.9 VacMax=256 Vswm=671 Vswr=106 f=128 "
     "Vdf=0.992 Cmil=414 Vopp=79.8 Ae=105 Le=52.3 Bpk=2740 Bsat=3500 Per=4.41 r=0.498 verify "
     "snubber"},
    {"flyback mode=ccm Po=65.6 Vo=35.7 Eff=85.6 VacMin=97.1 VacMax=264 Vswm=664 Vswr=100 f=188 "
     "Vdf=0.644 Cmil=591 Vopp=54.6 Ae=69.7 Le=30.5 Bpk=2350 Bsat=3500 Per=3.28 r=0.78 verify "
     "snubber"},
    {"flyback mode=ccm Po=33.7 Vo=40.6 Eff=81.6 VacMin=96.4 VacMax=258 Vswm=691 Vswr=78.4 f=57.6 "
     "Vdf=0.65 Cmil=598 Vopp=115 Ae=127 Le=43.9 Bpk=2360 Bsat=3500 Per=1.15 r=0.748 verify "
     "snubber"},
    {"flyback mode=ccm Po=120 Vo=37 Eff=87 VacMin=96.7 VacMax=266 Vswm=672 Vswr=107 f=149 "
     "Vdf=0.926 Cmil=450 Vopp=49 Ae=123 Le=64.6 Bpk=2090 Bsat=3500 Per=2.27 r=0.538 verify "
     "snubber"},
    {"flyback mode=dcm Po=55.2 Vo=36.6 Eff=89.6 VacMin=87.6 VacMax=244 Vswm=781 Vswr=54 f=164 "
     "Vdf=0.47 Cmil=427 Vopp=73.1 Ae=131 Le=56.3 Bpk=2280 Bsat=3500 Per=3.83 Ptd=24.5 verify "
     "snubber"},
    {"flyback mode=dcm Po=82.2 Vo=47.3 Eff=73.5 VacMin=89.7 VacMax=252 Vswm=706 Vswr=77.5 f=63.4 "
     "Vdf=0.972 Cmil=418 Vopp=52 Ae=80.9 Le=69.1 Bpk=2760 Bsat=3500 Per=3.34 Ptd=26.7 verify "
     "snubber"},
    {"flyback mode=dcm Po=120 Vo=38.7 Eff=78.9 VacMin=96.3 VacMax=268 Vswm=742 Vswr=95.7 f=82.7 "
     "Vdf=0.825 Cmil=576 Vopp=72 Ae=77.3 Le=72.5 Bpk=2700 Bsat=3500 Per=4.08 Ptd=20.7 verify "
     "snubber"},
    {"flyback mode=dcm Po=60.9 Vo=15.5 Eff=89.3 VacMin=87.1 VacMax=251 Vswm=671 Vswr=67.6 f=96.7 "
     "Vdf=0.933 Cmil=483 Vopp=102 Ae=91.1 Le=64 Bpk=2560 Bsat=3500 Per=2.96 Ptd=22.5 verify "
     "snubber"},
    {"forward VacMin=169 VacMax=245 Vo=23.6 Io=24.2 f=212 Eff=81 Vdf=0.607 Dmax=0.442 Bpk=1790 "
     "Cmil=565 Ae=123 verify"},
    {"forward VacMin=98.5 VacMax=267 Vo=23.1 Io=25.2 f=273 Eff=84.3 Vdf=0.704 Dmax=0.444 Bpk=1230 "
     "Cmil=647 Ae=78.7 verify"},
    {"forward VacMin=131 VacMax=259 Vo=22.4 Io=20.8 f=280 Eff=83.5 Vdf=0.427 Dmax=0.388 Bpk=1590 "
     "Cmil=464 Ae=53.2 verify"},
    {"forward VacMin=108 VacMax=250 Vo=19.9 Io=23.8 f=84.4 Eff=78.8 Vdf=0.586 Dmax=0.344 Bpk=1360 "
     "Cmil=466 Ae=182 verify"},
    {"rcc VacMin=91.9 VacMax=252 Vo=22.6 IoMax=0.35 IoMin=0.035 fMin=68.1 Eff=70.9 Vswm=730 "
     "Vswr=134 Vsw=0.889 Vdf=0.637 Bpk=2370 Ae=55.7 Cmil=437"},
    {"rcc VacMin=94.6 VacMax=250 Vo=17.9 IoMax=1.91 IoMin=0.191 fMin=59.8 Eff=83.5 Vswm=719 "
     "Vswr=146 Vsw=1.75 Vdf=0.487 Bpk=2690 Ae=19 Cmil=544"},
    {"rcc VacMin=93.8 VacMax=261 Vo=8.39 IoMax=0.895 IoMin=0.0895 fMin=77.6 Eff=71.7 Vswm=656 "
     "Vswr=142 Vsw=0.929 Vdf=0.436 Bpk=2100 Ae=23.5 Cmil=552"},
    {"rcc VacMin=85.3 VacMax=252 Vo=21.8 IoMax=1.39 IoMin=0.139 fMin=54.2 Eff=78.1 Vswm=691 "
     "Vswr=107 Vsw=0.721 Vdf=0.827 Bpk=2770 Ae=27.8 Cmil=578"},
    {"pushpull VacMin=146 VacMax=227 Vo=24.9 Io=26.5 f=179 Eff=82.5 Vdf=0.62 Dmax=0.794 DB=1540 "
     "Cmil=571 Ae=143"},
    {"pushpull VacMin=112 VacMax=168 Vo=45.7 Io=36.1 f=99 Eff=89.6 Vdf=0.715 Dmax=0.78 DB=1040 "
     "Cmil=546 Ae=203"},
    {"pushpull VacMin=98.5 VacMax=247 Vo=21.2 Io=47 f=64.2 Eff=85 Vdf=0.716 Dmax=0.748 DB=1790 "
     "Cmil=540 Ae=157"},
    {"pushpull VacMin=128 VacMax=156 Vo=16 Io=23.3 f=135 Eff=85.6 Vdf=0.703 Dmax=0.681 DB=1500 "
     "Cmil=563 Ae=104"},
    {"halfbridge VacMin=91.4 VacMax=163 Vo=22.6 Io=10 f=66.7 Eff=89.9 Vdf=0.815 Dmax=0.801 DB=1610 "
     "Cmil=450 Ae=116"},
    {"halfbridge VacMin=141 VacMax=233 Vo=29.9 Io=7.95 f=76.8 Eff=91.3 Vdf=0.472 Dmax=0.714 "
     "DB=1210 Cmil=558 Ae=224"},
    {"halfbridge VacMin=173 VacMax=248 Vo=41.6 Io=7.52 f=79.1 Eff=82.7 Vdf=0.784 Dmax=0.896 "
     "DB=1800 Cmil=545 Ae=159"},
    {"halfbridge VacMin=145 VacMax=211 Vo=47.6 Io=48.9 f=128 Eff=90.5 Vdf=0.827 Dmax=0.777 DB=1270 "
     "Cmil=457 Ae=117"},
    {"fullbridge VacMin=161 VacMax=270 Vo=19.2 Io=34.4 f=120 Eff=89.8 Vdf=0.455 Dmax=0.737 DB=1480 "
     "Cmil=535 Ae=242"},
    {"fullbridge VacMin=196 VacMax=270 Vo=14.8 Io=22.5 f=155 Eff=90.4 Vdf=0.429 Dmax=0.857 DB=1490 "
     "Cmil=584 Ae=272"},
    {"fullbridge VacMin=138 VacMax=270 Vo=27 Io=40.6 f=74.7 Eff=89.4 Vdf=0.596 Dmax=0.695 DB=1740 "
     "Cmil=443 Ae=179"},
    {"fullbridge VacMin=192 VacMax=270 Vo=6.11 Io=39.4 f=68.9 Eff=80.4 Vdf=0.608 Dmax=0.695 "
     "DB=1300 Cmil=567 Ae=125"},
};

// --- the window, as tarnex-calc runs it ------------------------------------------------

// A window after the row's command: the numbers it shows, by formula name.
class Shown {
 public:
  explicit Shown(const std::string& command) {
    std::istringstream words(command);
    words >> key;
    for (const DesignInfo& d : designs()) {
      for (const FormulaFileRow& f : d.table->formulaFiles) dir.write(f.fileName, "#");
      dir.write(d.table->interfaceFile, "#");
    }
    form = makeDesign(key, host, dir.folder());
    if (!form) throw std::invalid_argument("no window " + key);
    form->open();
    std::vector<int> buttons;
    for (std::string word; words >> word;) {
      const std::size_t eq = word.find('=');
      if (eq == std::string::npos) {
        buttons.push_back(control(ControlKind::Button, word).id);
        continue;
      }
      const std::string name = word.substr(0, eq), text = word.substr(eq + 1);
      if (const FieldRow* row = findField(*form->table(), name)) {
        form->setText(row->controlId, text);
        continue;
      }
      const Control& list = control(ControlKind::DropList, name);
      int index = -1;
      for (std::size_t i = 0; i < list.entryKeys.size(); ++i) {
        if (list.entryKeys[i] == text) index = static_cast<int>(i);
      }
      if (index < 0) throw std::invalid_argument("no entry " + word);
      form->select(list.id, index);
    }
    if (buttons.empty()) {
      for (const Control& c : form->controls()) {
        if (c.kind == ControlKind::Button && c.isDefault) buttons.push_back(c.id);
      }
    }
    for (int id : buttons) form->command(id);
    const auto* fields = dynamic_cast<const FieldForm*>(form.get());
    written = fields != nullptr && fields->lastCalculationWritten();
  }

  // The number a field shows (NaN when it shows none).
  float operator[](std::string_view name) const {
    const std::string& text = form->text(testing::fieldId(*form->table(), name));
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    return end == text.c_str() ? NAN : v;
  }
  int selection(std::string_view listKey) const {
    return control(ControlKind::DropList, listKey).selection;
  }

  std::string key;
  bool written = false;  // the last command wrote its results
  testing::RecordingHost host;

 private:
  const Control& control(ControlKind kind, std::string_view k) const {
    for (const Control& c : form->controls()) {
      if (c.kind == kind && c.key == k) return c;
    }
    throw std::invalid_argument("no control " + std::string(k));
  }
  testing::TempFolder dir;
  std::unique_ptr<Form> form;
};

template <class S, std::size_t N>
S read(const Shown& w, const Bound<S> (&binds)[N]) {
  S s{};
  for (const Bound<S>& b : binds) s.*b.member = w[b.name];
  return s;
}

constexpr Bound<DcDcInputs> kDcDcInputs[] = {TARNEX_BINDS(
    DcDcInputs, VinMin, VinMax, Vo, IoMax, Vsw, Vdf, f, Ptd, r, Bpk, Bsat, Cmil, Vopp, Ae)};
constexpr Bound<DcDcOutputs> kDcDcOutputs[] = {
    TARNEX_BINDS(DcDcOutputs, L, Ipk, Irms, DL, NL, Ton, Duty, Iswrms, Vswm, Idrms, Vdm, Co, Vc)};
constexpr Bound<FlybackInputs> kFlybackInputs[] = {
    TARNEX_BINDS(FlybackInputs, Po, Vo, Eff, VacMin, VacMax, Vswm, Vswr, f, Vdf, r, Ptd, Cmil, Vopp,
                 Ae, Le, Bpk, Bsat, Per)};
constexpr Bound<FlybackDesign> kFlybackDesign[] = {
    TARNEX_BINDS(FlybackDesign, Lp, Ls, Np, Ns, Dp, Ds, Zc, Iin, Ipkp, Irmsp, Iswe, Ton, Cin, Irmss,
                 Ipks, Vdm, Idm, Co, Vcm)};
constexpr Bound<ForwardInputs> kForwardInputs[] = {
    TARNEX_BINDS(ForwardInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, Bpk, Cmil, Kw, Ae)};
constexpr Bound<ForwardDesign> kForwardDesign[] = {
    TARNEX_BINDS(ForwardDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};
constexpr Bound<RccInputs> kRccInputs[] = {TARNEX_BINDS(
    RccInputs, VacMin, VacMax, Vo, IoMax, IoMin, fMin, Eff, Vswm, Vswr, Vsw, Vdf, Bpk, Ae, Cmil)};
constexpr Bound<RccDesign> kRccDesign[] = {
    TARNEX_BINDS(RccDesign, Lp, Ls, Ipkp, Ipks, Irmsp, Irmss, Np, Ns, Dp, Ds, fMax)};
constexpr Bound<BridgeInputs> kBridgeInputs[] = {
    TARNEX_BINDS(BridgeInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, DB, Cmil, Ae)};
constexpr Bound<BridgeDesign> kBridgeDesign[] = {
    TARNEX_BINDS(BridgeDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};

// --- what the design check states, and what the window promises --------------------------

// The design check's statements (design_check.h) the suite compares the circuit with: the
// stage referred to the secondary, regulated at both ends of the input range, open loop at the
// window's longest on-time at the lowest input, and the peak flux after rounding.
struct Stated {
  StagePoint low, high, reachedLow;
  bool predictsReached = false;  // the check predicts the open-loop output (reachedLow.Vo)
  double Bpeak = 0;
  double clampLow = 0, clampHigh = 0;  // flyback
};

// How the flux is read from the simulated core.
enum class Flux {
  Peak,       // a gapped core: the peak (DC-DC inductor, flyback, ringing choke)
  Swing,      // the forward: from zero after each reset to the peak
  HalfSwing,  // push-pull and bridges: half the swing, the window's 1/2△B
};

// What a window promises about its design, in the circuit's terms.
struct Promise {
  double Vo = 0;
  // The inductor ripple asked (as the stage sees it, A) and whether at the highest input.
  double ripple = 0;
  bool rippleAtHigh = false;
  double Vopp = 0;  // V; 0 when the window sizes no output capacitor
  bool voppAtHigh = false;
  bool discontinuous = false;
  double Bpk = 0;
  Flux flux = Flux::Peak;
  double Bsat = 0;             // a window that refuses saturation
  double Isw = 0, Idiode = 0;  // RMS currents the window shows for the switch and the diode
  double clamp = 0;            // the flyback's Vc
  double fMin = 0;             // the ringing choke's lowest frequency (full load, low line), kHz
};

// The deck writers for a drive, the two input voltages, and how the measured switch and diode
// currents follow from a steady state of the referred stage.
struct Plan {
  Stated stated;
  Promise promise;
  double VinLow = 0, VinHigh = 0;
  // The circuit as built (the flyback with its leakage and clamp).
  std::function<Deck(const Drive&)> deck;
  // The transformer as the window designs it, when that differs from the circuit as built:
  // the flyback without leakage (the window sizes its currents for that; what the leakage adds
  // is the design check's finding), regulated at both ends.
  std::function<Deck(const Drive&)> designedDeck;
  StagePoint designedLow, designedHigh;
  // The turns ratio the window computes before rounding (forward, push-pull, bridges), open
  // loop at Dmax at the lowest input: it must give Vo, whatever the rounding does after it.
  std::function<Deck(const Drive&)> ratioDeck;
  StagePoint ratioLow;
  std::function<double(const StagePoint&)> switchRms, diodeRms;
};

// The output `Ton` reaches open loop at the stage's input into the full load.
StagePoint openLoop(const Stage& s, double Ton) {
  return driveAt(s, Ton, s.Vo / s.Io);
}

// The check's statements shared by the windows that state an open-loop output.
template <class Check>
Stated statedBy(const Check& c) {
  Stated st;
  st.low = c.low;
  st.high = c.high;
  st.reachedLow = c.reachedLow;
  st.predictsReached = true;
  st.Bpeak = c.Bpeak;
  return st;
}

Plan dcdcPlan(const Shown& w) {
  const auto topology = static_cast<DcDcTopology>(w.selection("topology"));
  const DcDcMode mode = w.selection("mode") == 1 ? DcDcMode::Dcm : DcDcMode::Ccm;
  const bool dcm = mode == DcDcMode::Dcm;
  const DcDcInputs in = read(w, kDcDcInputs);
  const DcDcOutputs out = read(w, kDcDcOutputs);
  const DcDcCheck c = checkDcDc(topology, mode, in, out);
  Plan p;
  p.VinLow = in.VinMin;
  p.VinHigh = in.VinMax;
  p.stated.low = c.low;
  p.stated.high = c.high;
  p.stated.Bpeak = c.Bpeak;
  // The on-time the window designs with at the lowest input: the buck's duty there (less the
  // dead time in DCM), the others' shown Ton. The check states no output there.
  const double T = 1000 / double{in.f};
  double TonLow = out.Ton;
  if (topology == DcDcTopology::Buck) {
    TonLow = T * (double{in.Vo} + in.Vdf) / (double{in.VinMin} - in.Vsw + in.Vdf);
    if (dcm) TonLow *= 1 - in.Ptd * 0.01;
  }
  p.stated.reachedLow = openLoop(c.lowStage, TonLow);

  Promise& pr = p.promise;
  pr.Vo = in.Vo;
  if (!dcm) {
    // The buck designs its inductor at VinMax with r of the load, boost and buck-boost at
    // VinMin with r of IL = IoMax / (1 − Duty).
    pr.rippleAtHigh = topology == DcDcTopology::Buck;
    pr.ripple = in.r * (pr.rippleAtHigh ? in.IoMax : in.IoMax / (1 - double{out.Duty}));
  }
  pr.Vopp = in.Vopp * 0.001;
  pr.voppAtHigh = topology == DcDcTopology::Buck;  // its Ton is taken at VinMax
  pr.discontinuous = dcm;
  pr.Bpk = in.Bpk;
  pr.Bsat = in.Bsat;
  pr.Isw = out.Iswrms;
  pr.Idiode = out.Idrms;
  p.deck = [=](const Drive& d) { return sim::dcdcDeck(topology, in, out, d); };
  p.switchRms = [](const StagePoint& s) { return s.switchRms; };
  p.diodeRms = [](const StagePoint& s) { return s.diodeRms; };
  return p;
}

Plan flybackPlan(const Shown& w) {
  const FlybackInputs in = read(w, kFlybackInputs);
  const FlybackDesign d = read(w, kFlybackDesign);
  const FlybackClamp clamp{w["Rlk"], w["Clk"]};
  const bool continuous = w.selection("mode") == 0;
  const FlybackCheck c = checkFlyback(continuous, in, d, clamp);
  const double n = c.n;
  Plan p;
  p.VinLow = acPeak(in.VacMin);
  p.VinHigh = acPeak(in.VacMax);
  p.stated = statedBy(c);
  p.stated.clampLow = c.clampLow;
  p.stated.clampHigh = c.clampHigh;

  Promise& pr = p.promise;
  pr.Vo = in.Vo;
  if (continuous) {
    // r of the primary centre current Ipkp / (1 + r/2) at VacMin, referred to the secondary.
    pr.ripple = in.r * d.Ipkp / (1 + in.r / 2) * n;
  }
  pr.Vopp = in.Vopp * 0.001;
  pr.discontinuous = !continuous;
  pr.Bpk = in.Bpk;
  pr.Isw = d.Irmsp;
  pr.Idiode = d.Irmss;
  pr.clamp = double{in.Vswm} - in.Vswr - acPeak(in.VacMax);
  p.deck = [=](const Drive& dr) { return sim::flybackDeck(in, d, clamp, dr); };
  p.designedDeck = [=](const Drive& dr) { return sim::flybackDeck(in, d, std::nullopt, dr); };
  Stage lowBare = c.lowStage, highBare = c.highStage;
  lowBare.Llk = highBare.Llk = 0;
  p.designedLow = regulate(lowBare);
  p.designedHigh = regulate(highBare);
  p.switchRms = [n](const StagePoint& s) { return s.switchRms / n; };
  p.diodeRms = [](const StagePoint& s) { return s.diodeRms; };
  return p;
}

Plan rccPlan(const Shown& w) {
  const RccInputs in = read(w, kRccInputs);
  const RccDesign d = read(w, kRccDesign);
  // Critical conduction: full load at the lowest input, the minimum load at the highest.
  const RccCheck c = checkRcc(in, d);
  const double n = c.n;
  Plan p;
  p.VinLow = acPeak(in.VacMin);
  p.VinHigh = acPeak(in.VacMax);
  p.stated.low = c.low;
  p.stated.high = c.high;
  p.stated.reachedLow = c.low;
  p.stated.Bpeak = c.Bpeak;

  Promise& pr = p.promise;
  pr.Vo = in.Vo;
  pr.Bpk = in.Bpk;
  pr.Isw = d.Irmsp;
  pr.Idiode = d.Irmss;
  pr.fMin = in.fMin;
  p.deck = [=](const Drive& dr) { return sim::rccDeck(in, d, dr); };
  p.switchRms = [n](const StagePoint& s) { return s.switchRms / n; };
  p.diodeRms = [](const StagePoint& s) { return s.diodeRms; };
  return p;
}

Plan forwardPlan(const Shown& w) {
  const ForwardInputs in = read(w, kForwardInputs);
  const ForwardDesign d = read(w, kForwardDesign);
  // The output inductor behind the rectifier: the forward diode drops Vdf while the switch
  // conducts, the freewheeling diode Vdf while it does not.
  const ForwardCheck c = checkForward(in, d);
  const double n = c.n;
  Plan p;
  p.VinLow = acPeak(in.VacMin);
  p.VinHigh = acPeak(in.VacMax);
  p.stated = statedBy(c);

  Promise& pr = p.promise;
  pr.Vo = in.Vo;
  pr.ripple = 0.4 * in.Io;
  pr.rippleAtHigh = true;
  pr.Bpk = in.Bpk;
  pr.flux = Flux::Swing;
  pr.Isw = d.Irmsp;
  pr.Idiode = d.Irmss;
  p.deck = [=](const Drive& dr) { return sim::forwardDeck(in, d, dr); };
  ForwardDesign unrounded = d;
  const double ratio = forwardVerify(in).n;
  unrounded.Np = toSingle(ratio * d.Ns);
  p.ratioDeck = [=](const Drive& dr) { return sim::forwardDeck(in, unrounded, dr); };
  p.ratioLow =
      openLoop(Stage{StageKind::Buck, p.VinLow / ratio, in.Vdf, in.Vdf, in.Vo, in.Io, d.Lo, in.f},
               in.Dmax * 1000 / in.f);
  p.switchRms = [n](const StagePoint& s) { return s.switchRms / n; };
  p.diodeRms = [](const StagePoint& s) { return s.switchRms; };
  return p;
}

Plan bridgePlan(const Shown& w, BridgeKind kind) {
  const BridgeInputs in = read(w, kBridgeInputs);
  const BridgeDesign d = read(w, kBridgeDesign);
  // The output inductor behind the centre-tapped rectifier sees twice the switching
  // frequency; both diodes freewheel it, each at Vdf.
  const BridgeCheck c = checkBridge(kind, in, d);
  const double n = c.n;
  Plan p;
  p.VinLow = acPeak(in.VacMin);
  p.VinHigh = acPeak(in.VacMax);
  p.stated = statedBy(c);

  Promise& pr = p.promise;
  pr.Vo = in.Vo;
  pr.ripple = 0.4 * in.Io;
  pr.rippleAtHigh = true;
  pr.Bpk = in.DB;
  pr.flux = Flux::HalfSwing;
  pr.Isw = d.Irmsp;
  pr.Idiode = d.Irmss;
  p.deck = [=](const Drive& dr) { return sim::bridgeDeck(kind, in, d, dr); };
  BridgeDesign unrounded = d;
  const BridgeProcedure procedure = kind == BridgeKind::PushPull     ? designPushPull
                                    : kind == BridgeKind::HalfBridge ? designHalfBridge
                                                                     : designFullBridge;
  const double ratio = procedure(in).n;
  unrounded.Np = toSingle(ratio * d.Ns);
  p.ratioDeck = [=](const Drive& dr) { return sim::bridgeDeck(kind, in, unrounded, dr); };
  p.ratioLow = openLoop(Stage{StageKind::Buck, bridgePrimaryVoltage(kind, p.VinLow) / ratio, in.Vdf,
                              in.Vdf, in.Vo, in.Io, d.Lo, 2.0 * in.f},
                        in.Dmax * 1000 / (2.0 * in.f));
  // One switch of the push-pull carries one primary half's share; the primary of the bridges
  // carries every on-time. A diode carries the inductor current while its half delivers and
  // half of it while both freewheel.
  const double perSwitch = kind == BridgeKind::PushPull ? std::sqrt(0.5) : 1;
  p.switchRms = [n, perSwitch](const StagePoint& s) { return s.switchRms / n * perSwitch; };
  p.diodeRms = [](const StagePoint& s) {
    return std::sqrt(s.switchRms * s.switchRms / 2 + s.diodeRms * s.diodeRms / 4);
  };
  return p;
}

Plan planOf(const Shown& w) {
  if (w.key == "dcdc") return dcdcPlan(w);
  if (w.key == "flyback") return flybackPlan(w);
  if (w.key == "forward") return forwardPlan(w);
  if (w.key == "rcc") return rccPlan(w);
  if (w.key == "pushpull") return bridgePlan(w, BridgeKind::PushPull);
  if (w.key == "halfbridge") return bridgePlan(w, BridgeKind::HalfBridge);
  return bridgePlan(w, BridgeKind::FullBridge);
}

Plan planFor(const Shown& w) {
  Plan p = planOf(w);
  if (!p.designedDeck) {
    p.designedDeck = p.deck;
    p.designedLow = p.stated.low;
    p.designedHigh = p.stated.high;
  }
  return p;
}

// --- running a deck --------------------------------------------------------------------

struct Measured {
  std::string error;  // why nothing was measured
  double vo = NAN, vpp = NAN, ilmax = NAN, ilmin = NAN, isw = NAN, idiode = NAN, dead = NAN,
         bmax = NAN, bmin = NAN, vclamp = NAN;
  double ripple() const { return ilmax - ilmin; }
  double flux(Flux f) const {
    switch (f) {
      case Flux::Peak:
        return bmax;
      case Flux::Swing:
        return bmax - bmin;
      case Flux::HalfSwing:
        return (bmax - bmin) / 2;
    }
    return NAN;
  }
};

Measured simulate(const std::function<Deck(const Drive&)>& writer, double Vin,
                  const StagePoint& point) {
  Measured m;
  if (!point.valid) {
    m.error = "the stage has no steady state there";
    return m;
  }
  const Deck deck = writer(Drive{Vin, point});
  if (!deck.ok()) {
    m.error = "no circuit: " + deck.error;
    return m;
  }
  const NgspiceRun run = testing::runNgspice(deck.netlist, kDeckSeconds);
  if (!run.ok()) {
    m.error = run.error + "\n" + deck.netlist;
    return m;
  }
  auto get = [&](const char* name) { return run.run.value(name).value_or(NAN); };
  m.vo = get("vo");
  m.vpp = get("vpp");
  m.ilmax = get("ilmax");
  m.ilmin = get("ilmin");
  m.isw = get("isw");
  m.idiode = get("idiode");
  m.dead = get("dead");
  m.bmax = get("bmax");
  m.bmin = get("bmin");
  m.vclamp = get("vclamp");
  return m;
}

// |a − b| within `share` of b.
::testing::AssertionResult near(double a, double b, double share) {
  if (std::fabs(a - b) <= share * std::fabs(b)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << a << " against " << b << " (" << (a / b - 1) * 100
                                       << " %, allowed " << share * 100 << " %)";
}

std::string messagesOf(const testing::RecordingHost& host) {
  std::string s;
  for (const Message& m : host.messages) s += " [" + m.text + "]";
  return s;
}

class Simulated : public ::testing::TestWithParam<Row> {};

TEST_P(Simulated, BehavesAsTheWindowPromises) {
  ASSERT_TRUE(testing::ngspiceInstalled())
      << "ngspice is not installed: the simulation suite runs every design in it (Debian "
         "package ngspice, which ./dev test installs)";
  const Shown w(GetParam().command);
  if (GetParam().refused) {
    EXPECT_FALSE(w.written) << "the window shows a design for conditions it must refuse";
    if (GetParam().message != nullptr) {
      EXPECT_NE(messagesOf(w.host).find(GetParam().message), std::string::npos)
          << "refused with" << messagesOf(w.host);
    }
    return;
  }
  ASSERT_TRUE(w.written) << "the window refused:" << messagesOf(w.host);
  const Plan p = planFor(w);
  const Promise& pr = p.promise;
  const Stated& st = p.stated;

  const Measured low = simulate(p.deck, p.VinLow, st.low);
  const Measured high = simulate(p.deck, p.VinHigh, st.high);
  ASSERT_TRUE(low.error.empty()) << "lowest input: " << low.error;
  ASSERT_TRUE(high.error.empty()) << "highest input: " << high.error;
  // The ringing choke runs in critical conduction, regulated by its own frequency: its
  // lowest-input point is the one it reaches.
  const bool openLoopRun = w.key != "rcc";
  const Measured reached = openLoopRun ? simulate(p.deck, p.VinLow, st.reachedLow) : low;
  // The transformer as the window designs it, where the circuit as built differs (the
  // flyback's leakage): the currents the window shows are sized for it.
  const bool designedRuns = pr.clamp > 0;
  const Measured designedLow =
      designedRuns ? simulate(p.designedDeck, p.VinLow, p.designedLow) : low;
  const Measured designedHigh =
      designedRuns ? simulate(p.designedDeck, p.VinHigh, p.designedHigh) : high;
  ASSERT_TRUE(designedLow.error.empty() && designedHigh.error.empty())
      << "as designed: " << designedLow.error << designedHigh.error;
  // The window's own turns ratio before rounding, at Dmax and the lowest input.
  const Measured ratio = p.ratioDeck ? simulate(p.ratioDeck, p.VinLow, p.ratioLow) : Measured{};
  ASSERT_TRUE(ratio.error.empty()) << "with the unrounded turns ratio: " << ratio.error;
  ASSERT_TRUE(reached.error.empty()) << "open loop: " << reached.error;
  std::printf(
      "sim %s: reached %.4g (stated %.4g) low %.4g high %.4g V; ripple %.4g/%.4g A "
      "(stated %.4g/%.4g); Vpp %.4g/%.4g V; B %.4g G (stated %.4g); Isw %.4g/%.4g "
      "Id %.4g/%.4g A; clamp %.4g V (stated %.4g); dead %.3g\n",
      w.key.c_str(), reached.vo, st.reachedLow.Vo, low.vo, high.vo, low.ripple(), high.ripple(),
      st.low.ripple(), st.high.ripple(), low.vpp, high.vpp,
      std::max({reached.flux(pr.flux), low.flux(pr.flux), high.flux(pr.flux)}), st.Bpeak, low.isw,
      high.isw, low.idiode, high.idiode, high.vclamp, st.clampHigh, low.dead);

  // Open loop at the lowest input and the longest on-time: at least Vo, unless the check
  // announces the shortfall.
  if (openLoopRun && reached.vo < pr.Vo * (1 - kReachedShare)) {
    EXPECT_TRUE(st.predictsReached && near(reached.vo, st.reachedLow.Vo, kReachedShare))
        << "open loop at the lowest input the output reaches " << reached.vo << " V of " << pr.Vo
        << " V, unannounced";
  }

  // The turns ratio the window computes gives Vo at Dmax from the lowest input, before its
  // turns are rounded (what the rounding then does is the check's to announce, above).
  if (p.ratioDeck) {
    EXPECT_GE(ratio.vo, pr.Vo * (1 - kReachedShare))
        << "the window's own turns ratio reaches only " << ratio.vo << " V of " << pr.Vo
        << " V at Dmax and the lowest input";
  }

  // Regulated at both ends: the check's model of the stage holds.
  for (const auto& [name, m, point] :
       {std::tuple{"lowest input", low, st.low}, std::tuple{"highest input", high, st.high}}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(near(m.vo, point.Vo, kRegulatedShare)) << "output";
    EXPECT_TRUE(near(m.ilmax, point.iPeak, kPointShare)) << "inductor peak";
    EXPECT_TRUE(near(m.ripple(), point.ripple(), kPointShare)) << "inductor ripple";
    EXPECT_TRUE(near(m.isw, p.switchRms(point), kPointShare)) << "switch RMS";
    EXPECT_TRUE(near(m.idiode, p.diodeRms(point), kPointShare)) << "diode RMS";
  }

  // The inductor ripple where the window designs it, and as stated at the other end.
  if (pr.ripple > 0) {
    const Measured& designed = pr.rippleAtHigh ? high : low;
    const Measured& other = pr.rippleAtHigh ? low : high;
    EXPECT_LE(designed.ripple(), pr.ripple * (1 + kAskedOver))
        << "inductor ripple at the input the window designs it for";
    EXPECT_TRUE(near(other.ripple(), (pr.rippleAtHigh ? st.low : st.high).ripple(), kOtherEndShare))
        << "inductor ripple at the other end of the input range";
  }
  if (pr.discontinuous) {
    EXPECT_GE(low.dead, kLeastRest) << "discontinuous at the lowest input: the inductor current "
                                       "never rests at zero";
  }
  if (pr.Vopp > 0) {
    EXPECT_LE((pr.voppAtHigh ? high : low).vpp, pr.Vopp * (1 + kAskedOver)) << "output ripple";
  }
  // The ringing choke at full load and low line: the circuit switches on just as its current
  // ends at the check's period, so that period is the one it runs at, and it must not fall
  // below the lowest frequency the window designs for.
  if (pr.fMin > 0) {
    EXPECT_LE(low.dead, kCriticalRest) << "critical conduction: the current rests at zero";
    EXPECT_LE(low.ilmin, kCriticalRest * low.ilmax) << "critical conduction: continuous";
    EXPECT_GE(1000 / st.low.T, pr.fMin * (1 - kAskedOver))
        << "the ringing choke runs at full load and low line below its lowest frequency";
  }

  // Peak flux: as asked, or as the check states it after rounding; never into saturation
  // where the window would refuse it.
  const double B = pr.flux == Flux::Peak ? std::max(low.flux(pr.flux), high.flux(pr.flux))
                                         : reached.flux(pr.flux);
  if (B > pr.Bpk * (1 + kAskedOver)) {
    EXPECT_TRUE(near(B, st.Bpeak, kFluxShare)) << "peak flux " << B << " G, asked " << pr.Bpk;
  }
  if (pr.Bsat > 0) {
    EXPECT_LE(B, pr.Bsat) << "the core saturates and the window says nothing";
  }

  // The currents the window shows carry at least what its design does, less a margin.
  if (pr.Isw > 0) {
    EXPECT_GE(pr.Isw, (1 - kShownBelow) * std::max(designedLow.isw, designedHigh.isw))
        << "switch RMS shown";
  }
  if (pr.Idiode > 0) {
    EXPECT_GE(pr.Idiode, (1 - kShownBelow) * std::max(designedLow.idiode, designedHigh.idiode))
        << "diode RMS shown";
  }

  // The clamp holds the switch within its rating at the highest input (the clamp at most
  // Vc above the input peak), and it settles where the check's energy balance puts it.
  if (pr.clamp > 0) {
    EXPECT_LE(high.vclamp, pr.clamp * (1 + kClampShare)) << "clamp voltage at the highest input";
    for (const auto& [name, m, stated] : {std::tuple{"lowest input", low, st.clampLow},
                                          std::tuple{"highest input", high, st.clampHigh}}) {
      EXPECT_TRUE(near(m.vclamp, stated, kClampStatedShare)) << "clamp voltage at the " << name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Designs, Simulated, ::testing::ValuesIn(kRows));

}  // namespace
}  // namespace tarnex
