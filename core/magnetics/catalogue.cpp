#include "magnetics/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "magnetics/copper_loss.h"
#include "magnetics/effective.h"

namespace tarnex::magnetics {

namespace {

struct ShapeRow {
  const char* name;
  const char* family;
  const char* aliases;
  int firstDimension;
  int dimensionCount;
};
using DimensionRow = Dimension;
struct BobbinRow {
  const char* shape;
  double breadth;
  double height;
  double tube;
  double tubeWidth, tubeDepth;
};
struct MaterialRow {
  const char* name;
  const char* maker;
  double mu25, bsat25, bsat100;
  int firstRange, rangeCount;
};
struct WireRow {
  const char* name;
  const char* standard;
  int grade;
  bool litz;
  int strands;
  double strandDiameter, outerDiameter;
};

#include "magnetics_tables.inc"

// Names compare without case and without spaces: "PQ 26/25" is "pq26/25".
std::string folded(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

bool sameName(std::string_view a, std::string_view b) {
  return folded(a) == folded(b);
}

bool namedBy(const Shape& shape, const std::string& wanted) {
  if (folded(shape.name) == wanted) return true;
  std::string_view rest = shape.aliases;
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    if (folded(rest.substr(0, bar)) == wanted) return true;
    rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
  }
  return false;
}

// The window and the mean turn of the bobbin made for the shape, where the data has one that
// fits inside the bare core's window (a bobbin drawn larger than its core is a misread row).
void fitBobbin(CatalogueCore& core) {
  const std::optional<BobbinWindow> b = bobbinFor(core.shape.name);
  CoreGeometry& g = core.geometry;
  if (!b || !(b->breadth > 0 && b->height > 0 && b->meanTurn() > 0) ||
      b->breadth > g.windowBreadth || b->height > g.windowHeight) {
    return;
  }
  g.windowBreadth = b->breadth;
  g.windowHeight = b->height;
  g.Aw = b->breadth * b->height;
  g.meanTurn = b->meanTurn();
  core.bobbin = true;
}

std::vector<CatalogueCore> makeCores() {
  std::vector<CatalogueCore> out;
  for (const ShapeRow& r : kShapes) {
    const Shape shape{r.name, r.family, r.aliases,
                      std::span<const Dimension>(kDimensions + r.firstDimension,
                                                 static_cast<std::size_t>(r.dimensionCount))};
    if (const std::optional<CoreGeometry> g = effectiveParameters(shape)) {
      CatalogueCore core{shape, *g};
      fitBobbin(core);
      out.push_back(core);
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const CatalogueCore& a, const CatalogueCore& b) {
    return a.geometry.Ve < b.geometry.Ve;
  });
  return out;
}

std::vector<Wire> makeWires(bool litz, std::string_view standard, int grade) {
  std::vector<Wire> out;
  for (const WireRow& w : kWires) {
    if (w.litz != litz || (!litz && (w.standard != standard || w.grade != grade))) continue;
    out.push_back(Wire{w.name, w.litz, w.strands, w.strandDiameter, w.outerDiameter});
  }
  std::stable_sort(out.begin(), out.end(), [](const Wire& a, const Wire& b) {
    return a.strands * a.strandDiameter * a.strandDiameter <
           b.strands * b.strandDiameter * b.strandDiameter;
  });
  return out;
}

}  // namespace

double BobbinWindow::meanTurn() const {
  // Round: a circle at half the build-up; rectangular: the tube's sides plus the rounded
  // corners of half the build-up (2π · height/2).
  if (tube > 0) return std::numbers::pi * (tube + height);
  if (tubeWidth > 0 && tubeDepth > 0)
    return 2 * (tubeWidth + tubeDepth) + std::numbers::pi * height;
  return 0;
}

double Shape::operator[](std::string_view letter) const {
  for (const Dimension& d : dimensions) {
    if (letter == d.letter) return d.value;
  }
  return 0;
}

const std::vector<CatalogueCore>& cores() {
  static const std::vector<CatalogueCore> all = makeCores();
  return all;
}

std::vector<const CatalogueCore*> findCores(const CoreFilter& filter) {
  std::vector<const CatalogueCore*> out;
  for (const CatalogueCore& c : cores()) {
    if (!filter.family.empty() && !sameName(c.shape.family, filter.family)) continue;
    if (c.areaProduct() < filter.minAreaProduct) continue;
    out.push_back(&c);
  }
  return out;
}

const CatalogueCore* findCore(std::string_view name) {
  const std::string wanted = folded(name);
  for (const CatalogueCore& c : cores()) {
    if (namedBy(c.shape, wanted)) return &c;
  }
  return nullptr;
}

std::vector<std::string> families() {
  std::vector<std::string> out;
  for (const ShapeRow& r : kShapes) {
    if (std::find(out.begin(), out.end(), r.family) == out.end()) out.emplace_back(r.family);
  }
  return out;
}

std::optional<BobbinWindow> bobbinFor(std::string_view shapeName) {
  for (const BobbinRow& b : kBobbins) {
    if (shapeName == b.shape) {
      return BobbinWindow{b.breadth, b.height, b.tube, b.tubeWidth, b.tubeDepth};
    }
  }
  return std::nullopt;
}

const std::vector<Material>& materials() {
  static const std::vector<Material> all = [] {
    std::vector<Material> out;
    for (const MaterialRow& m : kMaterials) {
      const auto first = kRanges + m.firstRange;
      out.push_back(Material{m.name, m.maker, m.mu25, m.bsat25, m.bsat100,
                             std::vector<SteinmetzRange>(first, first + m.rangeCount)});
    }
    return out;
  }();
  return all;
}

std::vector<const Material*> materialsBy(std::string_view maker) {
  std::vector<const Material*> out;
  for (const Material& m : materials()) {
    if (maker.empty() || sameName(m.maker, maker)) out.push_back(&m);
  }
  return out;
}

const Material* findMaterial(std::string_view name) {
  for (const Material& m : materials()) {
    if (sameName(m.name, name)) return &m;
  }
  return nullptr;
}

const std::vector<Wire>& wires(RoundWires table) {
  static const std::vector<Wire> iec1 = makeWires(false, "IEC 60317", 1);
  static const std::vector<Wire> iec2 = makeWires(false, "IEC 60317", 2);
  static const std::vector<Wire> awg1 = makeWires(false, "NEMA MW 1000 C", 1);
  static const std::vector<Wire> awg2 = makeWires(false, "NEMA MW 1000 C", 2);
  switch (table) {
    case RoundWires::Iec60317Grade1:
      return iec1;
    case RoundWires::Iec60317Grade2:
      return iec2;
    case RoundWires::AwgSingleBuild:
      return awg1;
    case RoundWires::AwgHeavyBuild:
      break;
  }
  return awg2;
}

const std::vector<Wire>& litzWires() {
  static const std::vector<Wire> all = makeWires(true, "", 0);
  return all;
}

std::optional<Wire> roundWireAtLeast(RoundWires table, double d) {
  if (!std::isfinite(d)) return std::nullopt;
  for (const Wire& w : wires(table)) {
    if (w.strandDiameter >= d) return w;
  }
  return std::nullopt;
}

std::vector<const Wire*> litzWiresFor(double f) {
  std::vector<const Wire*> out;
  if (!(f > 0) || !std::isfinite(f)) return out;
  const double delta = skinDepth(f);
  for (const Wire& w : litzWires()) {
    if (w.strandDiameter <= delta) out.push_back(&w);
  }
  return out;
}

}  // namespace tarnex::magnetics
