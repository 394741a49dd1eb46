// Each tool's form as the kit that is built makes it, checked against its
// description, and driven by the keys.
#include <gtest/gtest.h>

#include <map>

#include "tagsieve/form1.h"
#include "tintmere/form1.h"
#include "window.h"

namespace {

using formkit::Kind;
using test_support::Key;

class Form1 : public testing::TestWithParam<const formkit::Form*> {
 protected:
  const formkit::Form& description = *GetParam();
  int events = 0;
  std::unique_ptr<test_support::KitForm> form = test_support::make_form(description, [this] { ++events; });
  test_support::Window window{*form};
};

INSTANTIATE_TEST_SUITE_P(BothTools, Form1, testing::Values(&tintmere::k_form1, &tagsieve::k_form1));

// Every control where the description puts it, with its text and state; a
// caption takes the room it needs in the forms' font (a label its own width, a
// check box at least the width laid out); the focus starts on the first in the
// tab order and Tab and Shift+Tab go round it, past what is disabled or hidden.
TEST_P(Form1, IsBuiltAsDescribedAndTabGoesRoundItsTabOrder) {
  std::map<int, std::string_view> tab_order;
  for (const formkit::Component& component : description.components) {
    const test_support::Seen seen = window.seen(component.name);
    const bool sized_by_caption = component.kind == Kind::label || component.kind == Kind::check_box;
    EXPECT_EQ(seen, (test_support::Seen{component.left, component.top, sized_by_caption ? seen.width : component.width,
                                        component.height, std::string(component.text), component.visible, component.enabled,
                                        component.checked}))
        << component.name;
    EXPECT_GE(seen.width, component.kind == Kind::label ? 0 : component.width);
    if (component.tab >= 0 && component.visible && component.enabled) tab_order[component.tab] = component.name;
  }
  for (std::size_t step = 0; step <= tab_order.size(); ++step) {
    EXPECT_TRUE(window.has_focus(std::next(tab_order.begin(), step % tab_order.size())->second)) << step;
    window.press(Key::tab);
  }
  window.press(Key::shift_tab);
  EXPECT_TRUE(window.has_focus(tab_order.begin()->second));
}

// The keys step a slider as a Windows scroll bar's do, its value shows, and its
// handler runs once for each change, only then.
TEST(Form1Keys, StepASliderWithinItsRange) {
  int events = 0;
  const auto form = test_support::make_form(tintmere::k_form1, [&] { ++events; });
  test_support::Window window(*form);
  const struct {
    Key key;
    int from;
    int to;
  } cases[] = {{Key::right, 0, 1}, {Key::down, 0, 1},     {Key::left, 5, 4},   {Key::up, 5, 4},     {Key::page_down, 0, 16},
               {Key::page_up, 20, 4}, {Key::page_up, 3, 0}, {Key::page_down, 250, 255}, {Key::end, 0, 255}, {Key::home, 200, 0},
               {Key::right, 255, 255}};
  for (const auto& c : cases) {
    window.slide("ScrollBar1", c.from);
    const int before = events;
    window.press(c.key);
    EXPECT_EQ(std::tuple(window.position("ScrollBar1"), window.tip(), events - before),
              std::tuple(c.to, std::to_string(c.to), c.to == c.from ? 0 : 1))
        << static_cast<int>(c.key) << " from " << c.from;
  }
}

// Enter, on the keypad too, clicks the focused button or else the default
// one, but a pane takes it as a new line; Escape closes nothing.
TEST(Form1Keys, EnterClicksTheDefaultButtonButIsANewLineInThePane) {
  int clicks = 0;
  const auto form = test_support::make_form(tagsieve::k_form1, [&] { ++clicks; });
  test_support::Window window(*form);
  for (const auto& [focus, key, expected] : {std::tuple("Edit1", Key::enter, 1), std::tuple("CheckBox1", Key::keypad_enter, 2),
                                             std::tuple("RichEdit1", Key::enter, 2), std::tuple("RichEdit1", Key::escape, 2)}) {
    while (!window.has_focus(focus)) window.press(Key::tab);
    window.press(key);
    EXPECT_EQ(clicks, expected) << focus;
  }
  EXPECT_EQ(window.seen("RichEdit1").text, "\n");
}

}  // namespace
