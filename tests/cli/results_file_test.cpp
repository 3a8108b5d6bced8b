// What the command-line program promises about its results file when things go wrong: a
// failed write is a failure, the earlier file survives a failed run, runs writing one name
// leave one complete file, and the results do not depend on anyone reading the log.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "cli_fixture.h"
#include "support/temporary_directory.h"

namespace brevandor {
namespace {

namespace fs = std::filesystem;
using testing::ChildProcess;
using testing::ProcessResult;

const auto readFile = testing::readTextFile;
constexpr const char* kEarlier = "the results of an earlier run\n";

class CliResultsFileTest : public CliTest {
 protected:
  // An earlier results file that a failed run must leave as it is.
  fs::path earlierFile(const std::string& name) {
    const fs::path path = directory_ / name;
    std::ofstream(path) << kEarlier;
    return path;
  }
  // The program run by the shell after `ulimit <limit>`.
  ProcessResult runLimited(const std::string& limit, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(),
                     {"-c", "ulimit " + limit + " && exec \"$0\" \"$@\"", kProgram});
    return testing::runProcess("/bin/sh", arguments, directory_.string());
  }
  // The file a run of `arguments` alone writes.
  std::string fileAlone(std::vector<std::string> arguments, const std::string& name) {
    arguments.insert(arguments.end(), {"-q", "-o", name});
    EXPECT_EQ(run(arguments).exitCode, 0);
    return readFile(directory_ / name);
  }
  std::vector<std::string> filesInDirectory() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(CliResultsFileTest, FullDeviceFailsWithTheSystemsReason) {
  const ProcessResult result = run({"-N", "10", "-o", "/dev/full"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("Cannot write the results file '/dev/full': No space left on device"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.out.find("Created."), std::string::npos);
}

TEST_F(CliResultsFileTest, FileSizeLimitFailsAndKeepsTheEarlierFile) {
  const fs::path results = earlierFile("results.txt");
  // 8 blocks of 512 or 1024 bytes, far less than the file of a 300-bit frame.
  const ProcessResult result = runLimited("-f 8", {"-N", "300"});
  EXPECT_EQ(result.termSignal, 0);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
  EXPECT_EQ(readFile(results), kEarlier);
  EXPECT_EQ(filesInDirectory(), std::vector<std::string>{"results.txt"});  // no temporary left
}

TEST_F(CliResultsFileTest, AddressSpaceLimitRefusesBeforeAnyStage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's shadow memory does not fit under an address-space limit";
#endif
  const fs::path results = earlierFile("results.txt");
  // The serial code at N = 3000 plans about 650 MB.
  const ProcessResult result = runLimited("-v 300000", {"-t", "sccc", "-N", "3000"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("Not enough memory: a frame of N = 3000 needs"), std::string::npos)
      << result.err;
  EXPECT_EQ(result.out.find("TM Calculation"), std::string::npos) << result.out;
  EXPECT_EQ(readFile(results), kEarlier);
}

TEST_F(CliResultsFileTest, RunsWritingOneNameLeaveOneCompleteFile) {
  const std::vector<std::string> first{"-N", "200", "-b", "exp"};
  const std::vector<std::string> second{"-N", "190", "-b", "none"};
  const std::string firstAlone = fileAlone(first, "first.txt");
  const std::string secondAlone = fileAlone(second, "second.txt");
  for (int round = 0; round < 2; ++round) {
    std::vector<std::string> a = first;
    std::vector<std::string> b = second;
    a.insert(a.end(), {"-q", "-o", "same.txt"});
    b.insert(b.end(), {"-q", "-o", "same.txt"});
    ChildProcess one(kProgram, a, directory_.string());
    ChildProcess other(kProgram, b, directory_.string());
    EXPECT_EQ(one.finish(std::chrono::minutes(1)).exitCode, 0);
    EXPECT_EQ(other.finish(std::chrono::minutes(1)).exitCode, 0);
    const std::string same = readFile(directory_ / "same.txt");
    EXPECT_TRUE(same == firstAlone || same == secondAlone) << "round " << round;
  }
}

TEST_F(CliResultsFileTest, LogReaderGoingAwayCostsNothing) {
  // As `brevandor-cli | head -1`: the reader leaves after the first line.
  ChildProcess child(kProgram, {"-N", "200"}, directory_.string());
  ASSERT_TRUE(child.waitForOutput("\n> Start Calculation ", std::chrono::minutes(1)));
  child.closeOutput();
  const ProcessResult result = child.finish(std::chrono::minutes(1));
  EXPECT_EQ(result.termSignal, 0);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(readFile(directory_ / "results.txt"), fileAlone({"-N", "200"}, "alone.txt"));
}

TEST_F(CliResultsFileTest, FifoReaderReceivesTheWholeFile) {
  const fs::path fifo = directory_ / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = readFile(fifo); });
  const ProcessResult result = run({"-q", "-N", "100", "-o", "fifo"});
  if (result.exitCode != 0) {
    close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets a waiting reader go
  }
  reader.join();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(received, fileAlone({"-N", "100"}, "regular.txt"));
}

TEST_F(CliResultsFileTest, SecondSignalOfEitherKindEndsAtOnce) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "ThreadSanitizer holds a signal back until a blocked call returns";
#endif
  // Opening a FIFO that nobody reads waits for ever: only the second signal can end the run.
  ASSERT_EQ(mkfifo((directory_ / "unread").c_str(), 0600), 0);
  for (const auto& [firstSignal, secondSignal] : {std::pair{SIGTERM, SIGINT}, {SIGINT, SIGTERM}}) {
    ChildProcess child(kProgram, {"-N", "10", "-o", "unread"}, directory_.string());
    ASSERT_TRUE(child.waitForOutput("\n> Start Calculation ", std::chrono::minutes(1)));
    child.sendSignal(firstSignal);
    child.sendSignal(secondSignal);
    // Signals pending together are taken in the system's order: either may come second.
    const int ending = child.finish(std::chrono::seconds(30)).termSignal;
    EXPECT_TRUE(ending == SIGINT || ending == SIGTERM) << "ended by signal " << ending;
  }
}

}  // namespace
}  // namespace brevandor
