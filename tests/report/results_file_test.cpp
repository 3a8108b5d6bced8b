#include "report/results_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temporary_directory.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;
using testing::readTextFile;

class ResultsFileTest : public ::testing::Test {
 protected:
  fs::path earlier(const std::string& name) {
    const fs::path path = directory_ / name;
    std::ofstream(path) << "earlier\n";
    return path;
  }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(directory_.path())) {
      found.push_back(entry.path().filename().string());
    }
    return found;
  }

  testing::TemporaryDirectory directory_{"brevandor-results-file"};
};

TEST_F(ResultsFileTest, EarlierFileStaysWholeUntilTheNewOneIsCommitted) {
  const fs::path target = earlier("results.txt");
  ResultsFile file;
  ASSERT_EQ(file.open(target.string()), std::nullopt);
  EXPECT_FALSE(file.direct());
  std::fputs("new\n", file.stream());
  std::fflush(file.stream());
  EXPECT_EQ(readTextFile(target), "earlier\n");
  EXPECT_EQ(file.commit(), std::nullopt);
  EXPECT_EQ(readTextFile(target), "new\n");
  EXPECT_EQ(names(), std::vector<std::string>{"results.txt"});
}

TEST_F(ResultsFileTest, DiscardedFileLeavesTheEarlierOneAndNoTemporary) {
  const fs::path target = earlier("results.txt");
  {
    ResultsFile file;
    ASSERT_EQ(file.open(target.string()), std::nullopt);
    std::fputs("half a file", file.stream());
    file.discard("\n -- failed \n");
  }
  EXPECT_EQ(readTextFile(target), "earlier\n");
  EXPECT_EQ(names(), std::vector<std::string>{"results.txt"});
}

TEST_F(ResultsFileTest, ReplacementKeepsTheEarlierFilesPermissions) {
  const fs::path target = earlier("results.txt");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ResultsFile file;
  ASSERT_EQ(file.open(target.string()), std::nullopt);
  ASSERT_EQ(file.commit(), std::nullopt);
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ResultsFileTest, SymbolicLinkStaysAndItsFileIsReplaced) {
  const fs::path linked = earlier("linked.txt");
  fs::create_symlink("linked.txt", directory_ / "link.txt");
  ResultsFile file;
  ASSERT_EQ(file.open((directory_ / "link.txt").string()), std::nullopt);
  std::fputs("new\n", file.stream());
  ASSERT_EQ(file.commit(), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(directory_ / "link.txt"));
  EXPECT_EQ(readTextFile(linked), "new\n");
}

TEST_F(ResultsFileTest, NameAsLongAsTheSystemAllows) {
  // 255 bytes is the longest file name; the temporary's name must still fit beside it.
  const fs::path target = directory_ / std::string(255, 'r');
  ResultsFile file;
  ASSERT_EQ(file.open(target.string()), std::nullopt);
  std::fputs("new\n", file.stream());
  ASSERT_EQ(file.commit(), std::nullopt);
  EXPECT_EQ(readTextFile(target), "new\n");
}

TEST_F(ResultsFileTest, FailedWriteIsKeptWithTheSystemsReason) {
  ResultsFile file;
  ASSERT_EQ(file.open("/dev/full"), std::nullopt);
  EXPECT_TRUE(file.direct());
  std::fputs("anything\n", file.stream());
  EXPECT_EQ(file.commit(), "No space left on device");
}

}  // namespace
}  // namespace brevandor
