// What the fault handler undoes: the owners alive at the fault, newest first,
// each once.
#include "support/fault_cleanup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

TEST(FaultCleanup, RunsTheLivingNewestFirstOnce) {
  std::string ran;
  FaultCleanup outer([&] { ran += "outer "; });
  {
    FaultCleanup gone([&] { ran += "gone "; });
  }
  auto middle = std::make_unique<FaultCleanup>([&] { ran += "middle "; });
  FaultCleanup inner([&] { ran += "inner "; });
  middle.reset();  // out of order: still taken off
  FaultCleanup::RunAll();
  EXPECT_EQ(ran, "inner outer ");
  FaultCleanup::RunAll();
  EXPECT_EQ(ran, "inner outer ");
}
