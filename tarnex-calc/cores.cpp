#include "cores.h"

#include "calc.h"
#include "magnetics/catalogue.h"
#include "output.h"

namespace tarnex::calc {

namespace {

std::string familyKeys() {
  std::string keys;
  for (const std::string& f : magnetics::families()) keys += (keys.empty() ? "" : ", ") + f;
  return keys;
}

Record coreRecord(const magnetics::CatalogueCore& c) {
  const magnetics::CoreGeometry& g = c.geometry;
  return Record{"core"}
      .add("name", c.shape.name)
      .add("family", c.shape.family)
      .add("Ae", Value::number(g.Ae * 1e6))
      .add("le", Value::number(g.le * 1e3))
      .add("Ve", Value::number(g.Ve * 1e9))
      .add("Aw", Value::number(g.Aw * 1e6))
      .add("AP", Value::number(c.areaProduct() * 1e12));
}

}  // namespace

int runCores(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  bool json = false;
  magnetics::CoreFilter filter;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--json") {
      json = true;
    } else if ((a == "--family" || a == "--dir") && i + 1 < args.size()) {
      if (a == "--family") filter.family = args[i + 1];
      ++i;
    } else {
      err << "tarnex-calc: usage: tarnex-calc cores [--family FAMILY] [--json]\n";
      return kUsage;
    }
  }
  const auto found = magnetics::findCores(filter);
  if (found.empty() && !filter.family.empty()) {
    err << "tarnex-calc: unknown core family '" << filter.family << "' (families: " << familyKeys()
        << ")\n";
    return kUsage;
  }
  std::vector<Record> rows;
  for (const magnetics::CatalogueCore* c : found) rows.push_back(coreRecord(*c));
  const Record listing = Record{}.records("cores", std::move(rows));
  if (json) {
    out << jsonObject(listing) << '\n';
  } else {
    out << tabLines(listing);
  }
  return kWritten;
}

}  // namespace tarnex::calc
