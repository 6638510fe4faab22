// The designs the simulation suite runs: the opening values of every window, the designs
// engineers reported, refusals, and further designs drawn once per procedure.
#include "sim_rows.h"

namespace tarnex::simtest {
namespace {

// The messages a refusal shows.
constexpr const char* kImpossible = "设计条件不正确，请检查！";
constexpr const char* kSaturates = "磁芯峰值磁通密度超过饱和磁通密度！";
constexpr const char* kNoNumber = "请键入一个数。";

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

}  // namespace

std::span<const Row> designRows() {
  return kRows;
}

}  // namespace tarnex::simtest
