#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "support/temporary_directory.h"

namespace brevandor {

inline constexpr const char* kProgram = BREVANDOR_CLI_PATH;

// Runs the command-line program in a fresh directory of its own.
class CliTest : public ::testing::Test {
 protected:
  testing::ProcessResult run(const std::vector<std::string>& arguments) {
    return testing::runProcess(kProgram, arguments, directory_.string());
  }

  testing::TemporaryDirectory temporary_{"brevandor-cli"};
  const std::filesystem::path& directory_ = temporary_.path();
};

}  // namespace brevandor
