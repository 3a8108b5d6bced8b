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
#include <optional>
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

// Under an address-space limit the plan counts each worker thread's stack and allocator arena
// (about 72 MB of address space, little memory): a run it passes completes, and one that could
// not start its threads is refused before any stage instead of failing half-way.
struct LimitedRun {
  const char* name;
  const char* limit;
  const char* threads;
  bool runs;
};

class AddressSpaceLimitTest : public CliResultsFileTest,
                              public ::testing::WithParamInterface<LimitedRun> {};

TEST_P(AddressSpaceLimitTest, PlanThatPassesAlsoRuns) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "a sanitizer's shadow memory does not fit under an address-space limit";
#endif
  const LimitedRun& limited = GetParam();
  const ProcessResult result =
      runLimited(std::string("-v ") + limited.limit, {"-j", limited.threads, "-N", "100"});
  EXPECT_EQ(result.termSignal, 0);
  if (limited.runs) {
    EXPECT_EQ(result.exitCode, 0) << result.err;
  } else {
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("Not enough memory: a frame of N = 100 needs"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out.find("TM Calculation"), std::string::npos) << result.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Limits, AddressSpaceLimitTest,
                         ::testing::Values(LimitedRun{"EightThreadsIn60MB", "60000", "8", false},
                                           LimitedRun{"OneThreadIn200MB", "200000", "1", true},
                                           LimitedRun{"EightThreadsIn1GB", "1000000", "8", true}),
                         [](const auto& named) { return std::string(named.param.name); });

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

TEST_F(CliResultsFileTest, FirstSignalEndsTheWaitForAFifosReader) {
  // Opening a FIFO that nobody reads would wait for ever; one signal ends the wait.
  ASSERT_EQ(mkfifo((directory_ / "unread").c_str(), 0600), 0);
  for (const int signal : {SIGINT, SIGTERM}) {
    ChildProcess child(kProgram, {"-N", "10", "-o", "unread"}, directory_.string());
    ASSERT_TRUE(child.waitForOutput("\n> Start Calculation ", std::chrono::minutes(1)));
    child.sendSignal(signal);
    const ProcessResult result = child.finish(std::chrono::seconds(30));
    EXPECT_EQ(result.termSignal, 0) << "signal " << signal;
    EXPECT_EQ(result.exitCode, 130) << "signal " << signal;
  }
}

TEST_F(CliResultsFileTest, SecondSignalEndsAtOnceAndLeavesNoTemporaryFile) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "ThreadSanitizer holds a signal back until a blocked call returns";
#endif
  // The results file is open (its temporary beside it) once the first stage has begun.
  ChildProcess child(kProgram, {"-N", "1000"}, directory_.string());
  ASSERT_TRUE(child.waitForOutput(" TM Calculation", std::chrono::minutes(1)));
  child.sendSignal(SIGINT);
  child.sendSignal(SIGTERM);
  const ProcessResult result = child.finish(std::chrono::seconds(30));
  // Signals pending together are taken in the system's order: either may come second; a run
  // that ended between the two exits as cancelled.
  EXPECT_TRUE(result.termSignal == SIGINT || result.termSignal == SIGTERM || result.exitCode == 130)
      << "signal " << result.termSignal << ", status " << result.exitCode;
  for (const std::string& name : filesInDirectory()) {
    EXPECT_TRUE(name == "results.txt") << name;
  }
}

// Outputs that cannot be written as named: refused before the first stage, exit 1.
struct DoomedOutput {
  const char* name;
  std::vector<std::string> options;  // the outputs, added to a run of N = 300
  const char* reason;
};

class DoomedOutputTest : public CliResultsFileTest,
                         public ::testing::WithParamInterface<DoomedOutput> {};

TEST_P(DoomedOutputTest, FailsBeforeTheFirstStage) {
  std::vector<std::string> arguments{"-N", "300"};
  arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
  const ProcessResult result = run(arguments);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find(GetParam().reason), std::string::npos) << result.err;
  EXPECT_EQ(result.out.find("Calculation .."), std::string::npos) << result.out;
  EXPECT_EQ(filesInDirectory(), std::vector<std::string>{});
}

const std::string kLongName = std::string(300, 'x') + ".txt";

INSTANTIATE_TEST_SUITE_P(
    Outputs, DoomedOutputTest,
    ::testing::Values(DoomedOutput{"ResultsNameTooLong", {"-o", kLongName}, "File name too long"},
                      DoomedOutput{"ExportNameTooLong", {"--csv", kLongName}, "File name too long"},
                      DoomedOutput{"ExportInMissingFolder",
                                   {"--json", "missing/r.json"},
                                   "cannot write 'missing/r.json': No such file or directory"}),
    [](const auto& named) { return std::string(named.param.name); });

TEST_F(CliResultsFileTest, LinkLoopIsRefused) {
  fs::create_symlink("loop", directory_ / "loop");
  const ProcessResult result = run({"-q", "-N", "10", "-o", "loop"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("'loop': its symbolic links lead round in a loop"), std::string::npos)
      << result.err;
}

TEST_F(CliResultsFileTest, DanglingLinkGetsItsFile) {
  fs::create_symlink("target.txt", directory_ / "link.txt");
  EXPECT_EQ(run({"-q", "-N", "10", "-o", "link.txt"}).exitCode, 0);
  EXPECT_TRUE(fs::is_symlink(directory_ / "link.txt"));
  EXPECT_EQ(readFile(directory_ / "target.txt"), fileAlone({"-N", "10"}, "alone.txt"));
}

// Regular files under /dev and /proc are replaced like any other: a run that fails keeps the
// earlier file whole instead of leaving a cut one.
TEST_F(CliResultsFileTest, RegularFilesUnderDevAndProcAreReplacedWhole) {
  std::vector<fs::path> folders{"/proc/self/cwd"};
  std::optional<testing::TemporaryDirectory> memory;
  if (fs::is_directory("/dev/shm")) {
    memory.emplace("/dev/shm/brevandor");
    folders.push_back(memory->path());
  }
  for (const fs::path& folder : folders) {
    const fs::path results = folder / "results.txt";
    const fs::path seen = folder == "/proc/self/cwd" ? directory_ / "results.txt" : results;
    std::ofstream(seen) << kEarlier;
    const ProcessResult result = runLimited("-f 8", {"-N", "300", "-o", results.string()});
    EXPECT_EQ(result.exitCode, 1) << folder;
    EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(seen), kEarlier) << folder;
  }
}

TEST_F(CliResultsFileTest, InputNamedAsOutputIsRefused) {
  const std::string spectrum = "d,A,B\n3,1,1\n";
  std::ofstream(directory_ / "in.csv") << spectrum;
  fs::create_hard_link(directory_ / "in.csv", directory_ / "same.csv");
  for (const char* output : {"in.csv", "same.csv", "./in.csv"}) {
    const ProcessResult result = run(
        {"-q", "--spectrum-in", "in.csv", "--code-length", "10", "--info-bits", "5", "-o", output});
    EXPECT_EQ(result.exitCode, 2) << output;
    EXPECT_NE(result.err.find("is the input file of --spectrum-in"), std::string::npos)
        << result.err;
  }
  EXPECT_EQ(readFile(directory_ / "in.csv"), spectrum);
}

TEST_F(CliResultsFileTest, ReplacedFileKeepsItsOwnerAndGroup) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "only the superuser may give a file to another user";
  }
  const fs::path results = earlierFile("results.txt");
  ASSERT_EQ(chown(results.c_str(), 65534, 65534), 0);
  EXPECT_EQ(run({"-q", "-N", "10"}).exitCode, 0);
  struct stat status {};
  ASSERT_EQ(stat(results.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, 65534u);
  EXPECT_EQ(status.st_gid, 65534u);
}

TEST_F(CliResultsFileTest, AnotherUsersFileInAStickyFolderFailsBeforeTheFirstStage) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "needs the superuser, to run the program as another user";
  }
  // The folder as /tmp is: anyone may create files, only their owner replace them.
  ASSERT_EQ(chmod(directory_.c_str(), 01777), 0);
  const fs::path results = earlierFile("results.txt");
  ASSERT_EQ(chmod(results.c_str(), 0666), 0);
  const ProcessResult result = testing::runProcess(
      "/usr/bin/setpriv",
      {"--reuid=65534", "--regid=65534", "--clear-groups", kProgram, "-N", "300"},
      directory_.string());
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_NE(result.err.find("Operation not permitted"), std::string::npos) << result.err;
  EXPECT_EQ(result.out.find("Calculation .."), std::string::npos) << result.out;
  EXPECT_EQ(readFile(results), kEarlier);
}

}  // namespace
}  // namespace brevandor
