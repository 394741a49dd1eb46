#include <gtest/gtest.h>

#include "qtkit/guarded_application.h"

int main(int argc, char** argv) {
  // Listing the tests happens outside CTest's environment; it needs no display either.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtkit::GuardedApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
