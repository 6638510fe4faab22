#pragma once
// The layout of a form whose table gives no placement (a design window, a page of the loop
// sheet): rows "caption | input | unit" in their group boxes, the groups that hold inputs in
// columns that fit the room, the pictures, notes and buttons in a column beside them, the
// Bode plot and the design check. Plain arithmetic on the pixel sizes the desktop layer
// measured in the form's font: it returns the rectangle of every widget in the form.
//
// A window whose captions (an interface file's own) would make it wider than its room gets
// narrower caption columns: the captions that do not fit are shortened, and named in the
// layout so that the desktop layer can elide them and show them in full elsewhere.

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "forms/form.h"
#include "tables/field_table.h"

namespace tarnex {

struct PixelSize {
  int w = 0, h = 0;
  friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  friend constexpr bool operator==(PixelRect, PixelRect) = default;
  constexpr int right() const { return x + w; }
  constexpr int bottom() const { return y + h; }
  constexpr bool contains(PixelRect r) const {
    return r.x >= x && r.y >= y && r.right() <= right() && r.bottom() <= bottom();
  }
  constexpr bool intersects(PixelRect r) const {
    return r.x < right() && x < r.right() && r.y < bottom() && y < r.bottom();
  }
};

// What the desktop layer measured of one control, in pixels.
struct ControlMetrics {
  // The size the control asks for: a caption's line, a button, an input's fixed size.
  PixelSize hint;
  // A group box: from its outer edge to its contents, and the width its caption needs.
  int insetLeft = 0, insetTop = 0, insetRight = 0, insetBottom = 0;
  int captionWidth = 0;
  // A picture frame (a frame control, or a group filled by its picture): width over height
  // of its first drawing and the width of its widest one.
  double aspect = 16.0 / 9.0;
  int drawingWidth = 0;
};

struct LayoutMetrics {
  std::map<int, ControlMetrics> controls;  // by control id
  // The height a text of several lines (a note, a clickable line) takes at a width; without
  // it such a text keeps the height of its hint.
  std::function<int(int id, int width)> wrappedHeight;
  // Pixels per dialog unit of the form's font (the pictures that lead to a group are placed
  // in dialog units).
  double unitX = 1.5, unitY = 1.5;
  // The room of a page of a sheet; empty for a window of its own, which stays low.
  PixelSize room;
  // The room a window of its own may take on its screen.
  PixelSize screen;
  // Widgets the desktop layer adds after the unit of an input (a button that fills the field
  // from a catalogue), by the input's id: a column of their own at the end of the group's rows.
  std::map<int, PixelSize> trailers;
  // Lines of the desktop layer's own under an input (what the button chose), by the input's id:
  // a row of their own in the group, as wide as the line asks.
  std::map<int, PixelSize> linesUnder;
};

// A picture painted in a rectangle of its own: the one that fills a group box (no drawing
// named: every drawing of the frame), or one of the drawings that lead to a group.
struct PlacedPicture {
  int frameId = 0;
  std::string_view drawing;
  PixelRect rect;
};

struct FormLayout {
  PixelSize size;
  std::map<int, PixelRect> controls;  // every control shown, by id
  std::vector<PlacedPicture> pictures;
  std::optional<PixelRect> plot;        // the Bode plot
  std::optional<PixelRect> check;       // the design check
  std::vector<int> shortened;           // captions given less width than they ask for
  std::map<int, PixelRect> trailers;    // by the input's id
  std::map<int, PixelRect> linesUnder;  // by the input's id
};

// Lays out `controls` (in form order) with the pictures of the form's table. `plots`: the
// form shows a Bode plot; `checks`: it shows a design check.
FormLayout layOutForm(std::span<const Control> controls, std::span<const PictureRow> pictures,
                      bool plots, bool checks, const LayoutMetrics& metrics);

}  // namespace tarnex
