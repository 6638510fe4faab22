#pragma once
// The design report of a window as it stands: its title, its inputs and results with their
// units, the list entries chosen, the design check's findings, the loss and fit sheet of a
// catalogue core, the margins of a compensation page's Bode plot, the program's version and
// the date. The report is built from the form alone; its pictures (the circuit drawing, the
// Bode plot) are named here and supplied by whoever renders them, so that the desktop program
// makes a PDF of it and tarnex-calc an HTML without them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/finding.h"

namespace tarnex {

class Form;

namespace report {

// One line of a table: what, its value as shown, its unit (may be empty); or the caption of
// the group box the rows below it sit in.
struct Row {
  std::string label;
  std::string value = {};
  std::string unit = {};
  bool group = false;
};

// A picture the report shows, by the key its renderer supplies it under.
enum class Figure { Circuit, Bode };

struct Section {
  std::string heading;
  std::vector<Row> rows = {};
  std::vector<Finding> findings = {};
  // Shown when the section has neither rows nor findings ("尚未计算").
  std::string empty = {};
  // The picture shown above the rows, if any.
  std::optional<Figure> figure = {};
  // The section starts a page (a large picture that should stand with its heading).
  bool newPage = false;
};

struct Report {
  std::string title;    // the window's title ("DC-DC变换器设计"), the sheet's before a page's
  std::string program;  // "Tarnex 3.2"
  std::string date;     // as the caller gives it
  std::vector<Section> sections;
};

// What the form alone does not know.
struct Context {
  std::string date;        // "2026-12-09 15:40"
  std::string sheetTitle;  // the sheet a page belongs to; empty for a window of its own
};

// The report of `form` as it shows now. A form that asks for a core adds its loss sheet
// (non-const: the choice is read through the form's core pick).
Report build(Form& form, const Context& context);

// A picture of an HTML report: its <img> source (empty: the figure is left out) and its size
// in CSS pixels (0: as the picture is).
struct Image {
  std::string src;
  int width = 0, height = 0;
};
struct Images {
  Image circuit;
  Image bode;
};

// The report as one HTML document, UTF-8, every text escaped.
std::string html(const Report& report, const Images& images = {});

// `text` escaped for HTML text and attribute values: & < > " ' as entities, control bytes
// other than line break and tab left out, invalid UTF-8 bytes as U+FFFD.
std::string escape(std::string_view text);

// The file name a report of `title` is offered under: the title without the characters file
// names cannot hold, with `extension` (".pdf").
std::string suggestedName(std::string_view title, std::string_view extension);

}  // namespace report
}  // namespace tarnex
