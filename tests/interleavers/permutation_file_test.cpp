#include "interleavers/permutation_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temporary_directory.h"

namespace brevandor {
namespace {

// A file's contents for N = 4 and a part of the refusal; empty when the file is accepted.
struct FileCase {
  std::string name;
  std::string contents;
  std::string reason;
};

class PermutationFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(PermutationFileTest, AcceptsOnlyAPermutationOfTheFrame) {
  const FileCase& c = GetParam();
  const testing::TemporaryDirectory directory;
  const std::string path = (directory / "pi.txt").string();
  std::ofstream(path) << c.contents;
  const PermutationOutcome read = readPermutationFile(path, 4);
  if (c.reason.empty()) {
    ASSERT_TRUE(read) << read.failure;
    EXPECT_EQ(read.permutation->indices, (std::vector<std::int32_t>{2, 0, 3, 1}));
  } else {
    ASSERT_FALSE(read);
    EXPECT_NE(read.failure.find(c.reason), std::string::npos) << read.failure;
  }
}

INSTANTIATE_TEST_SUITE_P(Contents, PermutationFileTest,
                         ::testing::Values(FileCase{"OneLine", "2 0 3 1\n", ""},
                                           FileCase{"AnyWhitespace", "\t2\n0\r\n 3  1", ""},
                                           FileCase{"Repeated", "2 0 2 1", "appears twice"},
                                           FileCase{"TooShort", "2 0 3", "3 indices"},
                                           FileCase{"TooLong", "2 0 3 1 4", "more than N = 4"},
                                           FileCase{"OutOfRange", "2 0 4 1", "not an index"},
                                           FileCase{"Negative", "2 0 -3 1", "not an index"},
                                           FileCase{"NotANumber", "2 0 x 1", "not an index"}),
                         [](const auto& named) { return named.param.name; });

}  // namespace
}  // namespace brevandor
