#include "run/memory_budget.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temporary_directory.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;

// A made-up control-group hierarchy: the files a kernel would show, in a temporary folder.
class ControlGroupHeadroom : public ::testing::Test {
 protected:
  void write(const fs::path& relative, const std::string& text) {
    fs::create_directories((root() / relative).parent_path());
    std::ofstream(root() / relative) << text;
  }
  fs::path root() const { return directory_.path() / "cgroup"; }
  fs::path membership() const { return directory_.path() / "membership"; }

  testing::TemporaryDirectory directory_{"brevandor-cgroup"};
};

TEST_F(ControlGroupHeadroom, UnifiedGroupTakesTheTightestOfItselfAndItsParents) {
  std::ofstream(membership()) << "0::/user/session\n";
  write("user/memory.max", "1000000\n");
  write("user/memory.current", "300000\n");
  write("user/session/memory.max", "max\n");  // no limit of its own
  write("user/session/memory.current", "200000\n");
  EXPECT_EQ(controlGroupHeadroomBytes(root(), membership()), 700000u);
  write("user/session/memory.max", "500000\n");
  EXPECT_EQ(controlGroupHeadroomBytes(root(), membership()), 300000u);
}

TEST_F(ControlGroupHeadroom, MemoryControllerOfTheOlderHierarchy) {
  std::ofstream(membership()) << "5:cpu,cpuacct:/box\n4:memory:/box\n";
  write("memory/box/memory.limit_in_bytes", "4000000\n");
  write("memory/box/memory.usage_in_bytes", "1500000\n");
  EXPECT_EQ(controlGroupHeadroomBytes(root(), membership()), 2500000u);
}

TEST_F(ControlGroupHeadroom, GroupMountedAsTheRootInsideAContainer) {
  std::ofstream(membership()) << "0::/outside/path\n";
  write("memory.max", "800000\n");
  write("memory.current", "100000\n");
  EXPECT_EQ(controlGroupHeadroomBytes(root(), membership()), 700000u);
}

TEST_F(ControlGroupHeadroom, NoLimitAnywhereGivesNothing) {
  std::ofstream(membership()) << "0::/\n4:memory:/\n";
  write("memory.max", "max\n");
  write("memory/memory.limit_in_bytes", "9223372036854771712\n");  // the older "unlimited"
  EXPECT_FALSE(controlGroupHeadroomBytes(root(), membership()).has_value());
}

}  // namespace
}  // namespace brevandor
