// The procedures of the forward, ringing choke, push-pull, half-bridge and full-bridge windows
// against worked designs, walked through the same checks.
//
// Expected values are compared as the window shows them, with six significant digits. They
// were worked by hand from the design equations (double arithmetic, each field rounded to
// single precision):
//
// Forward, opening values (90/270 V, 5 V 50 A, 200 kHz, 83 %, 0.6 V, Dmax 0.35, 1500 GS,
// 600 cmil/A, Kw 0.3) with Ae 100 mm²:
//   Ap = (250·100/83)·600·506.7 / (0.3·200·1500·1000) = 1.01747 cm⁴
//   Vmin = 127.26, Np0 = 127.26·0.35·5·1e4/(100·1500) = 14.847, n = 127.26·0.35/5.6 = 7.95375,
//   Ns0 = 1.86667 → 2, Np1 = 15.9075 → 16, Irmsp = 250/(83·0.35·1.2726)·√0.35 = 4.0007,
//   Irmss = √0.35·50 = 29.5804, Vs = 381.78/n = 48, Dmin = 5.6/48, Lo = 42.4·0.58333/20
// Forward, 176/264 V, 12 V 10 A, 100 kHz, 85 %, 0.7 V, Dmax 0.45, 2000 GS, 500, Kw 0.35, Ae 81:
//   Ap = (120·100/85)·500·506.7/(0.35·100·2000·1000) = 0.510958, Vmin = 248.864,
//   Np0 = 248.864·4.5·1e4/(81·2000) = 69.1289, n = 248.864·0.45/12.7 = 8.81802,
//   Ns0 = 7.83951 → 8, Np1 = 70.5441 → 71, Vs = 373.296/n = 42.3333, Dmin = 0.3,
//   Lo = (42.3333 − 12.7)·3/4 = 22.225
// Ringing choke, opening values (90/260 V, 5 V, 1/0.1 A, 60 kHz, 75 %, 600/150 V, 1.5 V,
// 0.6 V, 2500 GS, Ae 19.2, 500 cmil/A):
//   n = (600 − 150 − 367.64)·5/7/5.6 = 10.5051, Iin = 6.6667/127.26 = 0.052386,
//   D = Iin/(1/n + Iin) = 0.354973, Vp = 125.76, the input power charges Lp:
//   Lp = D²·Vp²·1000·0.75/600 = 2491.07, Ipkp = 125.76·D/60000/(Lp·1e-6) = 0.298677,
//   Ipks = Ipkp·n = 3.13763, triangles: Irmsp = Ipkp·√(D/3) = 0.10274,
//   Irmss = Ipks·√((1 − D)/3) = 1.45489, Np0 = 5.91622·90·14140/48000 = 156.854,
//   Ns0 = 14.9312 → 15, Np1 = 157.577 → 158, Dl = 0.160014,
//   fMax = 260²·Dl²·1.999396·0.75/(2·Lp·0.1·5·0.001) = 1041.93 kHz (Eff in Lp and fMax cancels)
// Ringing choke, 85/265 V, 12 V, 0.5/0.05 A, 50 kHz, 80 %, 700/100 V, 1 V, 0.7 V, 2000 GS,
// Ae 32, 400 cmil/A:
//   n = (600 − 374.71)·5/7/12.7 = 12.671, Iin = 7.5/120.19 = 0.062401, D = 0.612609,
//   Lp = D²·119.19²·1000·0.8/600 = 7108.61, Np0 = 12.2522·85·14140/64000 = 230.092,
//   Ns0 = 18.159 → 19, Np1 = 240.749 → 241, fMax = 1491.31
// Push-pull and the bridges: the secondary half gives (Vo + Vdf)/Dmax at low line,
// n = Vp·Dmax/(Vo + Vdf); Irmss = Io·√((1 + Dmax)/4); Lo at the highest input over one half
// period, Vs = Vpk(VacMax)/n, Dmin = (Vo + Vdf)/Vs, Tmin = Dmin·0.5·1000/f,
// Lo = (Vs − Vdf − Vo)·Tmin/(0.4·Io).
// Push-pull, opening values (90/260 V, 12 V 20 A, 100 kHz, 80 %, 0.6 V, Dmax 0.8, DB 1600 GS,
// 500 cmil/A, Ae 144):
//   Ton = 4, Np0 = 4·90·141.4/4608 = 11.0469, n = 127.26·0.8/12.6 = 8.08, Ns0 = 1.36719 → 2,
//   Np1 = 16.16 → 16, Ipk = 300/101.808 = 2.94672, Irmsp = Ipk·√0.4 = 1.86367,
//   Irmss = 20·√0.45 = 13.4164, Vs = 367.64/8.08 = 45.5, Dmin = 0.276923,
//   Lo = 32.9·1.38462/8 = 5.69423
// Push-pull, 100/240 V, 24 V 10 A, 50 kHz, 85 %, 0.8 V, Dmax 0.7, DB 1500, 400 cmil/A, Ae 200:
//   Ton = 7, Np0 = 7·100·141.4/6000 = 16.4967, n = 141.4·0.7/24.8 = 3.99113,
//   Ns0 = 4.13333 → 5, Np1 = 19.9556 → 20, Vs = 339.36/n = 85.0286, Dmin = 0.291667,
//   Lo = 60.2286·2.91667/4 = 43.9167
// Half-bridge, opening values (90/260 V, 12 V 50 A, 100 kHz, 90 %, 0.6 V, Dmax 0.8, DB 1600,
// 500 cmil/A, Ae 144); the primary sees Vh = 63.63 V:
//   Np0 = 63.63·4·100/4608 = 5.52344, n = 63.63·0.8/12.6 = 4.04, Ns0 = 1.36719 → 2,
//   Np1 = 8.08 → 8, Irmsp = √0.8·666.667/50.904 = 11.7139, Irmss = 50·√0.45 = 33.541,
//   Vs = 183.82/4.04 = 45.5, Lo = 32.9·1.38462/20 = 2.27769
// Half-bridge, 180/264 V, 5 V 40 A, 80 kHz, 80 %, 0.5 V, Dmax 0.75, DB 1500, 450 cmil/A,
// Ae 120:
//   Ton = 4.6875, Vh = 127.26, Np0 = 16.5703, n = 127.26·0.75/5.5 = 17.3536,
//   Ns0 = 0.954861 → 1, Np1 = 17.3536 → 17, Irmsp = √0.75·250/(180·0.75·0.707) = 2.26839
// Half-bridge, 190/239 V, 5 V 181.4 A, 200 kHz, 82 %, 0.47 V, Dmax 0.66, DB 1000, 600 cmil/A:
//   Vh = 134.33, n = 134.33·0.66/5.47 = 16.208 (the output falls short by 0.34·0.47 V with
//   Vo/Dmax + Vdf), Irmss = 181.4·√(1.66/4) = 116.859
// Full-bridge, opening values as the half-bridge; the primary sees Vdc = 127.26 V:
//   Np0 = 11.0469, n = 127.26·0.8/12.6 = 8.08, Ns0 = 1.36719 → 2, Np1 = 16.16 → 16,
//   Irmsp = √0.8·666.667/101.808 = 5.85695, Vs = 367.64/8.08 = 45.5, Lo = 2.27769; without
//   the diode drop n = 127.26·0.8/12 = 8.484, Ns0 = 1.30208 → 2, Np1 = 16.968 → 17
// Full-bridge, 200/264 V, 48 V 20 A, 60 kHz, 92 %, 1 V, Dmax 0.8, DB 1200, 400 cmil/A, Ae 250:
//   Ton = 6.66667, Np0 = 6.66667·282.8·100/6000 = 31.4222, n = 282.8·0.8/49 = 4.61714,
//   Ns0 = 6.80556 → 7, Np1 = 32.32 → 32, Irmsp = √0.8·1043.48/226.24 = 4.12533,
//   Vs = 373.296/n = 80.85, Dmin = 0.606061, Lo = 31.85·5.05051/8 = 20.1073
// Full-bridge, 85/213 V, 12 V 21.8 A, 70 kHz, 91 %, 0.42 V, Dmax 0.9, DB 1500, 400 cmil/A:
//   n = 120.19·0.9/12.42 = 8.70942, Vs = 301.182/n = 34.5812, Dmin = 0.359155,
//   Tmin = 2.56539 µs, Lo = 22.1612·2.56539/8.72 = 6.51974 (over the full period at the
//   lowest input it was 1.96 µH, a ripple of 1.3·Io at VacMax)
//
// Vout is what the secondary gives at Dmax and low line with the unrounded turns, the diode
// drop taken off while it conducts: a transformer that cannot reach Vo is caught there. hint
// and coreHint count the notices of a run; impossible marks a design refused for impossible
// conditions.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>

#include "designs/bridge_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/rcc_procedures.h"
#include "support/openings.h"

namespace tarnex {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

using testing::bridgeOpening;
using testing::forwardOpening;
using testing::rccOpening;

// The ringing choke converter's opening values with another switch rating and margin.
RccInputs rccRating(float Vswm, float Vswr, float VacMax) {
  RccInputs in = rccOpening();
  in.Vswm = Vswm;
  in.Vswr = Vswr;
  in.VacMax = VacMax;
  return in;
}

// Every result and intermediate of one run, by name.
using Sheet = std::map<std::string, double>;

void addTurns(Sheet& s, const TransformerTurns& t) {
  s["Ns0"] = t.Ns0;
  s["Np1"] = t.Np1;
}

Sheet sheetOf(const ForwardInputs& in) {
  const ForwardCoreEstimate core = forwardAreaProduct(in);
  const ForwardDesign d = forwardVerify(in);
  Sheet s{{"Ap", core.Ap}, {"Np0", d.Np0},     {"n", d.n},       {"Ns", d.Ns},
          {"Np", d.Np},    {"Irmsp", d.Irmsp}, {"Dp", d.Dp},     {"Irmss", d.Irmss},
          {"Ds", d.Ds},    {"Vs", d.Vs},       {"Dmin", d.Dmin}, {"Lo", d.Lo}};
  addTurns(s, d.turns);
  // The secondary pulses average Vo + Vdf over Dmax.
  s["Vout"] = d.Vmin * d.turns.Ns / d.turns.Np1 * in.Dmax - in.Vdf;
  s["coreHint"] = double(core.notices.size());
  s["hint"] = double(d.notices.size());
  s["impossible"] = d.ending == ForwardEnding::Impossible;
  return s;
}

Sheet sheetOf(const RccInputs& in) {
  const RccDesign d = designRcc(in);
  Sheet s{{"n", d.n},       {"D", d.D},         {"Lp", d.Lp},       {"Ls", d.Ls}, {"Ipkp", d.Ipkp},
          {"Ipks", d.Ipks}, {"Irmsp", d.Irmsp}, {"Irmss", d.Irmss}, {"Dp", d.Dp}, {"Ds", d.Ds},
          {"Np0", d.Np0},   {"Ns", d.Ns},       {"Np", d.Np},       {"Dl", d.Dl}, {"fMax", d.fMax}};
  addTurns(s, d.turns);
  s["impossible"] = d.ending == RccEnding::Impossible;
  return s;
}

// The three symmetric converters: the secondary gives Vp·Ns/Np during Dmax, and the inductor
// sees −Vdf the whole period (one diode or both conduct): Vp·Ns/Np·Dmax − Vdf.
Sheet sheetOf(BridgeProcedure design, const BridgeInputs& in) {
  const BridgeDesign d = design(in);
  Sheet s{{"Np0", d.Np0}, {"n", d.n},         {"Ns", d.Ns},   {"Np", d.Np},
          {"Dp", d.Dp},   {"Irmsp", d.Irmsp}, {"Ds", d.Ds},   {"Irmss", d.Irmss},
          {"Lo", d.Lo},   {"Ton", d.Ton},     {"Ipk", d.Ipk}, {"hint", double(d.notices.size())},
          {"Vs", d.Vs},   {"Dmin", d.Dmin}};
  addTurns(s, d.turns);
  s["Vout"] = d.Vp * d.turns.Ns / d.turns.Np1 * in.Dmax - in.Vdf;
  s["impossible"] = d.ending == BridgeEnding::Impossible;
  return s;
}

// A run of the procedures on the given inputs, or on them after one change.
template <class Inputs>
std::function<Sheet()> run(Inputs in) {
  return [in] { return sheetOf(in); };
}
template <class Inputs, class Change>
std::function<Sheet()> run(Inputs in, Change change) {
  change(in);
  return run(in);
}
std::function<Sheet()> run(BridgeProcedure design, BridgeInputs in) {
  return [design, in] { return sheetOf(design, in); };
}
template <class Change>
std::function<Sheet()> run(BridgeProcedure design, BridgeInputs in, Change change) {
  change(in);
  return run(design, in);
}

// The field text of a value: six significant digits ("nan" whatever the sign of the NaN).
std::string sixDigits(double value) {
  if (std::isnan(value)) return "nan";
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

struct Reference {
  const char* label;
  std::function<Sheet()> run;
  const char* expect;  // "name=text name=text ...", the text as the window shows it
};

void PrintTo(const Reference& r, std::ostream* os) {
  *os << r.label;
}

class ReferenceDesign : public ::testing::TestWithParam<Reference> {};

TEST_P(ReferenceDesign, ShowsTheWorkedValues) {
  const Sheet sheet = GetParam().run();
  std::istringstream words(GetParam().expect);
  for (std::string word; words >> word;) {
    const std::string name = word.substr(0, word.find('='));
    const auto it = sheet.find(name);
    ASSERT_NE(it, sheet.end()) << name;
    EXPECT_EQ(name + "=" + sixDigits(it->second), word);
  }
}

// Values from the hand computations in the file header.
INSTANTIATE_TEST_SUITE_P(
    Windows, ReferenceDesign,
    ::testing::Values(
        Reference{"ForwardOpening", run(forwardOpening()),
                  "Ap=1.01747 Np0=14.847 n=7.95375 Ns0=1.86667 Ns=2 Np1=15.9075 Np=16 "
                  "Irmsp=4.0007 Dp=1.24445 Irmss=29.5804 Ds=3.38386 Vs=48 Dmin=0.116667 "
                  "Lo=1.23667 Vout=5 coreHint=0 hint=0"},
        Reference{"ForwardHighLine",
                  run(ForwardInputs{176, 264, 12, 10, 100, 85, 0.7f, 0.45f, 2000, 500, 0.35f, 81}),
                  "Ap=0.510958 Np0=69.1289 n=8.81802 Ns0=7.83951 Ns=8 Np1=70.5441 Np=71 "
                  "Vs=42.3333 Dmin=0.3 Lo=22.225 Vout=12"},
        Reference{"RccOpening", run(rccOpening()),
                  "n=10.5051 D=0.354973 Lp=2491.07 Ls=22.5728 Ipkp=0.298677 Ipks=3.13763 "
                  "Irmss=1.45489 Irmsp=0.10274 Dp=0.182049 Ds=0.685069 Np0=156.854 "
                  "Ns0=14.9312 Ns=15 Np1=157.577 Np=158 Dl=0.160014 fMax=1041.93 impossible=0"},
        Reference{
            "RccWideInput",
            run(RccInputs{85, 265, 12, 0.5f, 0.05f, 50, 80, 700, 100, 1, 0.7f, 2000, 32, 400}),
            "n=12.671 D=0.612609 Lp=7108.61 Ipkp=0.205432 Np0=230.092 Ns=19 Np=241 "
            "fMax=1491.31"},
        Reference{"PushPullOpening", run(designPushPull, bridgeOpening(20, 80)),
                  "Ton=4 Np0=11.0469 n=8.08 Ns0=1.36719 Ns=2 Np1=16.16 Np=16 Ipk=2.94672 "
                  "Irmsp=1.86367 Irmss=13.4164 Vs=45.5 Dmin=0.276923 Lo=5.69423 Vout=12 hint=0 "
                  "impossible=0"},
        Reference{
            "PushPullLowFrequency",
            run(designPushPull, BridgeInputs{100, 240, 24, 10, 50, 85, 0.8f, 0.7f, 1500, 400, 200}),
            "Ton=7 Np0=16.4967 n=3.99113 Ns=5 Np=20 Vs=85.0286 Dmin=0.291667 Lo=43.9167 Vout=24"},
        // The primary sees half the input: turns ratio and secondary are taken from Vh.
        Reference{"HalfBridgeOpening", run(designHalfBridge, bridgeOpening(50, 90)),
                  "Np0=5.52344 n=4.04 Ns0=1.36719 Ns=2 Np1=8.08 Np=8 Dp=1.94388 "
                  "Ds=3.28933 Irmsp=11.7139 Irmss=33.541 Vs=45.5 Lo=2.27769 Vout=12"},
        Reference{"HalfBridgeLowVoltage",
                  run(designHalfBridge,
                      BridgeInputs{180, 264, 5, 40, 80, 80, 0.5f, 0.75f, 1500, 450, 120}),
                  "Ton=4.6875 Np0=16.5703 n=17.3536 Ns0=0.954861 Ns=1 Np=17 Irmsp=2.26839 "
                  "Vout=5"},
        Reference{"HalfBridgeFreewheelingDrop",
                  run(designHalfBridge,
                      BridgeInputs{190, 239, 5, 181.4f, 200, 82, 0.47f, 0.66f, 1000, 600, 144}),
                  "n=16.208 Irmss=116.859 Vout=5"},
        // The diode drop adds to what the secondary must give.
        Reference{"FullBridgeOpening", run(designFullBridge, bridgeOpening(50, 90)),
                  "Np0=11.0469 n=8.08 Ns0=1.36719 Ns=2 Np1=16.16 Np=16 Dp=1.37453 "
                  "Ds=3.28933 Irmsp=5.85695 Irmss=33.541 Lo=2.27769 Vout=12"},
        Reference{"FullBridgeWithoutDiodeDrop",
                  run(designFullBridge, bridgeOpening(50, 90), [](auto& in) { in.Vdf = 0; }),
                  "n=8.484 Ns0=1.30208 Ns=2 Np=17 Vout=12"},
        Reference{
            "FullBridgeHighVoltage",
            run(designFullBridge, BridgeInputs{200, 264, 48, 20, 60, 92, 1, 0.8f, 1200, 400, 250}),
            "Ton=6.66667 Np0=31.4222 n=4.61714 Ns0=6.80556 Ns=7 Np=32 Irmsp=4.12533 Vs=80.85 "
            "Dmin=0.606061 Lo=20.1073 Vout=48"},
        Reference{"FullBridgeWideInput",
                  run(designFullBridge,
                      BridgeInputs{85, 213, 12, 21.8f, 70, 91, 0.42f, 0.9f, 1500, 400, 144}),
                  "n=8.70942 Vs=34.5812 Dmin=0.359155 Lo=6.51974 Vout=12"},
        // Less than half a secondary turn still gives one: Ae 400, Np0 = 3.71175,
        // Ns0 = 0.466667 → 1, Np1 = n = 7.95375 → 8.
        Reference{"ForwardLargeCore", run(forwardOpening(), [](auto& in) { in.Ae = 400; }),
                  "Np0=3.71175 Ns0=0.466667 Ns=1 Np1=7.95375 Np=8 Vout=5"},

        // Duty-cycle hints at their thresholds; they stop nothing. The forward reset winding
        // needs Dmax below 0.5; a push-pull above 0.8 keeps too little dead time (0.8 itself,
        // the opening value, passes).
        // n = 127.26·0.5/5.6 = 11.3625, Np1 = 22.725 → 23, Vs = 33.6, Lo = 28·0.83333/20
        Reference{"ForwardDmaxHalf", run(forwardOpening(), [](auto& in) { in.Dmax = 0.5f; }),
                  "coreHint=1 hint=1 Np=23 Lo=1.16667"},
        Reference{"ForwardDmaxBelowHalf", run(forwardOpening(), [](auto& in) { in.Dmax = 0.49f; }),
                  "coreHint=0 hint=0"},
        // n = 127.26·0.81/12.6 = 8.181, Vs = 44.9383, Dmin = 0.280385, Lo = 32.3383·1.40192/8
        Reference{"PushPullDmaxAbove",
                  run(designPushPull, bridgeOpening(20, 80), [](auto& in) { in.Dmax = 0.81f; }),
                  "hint=1 Lo=5.66697"},
        Reference{"PushPullDmaxJustBelowOne",
                  run(designPushPull, bridgeOpening(20, 80), [](auto& in) { in.Dmax = 0.99f; }),
                  "hint=1 impossible=0"},

        // Impossible conditions: no design at all, and no hint.
        // No switch headroom left for the reflected voltage.
        Reference{"RccNoHeadroom",  // 100 − 100 − 127.26 V
                  run(rccRating(100, 100, 90)), "impossible=1 n=0 Lp=0"},
        Reference{"RccUndefinedHeadroom",  // ∞ − ∞
                  run(rccRating(kInf, kInf, 260)), "impossible=1 n=0 Lp=0"},
        Reference{"RccSmallHeadroom",  // 450 − 150 − 282.8 = 17.2 V, n = 17.2·5/7/5.6
                  run(rccRating(450, 150, 200)), "impossible=0 n=2.19388"},
        Reference{"RccInputRangeUpsideDown", run(rccOpening(), [](auto& in) { in.VacMin = 270; }),
                  "impossible=1 Lp=0"},
        // 1.414·1.06 = 1.49884 V does not exceed the 1.5 V switch drop; 1.414·1.07 does.
        Reference{"RccLowLinePeakAtTheSwitchDrop",
                  run(rccOpening(), [](auto& in) { in.VacMin = 1.06f; }), "impossible=1 Lp=0"},
        Reference{"RccLowLinePeakAboveTheSwitchDrop",
                  run(rccOpening(), [](auto& in) { in.VacMin = 1.07f; }), "impossible=0 Ns=1"},
        // The forward refuses in its verification only: the estimate is still made.
        Reference{"ForwardInputRangeUpsideDown",
                  run(forwardOpening(), [](auto& in) { in.VacMin = 300; }),
                  "impossible=1 Np=0 Lo=0 hint=0 Ap=1.01747"},
        Reference{"PushPullDutyOfOne",
                  run(designPushPull, bridgeOpening(20, 80), [](auto& in) { in.Dmax = 1; }),
                  "impossible=1 Np=0 hint=0"},
        Reference{"HalfBridgeDutyOfOne",
                  run(designHalfBridge, bridgeOpening(50, 90), [](auto& in) { in.Dmax = 1; }),
                  "impossible=1 Np=0"},
        Reference{"FullBridgeInputRangeUpsideDown",
                  run(designFullBridge, bridgeOpening(50, 90), [](auto& in) { in.VacMax = 89; }),
                  "impossible=1 Np=0 Lo=0"},

        // Zero inputs are not refused: the results are the IEEE values, and a count that
        // cannot be rounded is kept as computed, never forced into an integer.
        Reference{"ForwardZeroAe", run(forwardOpening(), [](auto& in) { in.Ae = 0; }),
                  "Np0=inf Ns=inf Np=inf Lo=1.23667"},
        Reference{"ForwardZeroFrequency", run(forwardOpening(), [](auto& in) { in.f = 0; }),
                  "Ap=inf Ns=inf Np=inf Lo=inf"},
        // n = Vmin / ∞ = 0, so Ns0 = 0/0.
        Reference{"ForwardZeroDmax", run(forwardOpening(), [](auto& in) { in.Dmax = 0; }),
                  "n=0 Ns=nan Np=nan Irmsp=nan Lo=nan"},
        Reference{"RccZeroMinimumLoad", run(rccOpening(), [](auto& in) { in.IoMin = 0; }),
                  "Dl=nan fMax=nan Np=158"},
        Reference{"RccZeroFrequency", run(rccOpening(), [](auto& in) { in.fMin = 0; }),
                  "Lp=inf Ipkp=nan Ns=inf Np=inf fMax=0"},
        Reference{"PushPullZeroFluxSwing",
                  run(designPushPull, bridgeOpening(20, 80), [](auto& in) { in.DB = 0; }),
                  "Np0=inf Ns=inf Np=inf"},
        Reference{"PushPullZeroDmax",
                  run(designPushPull, bridgeOpening(20, 80), [](auto& in) { in.Dmax = 0; }),
                  "Ns=nan Np=nan Irmsp=nan hint=0"},
        // n = Vh·Dmax / 0: Ns0 = 0, then Np1 = ∞ × 0.
        Reference{
            "HalfBridgeZeroOutput",
            run(designHalfBridge, bridgeOpening(50, 90), [](auto& in) { in.Vo = in.Vdf = 0; }),
            "n=inf Ns=0 Np=nan"},
        Reference{"FullBridgeZeroFrequency",
                  run(designFullBridge, bridgeOpening(50, 90), [](auto& in) { in.f = 0; }),
                  "Ton=inf Ns=inf Np=inf Lo=inf"},
        Reference{"FullBridgeZeroLoad",
                  run(designFullBridge, bridgeOpening(50, 90), [](auto& in) { in.Io = 0; }),
                  "Irmss=0 Lo=inf"}),
    [](const ::testing::TestParamInfo<Reference>& p) { return p.param.label; });

struct Rounding {
  const char* label;
  TransformerTurns (*turns)(double Np0, double n);
  double Np0, n;
  double Ns, Np;
};

void PrintTo(const Rounding& r, std::ostream* os) {
  *os << r.label;
}

class TurnsRounding : public ::testing::TestWithParam<Rounding> {};

TEST_P(TurnsRounding, EachWindowRoundsByItsRules) {
  const TransformerTurns t = GetParam().turns(GetParam().Np0, GetParam().n);
  EXPECT_EQ(t.Ns, GetParam().Ns);
  EXPECT_EQ(t.Np, GetParam().Np);
}

// Raw counts chosen so that Np0 / n and n × Ns are exact (Ns0 and Np1 in the comments).
INSTANTIATE_TEST_SUITE_P(
    Edges, TurnsRounding,
    ::testing::Values(
        // Forward: both to nearest with an exact half going down, but never below one turn.
        Rounding{"ForwardNsHalf", forwardTurns, 25, 10, 2, 20},         // 2.5 → 2
        Rounding{"ForwardNsAboveHalf", forwardTurns, 25.1, 10, 3, 30},  // 2.51 → 3
        Rounding{"ForwardNsBelowHalf", forwardTurns, 4.9, 10, 1, 10},   // 0.49 → 1, not 0
        Rounding{"ForwardNoTurns", forwardTurns, 0, 10, 0, 0},          // none stays none
        Rounding{"ForwardNpHalf", forwardTurns, 15.5, 7.75, 2, 15},     // Np1 15.5 → 15
        // Ringing choke: Ns up on any fraction, Np to nearest with a half going down.
        Rounding{"RccNsWhole", rccTurns, 28, 2, 14, 28},        // 14 stays
        Rounding{"RccNsFraction", rccTurns, 28.02, 2, 15, 30},  // 14.01 → 15
        Rounding{"RccNpHalf", rccTurns, 14.5, 7.25, 2, 14},     // Np1 14.5 → 14
        // Push-pull, half-bridge, full-bridge: Ns up, Np to nearest with a half going up.
        Rounding{"BridgeNpHalf", bridgeTurns, 7.5, 3.75, 2, 8},              // 7.5 → 8
        Rounding{"BridgeNpBelowHalf", bridgeTurns, 2 * 3.745, 3.745, 2, 7},  // 7.49 → 7
        Rounding{"BridgeNsWhole", bridgeTurns, 6, 2, 3, 6},                  // 3.0 stays
        Rounding{"BridgeNsFraction", bridgeTurns, 6.0002, 2, 4, 8},          // 3.0001 → 4
        Rounding{"BridgeNpBelowHalfATurn", bridgeTurns, 0.1, 0.4, 1, 1},     // Np1 0.4 → 1
        Rounding{"BridgeNpHalfHigher", bridgeTurns, 17.5, 8.75, 2, 18},      // 17.5 → 18
        Rounding{"BridgeNpBelowHalfHigher", bridgeTurns, 2 * 8.74995, 8.74995, 2, 17}),
    [](const ::testing::TestParamInfo<Rounding>& p) { return p.param.label; });

}  // namespace
}  // namespace tarnex
