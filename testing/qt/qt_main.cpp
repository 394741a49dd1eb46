#include <gtest/gtest.h>

#include "qtkit/guarded_application.h"

int main(int argc, char** argv) {
  // No display is needed, whether CTest lists the tests or runs them; one
  // asked for by name is used, to look at the windows.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qtkit::GuardedApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
