#include "forms/form_layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

#include "forms/column_split.h"

namespace tarnex {

namespace {

constexpr int kMargin = 8;   // around the columns, and of the design check below them
constexpr int kSpacing = 8;  // between columns, and between the blocks of a column
// A column of groups grows up to this height (less on a lower screen): windows stay wide
// and low, so that they open below the launcher's top on a 768-pixel screen. The split
// reckons a group at kRowHeight per row and kGroupChrome for its caption and margins.
constexpr int kMaxColumnHeight = 480;
constexpr int kRowHeight = 22;
constexpr int kGroupChrome = 30;
// Between the pictures that lead to a group and the group.
constexpr int kStripSpacing = 6;
// Circuit pictures are kPictureWidth wide. Drawings wider than kLargeDrawing (diagrams with
// their formulas) take the room the window has for them, up to kLargePictureWidth; a group
// holding a picture adds kPictureGroupChrome of caption and margins.
constexpr int kPictureWidth = 250;
constexpr int kLargeDrawing = 400;
constexpr int kLargePictureWidth = 420;
constexpr int kPictureGroupChrome = 42;
constexpr int kPictureInset = 16;  // a picture in its group: narrower than the group by this
// Width of a Bode plot beside the pictures, from what it needs to what it can use.
constexpr int kMinPlotWidth = 340;
constexpr int kMaxPlotWidth = 640;
// The design check keeps about nine lines, whatever a calculation finds.
constexpr int kCheckHeight = 176;
// A shortened caption keeps at least about four characters.
constexpr int kMinCaptionWidth = 48;

// Spacing and margins of a grid of rows: inside a group box, and for the controls outside
// every group.
struct GridStyle {
  int cellSpacing, rowSpacing, marginX, marginY;
};
constexpr GridStyle kGroupGrid{12, 2, 8, 6};
constexpr GridStyle kLooseGrid{8, 8, 0, 0};

bool isInput(ControlKind kind) {
  return kind == ControlKind::Edit || kind == ControlKind::DropList;
}

int pictureHeight(int width, double aspect) {
  return static_cast<int>(width / std::max(aspect, 0.2));
}

// Rows "caption | input | unit"; notes, lines and buttons span the row, a picture too.
class Grid {
 public:
  enum class Kind { Input, Span, Button, Picture, LineUnder };
  struct Row {
    Kind kind;
    int id = 0;  // the input, the spanning control, or the picture's frame
    int caption = 0, unit = 0;
    PixelSize picture;
  };

  Grid(const LayoutMetrics& m, GridStyle style) : m_(&m), style_(style) {}

  void add(Row row) { rows_.push_back(row); }
  // Gives the picture of the grid its width, and the height of its drawing at that width.
  void sizePicture(int width, double aspect) {
    for (Row& r : rows_) {
      if (r.kind == Kind::Picture) r.picture = {width, pictureHeight(width, aspect)};
    }
  }
  bool empty() const { return rows_.empty(); }
  int rowCount() const { return static_cast<int>(rows_.size()); }

  // The width the rows need, margins included, with captions at most `cap` wide.
  int minWidth(int cap) const {
    const Columns c = columns(cap);
    int spans = 0;
    for (const Row& r : rows_) {
      if (r.kind != Kind::Input) spans = std::max(spans, spanWidth(r));
    }
    return std::max(c.width(style_.cellSpacing), spans) + 2 * style_.marginX;
  }

  // The height at an outer width, margins included.
  int height(int width) const {
    int h = 2 * style_.marginY;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      h += rowHeight(rows_[i], inner(width)) + (i > 0 ? style_.rowSpacing : 0);
    }
    return h;
  }

  // Places the rows in `area` (margins included). The caption column takes what the width
  // leaves; inputs stand at the right of theirs, centred on their row.
  void place(PixelRect area, int cap, FormLayout& out) const {
    const Columns c = columns(cap);
    const int width = inner(area.w);
    const int captionWidth = std::max(0, width - c.width(style_.cellSpacing) + c.w[0]);
    const int x0 = area.x + style_.marginX;
    const int x1 = x0 + (c.present[0] ? captionWidth + style_.cellSpacing : 0);
    const int x2 = x1 + (c.present[1] ? c.w[1] + style_.cellSpacing : 0);
    const int x3 = x2 + (c.present[2] ? c.w[2] + style_.cellSpacing : 0);
    int y = area.y + style_.marginY;
    for (const Row& r : rows_) {
      const int h = rowHeight(r, width);
      const auto centred = [&](int id, int x, int cellWidth, bool right) {
        const PixelSize s = hint(id);
        const int w = std::min(s.w, cellWidth);
        out.controls[id] = {right ? x + cellWidth - w : x, y + (h - std::min(s.h, h)) / 2, w,
                            std::min(s.h, h)};
      };
      switch (r.kind) {
        case Kind::Input:
          if (r.caption) centred(r.caption, x0, captionWidth, false);
          centred(r.id, x1, c.w[1], true);
          if (r.unit) centred(r.unit, x2, c.w[2], false);
          if (const auto t = m_->trailers.find(r.id); t != m_->trailers.end()) {
            const int h3 = std::min(t->second.h, h);
            out.trailers[r.id] = {x3, y + (h - h3) / 2, std::min(t->second.w, c.w[3]), h3};
          }
          break;
        case Kind::Button:
          centred(r.id, x0, width, true);
          break;
        case Kind::Span:
          out.controls[r.id] = {x0, y, width, h};
          break;
        case Kind::LineUnder: {
          // At the right of the row, under its input and what trails it.
          const int w = std::min(width, m_->linesUnder.at(r.id).w);
          out.linesUnder[r.id] = {x0 + width - w, y, w, h};
          break;
        }
        case Kind::Picture: {
          // A picture wider than its cell starts at the cell's left edge.
          const int x = x0 + std::max(0, (width - r.picture.w) / 2);
          out.pictures.push_back({r.id, {}, {x, y, r.picture.w, r.picture.h}});
          break;
        }
      }
      y += h + style_.rowSpacing;
    }
  }

  // The captions wider than `cap`.
  void shortened(int cap, std::vector<int>& out) const {
    for (const Row& r : rows_) {
      if (r.kind == Kind::Input && r.caption && hint(r.caption).w > cap) out.push_back(r.caption);
    }
  }
  int widestCaption() const {
    int w = 0;
    for (const Row& r : rows_) {
      if (r.kind == Kind::Input && r.caption) w = std::max(w, hint(r.caption).w);
    }
    return w;
  }

 private:
  // Caption, input, unit and the desktop's trailers.
  struct Columns {
    int w[4] = {0, 0, 0, 0};
    bool present[4] = {false, false, false, false};
    int width(int spacing) const {
      int total = 0, count = 0;
      for (int i = 0; i < 4; ++i) {
        if (!present[i]) continue;
        total += w[i];
        ++count;
      }
      return total + spacing * std::max(0, count - 1);
    }
  };

  PixelSize hint(int id) const {
    const auto it = m_->controls.find(id);
    return it == m_->controls.end() ? PixelSize{} : it->second.hint;
  }
  int inner(int width) const { return std::max(0, width - 2 * style_.marginX); }

  // A spanning row covers every column; a caption column takes at most `cap`.
  Columns columns(int cap) const {
    Columns c;
    for (const Row& r : rows_) {
      if (r.kind == Kind::LineUnder) continue;
      if (r.kind != Kind::Input) {
        c.present[0] = c.present[1] = c.present[2] = true;
        continue;
      }
      if (r.caption) {
        c.present[0] = true;
        c.w[0] = std::max(c.w[0], std::min(hint(r.caption).w, cap));
      }
      c.present[1] = true;
      c.w[1] = std::max(c.w[1], hint(r.id).w);
      if (r.unit) {
        c.present[2] = true;
        c.w[2] = std::max(c.w[2], hint(r.unit).w);
      }
      if (const auto t = m_->trailers.find(r.id); t != m_->trailers.end()) {
        c.present[3] = true;
        c.w[3] = std::max(c.w[3], t->second.w);
      }
    }
    return c;
  }

  int spanWidth(const Row& r) const {
    if (r.kind == Kind::LineUnder) return m_->linesUnder.at(r.id).w;
    return r.kind == Kind::Picture ? r.picture.w : hint(r.id).w;
  }

  int rowHeight(const Row& r, int width) const {
    switch (r.kind) {
      case Kind::Input: {
        const auto t = m_->trailers.find(r.id);
        return std::max({hint(r.id).h, r.caption ? hint(r.caption).h : 0,
                         r.unit ? hint(r.unit).h : 0, t != m_->trailers.end() ? t->second.h : 0});
      }
      case Kind::Picture:
        return r.picture.h;
      case Kind::LineUnder:
        return m_->linesUnder.at(r.id).h;
      case Kind::Span:
        if (m_->wrappedHeight) return m_->wrappedHeight(r.id, width);
        return hint(r.id).h;
      case Kind::Button:
        break;
    }
    return hint(r.id).h;
  }

  const LayoutMetrics* m_;
  GridStyle style_;
  std::vector<Row> rows_;
};

// A group box with its rows, and the pictures that lead to it in a strip above it.
struct Block {
  const Control* group;
  ControlMetrics box;
  Grid grid;
  std::vector<PlacedPicture> leads;  // at their places in the strip
  int strip = 0;                     // the strip's height
  bool filled = false;               // holds a picture that fills its width

  // The block with its picture as wide as a group `width` wide less kPictureInset.
  Block sized(int width) const {
    Block b = *this;
    if (filled) b.grid.sizePicture(width - kPictureInset, box.aspect);
    return b;
  }

  int chromeWidth() const { return box.insetLeft + box.insetRight; }
  int minWidth(int cap) const {
    return std::max(box.captionWidth, chromeWidth() + grid.minWidth(cap));
  }
  int height(int width) const {
    return (strip > 0 ? strip + kStripSpacing : 0) + box.insetTop + box.insetBottom +
           grid.height(width - chromeWidth());
  }
  void place(int x, int y, int width, int cap, FormLayout& out) const {
    for (PlacedPicture p : leads) {
      p.rect.x += x;
      p.rect.y += y;
      out.pictures.push_back(p);
    }
    if (strip > 0) y += strip + kStripSpacing;
    const PixelRect r{x, y, width, height(width) - (strip > 0 ? strip + kStripSpacing : 0)};
    out.controls[group->id] = r;
    grid.place({r.x + box.insetLeft, r.y + box.insetTop, r.w - chromeWidth(),
                r.h - box.insetTop - box.insetBottom},
               cap, out);
  }
};

class Planner {
 public:
  Planner(std::span<const Control> controls, std::span<const PictureRow> pictures, bool plots,
          bool checks, const LayoutMetrics& m)
      : controls_(controls), pictures_(pictures), plots_(plots), checks_(checks), m_(m) {
    build();
  }

  FormLayout run(int cap) const;
  int widestCaption() const {
    int w = 0;
    for (const Block& b : fields_) w = std::max(w, b.grid.widestCaption());
    return w;
  }
  void shortened(int cap, std::vector<int>& out) const {
    for (const Block& b : fields_) b.grid.shortened(cap, out);
    for (const Block& b : side_) b.grid.shortened(cap, out);
    loose_.shortened(cap, out);
  }

 private:
  void build();
  const ControlMetrics& metricsOf(int id) const {
    static const ControlMetrics kNone;
    const auto it = m_.controls.find(id);
    return it == m_.controls.end() ? kNone : it->second;
  }
  int sideWidth(int widthLeft) const;

  std::span<const Control> controls_;
  std::span<const PictureRow> pictures_;
  bool plots_, checks_;
  const LayoutMetrics& m_;

  std::vector<Block> fields_;  // groups that hold fields or lists: the columns of numbers
  std::vector<Block> side_;    // the others (notes, pictures): the side column
  std::vector<int> sidePictures_;
  Grid loose_{m_, kLooseGrid};
  std::vector<int> buttons_;
};

void Planner::build() {
  std::set<int> groups, filled;
  std::map<int, std::vector<const PictureRow*>> leadsTo;
  for (const Control& c : controls_) {
    if (c.kind == ControlKind::Group) groups.insert(c.id);
  }
  for (const PictureRow& p : pictures_) {
    if (p.frameRect.empty()) {
      filled.insert(p.frameId);
    } else {
      leadsTo[p.frameId].push_back(&p);
    }
  }
  // The caption and the unit beside each input.
  std::map<int, int> captionOf, unitOf;
  for (const Control& c : controls_) {
    if (c.buddy != 0) (c.trailing ? unitOf : captionOf)[c.buddy] = c.id;
  }
  const auto idIn = [](const std::map<int, int>& map, int id) {
    const auto it = map.find(id);
    return it == map.end() ? 0 : it->second;
  };
  // The rows of the members of a group (0: the controls outside every group), in form order.
  const auto fill = [&](Grid& grid, int groupId, bool skipButtons) {
    bool holdsFields = false;
    for (const Control& c : controls_) {
      if (c.kind == ControlKind::Group || c.buddy != 0 || c.kind == ControlKind::Frame) continue;
      if ((groups.count(c.groupId) ? c.groupId : 0) != groupId) continue;
      if (isInput(c.kind)) {
        grid.add({Grid::Kind::Input, c.id, idIn(captionOf, c.id), idIn(unitOf, c.id), {}});
        if (m_.linesUnder.count(c.id)) grid.add({Grid::Kind::LineUnder, c.id, 0, 0, {}});
        holdsFields = true;
      } else if (c.kind == ControlKind::Button) {
        if (!skipButtons) grid.add({Grid::Kind::Button, c.id, 0, 0, {}});
      } else {
        grid.add({Grid::Kind::Span, c.id, 0, 0, {}});
      }
    }
    return holdsFields;
  };

  for (const Control& g : controls_) {
    if (g.kind != ControlKind::Group) continue;
    Block b{&g, metricsOf(g.id), Grid(m_, kGroupGrid), {}, 0, filled.count(g.id) > 0};
    // The picture of a group in the side column is sized with the column; in a column of
    // numbers it takes the width of a circuit picture.
    if (b.filled) b.grid.add({Grid::Kind::Picture, g.id, 0, 0, {}});
    if (!fill(b.grid, g.id, false)) {
      side_.push_back(std::move(b));
      continue;
    }
    b = b.sized(kPictureWidth);
    if (const auto leads = leadsTo.find(g.id); leads != leadsTo.end()) {
      for (const PictureRow* p : leads->second) {
        const auto px = [](int units, double scale) {
          return static_cast<int>(std::lround(units * scale));
        };
        const PixelRect r{px(p->frameRect.x, m_.unitX), px(p->frameRect.y, m_.unitY),
                          px(p->frameRect.w, m_.unitX), px(p->frameRect.h, m_.unitY)};
        b.leads.push_back({g.id, p->drawing, r});
        b.strip = std::max(b.strip, r.bottom());
      }
    }
    fields_.push_back(std::move(b));
  }
  for (const Control& c : controls_) {
    if (c.kind == ControlKind::Frame) sidePictures_.push_back(c.id);
  }
  fill(loose_, 0, true);
  for (const Control& c : controls_) {
    if (c.kind == ControlKind::Button && (groups.count(c.groupId) ? c.groupId : 0) == 0 &&
        c.buddy == 0) {
      buttons_.push_back(c.id);
    }
  }
}

int Planner::sideWidth(int widthLeft) const {
  // Larger drawings take the width at which their groups, stacked, fill the height of the
  // window's room, within the width left for them.
  double inverseAspects = 0;
  bool large = false;
  for (const std::vector<Block>* blocks : {&fields_, &side_}) {
    for (const Block& b : *blocks) {
      if (!b.filled) continue;
      inverseAspects += 1 / std::max(b.box.aspect, 0.2);
      large = large || b.box.drawingWidth > kLargeDrawing;
    }
  }
  if (!large || m_.room.h <= 0) return kPictureWidth;
  const int chrome = static_cast<int>(side_.size()) * kPictureGroupChrome + 16;
  int width = static_cast<int>((m_.room.h - chrome) / inverseAspects) + 16;
  if (widthLeft > 0) width = std::min(width, widthLeft);
  return std::clamp(width, kPictureWidth, kLargePictureWidth);
}

FormLayout Planner::run(int cap) const {
  FormLayout out;
  const int checkHeight = checks_ ? kCheckHeight : 0;
  const int checkBelow = plots_ ? 0 : checkHeight;

  // The columns of numbers: a window of its own stays low, a page of a sheet uses its room.
  std::vector<int> estimates;
  for (const Block& b : fields_) {
    estimates.push_back(b.grid.rowCount() * kRowHeight + kGroupChrome + b.strip);
  }
  const int columnHeight =
      m_.room.h > 0 ? m_.room.h - kGroupChrome
                    : std::min(kMaxColumnHeight, m_.screen.h - 2 * kGroupChrome - checkBelow);
  int x = kMargin;
  int height = 0;  // of the tallest column
  std::size_t next = 0;
  for (int count : splitIntoColumns(estimates, columnHeight)) {
    const std::span<const Block> column(fields_.data() + next, static_cast<std::size_t>(count));
    next += static_cast<std::size_t>(count);
    int width = 0;
    for (const Block& b : column) width = std::max(width, b.minWidth(cap));
    int y = kMargin;
    for (const Block& b : column) {
      if (y > kMargin) y += kSpacing;
      b.place(x, y, width, cap, out);
      y += b.height(width);
    }
    height = std::max(height, y - kMargin);
    x += width + kSpacing;
  }
  const int fieldsWidth = std::max(x - kSpacing, kMargin) + kMargin;

  // The side column: pictures, note groups, loose controls and the buttons at the bottom.
  const int side = sideWidth(plots_ ? m_.room.w - fieldsWidth - kMinPlotWidth - kSpacing : 0);
  int sideColumn = 0, sideHeight = 0, items = 0;
  const auto stack = [&](int w, int h) {
    sideColumn = std::max(sideColumn, w);
    sideHeight += h + (items++ > 0 ? kSpacing : 0);
  };
  for (int id : sidePictures_)
    stack(kPictureWidth, pictureHeight(kPictureWidth, metricsOf(id).aspect));
  std::vector<Block> sideBlocks;
  for (const Block& b : side_) {
    sideBlocks.push_back(b.sized(side));
    stack(side, sideBlocks.back().height(side));
  }
  if (!loose_.empty()) stack(loose_.minWidth(cap), loose_.height(loose_.minWidth(cap)));
  int buttonsWidth = 0, buttonsHeight = 0;
  for (int id : buttons_) {
    const PixelSize s = metricsOf(id).hint;
    buttonsWidth += s.w + (buttonsWidth > 0 ? kSpacing : 0);
    buttonsHeight = std::max(buttonsHeight, s.h);
  }
  if (!buttons_.empty()) stack(buttonsWidth, buttonsHeight);
  const bool hasSide = items > 0;

  // The Bode plot takes the rest of the width the window has, and its height less the design
  // check under it.
  int plotX = x + (hasSide ? sideColumn + kSpacing : 0);
  int plotWidth = 0, plotHeight = 0;
  if (plots_) {
    const int rest = m_.room.w - fieldsWidth - side - kSpacing - 2 * kMargin;
    plotWidth = std::clamp(rest, kMinPlotWidth, kMaxPlotWidth);
    plotHeight = m_.room.h > 0 ? m_.room.h - 2 * kMargin : kMaxColumnHeight;
  }
  height = std::max({height, sideHeight, plotHeight});

  // The side column's items, each centred in its width, the buttons at its bottom right.
  if (hasSide) {
    int y = kMargin;
    const auto below = [&](int h) {
      const int at = y;
      y += h + kSpacing;
      return at;
    };
    for (int id : sidePictures_) {
      const int h = pictureHeight(kPictureWidth, metricsOf(id).aspect);
      out.controls[id] = {x + (sideColumn - kPictureWidth) / 2, below(h), kPictureWidth, h};
    }
    for (const Block& b : sideBlocks) {
      b.place(x + (sideColumn - side) / 2, below(b.height(side)), side, cap, out);
    }
    if (!loose_.empty()) {
      const int h = loose_.height(sideColumn);
      loose_.place({x, below(h), sideColumn, h}, cap, out);
    }
    int right = x + sideColumn;
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
      const PixelSize s = metricsOf(*it).hint;
      out.controls[*it] = {right - s.w,
                           kMargin + height - buttonsHeight + (buttonsHeight - s.h) / 2, s.w, s.h};
      right -= s.w + kSpacing;
    }
  }
  int width = hasSide ? plotX - kSpacing + kMargin : fieldsWidth;
  if (plots_) {
    out.plot = PixelRect{plotX, kMargin, plotWidth,
                         plotHeight - (checkHeight > 0 ? checkHeight + kSpacing : 0)};
    if (checkHeight > 0)
      out.check = PixelRect{plotX, out.plot->bottom() + kSpacing, plotWidth, checkHeight};
    width = plotX + plotWidth + kMargin;
  }
  const int outerHeight = height + 2 * kMargin;
  out.size = {width, outerHeight};
  if (checkBelow > 0) {
    out.check = PixelRect{kMargin, outerHeight, width - 2 * kMargin, checkHeight};
    out.size.h = outerHeight + checkHeight + kMargin;
  }
  return out;
}

}  // namespace

FormLayout layOutForm(std::span<const Control> controls, std::span<const PictureRow> pictures,
                      bool plots, bool checks, const LayoutMetrics& metrics) {
  const Planner planner(controls, pictures, plots, checks, metrics);
  FormLayout layout = planner.run(INT_MAX);
  const int room = metrics.room.w > 0 ? metrics.room.w : metrics.screen.w;
  const int widest = planner.widestCaption();
  if (room <= 0 || layout.size.w <= room || widest <= kMinCaptionWidth) return layout;
  // Too wide for its room: the widest caption width at which the form fits (the narrowest
  // allowed when none does).
  int lo = kMinCaptionWidth, hi = widest;
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (planner.run(mid).size.w <= room) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  layout = planner.run(lo);
  planner.shortened(lo, layout.shortened);
  return layout;
}

}  // namespace tarnex
