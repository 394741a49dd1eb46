// Each tool's form as the kit that is built makes it, driven by the keys.
#include <gtest/gtest.h>

#include <map>

#include "tagsieve/form1.h"
#include "tintmere/form1.h"
#include "window.h"

namespace {

using test_support::Key;

// Named after its tool.
class Form1 : public testing::TestWithParam<std::string_view> {
 protected:
  const formkit::Form& description = GetParam() == "tintmere" ? tintmere::k_form1 : tagsieve::k_form1;
  std::unique_ptr<test_support::KitForm> form = test_support::make_form(description, [] {});
  test_support::Window window{*form};
};

INSTANTIATE_TEST_SUITE_P(BothTools, Form1, testing::Values("tintmere", "tagsieve"),
                         [](const auto& tool) { return std::string(tool.param); });

// The focus starts on the first control in the tab order, and Tab and
// Shift+Tab go round it, past what is disabled or hidden. Only the tag
// viewer may be resized.
TEST_P(Form1, TabGoesRoundItsTabOrder) {
  EXPECT_EQ(window.resizable(), GetParam() == "tagsieve");
  std::map<int, std::string_view> tab_order;
  for (const formkit::Component& component : description.components) {
    if (component.tab >= 0 && component.visible && component.enabled) tab_order[component.tab] = component.name;
  }
  for (std::size_t step = 0; step <= tab_order.size(); ++step) {
    EXPECT_TRUE(window.has_focus(std::next(tab_order.begin(), step % tab_order.size())->second)) << step;
    window.press(Key::tab);
  }
  window.press(Key::shift_tab);
  EXPECT_TRUE(window.has_focus(tab_order.begin()->second));
}

// Enter, on the keypad too, clicks the focused button or else the default
// one, but a pane takes it as a new line; Escape closes nothing. The colour
// tool has no default button: Enter on its slider clicks nothing.
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
  EXPECT_EQ(window.text("RichEdit1"), "\n");
  const auto colour_form = test_support::make_form(tintmere::k_form1, [&] { ++clicks; });
  test_support::Window(*colour_form).press(Key::enter);
  EXPECT_EQ(clicks, 2);
}

}  // namespace
