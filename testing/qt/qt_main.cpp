#include <gtest/gtest.h>

#include <csignal>

#include "qtkit/guarded_application.h"

int main(int argc, char** argv) {
  // No display is needed, whether CTest lists the tests or runs them; one
  // asked for by name is used, to look at the windows.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The start-up test sees the application ignore a file-size signal that
  // was not ignored already, whatever the process that runs the tests did.
  std::signal(SIGXFSZ, SIG_DFL);
  qtkit::GuardedApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
