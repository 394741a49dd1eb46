#pragma once

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
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

// Every visible control of the form lies inside it, clear of the others, and
// every push button's and check box's caption fits its control.
void expect_controls_fit(QWidget& form);

}  // namespace test_support
