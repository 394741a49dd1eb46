// What a window decides that a plain function states: where it opens, where
// each control goes, where a key or a click moves a scroll bar.
#include "formkit/form.h"

#include <gtest/gtest.h>

#include <tuple>

namespace formkit {

// A rectangle as a failure shows it.
void PrintTo(const Rect& rect, std::ostream* out) { *out << rect.left << ',' << rect.top << ' ' << rect.width << 'x' << rect.height; }

}  // namespace formkit

namespace {

// A window opens at its place where it fits wholly in the screen's work area;
// else it is moved in, and a resizable one shrunk, never below its least size.
TEST(PlaceOnScreen, KeepsTheWindowWhollyInTheWorkArea) {
  using formkit::Rect;
  const Rect area{0, 40, 1280, 760};  // below a top bar
  const struct {
    Rect wanted;
    bool resizable;
    Rect placed;
    int least_height = 260;
  } cases[] = {
      // It fits; it fills the area exactly; too tall, it goes up, shrunk; past the area's corner or before it, moved in.
      {{272, 178, 628, 532}, true, {272, 178, 628, 532}},   {{0, 40, 1280, 760}, false, {0, 40, 1280, 760}},
      {{272, 267, 942, 798}, true, {272, 40, 942, 760}},    {{900, 500, 500, 400}, false, {780, 400, 500, 400}},
      {{-50, 10, 400, 300}, false, {0, 40, 400, 300}},
      // Shrunk to the area; too large to fit, its corner in view; never below its least size.
      {{100, 100, 2000, 1000}, true, {0, 40, 1280, 760}},   {{100, 100, 2000, 1000}, false, {0, 40, 2000, 1000}},
      {{100, 100, 900, 900}, true, {100, 40, 900, 800}, 800},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formkit::place_on_screen(c.wanted, area, c.resizable, 625, c.least_height), c.placed);
  }
}

// A control's place at 96 dpi and at 144, where each length grows by half, a
// half pixel up; an anchored control keeps its distances to the four sides
// as the client area changes, and shrinks to nothing, never less.
TEST(ControlRect, IsScaledAndAnchoredToTheSides) {
  constexpr formkit::Component k_label{.name = "Label1", .left = 8, .top = 5, .width = 151, .height = 13};
  constexpr formkit::Component k_pane{.name = "RichEdit1", .left = 1, .top = 48, .width = 617, .height = 450, .anchored = true};
  constexpr formkit::Form k_form{.caption = {}, .left = 0, .top = 0, .client_width = 620, .client_height = 505, .components = {}};
  const struct {
    const formkit::Component& control;
    int client_width, client_height, dpi;
    formkit::Rect placed;
  } cases[] = {
      {k_label, 620, 505, 96, {8, 5, 151, 13}},         {k_label, 930, 758, 144, {12, 8, 227, 20}},
      {k_pane, 620, 505, 96, {1, 48, 617, 450}},        {k_pane, 720, 555, 96, {1, 48, 717, 500}},
      {k_pane, 930, 758, 144, {2, 72, 925, 675}},       {k_pane, 1, 10, 96, {1, 48, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formkit::control_rect(k_form, c.control, c.client_width, c.client_height, c.dpi), c.placed)
        << c.control.name << " at " << c.dpi << " dpi";
  }
}

// A key or a click moves a scroll bar of 0 to 255 by one, by a page of 16 or
// to an end, never past either end.
TEST(Scrolled, StepsWithinTheBar) {
  using formkit::Scroll;
  const std::tuple<Scroll, int, int> cases[] = {
      {Scroll::line_right, 0, 1},    {Scroll::line_left, 5, 4},       {Scroll::line_left, 0, 0},
      {Scroll::line_right, 255, 255}, {Scroll::page_right, 0, 16},    {Scroll::page_left, 20, 4},
      {Scroll::page_left, 3, 0},     {Scroll::page_right, 250, 255},  {Scroll::to_right, 7, 255},
      {Scroll::to_left, 200, 0}};
  for (const auto& [scroll, from, to] : cases) {
    EXPECT_EQ(formkit::scrolled(scroll, from, 16, 255), to) << static_cast<int>(scroll) << " from " << from;
  }
}

}  // namespace
