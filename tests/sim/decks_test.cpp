// The deck writers without ngspice: every component of every deck says where it comes from,
// every node and source the measurements and the controlled sources read is one the deck
// defines, and numbers that make no circuit give a reason instead of a deck. Then the reading
// of what ngspice printed.

#include "sim/decks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "loop/compensation.h"
#include "sim/loop_decks.h"
#include "sim/spice_output.h"
#include "support/openings.h"

namespace tarnex {
namespace {

using sim::Deck;
using sim::Drive;

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// A steady state to drive at: 4 µs on in 10 µs, 1 A to 2 A, 5 V into 2 A.
Drive someDrive(double Vin) {
  StagePoint p;
  p.valid = true, p.T = 10, p.Ton = 4, p.Toff = 6, p.iStart = 1, p.iPeak = 2, p.Vo = 5, p.Io = 2;
  return {Vin, p};
}

using testing::bridgeOpening;
using testing::currentModeOpening;
using testing::flybackOpening;
using testing::forwardOpening;
using testing::rccOpening;
using testing::typeIIIOpening;

Deck dcdc(DcDcTopology topology, DcDcMode mode, float Vo, double Vin) {
  DcDcInputs in;
  in.Vo = Vo;
  return sim::dcdcDeck(topology, in, designDcDc(topology, mode, in).out, someDrive(Vin));
}
Deck bridge(BridgeKind kind) {
  const BridgeInputs in = bridgeOpening();
  const BridgeDesign d = kind == BridgeKind::PushPull     ? designPushPull(in)
                         : kind == BridgeKind::HalfBridge ? designHalfBridge(in)
                                                          : designFullBridge(in);
  return sim::bridgeDeck(kind, in, d, someDrive(127));
}
Deck currentModeLoop(CurrentModeAmplifier type) {
  const CurrentModeInputs in = currentModeOpening(type);
  const CurrentModeResults r = currentModeCompensation(in);
  return sim::currentModeLoopDeck(in, r, {r.R2, r.C1, r.C2});
}
Deck typeIILoop(TypeIIKind kind) {
  const TypeIIInputs in = testing::typeIIAfterStep2(kind);
  const TypeIINetwork n = typeIINetwork(in);
  return sim::typeIILoopDeck(in, typeIIControlToOutput(in), {n.R2, n.C1, n.C2});
}

struct DeckCase {
  const char* name;
  std::function<Deck()> make;
  std::vector<std::string> outputs = {"out", "il", "flux"};  // nodes the deck must define
};

void PrintTo(const DeckCase& c, std::ostream* os) {
  *os << c.name;
}

const DeckCase kDecks[] = {
    {"buck", [] { return dcdc(DcDcTopology::Buck, DcDcMode::Ccm, 12, 24); }},
    {"boost", [] { return dcdc(DcDcTopology::Boost, DcDcMode::Dcm, 48, 18); }},
    {"buck-boost", [] { return dcdc(DcDcTopology::BuckBoost, DcDcMode::Ccm, 12, 18); }},
    {"flyback",
     [] {
       const FlybackInputs in = flybackOpening();
       const FlybackDesign d = flybackVerifyCcm(in);
       const FlybackSnubber s = flybackSnubber(in, d.Lp, d.Ipkp);
       return sim::flybackDeck(in, d, FlybackClamp{s.Rlk, s.Clk}, someDrive(127));
     }},
    {"forward",
     [] {
       const ForwardInputs in = forwardOpening();
       return sim::forwardDeck(in, forwardVerify(in), someDrive(127));
     }},
    {"rcc", [] { return sim::rccDeck(rccOpening(), designRcc(rccOpening()), someDrive(127)); }},
    {"pushpull", [] { return bridge(BridgeKind::PushPull); }},
    {"halfbridge", [] { return bridge(BridgeKind::HalfBridge); }},
    {"fullbridge", [] { return bridge(BridgeKind::FullBridge); }},
    {"loop-current-gm",
     [] { return currentModeLoop(CurrentModeAmplifier::Transconductance); },
     {"lg", "vs", "ea"}},
    {"loop-current-opamp",
     [] { return currentModeLoop(CurrentModeAmplifier::OpAmp); },
     {"lg", "vs", "ea"}},
    {"loop-type2-forward", [] { return typeIILoop(TypeIIKind::Forward); }, {"lg", "fb", "ea"}},
    {"loop-type2-flyback", [] { return typeIILoop(TypeIIKind::DcmFlyback); }, {"lg", "out", "ea"}},
    {"loop-type3",
     [] {
       const TypeIIIInputs in = typeIIIOpening();
       return sim::typeIIINetworkDeck(in, typeIIINetwork(in), "page");
     },
     {"lg", "ea"}},
};

class DeckText : public ::testing::TestWithParam<DeckCase> {};

TEST_P(DeckText, NamesEveryComponentAndReadsOnlyWhatItDefines) {
  const Deck deck = GetParam().make();
  ASSERT_TRUE(deck.ok()) << deck.error;
  std::istringstream lines(deck.netlist);
  std::vector<std::string> cards;
  for (std::string line; std::getline(lines, line);) cards.push_back(line);
  ASSERT_GE(cards.size(), 3u);
  EXPECT_EQ(cards.back(), ".end");

  std::set<std::string> nodes{"0"}, elements, references;
  const std::regex voltage(R"(v\(([^),]+)(,([^)]+))?\))"), current(R"(i\(([^)]+)\))");
  auto collect = [&](const std::string& text) {
    for (std::sregex_iterator m(text.begin(), text.end(), voltage), end; m != end; ++m) {
      references.insert("node " + (*m)[1].str());
      if ((*m)[3].matched) references.insert("node " + (*m)[3].str());
    }
    for (std::sregex_iterator m(text.begin(), text.end(), current), end; m != end; ++m) {
      references.insert("element " + (*m)[1].str());
    }
  };
  for (std::size_t i = 1; i + 1 < cards.size(); ++i) {
    const std::string card = lower(cards[i]);
    if (card.empty() || card[0] == '*') continue;
    if (card[0] == '.') {
      collect(card);
      continue;
    }
    // A component: the line before it says where its value comes from.
    EXPECT_EQ(cards[i - 1].substr(0, 2), "* ") << "no comment before " << cards[i];
    std::istringstream words(card);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    elements.insert(w[0]);
    const char kind = w[0][0];
    const std::size_t terminals = kind == 's' ? 4 : kind == 'k' ? 0 : 2;
    for (std::size_t t = 1; t <= terminals && t < w.size(); ++t) nodes.insert(w[t]);
    if (kind == 'k') {
      references.insert("element " + w[1]);
      references.insert("element " + w[2]);
    }
    // Controlled sources: a VCVS or VCCS reads two nodes, a CCVS the current of a source.
    if ((kind == 'e' || kind == 'g') && w.size() > 4) {
      references.insert("node " + w[3]);
      references.insert("node " + w[4]);
    }
    if (kind == 'h' && w.size() > 3) references.insert("element " + w[3]);
    if (w[0][0] == 'b') collect(card.substr(card.find('=')));
  }
  for (const std::string& r : references) {
    const std::string name = r.substr(r.find(' ') + 1);
    const bool known = r.starts_with("node ") ? nodes.count(name) : elements.count(name);
    EXPECT_TRUE(known) << "the deck reads " << r << " but defines none";
  }
  for (const std::string& node : GetParam().outputs) {
    EXPECT_TRUE(nodes.count(node)) << "no node " << node;
  }
}

INSTANTIATE_TEST_SUITE_P(Decks, DeckText, ::testing::ValuesIn(kDecks));

TEST(Decks, NumbersThatMakeNoCircuitGiveTheReason) {
  // Raw turns below one half rounded to none.
  DcDcInputs in;
  DcDcOutputs out = designDcDc(DcDcTopology::Buck, DcDcMode::Ccm, in).out;
  out.NL = 0;
  EXPECT_EQ(sim::dcdcDeck(DcDcTopology::Buck, in, out, someDrive(24)).error,
            "the inductor has no turns");
  const ForwardInputs fin = forwardOpening();
  ForwardDesign fd = forwardVerify(fin);
  fd.Ns = 0;
  EXPECT_EQ(sim::forwardDeck(fin, fd, someDrive(127)).error, "a winding has no turns");
  // An on-time as long as the period (a duty of 1 or more).
  Drive full = someDrive(24);
  full.point.Ton = full.point.T;
  const Deck d = sim::dcdcDeck(DcDcTopology::Buck, in,
                               designDcDc(DcDcTopology::Buck, DcDcMode::Ccm, in).out, full);
  EXPECT_FALSE(d.ok());
  EXPECT_TRUE(d.netlist.empty());
  // Slope compensation exactly at the subharmonic limit mc·D' = 0.5: undamped sampling poles.
  const CurrentModeInputs cin = currentModeOpening(CurrentModeAmplifier::Transconductance);
  CurrentModeResults r = currentModeCompensation(cin);
  r.Q = 0.5 / (1 - double{cin.D}) - 0.5;
  EXPECT_EQ(sim::currentModeLoopDeck(cin, r, {r.R2, r.C1, r.C2}).error,
            "the sampling poles are undamped (mc*D' = 0.5)");
  // A type III zero fz2 above the pole fp1 gives a negative C2 and R3.
  TypeIIIInputs tin = typeIIIOpening();
  tin.fz2 = 20;
  EXPECT_EQ(sim::typeIIINetworkDeck(tin, typeIIINetwork(tin), "page").error,
            "the network has a component that is not positive");
}

// What ngspice 39 printed (ngspice/*.txt, the memory report left out): a buck deck with one
// measurement of a node it lacks, a deck with an unknown model and subcircuit, and an RC low
// pass of 1 kHz swept at a point a decade.
sim::SpiceRun parsePrinted(const char* name) {
  std::ifstream in(std::string(TARNEX_NGSPICE_PRINTED) + "/" + name);
  EXPECT_TRUE(in) << name;
  std::stringstream text;
  text << in.rdbuf();
  return sim::parseSpiceOutput(text.str());
}

TEST(SpiceOutput, ReadsTheMeasurementsAndKeepsTheFailedOnesOut) {
  const sim::SpiceRun run = parsePrinted("failed_measurement.txt");
  EXPECT_TRUE(run.analysed);
  EXPECT_EQ(run.failure(), "");
  EXPECT_DOUBLE_EQ(run.value("vavg").value_or(0), 11.99755);
  EXPECT_DOUBLE_EQ(run.value("ipk").value_or(0), 1.199714);
  EXPECT_DOUBLE_EQ(run.value("irms").value_or(0), 1.00642);
  EXPECT_EQ(run.values.size(), 4u);  // not "bad", nor the report's "Stack = 0"
  EXPECT_FALSE(run.value("bad"));
  ASSERT_EQ(run.errors.size(), 1u);
  EXPECT_NE(run.errors[0].find("no such vector"), std::string::npos);
}

TEST(SpiceOutput, ReadsTheAcTableAsComplexValues) {
  const sim::SpiceRun run = parsePrinted("ac_sweep.txt");
  EXPECT_EQ(run.failure(), "");
  ASSERT_EQ(run.ac.size(), 3u);
  EXPECT_DOUBLE_EQ(run.ac[1].f, 1000);
  // At its corner the low pass passes (1 − j)/2.
  EXPECT_DOUBLE_EQ(run.ac[1].v.real(), 0.5);
  EXPECT_DOUBLE_EQ(run.ac[1].v.imag(), -0.5);
  EXPECT_DOUBLE_EQ(run.ac[2].v.imag(), -0.0990099);
  EXPECT_TRUE(run.values.empty());
}

TEST(SpiceOutput, ADeckThatDidNotParseSaysWhy) {
  const sim::SpiceRun run = parsePrinted("did_not_parse.txt");
  EXPECT_FALSE(run.analysed);
  EXPECT_TRUE(run.values.empty());
  EXPECT_NE(run.failure().find("unknown subckt: x1 a b missing"), std::string::npos);
  EXPECT_NE(sim::parseSpiceOutput("").failure(), "");
  EXPECT_TRUE(run.ac.empty());
}

}  // namespace
}  // namespace tarnex
