#include "qt_support.h"

#include <QTest>

namespace test_support {

testing::AssertionResult eventually(const std::function<bool()>& condition) {
  constexpr int k_timeout_ms = 5000;
  if (QTest::qWaitFor(condition, k_timeout_ms)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the condition still did not hold after " << k_timeout_ms << " ms";
}

}  // namespace test_support
