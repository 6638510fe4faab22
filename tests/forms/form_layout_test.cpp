// The layout plan of the forms laid out by their groups: a small form worked out by hand, and
// every design window and loop page, with the captions of its table or one caption of an
// interface file that is far too long, on a screen of 1366×768.
#include "forms/form_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "designs/registry.h"
#include "forms/core_pick.h"
#include "forms/sheet.h"
#include "loop/loop_sheet.h"
#include "support/recording_host.h"
#include "support/temp_folder.h"

namespace tarnex {
namespace {

// The room of a window of its own on a screen of 1366×768, less frame and title bar, and the
// room of a page of the loop sheet there.
constexpr PixelSize kScreen{1354, 724};
constexpr PixelSize kPageRoom{1324, 614};
// A caption wider than any window's room leaves for it.
constexpr int kLongCaption = 1000;

int characters(const std::string& utf8) {
  int n = 0;
  for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
  return n;
}

// Sizes of a 12-pixel font: 12 pixels a character, lines 18 high; Qt's inputs and buttons.
LayoutMetrics metricsOf(const Form& form, PixelSize room, int longCaption) {
  LayoutMetrics m;
  m.screen = kScreen;
  m.room = room;
  for (const Control& c : form.controls()) {
    ControlMetrics& cm = m.controls[c.id];
    const int text = 12 * characters(c.text);
    switch (c.kind) {
      case ControlKind::Edit:
        cm.hint = {80, 20};
        break;
      case ControlKind::DropList:
        cm.hint = {100, 20};
        break;
      case ControlKind::Button:
        cm.hint = {std::max(80, text + 16), 26};
        break;
      case ControlKind::Group:
        cm = {{}, 3, c.text.empty() ? 9 : 23, 3, 3, text + 20, 1.6, 300};
        break;
      case ControlKind::Frame:
        cm.aspect = 1.6;
        break;
      default:
        cm.hint = {c.id == longCaption ? kLongCaption : text, 18};
    }
  }
  m.wrappedHeight = [&form](int id, int width) {
    const int text = 12 * characters(form.control(id)->text);
    return 18 * std::max(1, (text + width - 1) / std::max(width, 1));
  };
  return m;
}

TEST(FormLayout, SmallFormWorkedOutByHand) {
  // One group of two fields, captions 24 and 48 pixels wide, and a button outside it.
  testing::RecordingHost host;
  struct Small : Form {
    explicit Small(Host& h) : Form(h) {
      add(makeControl(10, ControlKind::Group, "G"));
      for (int id : {11, 12}) {
        add(makeControl(id, ControlKind::Edit, "", 10));
        Control caption = makeControl(id + 10, ControlKind::Label, id == 11 ? "ab" : "abcd", 10);
        caption.buddy = id;
        add(caption);
      }
      add(makeControl(2, ControlKind::Button, "返回"));
    }
    std::string_view key() const override { return "small"; }
    void open() override {}
    void command(int) override {}
    void select(int, int) override {}
    bool checksDesign() const override { return true; }
  } form(host);
  const FormLayout l = layOutForm(form.controls(), {}, false, true, metricsOf(form, {}, 0));
  // Group: 3 + 8 + (48 + 12 + 80) + 8 + 3 wide; 23 + 6 + (20 + 2 + 20) + 6 + 3 high.
  EXPECT_EQ(l.controls.at(10), (PixelRect{8, 8, 162, 80}));
  EXPECT_EQ(l.controls.at(21), (PixelRect{19, 38, 24, 18}));
  EXPECT_EQ(l.controls.at(11), (PixelRect{79, 37, 80, 20}));
  EXPECT_EQ(l.controls.at(12), (PixelRect{79, 59, 80, 20}));
  // The button at the foot of the side column; the design check below, across the window.
  EXPECT_EQ(l.controls.at(2), (PixelRect{178, 62, 80, 26}));
  EXPECT_EQ(l.check, (PixelRect{8, 96, 250, 176}));
  EXPECT_EQ(l.size, (PixelSize{266, 280}));
  EXPECT_TRUE(l.shortened.empty());
}

struct WindowCase {
  std::string name;
  Form* form;
  PixelSize room;
};

// Every design window and every page of the loop sheet.
const std::vector<WindowCase>& windows() {
  static testing::RecordingHost host;
  static testing::TempFolder folder;
  static std::vector<std::unique_ptr<Form>> designForms;
  static const std::unique_ptr<Sheet> loop = makeLoopSheet(host);
  static const std::vector<WindowCase> all = [] {
    std::vector<WindowCase> w;
    for (const DesignInfo& d : designs()) {
      if (!d.make) continue;
      designForms.push_back(d.make(host, folder.folder()));
      w.push_back({std::string(d.key()), designForms.back().get(), {}});
    }
    for (std::size_t i = 0; i < loop->size(); ++i) {
      w.push_back({"loop" + std::to_string(i), &loop->page(i), kPageRoom});
    }
    return w;
  }();
  return all;
}

// With the captions of the table, or with the first caption of an input too long for the
// room: that one alone is shortened.
class EveryWindow : public ::testing::TestWithParam<std::tuple<std::size_t, bool>> {};

TEST_P(EveryWindow, NothingOverlapsAndEverythingFitsItsRoom) {
  const auto [index, long_] = GetParam();
  const WindowCase& w = windows()[index];
  const Form& form = *w.form;
  int caption = 0;
  for (const Control& c : form.controls()) {
    if (long_ && caption == 0 && c.buddy != 0 && !c.trailing) caption = c.id;
  }
  // The desktop's button after the unit of a catalogue core's Ae field, and its choice after
  // the Le field or under the Ae field.
  LayoutMetrics metrics = metricsOf(form, w.room, caption);
  if (const CorePick* pick = w.form->corePick()) {
    const CoreFieldIds f = pick->fields();
    metrics.trailers[f.Ae] = {90, 22};
    (f.Le != 0 ? metrics.trailers[f.Le] : metrics.linesUnder[f.Ae]) = {140, 22};
  }
  const DialogTable* table = form.table();
  const FormLayout l =
      layOutForm(form.controls(), table ? table->pictures : std::span<const PictureRow>{},
                 form.plotsBode(), form.checksDesign(), metrics);
  const PixelRect whole{0, 0, l.size.w, l.size.h};
  const PixelSize room = w.room.w > 0 ? w.room : kScreen;
  EXPECT_LE(l.size.w, room.w);
  EXPECT_LE(l.size.h, room.h);
  EXPECT_EQ(l.shortened, caption ? std::vector<int>{caption} : std::vector<int>{});

  // Every control in the form, every member inside its group's contents; groups and the
  // widgets that are no group never overlap among themselves.
  std::vector<std::pair<std::string, PixelRect>> groups, leaves;
  ASSERT_EQ(l.trailers.size(), metrics.trailers.size());
  // The controls, then the trailers by the id of their input.
  std::vector<std::tuple<int, PixelRect, bool>> placed;
  for (const auto& [id, r] : l.controls) placed.push_back({id, r, false});
  ASSERT_EQ(l.linesUnder.size(), metrics.linesUnder.size());
  for (const auto& [id, r] : l.trailers) {
    EXPECT_EQ(r.w, metrics.trailers.at(id).w) << "trailer of " << id;
    EXPECT_GE(r.x, l.controls.at(id).right()) << "trailer of " << id;
    placed.push_back({id, r, true});
  }
  for (const auto& [id, r] : l.linesUnder) {
    EXPECT_EQ(r.w, metrics.linesUnder.at(id).w) << "line under " << id;
    EXPECT_GE(r.y, l.controls.at(id).bottom()) << "line under " << id;
    placed.push_back({id, r, true});
  }
  for (const auto& [id, r, trailer] : placed) {
    const Control* c = form.control(id);
    ASSERT_NE(c, nullptr) << id;
    const std::string name = (trailer ? "beside " : "") + std::to_string(id);
    EXPECT_TRUE(whole.contains(r)) << name;
    (c->kind == ControlKind::Group ? groups : leaves).push_back({name, r});
    const int group = c->buddy ? form.control(c->buddy)->groupId : c->groupId;
    if (c->kind == ControlKind::Group || c->kind == ControlKind::Frame || group == 0) continue;
    const PixelRect box = l.controls.at(group);
    EXPECT_TRUE((PixelRect{box.x + 3, box.y + (form.control(group)->text.empty() ? 9 : 23),
                           box.w - 6, box.h - 12})
                    .contains(r))
        << name << " outside group " << group;
    if (!trailer && c->kind == ControlKind::Label && c->buddy != 0) {
      const PixelRect input = l.controls.at(c->buddy);
      EXPECT_EQ(2 * r.y + r.h, 2 * input.y + input.h) << id << " off its input's row";
      if (id == caption) {
        EXPECT_LT(r.w, kLongCaption);
      } else {
        EXPECT_EQ(r.w, 12 * characters(c->text)) << id << " cut";
      }
    }
  }
  for (const PlacedPicture& p : l.pictures) leaves.push_back({"picture", p.rect});
  if (l.plot) leaves.push_back({"plot", *l.plot});
  if (l.check) leaves.push_back({"check", *l.check});
  for (const auto* set : {&groups, &leaves}) {
    for (std::size_t i = 0; i < set->size(); ++i) {
      for (std::size_t j = i + 1; j < set->size(); ++j) {
        EXPECT_FALSE((*set)[i].second.intersects((*set)[j].second))
            << (*set)[i].first << " and " << (*set)[j].first;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, EveryWindow,
                         ::testing::Combine(::testing::Range<std::size_t>(0, windows().size()),
                                            ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<std::size_t, bool>>& p) {
                           return windows()[std::get<0>(p.param)].name +
                                  (std::get<1>(p.param) ? "_long_caption" : "_own_captions");
                         });

}  // namespace
}  // namespace tarnex
