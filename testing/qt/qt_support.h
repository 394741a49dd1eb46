#pragma once

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace test_support {

// The form's control with that object name; a missing one fails the test.
template <typename Widget>
Widget& child(QWidget& form, const char* name) {
  auto* widget = form.findChild<Widget*>(name);
  if (widget == nullptr) throw std::logic_error(std::string("no control named ") + name);
  return *widget;
}

// Processes events until condition holds, for at most a few seconds; the
// result fails an EXPECT_TRUE or ASSERT_TRUE when it never does.
[[nodiscard]] testing::AssertionResult eventually(const std::function<bool()>& condition);

// What a screen reader finds in the form: for every control in its
// accessibility tree, by object name, its accessible name and, after a "|"
// where it has one, its description.
[[nodiscard]] std::map<std::string, std::string> accessible_tree(QWidget& form);

// Every visible control of the form lies inside it, clear of the others, and
// every push button's and check box's caption fits its control.
void expect_controls_fit(QWidget& form);

}  // namespace test_support
