#include "messaging/message_sink.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

namespace {

// What the user is told of an exception that ends an operation, whichever
// front end caught it.
TEST(DescribeCurrentException, SaysWhatWasCaughtInFrench) {
  const struct {
    std::function<void()> raise;
    std::string_view said;
  } cases[] = {
      {[] { throw std::bad_alloc(); }, messaging::k_out_of_memory},
      {[] { throw std::runtime_error("disque absent"); }, "Erreur inattendue : disque absent"},
      {[] { throw 42; }, "Erreur inattendue."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    try {
      c.raise();
    } catch (...) {
      EXPECT_EQ(messaging::describe_current_exception(), c.said);
    }
  }
}

}  // namespace
