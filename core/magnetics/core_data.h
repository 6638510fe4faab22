#pragma once
// What the magnetics catalogue knows about a core, a ferrite and a wire, in SI units
// (metres, square and cubic metres, tesla, °C, Hz, W/m³): the catalogue fills these from the
// open shape, material and wire tables, and the fit and loss computations read them.

#include <numbers>
#include <string>
#include <vector>

namespace tarnex::magnetics {

// The magnetic constant µ0, H/m.
inline constexpr double kMu0 = 4e-7 * std::numbers::pi;

// The effective parameters of a core set (a pair of halves, or one toroid) by IEC 60205, and
// the winding window that the bobbin or the bare core leaves.
struct CoreGeometry {
  double Ae = 0;             // effective area, m²
  double le = 0;             // effective magnetic path length, m
  double Ve = 0;             // effective volume, m³
  double Amin = 0;           // smallest cross-section of the centre leg, m²
  double Aw = 0;             // winding window area, m² (the bobbin's where the shape has one)
  double windowBreadth = 0;  // breadth of the window along the centre leg (a layer's width), m
  double windowHeight = 0;   // build-up room from the centre leg outwards, m
  double meanTurn = 0;       // mean length of a turn at half the window height, m
};

// One fitted range of the Steinmetz equation
//   Pv = k · f^alpha · B^beta · (ct0 − ct1·T + ct2·T²)   [W/m³; f in Hz, B peak in T, T in °C]
// valid between fMin and fMax.
struct SteinmetzRange {
  double fMin = 0, fMax = 0;
  double k = 0, alpha = 0, beta = 0;
  double ct0 = 1, ct1 = 0, ct2 = 0;
};

struct Material {
  std::string name;                       // as the maker writes it, "N87"
  std::string maker;                      // "TDK"
  double mu25 = 0;                        // initial permeability at 25 °C
  double Bsat25 = 0;                      // saturation flux density at 25 °C, T
  double Bsat100 = 0;                     // saturation flux density at 100 °C, T
  std::vector<SteinmetzRange> steinmetz;  // ordered by frequency
};

struct Wire {
  std::string name;  // "Round 0.50 - Grade 1", "Litz 40x0.1"
  bool litz = false;
  int strands = 1;
  double strandDiameter = 0;  // conducting diameter of one strand, m
  double outerDiameter = 0;   // over the enamel (and serving), m
};

}  // namespace tarnex::magnetics
