#include "magnetics/effective.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace tarnex::magnetics {

namespace {

constexpr double kPi = std::numbers::pi;

struct Segment {
  double l;  // length along the flux, m
  double A;  // cross-section, m²
};

// The core constants of a chain of segments; both sums count one segment as l/A and l/A².
struct Constants {
  double c1 = 0, c2 = 0, amin = 0;
  void add(double lOverA, double lOverA2) { c1 += lOverA, c2 += lOverA2; }
  void add(const Segment& s) {
    add(s.l / s.A, s.l / (s.A * s.A));
    amin = amin == 0 ? s.A : std::min(amin, s.A);
  }
};

CoreGeometry fromConstants(const Constants& k) {
  CoreGeometry g;
  g.Ae = k.c1 / k.c2;
  g.le = k.c1 * k.c1 / k.c2;
  g.Ve = g.Ae * g.le;
  g.Amin = k.amin;
  return g;
}

bool positive(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return v > 0; });
}

// The area of a disc of radius R between the chords y = ±c/2.
double discBand(double R, double c) {
  const double y = std::min(c / 2, R);
  return 2 * (y * std::sqrt(R * R - y * y) + R * R * std::asin(y / R));
}

// E-shaped pairs (E, planar E, EFD, ETD): IEC 60205 for E cores. With the outer legs' total
// area A1, the back's h = B − D on both sides (A2 = 2·C·h), the centre leg's A3:
//   l1 = l3 = 2D (outer and centre legs), l2 = E − F (the backs between the legs),
//   l4 = π/4·(s + h) with A4 = (A1 + A2)/2 at the outer corners (s = A1/2C),
//   l5 = π/4·(F/2 + h) with A5 = (A2 + A3)/2 at the centre leg's corners.
// The window: breadth 2D, height (E − F)/2; the mean turn at half the window height around
// a centre leg of perimeter `legPerimeter`: legPerimeter + π·height.
std::optional<CoreGeometry> eShape(const Shape& s, double centreArea, double outerArea,
                                   double legPerimeter) {
  const double A = s["A"], B = s["B"], C = s["C"], D = s["D"], E = s["E"], F = s["F"];
  if (!positive({A, B, C, D, E, F, centreArea, outerArea}) || !(A > E && E > F && B > D)) {
    return std::nullopt;
  }
  const double h = B - D, sOuter = outerArea / (2 * C);
  const double A2 = 2 * C * h;
  Constants k;
  k.add({2 * D, outerArea});
  k.add({E - F, A2});
  k.add({2 * D, centreArea});
  k.add({kPi / 4 * (sOuter + h), (outerArea + A2) / 2});
  k.add({kPi / 4 * (F / 2 + h), (A2 + centreArea) / 2});
  CoreGeometry g = fromConstants(k);
  g.windowBreadth = 2 * D;
  g.windowHeight = (E - F) / 2;
  g.Aw = g.windowBreadth * g.windowHeight;
  g.meanTurn = legPerimeter + kPi * g.windowHeight;
  return g;
}

// E and planar E: a rectangular centre leg F × C, outer legs (A − E)/2 × C.
std::optional<CoreGeometry> eCore(const Shape& s) {
  const double A = s["A"], C = s["C"], E = s["E"], F = s["F"];
  return eShape(s, C * F, C * (A - E), 2 * (C + F));
}

// EFD: the flat centre leg F × F2, outer legs (A − E)/2 × C.
std::optional<CoreGeometry> efdCore(const Shape& s) {
  const double A = s["A"], C = s["C"], E = s["E"], F = s["F"], F2 = s["F2"];
  return eShape(s, F * F2, C * (A - E), 2 * (F + F2));
}

// ETD, ER, EER: a round centre leg of diameter F, the outer legs' inner faces on the circle of
// diameter E, so each outer leg is the rectangle A/2 × C less the disc's band.
std::optional<CoreGeometry> roundLegECore(const Shape& s) {
  const double A = s["A"], C = s["C"], E = s["E"], F = s["F"];
  if (!positive({A, C, E, F})) return std::nullopt;
  return eShape(s, kPi * F * F / 4, C * A - discBand(E / 2, C), kPi * F);
}

// Pot cores, IEC 60205: the centre post (annulus F, hole H) and the outer wall (annulus E to
// A less the two slots of width G), each 2D long; the two bases (thickness h = B − D) as
// discs from r1 = F/2 to r2 = E/2 less the slots' share, by the radial integrals
//   Σ l/A = ln(r2/r1)/(φ·h),  Σ l/A² = (1/r1 − 1/r2)/(φ²·h²),  φ = 2π·(1 − slot share);
// corners of π/4 × (wall + h) with the mean of the areas they join.
std::optional<CoreGeometry> potCore(const Shape& s) {
  const double A = s["A"], B = s["B"], D = s["D"], E = s["E"], F = s["F"], H = s["H"];
  const double G = s["G"];
  if (!positive({A, B, D, E, F}) || !(A > E && E > F && B > D && F > H && H >= 0 && G >= 0)) {
    return std::nullopt;
  }
  const double slotShare = std::min(0.5, 2 * G / (kPi * (A + E) / 2));
  const double post = kPi * (F * F - H * H) / 4;
  const double wall = kPi * (A * A - E * E) / 4 * (1 - slotShare);
  const double h = B - D, r1 = F / 2, r2 = E / 2, phi = 2 * kPi * (1 - slotShare);
  Constants k;
  k.add({2 * D, post});
  k.add({2 * D, wall});
  k.add(2 * std::log(r2 / r1) / (phi * h), 2 * (1 / r1 - 1 / r2) / (phi * phi * h * h));
  k.add({kPi / 4 * ((F - H) / 2 + h), (post + phi * r1 * h) / 2});
  k.add({kPi / 4 * ((A - E) / 2 + h), (wall + phi * r2 * h) / 2});
  k.amin = std::min({post, wall, phi * r1 * h});
  CoreGeometry g = fromConstants(k);
  g.windowBreadth = 2 * D;
  g.windowHeight = (E - F) / 2;
  g.Aw = g.windowBreadth * g.windowHeight;
  g.meanTurn = kPi * (F + g.windowHeight);
  return g;
}

// Toroids of rectangular section (outer diameter A, inner B, height C), IEC 60205:
//   C1 = 2π/(C·ln(r2/r1)),  C2 = 2π·(1/r1 − 1/r2)/(C²·ln³(r2/r1)).
// The window is the hole; a winding is taken to fill half its radius, so the mean turn is the
// section's perimeter plus 2π × a quarter of the hole's radius.
std::optional<CoreGeometry> toroid(const Shape& s) {
  const double A = s["A"], B = s["B"], C = s["C"];
  if (!positive({A, B, C}) || !(A > B)) return std::nullopt;
  const double r2 = A / 2, r1 = B / 2, ln = std::log(r2 / r1);
  Constants k;
  k.add(2 * kPi / (C * ln), 2 * kPi * (1 / r1 - 1 / r2) / (C * C * ln * ln * ln));
  k.amin = C * (r2 - r1);
  CoreGeometry g = fromConstants(k);
  g.windowBreadth = kPi * B;
  g.windowHeight = r1 / 2;
  g.Aw = kPi * r1 * r1;
  g.meanTurn = (A - B) + 2 * C + 2 * kPi * r1 / 4;
  return g;
}

}  // namespace

std::optional<CoreGeometry> effectiveParameters(const Shape& shape) {
  const std::string_view f = shape.family;
  if (f == "e" || f == "planarE") return eCore(shape);
  if (f == "efd") return efdCore(shape);
  if (f == "etd" || f == "er") return roundLegECore(shape);
  if (f == "p") return potCore(shape);
  if (f == "t") return toroid(shape);
  return std::nullopt;
}

}  // namespace tarnex::magnetics
