// The test executable's own entry: a probe command line makes it the crashing child of a
// test instead of a test run.
#include <gtest/gtest.h>

#include "CrashProbe.h"

int main(int argc, char** argv) {
  if (IsProbeCommandLine(argc, argv)) return RunProbe(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
