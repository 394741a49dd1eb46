#include "messaging/message_sink.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

// What the user is told of an exception that ends an operation, whichever
// front end caught it.
TEST(DescribeCurrentException, SaysWhatWasCaughtInFrench) {
  const std::pair<void (*)(), std::string_view> cases[] = {
      {[] { throw std::bad_alloc(); }, "Mémoire insuffisante : l'opération a été abandonnée."},
      {[] { throw std::runtime_error("disque absent"); }, "Erreur inattendue : disque absent"},
      {[] { throw 42; }, "Erreur inattendue."}};
  for (const auto& [raise, said] : cases) {
    try {
      raise();
    } catch (...) {
      EXPECT_EQ(messaging::describe_current_exception(), said);
    }
  }
}

}  // namespace
