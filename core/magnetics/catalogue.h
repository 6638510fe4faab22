#pragma once
// The catalogue of standard core shapes, ferrites and winding wires, embedded at build time
// from the open magnetics data (resources/magnetics, Apache-2.0). Shapes carry their lettered
// dimensions as the shape standards draw them; the effective parameters follow from them
// (effective.h). Only the shape families and ferrites checked against the makers' datasheets
// are shipped.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "magnetics/core_data.h"

namespace tarnex::magnetics {

struct Dimension {
  const char* letter;
  double value;  // nominal, m
};

// A standard shape: its name ("ETD 34/17/11"), family key ("etd"), other names separated by
// '|', and lettered dimensions.
struct Shape {
  std::string_view name;
  std::string_view family;
  std::string_view aliases;
  std::span<const Dimension> dimensions;

  // The dimension with this letter, 0 when the shape has none.
  double operator[](std::string_view letter) const;
};

// A bobbin's own winding space, m: breadth between the flanges, build-up height from the tube
// to the flanges' rim, and the tube: its outer diameter for a round one, its outer sides for
// a rectangular one (the other left 0).
struct BobbinWindow {
  double breadth = 0;
  double height = 0;
  double tube = 0;
  double tubeWidth = 0, tubeDepth = 0;
  // The mean turn at half the build-up height.
  double meanTurn() const;
};

struct CatalogueCore {
  Shape shape;
  CoreGeometry geometry;
  bool bobbin = false;  // the window and turn length are the bobbin's
  double areaProduct() const { return geometry.Ae * geometry.Aw; }
};

// Every shipped core whose dimensions give its effective parameters, sorted by Ve.
const std::vector<CatalogueCore>& cores();

struct CoreFilter {
  std::string family;         // family key, any case; empty: every family
  double minAreaProduct = 0;  // Ae·Aw at least this, m⁴
};
std::vector<const CatalogueCore*> findCores(const CoreFilter& filter);

// The core named by its name or one of its aliases, ignoring case and spaces
// ("PQ 26/25", "pq26/25"); nullptr when none.
const CatalogueCore* findCore(std::string_view name);

// The family keys shipped, in catalogue order.
std::vector<std::string> families();

std::optional<BobbinWindow> bobbinFor(std::string_view shapeName);

const std::vector<Material>& materials();
std::vector<const Material*> materialsBy(std::string_view maker);  // any case; empty: all
const Material* findMaterial(std::string_view name);               // any case

// Winding wire tables.
enum class RoundWires { Iec60317Grade1, Iec60317Grade2, AwgSingleBuild, AwgHeavyBuild };
const std::vector<Wire>& wires(RoundWires table);
const std::vector<Wire>& litzWires();

// The thinnest round wire of the table whose conducting diameter is at least d (m).
std::optional<Wire> roundWireAtLeast(RoundWires table, double d);

// The litz wires whose strands are at most one skin depth thick at f, so that the strands
// carry the current nearly uniformly; sorted by copper area.
std::vector<const Wire*> litzWiresFor(double f);

}  // namespace tarnex::magnetics
