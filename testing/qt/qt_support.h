#pragma once

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace test_support {

// Processes events until condition holds, for at most a few seconds; the
// result fails an EXPECT_TRUE or ASSERT_TRUE when it never does.
[[nodiscard]] testing::AssertionResult eventually(const std::function<bool()>& condition);

}  // namespace test_support
